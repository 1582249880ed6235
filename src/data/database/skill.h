#pragma once
// Skills (database section 12).

#include <cstdint>
#include <string>

#include "data/database/audio_reference.h"
#include "data/database/cba_data.h"
#include "data/database/flag_set.h"
#include "data/record/catalog.h"

class TLcfSkillItem : public TCatalogItem {
public:
    enum Kind : uint8_t { kNormal = 0, kTeleport = 1, kEscape = 2, kSwitch = 3 };
    enum Scope : uint8_t { kOneEnemy = 0, kAllEnemies = 1, kSelf = 2, kOneAlly = 3, kAllAllies = 4 };

    explicit TLcfSkillItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Defaults, sound "(OFF)" and one entry in the battle display list.
    void Clear() override;
    // Trims the condition and attribute sets, then the generic write.
    void SaveToStream(ByteWriter& w) override;

    uint8_t GetStatusFlag(int32_t conditionId) const { return conditionSet.GetEntry(conditionId); }
    uint8_t GetAttribFlag(int32_t attributeId) const { return attributeSet.GetEntry(attributeId); }
    // Every kind but teleport, escape and switch (kinds 4 and above too).
    bool IsNormalKind() const { return kind != kTeleport && kind != kEscape && kind != kSwitch; }
    bool AimsAtEnemies() const { return scope == kOneEnemy || scope == kAllEnemies; }
    bool HasCondition(int32_t conditionId) const { return GetStatusFlag(conditionId) != 0; }
    bool HasAttribute(int32_t attributeId) const { return GetAttribFlag(attributeId) != 0; }
    // The SP cost for a user with `maxSp`, halved (fixed costs up, percent
    // costs down) when `half`.
    int32_t Cost(int32_t maxSp, bool half) const;

    std::string description;
    std::string message1, message2;
    int32_t failureMessage = 0;
    uint8_t kind = kNormal;
    int32_t spByPercent = 0;
    int32_t spPercent = 0;
    int32_t spCost = 0;
    uint8_t scope = kOneEnemy;
    int32_t switchId = 1;
    int32_t battleAnimation = 1;
    TLcfSound sound;
    uint8_t usableOnField = 1, usableInBattle = 0;
    int32_t battleSetting = 0;
    int32_t attackInfluence = 0, spiritInfluence = 3, variance = 4, baseEffect = 0;
    int32_t successRate = 100;
    uint8_t affectsHp = 0, affectsSp = 0, affectsAttack = 0, affectsDefense = 0;
    uint8_t affectsSpirit = 0, affectsAgility = 0, absorb = 0, ignoreDefense = 0;
    uint8_t reserved39 = 0;
    TLcfFlagSet conditionSet{0};
    TLcfFlagSet attributeSet{0};
    uint8_t attributeDefenseShift = 0;
    int32_t reserved49 = -1;
    TLcfCBAData battleDisplay;
};

class TLcfSkill : public TCatalogOf<TLcfSkillItem> {
public:
    TLcfSkillItem* FindSkill(int32_t id) const { return FindStrict(id, 65290); }
};
