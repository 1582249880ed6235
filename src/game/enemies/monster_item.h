#pragma once
// One enemy of the running battle: the battler base plus the database enemy
// it is now (it can transform), its picture and the mirrored picture, and
// its blink and fade timers. Enemies live for one battle and are never
// saved. The action choice is here; drawing is in monster_draw.cpp.

#include <cstdint>
#include <memory>
#include <string>

#include "game/battler/unit_item.h"

class TLcfMonsterItem;
class TLcfMonsterActItem;
class TLcfAnimationGraphic;
class TSorvoBoard;
class TSorvoSheet;

class TLcfgMonsterItem : public TLcfgUnitItem {
public:
    static constexpr int kDeathFadeFrames = 36;
    static constexpr int kEscapeFadeFrames = 20;

    // The id is the position in the troop, from 1.
    explicit TLcfgMonsterItem(int32_t id = 0);
    ~TLcfgMonsterItem() override;

    // The battler base cleared, no enemy, empty pictures, a grey flash at
    // rest, and a frame counter from Random(64) (one draw per enemy).
    void Clear() override;
    // Becomes database enemy `enemyId` with full HP and SP and its pictures.
    void SetupEnemy(int32_t enemyId);
    // Becomes another database enemy; HP and SP fall to the new maxima
    // when those are lower. Flashes white.
    void Transform(int32_t enemyId);

    // --- Virtual slots --------------------------------------------------------
    std::string GetName() const override;
    int32_t MaxHP() const override;
    int32_t MaxSP() const override;
    int32_t BaseAttack() const override;
    int32_t BaseDefense() const override;
    int32_t BaseSpirit() const override;
    int32_t BaseAgility() const override;
    int32_t BattleAgility() const override { return BaseAgility(); }
    int AttributeRank(int32_t id) const override;
    int ConditionRank(int32_t id) const override;
    double CriticalRate() const override;
    int32_t HitRate() const override;
    bool IsSameKind(const TLcfgUnitItem& other) const override { return other.IsEnemy(); }
    bool IsActor() const override { return false; }
    bool IsEnemy() const override { return true; }
    void DecideAction() override;

    // --- Rewards ----------------------------------------------------------------
    int32_t Exp() const;
    int32_t Gold() const;
    int32_t DropItem() const;
    int32_t DropChance() const;

    // The database enemy it is now.
    const TLcfMonsterItem& Data() const;
    int32_t EnemyId() const { return enemyId_; }

    // --- Per frame and timers ----------------------------------------------------
    // Flash and shake, the blink and fade timers, the pop-up timer and the
    // frame counter.
    void UpdateFrame();
    void SetBlink(int32_t frames) { blinkTimer = frames; }
    void StartDeathFade() { deathFade = kDeathFadeFrames; }
    void StartEscapeFade() { escapeFade = kEscapeFadeFrames; }
    // Alive, or still fading out.
    bool IsShown() const { return IsAlive() || deathFade > 0 || escapeFade > 0; }
    // Lower on the screen draws later; fleeing enemies draw last of all.
    int32_t DrawOrder() const;

    // --- Drawing ---------------------------------------------------------------------
    TSorvoSheet& Picture() { return *picture_; }
    TSorvoSheet& MirroredPicture() { return *mirrored_; }
    int32_t PictureHeight() const;
    int32_t PictureWidth() const;
    void Draw(TSorvoBoard& board);
    // One frame of a battle animation anchored on this enemy.
    void DrawBattleAnimation(TSorvoBoard& board, TLcfAnimationGraphic& graphic, int32_t frame);

    int32_t blinkTimer = 0;
    int32_t deathFade = 0;
    int32_t escapeFade = 0;

private:
    void LoadPictures();
    // The rating of one action pattern now, 0 when its condition fails.
    int32_t RateAction(const TLcfMonsterActItem& act) const;
    // Whether a chosen skill action would do something to its side.
    bool SkillWorthUsing(int32_t skillId) const;
    // Fills the action record from the chosen pattern; false when it needs
    // a living party member and there is none.
    bool FillAction(const TLcfMonsterActItem& act);

    int32_t enemyId_ = 0;
    std::unique_ptr<TSorvoSheet> picture_;
    std::unique_ptr<TSorvoSheet> mirrored_;
};

// A random living party member, drawn again until one lives; -1 when none
// does (so the draw would never end).
int32_t RandomLivingMember();
