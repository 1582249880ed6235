#pragma once
// Common events at run time: one state item per database common event,
// holding the interpreter of its parallel process, and the tests that start
// a common event as an autorun or advance it as a parallel process. The
// collection is saved as chunk 114 of the save file.

#include <memory>

#include "data/database/common_event.h"
#include "data/record/catalog.h"
#include "game/interpreter/regular_scripter.h"

class TLcfgCommonEventItem : public TCatalogItem {
public:
    explicit TLcfgCommonEventItem(int32_t id = 0);
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // The interpreter is left as it stands.
    void Clear() override {}

    TLcfgRegularScripter& Scripter() { return *scripter_; }

private:
    std::unique_ptr<TLcfgRegularScripter> scripter_;
};

class TLcfgCommonEvent : public TCatalogOf<TLcfgCommonEventItem> {
public:
    // Items 1..N, N the database's common event count.
    void Reset();
    // Strict lookup by list index: message 65280 when missing.
    TLcfgCommonEventItem* Get(int index) const { return GetStrict(index, 65280); }
    // Loads the saved items only when the party's database stamp matches,
    // drops items beyond the database's events, then makes sure items 1..N
    // exist (missing ones fresh).
    void LoadFromStream(ByteReader& r) override;

    // Runs as an autorun now: the switch condition holds, the trigger is
    // autorun and the script has more than its end line.
    static bool AutorunReady(const TLcfCommonEventItem& event);
    // The first common event in id order that is ready to auto-run.
    const TLcfCommonEventItem* FirstAutorunReady() const;
    // Advances one item's parallel process when its event is parallel and
    // its switch condition holds (started from the first line when idle).
    void UpdateParallel(TLcfgCommonEventItem& item);
    // UpdateParallel of every item, in id order.
    void UpdateAll();

private:
    void EnsureItems();
};

// The common-event states of the running game.
extern TLcfgCommonEvent* GameCommonEvents;
