#pragma once
// What the game reads of a hero or a job class: the two share their growth
// data (parameter curves, experience curve, skills by level, ranks, flags,
// battle commands), and a hero adds its looks, level range, critical hits and
// initial equipment.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/database/flag_set.h"
#include "data/record/catalog_base_item.h"

struct TLcfgLearning {
    int32_t level = 1;
    int32_t skillId = 1;
};

class TLcfgGrowthView : public TCatalogBaseItem {
public:
    static constexpr int kLevels = 99;
    static constexpr int kCurveBytes = 6 * kLevels * 2;

    // `isHero` picks the hero's defaults for the battle commands (all seven
    // -1) over the class's (slots 0..5 -1).
    explicit TLcfgGrowthView(bool isHero = true) : isHero_(isHero) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    void LoadFromStream(ByteReader& r) override;

    // Curve value of kind 0..5 at level 1..99; 0 outside.
    int32_t Parameter(int kind, int level) const;
    // Command of slot 0..5; -1 for any other slot.
    int32_t BattleCommand(int slot) const;
    int32_t RawBattleCommand(int slot) const;
    int32_t InitialEquipment(int slot) const;
    void SetInitialEquipment(int slot, int32_t item);
    // Ranks 0..4; 2 (C) outside the stored sets.
    int ConditionRank(int32_t id) const { return conditionRanks.GetEntry(id); }
    int AttributeRank(int32_t id) const { return attributeRanks.GetEntry(id); }
    bool StoresConditionRank(int32_t id) const { return id >= 1 && id <= conditionRanks.Length(); }

    std::string name, title, sprite, face;
    int32_t spriteIndex = 0;
    uint8_t transparent = 0;
    int32_t initialLevel = 1, finalLevel = 99;
    uint8_t criticalHits = 1;
    int32_t criticalRate = 30;
    int32_t faceIndex = 0;
    uint8_t twoWeapons = 0, lockEquipment = 0, autoBattle = 0, strongDefense = 0;
    std::array<uint8_t, kCurveBytes> curves{};
    int32_t expBase = 300, expInflation = 300, expCorrection = 0;
    std::array<uint8_t, 10> initialEquipment{};
    int32_t unarmedAnimation = 1;
    int32_t jobClass = 0;
    int32_t battlerAnimation = 1;
    std::vector<TLcfgLearning> skills;  // in stored order
    TLcfFlagSet conditionRanks{2};
    TLcfFlagSet attributeRanks{2};
    std::array<uint8_t, 28> commands{};

private:
    bool isHero_;
    std::vector<uint8_t> skillBytes_;  // chunk 63 in its list form
};

// The hero's and the class's views; a missing entry raises the table's
// "does not exist" message.
const TLcfgGrowthView& HeroView(int32_t heroId);
const TLcfgGrowthView& ClassView(int32_t classId);
bool HeroExists(int32_t heroId);
int HeroCount();
