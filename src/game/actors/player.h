#pragma once
// All actors: one per database hero, in the party or not. Saved as chunk
// 108 of the save file. In battle it also places the party's members, turns
// them toward the enemies and runs the party side's battle animation.

#include <memory>
#include <vector>

#include "data/record/catalog.h"
#include "game/actors/player_item.h"

class TLcfgSideAnimation;

class TLcfgPlayer : public TCatalogOf<TLcfgPlayerItem> {
public:
    TLcfgPlayer();
    ~TLcfgPlayer() override;
    // One actor per database hero, each cleared from the database.
    void Reset();
    // The saved actors, without those whose hero the database no longer
    // has, then every hero the save lacks, cleared from the database.
    void LoadFromStream(ByteReader& r) override;

    // Raise "Event script referenced a hero that does not exist." when
    // there is no such actor.
    TLcfgPlayerItem* ByIndex(int index) const { return GetStrict(index, 65289); }
    TLcfgPlayerItem* Get(int32_t id) const { return FindStrict(id, 65289); }

    // --- Battle (party_battle.cpp) -------------------------------------------
    // Battle start: rows, positions, facing, gauges, and each member's
    // battle start.
    void PlaceForBattle();
    // A member joined: the positions again and facing by the full rule; the
    // last member starts its battle.
    void Reposition();
    // Every member's facing by the start condition and the enemies' places.
    void UpdateFacing();
    // The party side's battle animation: on member `target` (party slot),
    // every member (-1) or the screen (-2).
    void PlayAnimation(int32_t animationId, int32_t mirrored, int32_t target);
    void ResetAnimation();
    bool AnimationRunning() const;
    TLcfgSideAnimation& Animation() { return *animation_; }
    void ResetTurnCounts();
    // Every member's battle update, then the party side's animation.
    void UpdateBattle();
    // The party side's animation, when it runs one: at the screen's centre,
    // on its member or on every member, these in the order of the actor
    // ids of `drawOrder`.
    void DrawAnimation(TSorvoBoard& board, const std::vector<int32_t>& drawOrder);

private:
    // The members' home positions by row and start condition.
    void PlaceMembers();

    std::unique_ptr<TLcfgSideAnimation> animation_;
};

// The actors of the running game.
extern TLcfgPlayer* GamePlayers;
