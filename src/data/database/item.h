#pragma once
// Items (database section 13): everything the party can carry, equip and
// use.

#include <cstdint>
#include <string>

#include "data/database/cba_data.h"
#include "data/database/flag_set.h"
#include "data/record/catalog.h"

class TLcfItemItem : public TCatalogItem {
public:
    enum Kind : uint8_t {
        kCommon = 0, kWeapon = 1, kShield = 2, kArmor = 3, kHelmet = 4, kAccessory = 5,
        kMedicine = 6, kSkillBook = 7, kSeed = 8, kSkillItem = 9, kSwitchItem = 10,
    };

    explicit TLcfItemItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Defaults, and one entry in the battle display list.
    void Clear() override;
    // Trims the condition and attribute sets to the database's conditions
    // and attributes, then the generic write.
    void SaveToStream(ByteWriter& w) override;

    // Who may equip or use the item (1 outside the stored range). The hero
    // set starts at hero 1; the class set starts at "no class" (0), so class
    // c is its byte c, one further on than the hero set's numbering.
    uint8_t GetHeroFlag(int32_t heroId) const { return heroSet.GetEntry(heroId); }
    uint8_t GetJobFlag(int32_t classId) const { return classSet.GetEntry(classId < 0 ? 0 : classId + 1); }
    // Conditions and attributes of the item (0 outside the stored range).
    uint8_t GetStatusFlag(int32_t conditionId) const { return conditionSet.GetEntry(conditionId); }
    uint8_t GetAttribFlag(int32_t attributeId) const { return attributeSet.GetEntry(attributeId); }
    // Equipment slot 0..4 of kinds 1..5; -1 for any other kind.
    int EquipSlot() const { return kind >= kWeapon && kind <= kAccessory ? kind - kWeapon : -1; }
    bool IsWeapon() const { return kind == kWeapon; }
    bool IsArmor() const { return kind >= kShield && kind <= kAccessory; }
    // A weapon whose two-handed flag is exactly 1.
    bool IsTwoHandedWeapon() const { return kind == kWeapon && twoHanded == 1; }
    // Armour whose conditions are put on the wearer while worn.
    bool GrantsConditions() const { return IsArmor() && conditionMode == 1; }
    bool HasCondition(int32_t conditionId) const { return GetStatusFlag(conditionId) != 0; }
    bool HasAttribute(int32_t attributeId) const { return GetAttribFlag(attributeId) != 0; }

    std::string description;
    uint8_t kind = kCommon;
    int32_t price = 0;
    int32_t uses = 1;
    int32_t attackBonus = 0, defenseBonus = 0, spiritBonus = 0, agilityBonus = 0;
    uint8_t twoHanded = 0;
    int32_t weaponSpCost = 0;
    int32_t hitRate = 90;
    int32_t criticalBonus = 0;
    int32_t battleAnimation = 1;
    uint8_t firstStrike = 0, attackTwice = 0, attackAll = 0, ignoreEvasion = 0;
    uint8_t preventCritical = 0, raiseEvasion = 0, halfSpCost = 0, noTerrainDamage = 0;
    uint8_t holdsBothHands = 0;
    uint8_t scope = 0;  // medicine: 0 one hero, 1 the party
    int32_t hpPercent = 0, hpPoints = 0, spPercent = 0, spPoints = 0;
    uint8_t fieldOnly = 0, fallenOnly = 0;
    int32_t parameterIncrease[6] = {};  // seeds: max HP, max SP, attack, defense, spirit, agility
    uint8_t plainSkillUse = 0;
    int32_t skillId = 1;
    int32_t switchId = 1;
    uint8_t switchOnField = 1, switchInBattle = 0;
    TLcfFlagSet heroSet{1};
    TLcfFlagSet conditionSet{0};
    TLcfFlagSet attributeSet{0};
    int32_t conditionRate = 0;
    int32_t conditionMode = 0;  // 1 on armour: its conditions are put on the wearer
    int32_t reserved69 = -1;
    TLcfCBAData battleDisplay;
    uint8_t performsSkill = 0;
    TLcfFlagSet classSet{1};
    int32_t projectileArc = 0;
    int32_t projectileTarget = 0;  // 0 target, 1 troop middle, 2 every enemy, 3 each in turn
};

class TLcfItem : public TCatalogOf<TLcfItemItem> {
public:
    TLcfItemItem* FindItem(int32_t id) const { return FindStrict(id, 65284); }
};
