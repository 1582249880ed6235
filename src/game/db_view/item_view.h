#pragma once
// What the game reads of an item: kind, uses, equipment bonuses and flags,
// the skill it performs, who may use it and its condition and attribute sets.

#include <cstdint>
#include <string>

#include "data/database/flag_set.h"
#include "data/record/catalog_base_item.h"

class TLcfgItemView : public TCatalogBaseItem {
public:
    enum Kind : uint8_t {
        kCommon = 0, kWeapon = 1, kShield = 2, kArmor = 3, kHelmet = 4, kAccessory = 5,
        kMedicine = 6, kSkillBook = 7, kSeed = 8, kSkillItem = 9, kSwitchItem = 10,
    };

    TLcfgItemView() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    bool IsWeapon() const { return kind == kWeapon; }
    // Shield, armour, helmet or accessory.
    bool IsArmor() const { return kind >= kShield && kind <= kAccessory; }
    bool IsTwoHandedWeapon() const { return IsWeapon() && twoHanded != 0; }
    // Armour whose conditions are put on the wearer while worn.
    bool GrantsConditions() const { return IsArmor() && conditionMode == 1; }
    bool HasCondition(int32_t id) const { return conditions.GetEntry(id) != 0; }
    bool HasAttribute(int32_t id) const { return attributes.GetEntry(id) != 0; }

    std::string name;
    uint8_t kind = kCommon;
    int32_t uses = 1;
    int32_t attack = 0, defense = 0, spirit = 0, agility = 0;
    uint8_t twoHanded = 0;
    int32_t spCost = 0;
    int32_t hitRate = 90;
    int32_t criticalBonus = 0;
    int32_t battleAnimation = 1;
    uint8_t firstStrike = 0, attackTwice = 0, attackAll = 0, ignoreEvasion = 0;
    uint8_t preventCritical = 0, raiseEvasion = 0, halfSpCost = 0, noTerrainDamage = 0;
    uint8_t holdsBothHands = 0;
    uint8_t fieldOnly = 0;
    int32_t skillId = 1;
    uint8_t switchOnField = 1, switchInBattle = 0;
    TLcfFlagSet heroes{1};
    TLcfFlagSet conditions{0};
    TLcfFlagSet attributes{0};
    int32_t conditionRate = 0;
    int32_t conditionMode = 0;
    uint8_t performsSkill = 0;
    TLcfFlagSet classes{1};
};

// The item's view; a missing entry raises the item table's message.
const TLcfgItemView& ItemView(int32_t itemId);
// Null for id 0 or an id the table lacks.
const TLcfgItemView* FindItemView(int32_t itemId);
int ItemTableCount();
