#include "game/map/map_world.h"

#include "data/map/map.h"
#include "game/map/game_map.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"

namespace {

TLcfgEventItem* EventOf(int32_t id) { return GameMap ? GameMap->events.Find(id) : nullptr; }

}  // namespace

int TLcfgMapWorld::EventCount() const { return GameMap ? GameMap->events.Count() : 0; }

int32_t TLcfgMapWorld::EventIdAt(int index) const {
    const TLcfgEventItem* e = GameMap ? GameMap->events.Items(index) : nullptr;
    return e ? e->Id() : 0;
}

bool TLcfgMapWorld::EventExists(int32_t id) const { return EventOf(id) != nullptr; }

// An erased event has no page to run: the map interpreter never starts it
// and its parallel process stops after the current step.
const TLcfEventScriptList* TLcfgMapWorld::ActivePageScript(int32_t id) const {
    const TLcfgEventItem* e = EventOf(id);
    return e && e->active && e->ActivePage() ? &e->ActivePage()->script : nullptr;
}

bool TLcfgMapWorld::HasStartRequest(int32_t id) const {
    const TLcfgEventItem* e = EventOf(id);
    return e && e->startRequested;
}

void TLcfgMapWorld::ClearStartRequest(int32_t id) {
    if (TLcfgEventItem* e = EventOf(id)) e->startRequested = 0;
}

bool TLcfgMapWorld::StartedByKey(int32_t id) const {
    const TLcfgEventItem* e = EventOf(id);
    return e && e->startedByKey;
}

void TLcfgMapWorld::EndEventRun(int32_t id) {
    if (TLcfgEventItem* e = EventOf(id)) {
        e->waitingForScript = 0;
        e->UpdateFacing();
    }
}

void TLcfgMapWorld::RefreshAll() {
    if (GameMap) GameMap->events.RefreshAll();
}

bool TLcfgMapWorld::AnyForcedRoutePending() const {
    if (!GameMap) return false;
    // Only the map events count: a script that waits for movement goes on
    // while the party's own route is still running (or blocked).
    for (int i = 0; i < GameMap->events.Count(); ++i) {
        const TLcfgEventItem* e = GameMap->events.Items(i);
        if (e->forcedActive && !e->forcedRunThrough) return true;
    }
    return false;
}

bool TLcfgMapWorld::PartyBoardingOrLeaving() const { return GameParty && (GameParty->boarding || GameParty->leaving); }

bool TLcfgMapWorld::AirshipAscendingOrDescending() const {
    return GameAirship && (GameAirship->ascent > 0 || GameAirship->descent > 0);
}

void TLcfgMapWorld::CancelPartyForcedRoute() {
    if (GameParty) GameParty->CancelForcedRoute();
}

TLcfgCharacter* TLcfgMapWorld::PartyCharacter() { return GameParty; }
TLcfgCharacter* TLcfgMapWorld::VehicleCharacter(int vehicle) { return GameVehicle(vehicle); }
TLcfgCharacter* TLcfgMapWorld::EventCharacter(int32_t id) { return EventOf(id); }

const TLcfEventScriptList* TLcfgMapWorld::EventPageScript(int32_t id, int32_t pageId) const {
    const TLcfEventItem* e = GameMapUnit ? GameMapUnit->events.Find(id) : nullptr;
    const TLcfEventPageItem* page = e ? e->pages.Find(pageId) : nullptr;
    return page ? &page->script : nullptr;
}

void TLcfgMapWorld::EraseEvent(int32_t id) {
    if (TLcfgEventItem* e = EventOf(id)) e->active = 0;
}

int32_t TLcfgMapWorld::VehicleAboard() const {
    return GameParty && GameParty->riding ? GameParty->vehicleKind : 0;
}

void TLcfgMapWorld::RefreshPartyGraphic() {
    if (GameParty) GameParty->RefreshGraphic();
}
