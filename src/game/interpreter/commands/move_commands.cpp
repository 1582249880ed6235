// Commands that act on how characters look and move: hiding the party, a
// sprite flash, forced move routes and waiting for or stopping them.

#include <algorithm>

#include "data/database/move_route.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/map/game_map.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"

namespace commands {

std::vector<TLcfMoveRouteItem> MoveCommandsFromParams(const std::vector<int32_t>& params, size_t first) {
    std::vector<TLcfMoveRouteItem> commands;
    size_t i = first;
    const size_t n = params.size();
    auto take = [&](int32_t& out) {
        if (i >= n) return false;
        out = params[i++];
        return true;
    };
    // A string: its length, then one parameter per byte.
    auto takeString = [&](std::string& out) {
        int32_t length = 0;
        if (!take(length) || length < 0 || size_t(length) > n - i) return false;
        out.clear();
        for (int32_t k = 0; k < length; ++k) out.push_back(char(uint8_t(params[i++])));
        return true;
    };
    while (i < n) {
        TLcfMoveRouteItem c;
        c.code = params[i++];
        bool complete = true;
        switch (c.code) {
        case kMoveSwitchOn:
        case kMoveSwitchOff: complete = take(c.switchId); break;
        case kMoveChangeGraphic: complete = takeString(c.graphicName) && take(c.graphicIndex); break;
        case kMovePlaySound:
            complete = takeString(c.soundName) && take(c.soundVolume) && take(c.soundTempo) && take(c.soundBalance);
            break;
        }
        // A command cut short by the end of the line is dropped.
        if (!complete) break;
        commands.push_back(std::move(c));
    }
    return commands;
}

VARNOW_COMMAND(SetPartyTransparent) {
    (void)scripter;
    (void)frame;
    if (GameParty) GameParty->SetHidden(line.GetParam(0) == 0);
}

VARNOW_COMMAND(FlashCharacter) {
    TLcfgCharacter* character = scripter.ResolveCharacter(frame, line.GetParam(0));
    const int32_t frames = int32_t(std::clamp<int64_t>(int64_t(line.GetParam(5)) * 6, 0, INT32_MAX));
    if (character)
        character->StartFlash(line.GetParam(1), line.GetParam(2), line.GetParam(3), line.GetParam(4), frames);
    if (line.GetParam(6) != 0) scripter.waitCounter = std::max(1, frames);
}

VARNOW_COMMAND(SetMoveRoute) {
    TLcfgCharacter* character = scripter.ResolveCharacter(frame, line.GetParam(0));
    if (!character) return;
    // A ridden vehicle is parked on the party every frame, which cancels a
    // route of its own; so the party drives it: a route for the party, or
    // for the vehicle it rides, runs on the party, whose steps follow the
    // vehicle's passability and take the vehicle along.
    if (GameParty && GameParty->Vehicle() && character == GameParty->Vehicle()) character = GameParty;
    // StartForcedRoute keeps the frequency within 1..8, the range of the
    // pause table.
    character->StartForcedRoute(MoveCommandsFromParams(line.Params(), 4), line.GetParam(1), line.GetParam(2) != 0,
                                line.GetParam(3) != 0);
}

VARNOW_COMMAND(WaitForAllMovement) {
    (void)frame;
    (void)line;
    scripter.waitingForMovement = 1;
}

VARNOW_COMMAND(StopAllMovement) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (!GameMap) return;
    for (int i = 0; i < GameMap->CharacterCount(); ++i)
        if (TLcfgCharacter* c = GameMap->CharacterByIndex(i)) c->CancelForcedRoute();
}

}  // namespace commands
