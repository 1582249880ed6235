#include "data/database/hero_growth.h"

#include <algorithm>

#include "data/clamp.h"

void TLcfLearningItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetInteger(&level, 1); break;
    case 2: d.SetInteger(&skillId, 1); break;
    }
}

int32_t ExperienceForLevel(int32_t base, int32_t increment, int32_t correction, int32_t level) {
    if (level < 2) return 0;
    // Far past any level a game can reach; keeps the products inside 64 bits.
    int64_t steps = std::min<int64_t>(level, 10000) - 1;
    int64_t total = steps * base + steps * correction + int64_t(increment) * (steps * (steps + 1) / 2);
    if (total > 9999999) return 10000000;
    return ClampToInt32(total);
}

double CriticalChancePercent(uint8_t criticalHits, int32_t criticalRate) {
    if (!criticalHits || criticalRate <= 0) return 0;
    return 100.0 / criticalRate;
}

void TLcfGrowthItem::SaveToStream(ByteWriter& w) {
    statusRanks.Trim(DatabaseConditionCount());
    attribRanks.Trim(DatabaseAttributeCount());
    WriteFields(w);
}

int TLcfGrowthItem::GetParameter(int kind, int level) const {
    if (kind < 0 || kind >= kKinds || level < 1 || level > kLevels) return 0;
    return curves[static_cast<size_t>(kLevels * kind + level - 1)];
}

void TLcfGrowthItem::SetParameter(int kind, int level, int value) {
    if (kind < 0 || kind >= kKinds || level < 1 || level > kLevels) return;
    curves[static_cast<size_t>(kLevels * kind + level - 1)] = static_cast<uint16_t>(value);
}

int32_t TLcfGrowthItem::GetBattleCommand(int slot) const {
    return slot >= 0 && slot < kMenuSlots ? battleCommands[static_cast<size_t>(slot)] : -1;
}

bool TLcfGrowthItem::DescribeGrowth(int id, TCatalogVarData& d) {
    if (statusRanks.Describe(id, 71, d) || attribRanks.Describe(id, 73, d)) return true;
    switch (id) {
    case 21: d.SetBoolean(&twoWeapons, 0); break;
    case 22: d.SetBoolean(&fixedEquipment, 0); break;
    case 23: d.SetBoolean(&autoBattle, 0); break;
    case 24: d.SetBoolean(&strongDefense, 0); break;
    case 31: d.SetFixed(curves.data(), kKinds * kLevels * 2); break;
    case 41: d.SetInteger(&expBase, 300); break;
    case 42: d.SetInteger(&expIncrement, 300); break;
    case 43: d.SetInteger(&expCorrection, 0); break;
    case 62: d.SetInteger(&battlerSet, 1); break;
    case 80: d.SetFixed(battleCommands.data(), kCommandSlots * 4); break;
    default: return false;
    }
    return true;
}

void TLcfGrowthItem::ClearGrowth(int commandSlots) {
    curves.fill(1);
    std::fill(curves.begin() + kLevels * kParamMaxSp, curves.begin() + kLevels * (kParamMaxSp + 1), uint16_t(0));
    statusRanks.Reset();
    attribRanks.Reset();
    for (int i = 0; i < kCommandSlots; ++i) battleCommands[static_cast<size_t>(i)] = i < commandSlots ? -1 : 0;
}
