#pragma once
// Job classes (database section 30): growth data that a hero with that
// run-time class takes instead of its own.

#include <cstdint>
#include <string>

#include "data/database/hero_growth.h"

class TLcfJobLearningItem : public TLcfLearningItem {
public:
    using TLcfLearningItem::TLcfLearningItem;
};

class TLcfJobLearning : public TCatalogOf<TLcfJobLearningItem> {};

class TLcfJobItem : public TLcfGrowthItem {
public:
    explicit TLcfJobItem(int32_t id = 0) : TLcfGrowthItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // As a hero's, except that only command slots 0..5 start at -1.
    void Clear() override;

    std::string reserved2;
    TLcfJobLearning skills;
};

class TLcfJob : public TCatalogOf<TLcfJobItem> {
public:
    TLcfJobItem* FindJob(int32_t id) const { return FindStrict(id, 65285); }
};
