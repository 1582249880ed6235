#pragma once
// One actor: the live, saved state of a database hero (name and looks,
// level and experience, parameters from the hero's or the class's growth
// data plus permanent modifiers and equipment, known skills, the five
// equipment slots, the battle commands and the class).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/clamp.h"
#include "game/actors/actor_battle_show.h"
#include "game/battler/unit_item.h"

class TActorBattleSprites;
class TLcfAnimationGraphic;
class TLcfCBADataItem;
class TLcfGrowthItem;
class TLcfPlayerItem;
class TLcfItemItem;

// A valued automatic choice: its value and, for one target, the side's
// index of the best target.
struct TAutoChoice {
    double value = 0;
    int target = 0;
};

class TLcfgPlayerItem : public TLcfgUnitItem {
public:
    static constexpr int kSlots = 5;
    static constexpr int kCommands = 7;
    static constexpr int32_t kMaxExp = 9999999;
    // Name and title store this to stand for the database's value.
    static inline const std::string kDatabaseText = "\001";

    explicit TLcfgPlayerItem(int32_t id = 0);
    ~TLcfgPlayerItem() override;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Reset from the database: level, curves, flags, skills, initial
    // equipment.
    void Clear() override;
    // The generic read, then the stored values brought into range (level,
    // experience, equipment of unknown items).
    void LoadFromStream(ByteReader& r) override;
    // Arrays go to their chunk forms, then the generic write.
    void SaveToStream(ByteWriter& w) override;

    // --- Virtual slots --------------------------------------------------------
    std::string GetName() const override;
    int32_t MaxHP() const override;
    int32_t MaxSP() const override;
    int32_t BaseAttack() const override { return BaseParameter(2); }
    int32_t BaseDefense() const override { return BaseParameter(3); }
    int32_t BaseSpirit() const override { return BaseParameter(4); }
    int32_t BaseAgility() const override { return BaseParameter(5); }
    int32_t BattleAgility() const override;
    int AttributeRank(int32_t id) const override;
    int ConditionRank(int32_t id) const override;
    bool WeaponHasAttribute(int32_t id) const override;
    int32_t WeaponConditionRate(int32_t id) const override;
    int32_t ArmorConditionResist(int32_t id) const override;
    double CriticalRate() const override;
    int32_t HitRate() const override;
    bool StrongDefense() const override { return strongDefense != 0; }
    bool FirstStrike() const override;
    bool AttackTwice() const override;
    bool AttackAll() const override;
    bool IgnoreEvasion() const override;
    bool PreventCritical() const override;
    bool RaiseEvasion() const override;
    bool HalfSpCost() const override;
    bool NoTerrainDamage() const override;
    int32_t WeaponSpCost() const override;
    bool IsSameKind(const TLcfgUnitItem& other) const override { return other.IsActor(); }
    bool IsActor() const override { return true; }
    bool IsEnemy() const override { return false; }
    bool CanUseItem(int32_t itemId) const override;
    void DecideAction() override;
    void FullRecover() override;

    // --- Class --------------------------------------------------------------
    // The class for equipment and use permissions: the class field when it
    // is not -1, else the hero's database class.
    int32_t ClassId() const;
    // The growth data parameters, experience, skills and ranks come from:
    // the class when the class field is above 0, else the hero's own.
    const TLcfGrowthItem& Growth() const;
    const TLcfPlayerItem& Hero() const;
    void ChangeClass(int32_t classId, bool toLevel1, int skillMode, int paramMode, bool showMessages);

    // --- Names and looks -------------------------------------------------------
    void SetName(const std::string& text);
    std::string GetTitle() const;
    void SetTitle(const std::string& text);
    std::string SpriteName() const;
    int32_t SpriteIndex() const;
    int32_t SpriteTransparency() const;
    void SetSprite(const std::string& name, int32_t index, bool transparent);
    std::string FaceName() const;
    int32_t FaceIndex() const;
    void SetFace(const std::string& name, int32_t index);
    int32_t BattlerAnimationId() const;
    void SetBattlerAnimationId(int32_t id) { battlerAnimation = id; }

    // --- Level and experience ----------------------------------------------------
    int64_t ExpForLevel(int32_t level) const;
    int32_t MaxLevel() const;
    int32_t Level() const { return level; }
    int32_t Exp() const { return exp; }
    int64_t ExpForNext() const { return ExpForLevel(level + 1); }
    void GainExp(int32_t n, bool showMessages);
    void LoseExp(int32_t n);
    void RaiseLevel(int32_t n, bool showMessages);
    void LowerLevel(int32_t n);

