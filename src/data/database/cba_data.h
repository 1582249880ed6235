#pragma once
// How each hero shows a weapon or a skill in battle: the per-hero list that
// items and skills carry (entry id = hero id).

#include <cstdint>

#include "data/record/catalog.h"

class TLcfCBADataItem : public TCatalogItem {
public:
    enum Motion : int32_t { kNoMotion = 0, kStepOut = 1, kJump = 2, kMoveToTarget = 3 };

    explicit TLcfCBADataItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    // Projectile speed kept to 0..2, and the counts its flight takes (40, 80, 120).
    int ProjectileSpeed() const;
    int ProjectileFlightCounts() const { return 40 * (ProjectileSpeed() + 1); }

    int32_t setting2 = 0;
    int32_t displayKind = 0;
    int32_t weaponStrip = 0;  // weapon entry of the battler set; below 0 none
    int32_t motion = kNoMotion;
    int32_t afterImage = 0;
    int32_t swingCount = 0;
    uint8_t ranged = 0;
    int32_t projectileStrip = 0;
    int32_t projectileSpeed = 0;
    int32_t setting13 = 1;
    int32_t skillPose = 3;  // battler pose taken to use a skill
};

class TLcfCBAData : public TCatalogOf<TLcfCBADataItem> {
public:
    TLcfCBADataItem* FindCBA(int32_t id) const { return FindStrict(id, 65267); }
};
