#pragma once
// The common base of everything that fights (actors and enemies): live HP
// and SP, battle modifiers, attribute shifts, condition levels, the queued
// action, the rules for healing, damage and conditions, the attack and skill
// damage formulas and the small per-battler effects the battle scene draws
// (rising pop-up number, flash, shake).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/record/catalog_base_item.h"
#include "data/record/counted_array.h"
#include "game/battler/unit_act_item.h"

class TSorvoBoard;
class TSorvoSheet;
class TLcfStatusItem;

class TLcfgUnitItem : public TCatalogItem {
public:
    enum Modifier : int { kModAttack = 2, kModDefense = 3, kModSpirit = 4, kModAgility = 5 };
    static constexpr int kDisplayConditions = 5;
    static constexpr int kDeadPose = 7;
    static constexpr int kConditionPose = 9;

    explicit TLcfgUnitItem(int32_t id = 0);
    ~TLcfgUnitItem() override;
    TLcfgUnitItem(const TLcfgUnitItem&) = delete;
    TLcfgUnitItem& operator=(const TLcfgUnitItem&) = delete;

    // The base saves nothing itself.
    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override;

    // --- Virtual slots ----------------------------------------------------
    virtual std::string GetName() const = 0;
    virtual int32_t MaxHP() const = 0;
    virtual int32_t MaxSP() const = 0;
    virtual int32_t BaseAttack() const = 0;
    virtual int32_t BaseDefense() const = 0;
    virtual int32_t BaseSpirit() const = 0;
    virtual int32_t BaseAgility() const = 0;
    virtual int32_t BattleAgility() const = 0;
    virtual int AttributeRank(int32_t id) const = 0;
    virtual int ConditionRank(int32_t id) const = 0;
    virtual bool WeaponHasAttribute(int32_t) const { return false; }
    virtual int32_t WeaponConditionRate(int32_t) const { return 0; }
    virtual int32_t ArmorConditionResist(int32_t) const { return 0; }
    virtual double CriticalRate() const = 0;
    virtual int32_t HitRate() const = 0;
    virtual bool StrongDefense() const { return false; }
    virtual bool FirstStrike() const { return false; }
    virtual bool AttackTwice() const { return false; }
    virtual bool AttackAll() const { return false; }
    virtual bool IgnoreEvasion() const { return false; }
    virtual bool PreventCritical() const { return false; }
    virtual bool RaiseEvasion() const { return false; }
    virtual bool HalfSpCost() const { return false; }
    virtual bool NoTerrainDamage() const { return false; }
    virtual int32_t WeaponSpCost() const { return 0; }
    virtual bool IsSameKind(const TLcfgUnitItem& other) const = 0;
    virtual bool IsActor() const = 0;
    virtual bool IsEnemy() const = 0;
    virtual bool CanUseItem(int32_t) const { return false; }
    virtual bool CanUseSkill(int32_t skillId) const;
    virtual void DecideAction() = 0;

    // --- Battle end -------------------------------------------------------
    void EndBattle();

    // --- HP and SP (each answers the change made) --------------------------
    int32_t RecoverHp(int32_t n);
    int32_t DamageHp(int32_t n, bool lethal);
    // For event commands: the pop-up shows only when HP fell.
    void LoseHp(int32_t n, bool lethal);
    int32_t DamageHpNonLethal(int32_t n);
    int32_t GainSp(int32_t n);
    int32_t LoseSp(int32_t n);
    int HpColor() const;
    int SpColor() const;
    bool IsAlive() const { return present != 0 && hp > 0; }

    // --- Battle modifiers ---------------------------------------------------
    int32_t ChangeModifier(int kind, int32_t n);
    int32_t ReduceModifier(int kind, int32_t n) { return -ChangeModifier(kind, n == INT32_MIN ? INT32_MAX : -n); }
    int32_t Modifier(int kind) const;

    // --- Effective parameters ---------------------------------------------
    int32_t EffectiveAttack() const;
    int32_t EffectiveDefense() const;
    int32_t EffectiveSpirit() const;
    int32_t EffectiveAgility() const;

    // --- Attributes ---------------------------------------------------------
    // -1, 0 or +1.
    int AttributeShift(int32_t id) const;
    int AttributeRankNow(int32_t id) const { return AttributeRank(id) + AttributeShift(id); }
    bool ShiftAttributeDown(int32_t id);
    bool ShiftAttributeUp(int32_t id);
    // The target's damage percent for an attribute at its current rank.
    int32_t AttributeRate(int32_t id) const;