    // --- Parameters ---------------------------------------------------------------
    int32_t CurveValue(int kind) const;
    // kind 0 max HP, 1 max SP, 2 attack, 3 defense, 4 spirit, 5 agility.
    void AddParamModifier(int kind, int32_t n);
    void SubParamModifier(int kind, int32_t n) { AddParamModifier(kind, n == INT32_MIN ? INT32_MAX : -n); }
    int32_t ParamModifier(int kind) const;
    int32_t ParameterTotal() const;

    // --- Skills -----------------------------------------------------------------------
    int SkillCount() const { return int(skills.size()); }
    int32_t SkillAt(int i) const { return i >= 0 && i < SkillCount() ? skills[size_t(i)] : 0; }
    bool KnowsSkill(int32_t id) const;
    void LearnSkill(int32_t id);
    void ForgetSkill(int32_t id);

    // --- Equipment ------------------------------------------------------------------
    int32_t Equipment(int slot) const { return slot >= 0 && slot < kSlots ? equipment[size_t(slot)] : 0; }
    bool IsEquipped(int32_t id) const;
    bool CanEquip(int slot, int32_t item) const;
    void SetEquipment(int slot, int32_t item);
    void Equip(int slot, int32_t item);
    void Unequip(int slot) { Equip(slot, 0); }
    void ApplyEquipmentConditions();
    int EquippableCount(int slot) const;
    int32_t EquippableAt(int slot, int n) const;
    // Whether the item's hero or class flags let this actor use or equip it
    // (the class flags when the database equips by class). The one
    // permission test: equipping, using, and the menus' and shops' lists.
    bool ItemAllowed(const TLcfItemItem& item) const;

    // --- Battle commands --------------------------------------------------------------
    int32_t BattleCommand(int i) const;
    void ChangeBattleCommand(int32_t id, bool add);

    // --- Battle item list ---------------------------------------------------------------
    void BuildBattleItemList();
    void AddBattleItem(int32_t id, int32_t n);
    int BattleItemCount() const { return int(battleItems_.size()); }
    int32_t BattleItemId(int i) const;
    int32_t BattleItemCountAt(int i) const;

    // --- Walking conditions ---------------------------------------------------------------
    void ApplyWalkingConditions();

    // --- Battle properties of the swinging hand ---------------------------------------------
    int32_t HandAttack() const;
    bool HandHasAttribute(int32_t id) const;
    int32_t HandConditionRate(int32_t id) const;
    int32_t WeaponAttackDamage(const TLcfgUnitItem& target) const;
    int32_t AttackAnimationId() const;
    int32_t SecondAttackAnimationId() const;

    // --- Automatic action -----------------------------------------------------------------------
    // The value of a skill on one battler: the share of the target's HP it
    // takes (or heals), less a share of its SP cost, with kills and the
    // first living enemy favoured. Draws the damage's variance.
    double SkillValueOn(int32_t skillId, const TLcfgUnitItem& target) const;
    // The skill's value over its scope (0 when it cannot be used now or is
    // not a normal skill), plus a random fraction when positive, with the
    // best single target.
    TAutoChoice SkillChoice(int32_t skillId) const;
    // The plain attack's value on one enemy (with a random part when
    // positive), and the best over the troop.
    double AttackValueOn(const TLcfgUnitItem& enemy) const;
    TAutoChoice AttackChoice() const;
    // Auto battle: the best valued skill, or the attack when it is at
    // least as good.
    void DecideAutoAction();

