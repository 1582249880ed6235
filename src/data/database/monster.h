#pragma once
// Monsters (database section 14): picture, parameters, rewards, ranks and
// action patterns.

#include <cstdint>
#include <string>

#include "data/database/flag_set.h"
#include "data/record/catalog.h"

// One action pattern.
class TLcfMonsterActItem : public TCatalogItem {
public:
    enum Kind : uint8_t { kBasic = 0, kSkill = 1, kTransform = 2 };
    enum Condition : uint8_t {
        kAlways = 0, kSwitch = 1, kTurns = 2, kMonsterCount = 3, kOwnHp = 4,
        kOwnSp = 5, kPartyLevel = 6, kPartyExhaustion = 7,
    };

    explicit TLcfMonsterActItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    uint8_t kind = kBasic;
    uint8_t basicAction = 0;
    int32_t skillId = 1;
    int32_t transformInto = 1;
    uint8_t condition = kAlways;
    int32_t conditionA = 0, conditionB = 0;
    int32_t conditionSwitch = 1;
    uint8_t switchOn = 0;
    int32_t switchOnId = 1;
    uint8_t switchOff = 0;
    int32_t switchOffId = 1;
    int32_t rating = 50;
};

class TLcfMonsterAct : public TCatalogOf<TLcfMonsterActItem> {};

class TLcfMonsterItem : public TCatalogItem {
public:
    explicit TLcfMonsterItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // Trims the condition ranks (default B) and the attribute ranks (default
    // C) to the database's conditions and attributes, then the generic write.
    void SaveToStream(ByteWriter& w) override;

    // Rank 0..4 (A..E); B outside the stored range.
    int GetStatusRank(int32_t conditionId) const { return statusRanks.GetEntry(conditionId); }
    // Rank 0..4; C outside the stored range.
    int GetAttribRank(int32_t attributeId) const { return attribRanks.GetEntry(attributeId); }
    // Percent chance of a critical hit; none for a rate of 0 or less.
    double CriticalChance() const;

    std::string picture;  // folder "Monster"
    int32_t hue = 0;
    int32_t maxHp = 10, maxSp = 10, attack = 10, defense = 10, spirit = 10, agility = 10;
    uint8_t transparent = 0;
    int32_t experience = 0, gold = 0;
    int32_t dropItem = 0;
    int32_t dropChance = 100;
    uint8_t criticalHits = 0;
    int32_t criticalRate = 30;
    uint8_t missesOften = 0;
    uint8_t floating = 0;
    TLcfFlagSet statusRanks{1};
    TLcfFlagSet attribRanks{2};
    TLcfMonsterAct actions;
};

class TLcfMonster : public TCatalogOf<TLcfMonsterItem> {
public:
    TLcfMonsterItem* FindMonster(int32_t id) const { return FindStrict(id, 65288); }
};
