#pragma once
// What the game reads of a skill: kind, cost, scope, use flags, the effect
// formula's numbers, what it changes and its condition and attribute sets.

#include <cstdint>
#include <string>

#include "data/database/flag_set.h"
#include "data/record/catalog_base_item.h"

class TLcfgSkillView : public TCatalogBaseItem {
public:
    enum Kind : uint8_t { kNormal = 0, kTeleport = 1, kEscape = 2, kSwitch = 3 };
    enum Scope : uint8_t { kOneEnemy = 0, kAllEnemies = 1, kSelf = 2, kOneAlly = 3, kAllAllies = 4 };

    TLcfgSkillView() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    bool IsNormalKind() const { return kind != kTeleport && kind != kEscape && kind != kSwitch; }
    bool AimsAtEnemies() const { return scope == kOneEnemy || scope == kAllEnemies; }
    bool HasCondition(int32_t id) const { return conditions.GetEntry(id) != 0; }
    bool HasAttribute(int32_t id) const { return attributes.GetEntry(id) != 0; }
    // The SP cost for a user with `maxSp`, halved (fixed costs up, percent
    // costs down) when `half`.
    int32_t Cost(int32_t maxSp, bool half) const;

    std::string name;
    uint8_t kind = kNormal;
    int32_t spByPercent = 0, spPercent = 0, spCost = 0;
    uint8_t scope = kOneEnemy;
    uint8_t usableOnField = 1, usableInBattle = 0;
    int32_t attackInfluence = 0, spiritInfluence = 3, variance = 4, power = 0, successRate = 100;
    uint8_t affectsHp = 0, affectsSp = 0, affectsAttack = 0, affectsDefense = 0, affectsSpirit = 0,
            affectsAgility = 0;
    uint8_t absorb = 0, ignoreDefense = 0;
    TLcfFlagSet conditions{0};
    TLcfFlagSet attributes{0};
    uint8_t attributeShift = 0;
};

const TLcfgSkillView& SkillView(int32_t skillId);
