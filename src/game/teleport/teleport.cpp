#include "game/teleport/teleport.h"

#include <algorithm>

#include "data/errors.h"
#include "data/map/map_tree.h"
#include "game/map/game_map.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"

TLcfgTeleport* GameTeleports = nullptr;

void TLcfgTeleportItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetInteger(&mapId, 0); break;
    case 2: d.SetInteger(&x, 0); break;
    case 3: d.SetInteger(&y, 0); break;
    case 4: d.SetBoolean(&switchOn, 0); break;
    case 5: d.SetInteger(&switchId, 0); break;
    default: break;
    }
}

void TLcfgTeleportItem::Execute() {
    if (!GameParty) return;
    GameParty->ForceLeaveVehicle();
    int32_t map = mapId;
    if (GameMapTree)
        if (const TLcfMapTreeItem* entry = GameMapTree->Find(map); entry && entry->IsArea()) map = entry->parentId;
    GameParty->SetPosition(map, x, y);
    GameParty->direction = GameParty->facing = 2;
    if (switchOn && GameSystem) GameSystem->SetSwitch(switchId, true);
    if (GameMap) GameMap->events.RefreshAll();
}

void TLcfgTeleport::Reset() {
    Clear();
    GetOrCreate(0);
}

TLcfgTeleportItem* TLcfgTeleport::EscapePoint() {
    // Found by id: nothing else may sit before it, but a damaged list
    // should not hand out some other target.
    return GetOrCreate(0);
}

TLcfgTeleportItem* TLcfgTeleport::ByIndex(int index) const {
    TLcfgTeleportItem* item = Items(index);
    VARNOW_CHECK(item != nullptr);
    return item;
}

TLcfgTeleportItem* TLcfgTeleport::ById(int32_t id) const {
    TLcfgTeleportItem* item = Find(id);
    VARNOW_CHECK(item != nullptr);
    return item;
}

void TLcfgTeleport::SetTarget(int32_t mapId, int32_t x, int32_t y, bool switchOn, int32_t switchId) {
    if (mapId < 0) return;  // would sort before the escape point
    TLcfgTeleportItem* item = GetOrCreate(mapId);
    item->mapId = mapId;
    item->x = x;
    item->y = y;
    item->switchOn = switchOn;
    item->switchId = switchId;
}

void TLcfgTeleport::RemoveTarget(int32_t mapId) {
    if (mapId <= 0) return;  // the escape point stays
    Remove(mapId);
}

void TLcfgTeleport::LoadFromStream(ByteReader& r) {
    TCatalogOf<TLcfgTeleportItem>::LoadFromStream(r);
    RemoveIdsBelow(0);
    GetOrCreate(0);
}

void TLcfgTeleportChunk::LoadFromStream(ByteReader& r) {
    if (r.AtEnd()) {
        targets.Reset();
        return;
    }
    try {
        targets.LoadFromStream(r);
    } catch (const Exception&) {
        targets.Reset();
        throw;
    }
}
