#include "game/interpreter/scripter.h"

#include "data/database/database.h"
#include "game/common_events/common_event_state.h"
#include "game/system/game_system.h"
#include "platform/platform.h"

TLcfgScripter* GameScripter = nullptr;

void TLcfgScripter::LoadFromStream(ByteReader& r) {
    IPartyHooks* party = Hooks().party;
    if (party && !party->MapStampCurrent()) {
        Clear();
        SkipRecord(r);
        return;
    }
    TLcfgBaseScripter::LoadFromStream(r);
}

void TLcfgScripter::PageMessagePool() {
    IMessageWindowHooks* window = Hooks().messageWindow;
    IMessagePoolHooks* pool = Hooks().messagePool;
    if (!window) {
        // No window to show them in: the lines are dropped.
        while (pool->HasLines()) pool->TakeLine();
        return;
    }
    if (window->IsVisible() && !window->IsClosing()) return;
    if (GameSystem) GameSystem->faceShown = 0;
    window->Open();
    while (pool->HasLines() && window->LineCount() <= 3) {
        std::string text = pool->TakeLine();
        if (!text.empty()) {
            window->AddLine(text);
        } else if (window->LineCount() > 0) {
            break;  // an empty line ends the page
        }
    }
    if (window->LineCount() == 0)
        window->Close();
    else
        waitingForMessage = 1;
}

void TLcfgScripter::StartScripts() {
    if (GameCommonEvents) {
        if (const TLcfCommonEventItem* common = GameCommonEvents->FirstAutorunReady()) {
            CallScript(common->script, 0);
            if (GameSystem) GameSystem->ClearFace();
        }
    }
    IMapWorldHooks* map = Hooks().map;
    if (!map) return;
    for (int i = 0; i < map->EventCount(); ++i) {
        int32_t id = map->EventIdAt(i);
        if (!map->HasStartRequest(id)) continue;
        map->ClearStartRequest(id);
        const TLcfEventScriptList* script = map->ActivePageScript(id);
        if (!script) continue;  // the request is dropped and the scan goes on
        CallScript(*script, id, map->StartedByKey(id));
        if (GameSystem) GameSystem->ClearFace();
        return;
    }
}

void TLcfgScripter::Update() {
    const TLcfgInterpreterHooks& hooks = Hooks();
    if (hooks.battle && !hooks.battle->EnemyTurnsEnabled()) return;
    for (int step = 0; step < kStepsPerFrame; ++step) {
        if (waitCounter > 0) {
            --waitCounter;
            return;
        }
        if (hooks.testPlay && platform::Sys().IsKeyHeld(platform::Key::F10)) {
            if (IsRunning()) {
                if (hooks.messageWindow) hooks.messageWindow->Close();
                if (hooks.map) hooks.map->CancelPartyForcedRoute();
                EndScript();
            }
            return;
        }
        if (hooks.messagePool && hooks.messagePool->HasLines()) {
            PageMessagePool();
            return;
        }
        if (!IsRunning()) {
            StartScripts();
            if (!IsRunning()) return;
        }
        if (hooks.messageWindow && hooks.messageWindow->IsVisible() && !hooks.messageWindow->IsClosing()) return;
        if (hooks.map && (hooks.map->PartyBoardingOrLeaving() || hooks.map->AirshipAscendingOrDescending())) return;
        if (measureTime) ++timeCounter;
        if (!ExecuteCommand()) return;
        if (GameSystem && GameSystem->scene != kSceneField) return;
    }
}
