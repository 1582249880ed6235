#pragma once
// The troop of the running battle: its enemies, built from a monster group
// when a battle starts (never saved), their placement and facing, and the
// battle animation played on the troop's side.

#include <cstdint>
#include <vector>

#include "data/record/catalog.h"
#include "game/battle/side_animation.h"
#include "game/enemies/monster_item.h"

class TSorvoBoard;

class TLcfgMonster : public TCatalogOf<TLcfgMonsterItem> {
public:
    TLcfgMonster() = default;

    // No enemies, no animation.
    void Reset();
    // Raises "Event script referenced a monster that does not exist."
    // when there is no enemy at that index.
    TLcfgMonsterItem* Member(int index) const { return GetStrict(index, 65288); }
    int32_t GroupId() const { return groupId_; }

    // Builds the troop of monster group `groupId`: who is present, the
    // corrected start condition (written back to the battle scene), the
    // positions, facings and starting gauges.
    void SetupTroop(int32_t groupId);
    // Facing of every enemy for the start condition and the party's places.
    void UpdateFacing();

    // --- The troop-side battle animation -----------------------------------
    // Target: an enemy index, -1 every enemy, -2 the screen. Id 0 is the
    // animation-less hit: a system sound and a short wait.
    void PlayAnimation(int32_t animationId, bool mirrored, int32_t target) {
        animation_.Play(animationId, mirrored, target);
    }
    void ResetAnimation() { animation_.Reset(); }
    const TLcfgSideAnimation& Animation() const { return animation_; }
    TLcfgSideAnimation& Animation() { return animation_; }

    // --- Figures -----------------------------------------------------------------
    // Mean effective agility over every enemy, present or not; at least 1.
    int32_t AverageAgility() const;
    int AliveCount() const;
    void ResetTurnCounts();

    // Once per battle frame: each enemy's timers and effects, then the
    // animation's flashes, shakes and sounds.
    void Update();
    // The troop's animation over its targets (nothing when none runs); on
    // every enemy it goes over the troop indices of `drawOrder` in turn.
    void DrawAnimation(TSorvoBoard& board, const std::vector<int32_t>& drawOrder);

private:
    // Present enemies before `index`.
    int PresentBefore(int index) const;
    int PresentCount() const;

    int32_t groupId_ = 0;
    TLcfgSideAnimation animation_;
};

// The troop of the running game (made by the game-state container).
extern TLcfgMonster* GameMonsters;
