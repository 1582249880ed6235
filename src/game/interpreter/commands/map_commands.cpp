// Commands that move the party, the vehicles and the events between cells
// and maps, read the map, and change its tile set, panorama, encounter
// rate, tiles and the teleport targets. Transfers are carried out by the
// field scene behind the interpreter's hook.

#include <algorithm>

#include "data/database/chip_set.h"
#include "game/event/map_event.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/interpreter/regular_scripter.h"
#include "game/map/game_map.h"
#include "game/system/game_system.h"
#include "game/teleport/teleport.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"

namespace commands {

int32_t ScriptCoordinate(int64_t v) { return int32_t(std::clamp<int64_t>(v, -kScriptCoordinateLimit, kScriptCoordinateLimit)); }

void ApplyScriptDirection(TLcfgCharacter& character, int32_t direction) {
    if (direction < 1 || direction > 4) return;
    character.direction = uint8_t(direction - 1);
    character.UpdateFacing();
}

namespace {

int32_t Variable(int32_t id) { return GameSystem ? GameSystem->GetVariable(id) : 0; }
void SetVariable(int32_t id, int32_t value) {
    if (GameSystem) GameSystem->SetVariable(id, value);
}

// The party's map before a transfer; 0 without a party.
int32_t PartyMap() { return GameParty ? GameParty->mapId : 0; }

// A script that moved the party to another map no longer belongs to an
// event of the new one.
void ForgetEvents(TLcfgBaseScripter& scripter) {
    for (int i = 0; i < scripter.frames.Count(); ++i) scripter.frames.Items(i)->eventId = 0;
}

// Requests the transfer; a parallel process leaves it to the field scene's
// own update, the others carry it out at once. A script that moved the
// party to another map no longer belongs to an event of the new one.
void Transfer(TLcfgBaseScripter& scripter, int32_t map, int32_t x, int32_t y, int32_t facing) {
    IFieldSceneHooks* field = GameInterpreterHooks.field;
    if (!field) return;
    x = ScriptCoordinate(x);
    y = ScriptCoordinate(y);
    field->RequestTeleport(map, x, y, facing);
    if (dynamic_cast<TLcfgRegularScripter*>(&scripter)) return;
    const int32_t before = PartyMap();
    field->PerformTeleport();
    if (map == before) return;
    ForgetEvents(scripter);
}

// Whether the scripter is the parallel process of an event of the current
// map: setting another map up replaces that event, scripter and all.
bool RunsForMapEvent(const TLcfgBaseScripter& scripter) {
    if (!GameMap) return false;
    for (int i = 0; i < GameMap->events.Count(); ++i)
        if (&GameMap->events.Items(i)->Scripter() == &scripter) return true;
    return false;
}

// Parameter `index` of a position operand whose kind is parameter `kind`:
// kind 0 the constant itself, else the value of the variable it names.
int32_t Operand(const TLcfEventScriptLine& line, int kind, int index) {
    const int32_t p = line.GetParam(index);
    return line.GetParam(kind) == 0 ? p : Variable(p);
}

}  // namespace

VARNOW_COMMAND(TransferParty) {
    (void)frame;
    Transfer(scripter, line.GetParam(0), line.GetParam(1), line.GetParam(2), line.GetParam(3));
}

VARNOW_COMMAND(MemorizeLocation) {
    (void)scripter;
    (void)frame;
    if (!GameParty) return;
    SetVariable(line.GetParam(0), GameParty->mapId);
    SetVariable(line.GetParam(1), GameParty->x);
    SetVariable(line.GetParam(2), GameParty->y);
}

VARNOW_COMMAND(RecallLocation) {
    (void)frame;
    Transfer(scripter, Variable(line.GetParam(0)), Variable(line.GetParam(1)), Variable(line.GetParam(2)),
             line.GetParam(3));
}

VARNOW_COMMAND(EnterExitVehicle) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (GameParty) GameParty->BoardOrLeaveVehicle();
}

VARNOW_COMMAND(SetVehicleLocation) {
    (void)frame;
    const int32_t which = line.GetParam(0);
    if (which < 0 || which > 2) return;
    TLcfgShip* vehicle = GameVehicle(which + 1);
    if (!vehicle) return;
    // Aboard that vehicle the party is moved, and takes the vehicle along.
    const bool aboard = GameParty && GameParty->Vehicle() == vehicle;
    TLcfgCharacter* placed = aboard ? static_cast<TLcfgCharacter*>(GameParty) : vehicle;
    const int32_t map = Operand(line, 1, 2);
    const int32_t x = ScriptCoordinate(Operand(line, 1, 3)), y = ScriptCoordinate(Operand(line, 1, 4));
    // Only the constant form carries a direction.
    const int32_t direction = line.GetParam(1) == 0 && line.ParamCount() >= 6 ? line.GetParam(5) : 0;
    // The party moved to another map sets that map up, which replaces every
    // map event, the one whose parallel process runs this line among them:
    // a map event's parallel process therefore hands the move to the field
    // as a transfer (whose facing 1-4 turns the party as the direction
    // would). A common event outlives the map change and places the party
    // at once, without a transfer's transitions.
    if (aboard && map != GameParty->mapId && RunsForMapEvent(scripter)) {
        if (IFieldSceneHooks* field = GameInterpreterHooks.field) field->RequestTeleport(map, x, y, direction);
        return;
    }
    const int32_t before = PartyMap();
    placed->SetPosition(map, x, y);
    ApplyScriptDirection(*placed, direction);
    // As after a transfer: the script no longer belongs to an event of the
    // map the party now stands on.
    if (aboard && PartyMap() != before) ForgetEvents(scripter);
}

