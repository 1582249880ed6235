#include "game/common_events/common_event_state.h"

#include "data/database/database.h"
#include "game/system/game_system.h"

TLcfgCommonEvent* GameCommonEvents = nullptr;

namespace {

int DatabaseCount() { return DbCommonEvent ? DbCommonEvent->Count() : 0; }

bool SwitchConditionHolds(const TLcfCommonEventItem& event) {
    if (!event.needsSwitch) return true;
    return GameSystem && GameSystem->GetSwitch(event.switchId);
}

const TLcfCommonEventItem* DatabaseEvent(int32_t id) { return DbCommonEvent ? DbCommonEvent->Find(id) : nullptr; }

}  // namespace

TLcfgCommonEventItem::TLcfgCommonEventItem(int32_t id)
    : TCatalogItem(id), scripter_(std::make_unique<TLcfgRegularScripter>()) {}

void TLcfgCommonEventItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id == 1) d.SetRecord(scripter_.get());
}

void TLcfgCommonEvent::EnsureItems() {
    const int n = DatabaseCount();
    for (int32_t id = 1; id <= n; ++id) GetOrCreate(id);
}

void TLcfgCommonEvent::Reset() {
    Clear();
    EnsureItems();
}

void TLcfgCommonEvent::LoadFromStream(ByteReader& r) {
    Clear();
    IPartyHooks* party = GameInterpreterHooks.party;
    TCatalog::LoadFromStream(r);
    if (party && !party->DatabaseStampCurrent()) {
        // States of another database: read past, then dropped.
        Clear();
    } else {
        // States of common events the database no longer has are dropped.
        const int n = DatabaseCount();
        for (int i = Count() - 1; i >= 0; --i) {
            int32_t id = Items(i)->Id();
            // Removed without renumbering: Delete would shift the ids
            // after it onto other common events' states.
            if (id < 1 || id > n) Remove(id);
        }
    }
    EnsureItems();
}

bool TLcfgCommonEvent::AutorunReady(const TLcfCommonEventItem& event) {
    if (!SwitchConditionHolds(event)) return false;
    return event.trigger == TLcfCommonEventItem::kAutorun && event.script.Count() > 1;
}

const TLcfCommonEventItem* TLcfgCommonEvent::FirstAutorunReady() const {
    if (!DbCommonEvent) return nullptr;
    for (int i = 0; i < DbCommonEvent->Count(); ++i) {
        const TLcfCommonEventItem* event = DbCommonEvent->Items(i);
        if (AutorunReady(*event)) return event;
    }
    return nullptr;
}

void TLcfgCommonEvent::UpdateParallel(TLcfgCommonEventItem& item) {
    const TLcfCommonEventItem* event = DatabaseEvent(item.Id());
    if (!event || event->trigger != TLcfCommonEventItem::kParallel || !SwitchConditionHolds(*event)) return;
    TLcfgRegularScripter& scripter = item.Scripter();
    if (!scripter.IsRunning()) scripter.Start(0, event->script);
    scripter.Update();
}

void TLcfgCommonEvent::UpdateAll() {
    for (int i = 0; i < Count(); ++i) UpdateParallel(*Items(i));
}