    // --- Battle poses and animation (actor_battle.cpp) -------------------------------------
    // Once per battle (and for a member joining one): the action marker,
    // pop-up, pending pose and event-command values are reset; the first
    // call of a battle also takes the auto flag and the row, clears the
    // flash and builds the battle sprites.
    void StartBattle();
    // Equipment conditions, then the sprites of the battler set and weapons.
    void BuildBattleSprites();
    // Death gives pose 7, another condition 9; without one a pending attack,
    // skill or return is taken up again, else the pose settles (15).
    void SetIdlePose();
    int32_t DrawOrder() const { return ClampToInt32(int64_t(battleY) + 24); }
    // Readies `hand` (0 or 1) to swing: ranged flag, projectile, hits per
    // swing. Answers whether the attack goes on with this hand.
    bool PrepareHand(int hand);
    // The pose's battle animation for this update; a new pose forgets the
    // old one, a new id restarts the counter.
    void SetBattlerAnimation(int32_t animationId, int32_t facing);
    // The weapon's (or skill's) animation on the action's targets.
    void StartAttackAnimation(int32_t animationId);
    // The action begins: pose 12, the motion style and after-image of the
    // weapon of the hand that swings first (or of the skill while casting
    // one), and the point the step out leads to.
    void PrepareActionMotion();
    // The point a step out (or jump) leads to: 24 pixels toward the
    // enemies; against one enemy when moving to the target, beside it.
    TBattlePoint ActionTarget() const;
    // The row change action: pose 11; the move follows in the next update.
    void ChangeRow();
    // The per-frame battle update (only while present).
    void UpdateBattle();
    // The battler-set entry the pose shows (0..31).
    int32_t ShownEntry() const;
    // The battle animation that shows the pose instead of its frame strip,
    // or 0.
    int32_t PoseAnimationId() const;
    // The hits the hit loop of the current pose must make.
    int32_t HitsDue() const;
    // The entry for this actor of the hand's weapon (or null).
    const TLcfCBADataItem* WeaponDisplay(int hand) const;
    // The battler set's frame length (at least 1).
    int32_t FrameLength() const;
    // Drawing.
    void DrawBattler(TSorvoBoard& board);
    void DrawBattleAnimation(TSorvoBoard& board, TLcfAnimationGraphic& graphic, int32_t animationId, int32_t frame);
    TActorBattleSprites& Sprites();

    TActorBattleShow show;

    // --- Saved fields -------------------------------------------------------------------------
    std::string name = kDatabaseText, title = kDatabaseText;
    std::string spriteName;
    int32_t spriteIndex = 0, spriteTransparency = 0;
    std::string faceName;
    int32_t faceIndex = 0;
    int32_t level = 1, exp = 0;
    std::array<int32_t, 6> paramModifiers{};  // max HP, max SP, attack, defense, spirit, agility
    std::vector<int32_t> skills;              // ascending ids
    std::array<int32_t, kSlots> equipment{};
    std::array<int32_t, kCommands> commands{};
    uint8_t commandsChanged = 0;
    uint8_t twoWeapons = 0, lockEquipment = 0, autoBattle = 0, strongDefense = 0;
    int32_t battlerAnimation = 0;
    // The hand that swings in an attack: 0 the weapon slot, 1 the second hand.
    int32_t swingingHand = 0;
    // Set by a script for the next battle, not saved: the attack of battle
    // command `repeatCommand` (0 none) hits `repeatCount` times as many.
    int32_t repeatCommand = 0;
    int32_t repeatCount = 1;

protected:
    bool EquipmentHoldsCondition(int32_t id) const override;
    void OnIdlePose() override;

private:
    // Pose sequence steps.
    void MoveRows();
    void AdvancePose();
    void MotionStep();
    void StartActionPose();
    void FinishAction();
    // true when the pose's hit loop is over.
    bool HitLoop();
    // A ranged weapon hitting each in turn: the action aims at the next hit's member.
    void AimEachInTurn();
    bool StartHit();
    bool CompleteHit();
    void UpdateProjectiles();
    void UpdateFrame();
    void UpdatePoseAnimation();
    // The pose's battle animation reached its last frame (or it has none).
    bool PoseAnimationDone() const;
    // A damage or item pose has run its time.
    bool PoseOver() const;
    void NotePoseChange();
    int32_t HandAnimationId() const;
    int32_t BaseParameter(int kind) const;
    // The item of an equipment slot, or null (empty or unknown).
    const TLcfItemItem* SlotItem(int slot) const;
    // The swinging hand's item when it is a weapon.
    const TLcfItemItem* HandWeapon() const;
    void InflictArmorConditions(const TLcfItemItem& item, bool everyCondition);
    void LearnFromList(int32_t fromLevel, int32_t toLevel, bool level1Of, bool showMessages);
    void CapHpSp();
    void CopyCommandsFrom(const TLcfGrowthItem& g);
    void SyncChunkForms();
    void ResetFromHero();

    // Chunk forms of the saved arrays.
    TCountedArray<uint16_t> skillChunk_;
    std::array<uint8_t, 10> equipmentChunk_{};
    std::array<uint8_t, 28> commandChunk_{};
    std::vector<std::pair<int32_t, int32_t>> battleItems_;
    bool classChanging_ = false;
    std::unique_ptr<TActorBattleSprites> sprites_;
};