VARNOW_COMMAND(SetEventLocation) {
    TLcfgCharacter* event = scripter.ResolveCharacter(frame, line.GetParam(0));
    if (!event) return;
    event->SetPosition(PartyMap(), ScriptCoordinate(Operand(line, 1, 2)), ScriptCoordinate(Operand(line, 1, 3)));
    // Only the constant form carries a direction.
    if (line.GetParam(1) == 0 && line.ParamCount() >= 5) ApplyScriptDirection(*event, line.GetParam(4));
}

VARNOW_COMMAND(SwapEventLocations) {
    TLcfgCharacter* a = scripter.ResolveCharacter(frame, line.GetParam(0));
    TLcfgCharacter* b = scripter.ResolveCharacter(frame, line.GetParam(1));
    if (!a || !b || a == b) return;
    const int32_t ax = a->x, ay = a->y;
    a->SetPosition(a->mapId, b->x, b->y);
    b->SetPosition(b->mapId, ax, ay);
}

VARNOW_COMMAND(GetTerrainId) {
    (void)scripter;
    (void)frame;
    const int32_t x = Operand(line, 0, 1), y = Operand(line, 0, 2);
    int32_t terrain = 0;
    // A looping map reads the wrapped cell; outside a map that does not
    // loop the lower tile is -1, whose terrain is that of chip 0.
    if (GameMap && GameMap->ChipSet())
        terrain = GameMap->ChipSet()->TerrainOfTile(GameMap->LowerTile(GameMap->WrapX(x), GameMap->WrapY(y)));
    SetVariable(line.GetParam(3), terrain);
}

VARNOW_COMMAND(GetEventId) {
    (void)scripter;
    (void)frame;
    const int32_t x = Operand(line, 0, 1), y = Operand(line, 0, 2);
    int32_t id = 0;
    if (GameMap && GameMap->IsInside(x, y)) id = GameMap->EventAt(GameMap->WrapX(x), GameMap->WrapY(y));
    SetVariable(line.GetParam(3), id);
}

VARNOW_COMMAND(ChangeTileset) {
    (void)scripter;
    (void)frame;
    if (GameMap) GameMap->SetChipSet(line.GetParam(0));
}

VARNOW_COMMAND(ChangePanorama) {
    (void)scripter;
    (void)frame;
    if (!GameMap) return;
    // The settings are only stored; setting the name reconfigures from them.
    GameMap->panoramaHLoop = line.GetParam(0) != 0;
    GameMap->panoramaVLoop = line.GetParam(1) != 0;
    GameMap->panoramaHScroll = line.GetParam(2) != 0;
    GameMap->panoramaHSpeed = line.GetParam(3);
    GameMap->panoramaVScroll = line.GetParam(4) != 0;
    GameMap->panoramaVSpeed = line.GetParam(5);
    GameMap->SetPanorama(line.text);
}

VARNOW_COMMAND(ChangeEncounterRate) {
    (void)scripter;
    (void)frame;
    if (GameMap) GameMap->SetEncounterRate(line.GetParam(0));
}

VARNOW_COMMAND(ReplaceTile) {
    (void)scripter;
    (void)frame;
    // The tables hold chip indexes 0..143: anything else names no tile.
    const int32_t newChip = line.GetParam(2);
    if (!GameMap || newChip < 0 || newChip >= TLcfgMap::kSubstitutions) return;
    GameMap->ReplaceTile(line.GetParam(0) == 0 ? 0 : 1, line.GetParam(1), newChip);
}

VARNOW_COMMAND(ChangeTeleportTargets) {
    (void)scripter;
    (void)frame;
    if (!GameTeleports) return;
    if (line.GetParam(0) == 0)
        GameTeleports->SetTarget(line.GetParam(1), ScriptCoordinate(line.GetParam(2)),
                                 ScriptCoordinate(line.GetParam(3)), line.GetParam(4) != 0, line.GetParam(5));
    else
        GameTeleports->RemoveTarget(line.GetParam(1));
}

VARNOW_COMMAND(SetEscapeLocation) {
    (void)scripter;
    (void)frame;
    if (!GameTeleports) return;
    TLcfgTeleportItem* escape = GameTeleports->EscapePoint();
    escape->mapId = line.GetParam(0);
    escape->x = ScriptCoordinate(line.GetParam(1));
    escape->y = ScriptCoordinate(line.GetParam(2));
    escape->switchOn = line.GetParam(3) != 0;
    escape->switchId = line.GetParam(4);
}

}  // namespace commands
