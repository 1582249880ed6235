#pragma once
// What heroes and job classes share: parameter curves, the experience curve,
// condition and attribute ranks, battle commands and the equipment flags.
// A hero whose run-time class is set takes these from the class instead.

#include <array>
#include <bit>
#include <cstdint>

#include "data/database/flag_set.h"
#include "data/record/catalog.h"

static_assert(std::endian::native == std::endian::little, "16-bit blocks are kept in file byte order");

// Parameter kinds of the curves.
enum TLcfParameter : int { kParamMaxHp, kParamMaxSp, kParamAttack, kParamDefense, kParamSpirit, kParamAgility };

// One learned skill: the level and the skill.
class TLcfLearningItem : public TCatalogItem {
public:
    explicit TLcfLearningItem(int32_t id = 0) : TCatalogItem(id) {}
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    int32_t level = 1;
    int32_t skillId = 1;
};

// Experience needed for `level` with the curve's base, increment and
// correction: (L-1) x base + (L-1) x correction + increment x (1 + ... + L-1),
// 0 below level 2, and 10000000 for any total above 9999999. Worked in 64
// bits, so values from files cannot overflow.
int32_t ExperienceForLevel(int32_t base, int32_t increment, int32_t correction, int32_t level);

// A critical hit's chance in percent from the critical flag and its "once in
// this many attacks" rate; no critical hits for a rate of 0 or less.
double CriticalChancePercent(uint8_t criticalHits, int32_t criticalRate);

class TLcfGrowthItem : public TCatalogItem {
public:
    static constexpr int kLevels = 99;
    static constexpr int kKinds = 6;
    static constexpr int kCommandSlots = 7;
    // Slots 0..5 are the command menu; the seventh is stored, never read.
    static constexpr int kMenuSlots = 6;

    explicit TLcfGrowthItem(int32_t id = 0) : TCatalogItem(id) {}

    // Trims the rank sets to the database's conditions and attributes, then
    // the generic write.
    void SaveToStream(ByteWriter& w) override;

    // Curve value of kind 0..5 at level 1..99; 0 outside.
    int GetParameter(int kind, int level) const;
    // Written within the same bounds; anything else is ignored.
    void SetParameter(int kind, int level, int value);
    // Command id of menu slot 0..5; -1 for any other slot.
    int32_t GetBattleCommand(int slot) const;
    // Ranks 0..4 (A..E); 2 (C) for an id outside the stored range.
    int GetStatusRank(int32_t conditionId) const { return statusRanks.GetEntry(conditionId); }
    int GetAttribRank(int32_t attributeId) const { return attribRanks.GetEntry(attributeId); }
    bool StoresStatusRank(int32_t conditionId) const {
        return conditionId >= 1 && conditionId <= statusRanks.Length();
    }
    // Command id of stored slot 0..6; -1 for any other slot.
    int32_t GetStoredBattleCommand(int slot) const {
        return slot >= 0 && slot < kCommandSlots ? battleCommands[static_cast<size_t>(slot)] : -1;
    }
    int32_t ExpForLevel(int32_t level) const {
        return ExperienceForLevel(expBase, expIncrement, expCorrection, level);
    }

    uint8_t twoWeapons = 0;      // a second weapon instead of a shield
    uint8_t fixedEquipment = 0;  // the menu cannot change the equipment
    uint8_t autoBattle = 0;
    uint8_t strongDefense = 0;
    std::array<uint16_t, kKinds * kLevels> curves{};  // kind-major
    int32_t expBase = 300, expIncrement = 300, expCorrection = 0;
    int32_t battlerSet = 1;  // battler animation set
    TLcfFlagSet statusRanks{2};
    TLcfFlagSet attribRanks{2};
    std::array<int32_t, kCommandSlots> battleCommands{};

protected:
    // Describes the shared chunks; false when `id` is none of them.
    bool DescribeGrowth(int id, TCatalogVarData& d);
    // The shared fields no description gives a default: the curves, the
    // rank sets and the commands (`commandSlots` slots hold -1, the rest 0).
    void ClearGrowth(int commandSlots);
};