    // --- Conditions -----------------------------------------------------------
    int Condition(int32_t id) const;
    void SetCondition(int32_t id, int value);
    bool HasCondition(int32_t id) const { return Condition(id) != 0; }
    void InflictCondition(int32_t id);
    void CureCondition(int32_t id);
    int32_t StrongestCondition() const;
    std::string ConditionName() const;
    int ConditionColor() const;
    void SortConditions();
    int32_t DisplayCondition(int slot) const;
    int32_t ConditionHitRate() const;
    bool ConditionFlagA() const;
    bool ConditionFlagB() const;
    bool ConditionFlagC() const;
    bool CanAct() const;
    bool IsBerserk() const;
    bool IsConfused() const;
    bool IsNormal() const { return CanAct() && !IsBerserk() && !IsConfused(); }
    bool IsIncapacitated() const;
    virtual void FullRecover();
    // Condition entries currently held (the array's length).
    int ConditionCount() const { return conditions_.Length(); }

    // --- Damage formulas ----------------------------------------------------
    // A normal attack of this battler on `target` before hit, critical and
    // variance. May be negative (a healing attribute); not clamped.
    int32_t AttackDamage(const TLcfgUnitItem& target) const;
    int32_t SkillDamage(int32_t skillId, const TLcfgUnitItem& target) const;
    bool SkillAffects(int32_t skillId) const;

    // --- Turns and effects ----------------------------------------------------
    void CountTurn() { ++turnCounter; }
    bool TurnMatches(int32_t a, int32_t b) const;
    bool DrawMirror(bool flag) const;
    void StartFlash(int red, int green, int blue, double strength, int duration);
    void StartShake(int power, int speed, int duration);
    void UpdateEffects();
    void ShowPopupNumber(int32_t value, int colour);
    void ShowPopupText(const std::string& text);
    void DrawPopup(TSorvoBoard& board, int32_t originX, int32_t originY);
    TSorvoSheet& PopupSheet() { return *popupSheet_; }
    // What the pop-up last showed (the text as drawn) and in which colour.
    const std::string& PopupText() const { return popupText_; }
    int PopupColour() const { return popupColour_; }

    // --- Fields ---------------------------------------------------------------
    uint8_t present = 1;
    TLcfgUnitActItem action;
    int32_t hp = 0, sp = 0;
    int32_t attackModifier = 0, defenseModifier = 0, spiritModifier = 0, agilityModifier = 0;
    uint8_t charged = 0;
    int32_t gauge = 0;
    int32_t facing = 0;
    int32_t frameCounter = 0;
    uint8_t pose = 0;
    int32_t battleX = 0, battleY = 0, homeX = 0, homeY = 0;
    int32_t row = 0;
    int32_t popupTimer = 0;
    int32_t flashRed = 0, flashGreen = 0, flashBlue = 0;
    double flashStrength = 0;
    int32_t flashDuration = 0;
    int32_t shakePower = 0, shakeSpeed = 0, shakeOffsetX = 0, shakeOffsetY = 0, shakeDuration = 0;
    int32_t turnCounter = 0;
    int32_t classField = -1;  // -1: the actor's database class
    std::array<int32_t, kDisplayConditions> displayConditions{};
    // The turn state: 0 idle, 1 in the ready list, 2 acting. The gauge
    // fills only while it is 0.
    int32_t actionMarker = 0;
    // What the turn under way casts: 0 nothing, 1 a skill, 2 an item; and
    // whether the skill comes from an item (no SP cost, no name shown).
    uint8_t castingMarker = 0;
    uint8_t itemSkill = 0;

protected:
    // The condition array, grown to the database's size on demand.
    TCountedArray<uint16_t>& ConditionArray();
    const TCountedArray<uint16_t>& ConditionArray() const;
    // Afflicted condition records in id order.
    std::vector<const TLcfStatusItem*> AfflictedConditions() const;
    // Shared by AttackDamage and an actor's hand attack: the steps after the
    // attacker's attack value, with its weapon attributes.
    int32_t AttackDamageWith(int32_t attack, const std::function<bool(int32_t)>& weaponHas,
                             const TLcfgUnitItem& target) const;
    // The attack and defense rule over all flagged conditions: 0 none or
    // both, 1 halve, 2 double.
    int AllConditionsEffect(bool attack) const;
    // Actors refuse a cure their equipment holds.
    virtual bool EquipmentHoldsCondition(int32_t) const { return false; }
    virtual void OnIdlePose() {}
    void DropAttributeShifts() { shifts_.clear(); }
    // The pop-up sheet cleared and the text drawn in the skin's colours.
    void DrawPopupText(const std::string& text, int colour);

    mutable TCountedArray<uint16_t> conditions_;

private:
    int32_t ApplySingleConditionEffect(int32_t v, bool spirit) const;
    void GrowShifts() const;

    mutable std::vector<uint16_t> shifts_;  // shift + 1 per attribute
    std::unique_ptr<TSorvoSheet> popupSheet_;
    std::string popupText_;
    int popupColour_ = 0;
};

// The attribute factor of damage steps 3-4: `has` says which attributes the
// attack carries; answers r from d.
int64_t ApplyAttributeFactor(int64_t d, const std::function<bool(int32_t)>& has, const TLcfgUnitItem& target);
