#pragma once
// Heroes (database section 11): names, sprites and face, level range,
// critical hits, growth, initial equipment, skills learned by level, ranks,
// battle position, battle commands and battler animation set.

#include <array>
#include <cstdint>
#include <string>

#include "data/database/hero_growth.h"

class TLcfPlayerLearningItem : public TLcfLearningItem {
public:
    using TLcfLearningItem::TLcfLearningItem;
};

class TLcfPlayerLearning : public TCatalogOf<TLcfPlayerLearningItem> {};

class TLcfPlayerItem : public TLcfGrowthItem {
public:
    static constexpr int kEquipmentSlots = 5;

    explicit TLcfPlayerItem(int32_t id = 0) : TLcfGrowthItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    // Item id of slot 0..4; 0 outside.
    int32_t GetInitialEquipment(int slot) const;
    // Within slots 0..4; other slots are ignored.
    void SetInitialEquipment(int slot, int32_t itemId);
    double CriticalChance() const { return CriticalChancePercent(criticalHits, criticalRate); }

    std::string title;
    std::string sprite;  // folder "CharSet"
    int32_t spriteIndex = 0;
    uint8_t transparentSprite = 0;
    int32_t initialLevel = 1;
    int32_t finalLevel = 99;
    uint8_t criticalHits = 1;
    int32_t criticalRate = 30;  // once in this many attacks
    std::string face;           // folder "FaceSet"
    int32_t faceIndex = 0;
    std::array<uint16_t, kEquipmentSlots> initialEquipment{};
    int32_t unarmedAnimation = 1;
    int32_t jobClass = 0;  // 0 none
    int32_t reserved58 = 0;
    int32_t battleX = 220, battleY = 120;
    TLcfPlayerLearning skills;
    int32_t reserved64 = 0;
    uint8_t reserved66 = 0;
    std::string reserved67;
};

class TLcfPlayer : public TCatalogOf<TLcfPlayerItem> {
public:
    TLcfPlayerItem* FindPlayer(int32_t id) const { return FindStrict(id, 65289); }
};

// Whether the database holds hero `heroId`, and how many heroes it holds (0
// and false without a database).
bool HeroExists(int32_t heroId);
int HeroCount();
