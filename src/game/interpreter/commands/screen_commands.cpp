// Commands that change what lies over the whole picture: erasing and
// showing the screen, tint, flash, shake, panning, weather and a battle
// animation played on the map.

#include <algorithm>

#include "data/database/database.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"

namespace commands {

namespace {

// The script waits `frames` frames, at least one.
void WaitFrames(TLcfgBaseScripter& scripter, int32_t frames) { scripter.waitCounter = std::max(1, frames); }

void CloseMessageWindowNow() {
    if (IMessageWindowHooks* window = GameInterpreterHooks.messageWindow) window->CloseNow();
}

// p0 a transition type 0-19, or below 0 the game's teleport transition
// `fallback`; anything else means none.
int32_t ScriptTransition(int32_t p0, int fallback) {
    if (p0 < 0) return GameSystem ? GameSystem->Transition(fallback) : TLcfgSystem::kNoTransition;
    return TLcfgSystem::TransitionType(p0);
}

// An already black screen is not erased a second time.
VARNOW_COMMAND(EraseScreen) {
    (void)scripter;
    (void)frame;
    CloseMessageWindowNow();
    if (GameDraw && GameDraw->Board().Brightness <= 0) return;
    const int32_t type = ScriptTransition(line.GetParam(0), kTransitionTeleportErase);
    if (type == TLcfgSystem::kNoTransition) return;
    if (IFieldSceneHooks* field = GameInterpreterHooks.field) field->EraseFieldScreen(type);
}

VARNOW_COMMAND(ShowScreen) {
    (void)scripter;
    (void)frame;
    CloseMessageWindowNow();
    const int32_t type = ScriptTransition(line.GetParam(0), kTransitionTeleportShow);
    if (type == TLcfgSystem::kNoTransition) return;
    if (IFieldSceneHooks* field = GameInterpreterHooks.field) field->ShowFieldScreen(type);
}

VARNOW_COMMAND(TintScreen) {
    (void)frame;
    const int32_t frames = TenthsToFrames(line.GetParam(4));
    if (GameScreen)
        GameScreen->StartTint(line.GetParam(0), line.GetParam(1), line.GetParam(2), line.GetParam(3), frames);
    if (line.GetParam(5) != 0) WaitFrames(scripter, frames);
}

// Mode p6 (lines of fewer than 7 parameters flash once): 0 once, waiting
// when p5 is set; 1 repeating, never waiting; 2 stop.
VARNOW_COMMAND(FlashScreen) {
    (void)frame;
    const int32_t mode = line.ParamCount() < 7 ? 0 : line.GetParam(6);
    const int32_t frames = TenthsToFrames(line.GetParam(4));
    switch (mode) {
    case 0:
    case 1:
        if (GameScreen)
            GameScreen->StartFlash(line.GetParam(0), line.GetParam(1), line.GetParam(2), line.GetParam(3), frames,
                                   mode == 0 ? TLcfgScreen::kFlashOnce : TLcfgScreen::kFlashRepeat);
        if (mode == 0 && line.GetParam(5) != 0) WaitFrames(scripter, frames);
        break;
    case 2:
        if (GameScreen) GameScreen->StopFlash();
        break;
    default: break;
    }
}

// Mode p4 (lines of fewer than 5 parameters shake once): 0 for p2 tenths,
// waiting when p3 is set; 1 until stopped, never waiting; 2 stop.
VARNOW_COMMAND(ShakeScreen) {
    (void)frame;
    constexpr int32_t kEndless = 65535;
    const int32_t mode = line.ParamCount() < 5 ? 0 : line.GetParam(4);
    switch (mode) {
    case 0: {
        const int32_t frames = TenthsToFrames(line.GetParam(2));
        if (GameScreen) GameScreen->StartShake(line.GetParam(0), line.GetParam(1), frames, 0);
        if (line.GetParam(3) != 0) WaitFrames(scripter, frames);
        break;
    }
    case 1:
        // Mode 1 with the longest count rather than the self-refilling mode
        // 2, so that the stop below can end it.
        if (GameScreen) GameScreen->StartShake(line.GetParam(0), line.GetParam(1), kEndless, 1);
        break;
    case 2:
        if (GameScreen) GameScreen->StopShake();
        break;
    default: break;
    }
}

// p0 0 the view stops following the party, 1 follows again, 2 pans p2
// tiles in direction p1 at speed p3, 3 pans back at speed p3. A waiting
// pan waits exactly as long as the pan still has to go (0 frames too).
VARNOW_COMMAND(PanScreen) {
    (void)frame;
    if (!GameParty) return;
    switch (line.GetParam(0)) {
    case 0: GameParty->viewFollows = 0; break;
    case 1: GameParty->viewFollows = 1; break;
    case 2:
    case 3:
        if (line.GetParam(0) == 2)
            GameParty->PanScreen(line.GetParam(1), line.GetParam(2), line.GetParam(3));
        else
            GameParty->ResetPan(line.GetParam(3));
        if (line.GetParam(4) != 0) scripter.waitCounter = GameParty->PanFramesLeft();
        break;
    default: break;
    }
}

// Kind p0 0-4 (none, rain, snow, fog, sandstorm; other kinds change
// nothing), strength p1 0-2.
VARNOW_COMMAND(SetWeather) {
    (void)scripter;
    (void)frame;
    const int32_t kind = line.GetParam(0);
    if (kind < TLcfgScreen::kNoWeather || kind > TLcfgScreen::kSandstorm) return;
    if (GameScreen) GameScreen->SetWeather(kind, line.GetParam(1));
}

// Battle animation p0 on character p1 (10005 the running script's event),
// over the whole map when p3 is set; p2 waits for its 2 game frames per
// animation frame.
VARNOW_COMMAND(ShowMapAnimation) {
    constexpr int32_t kThisEvent = 10005;
    int32_t target = line.GetParam(1);
    if (target == kThisEvent) target = frame.eventId;
    if (GameScreen) GameScreen->ShowMapAnimation(line.GetParam(0), 0, line.GetParam(3) != 0, target);
    if (line.GetParam(2) != 0 && DbAnimation)
        scripter.waitCounter = 2 * DbAnimation->FindAnimation(line.GetParam(0))->FrameCount();
}

}  // namespace

int32_t TenthsToFrames(int32_t tenths) { return int32_t(std::clamp<int64_t>(int64_t(tenths) * 6, 0, INT32_MAX)); }

void RegisterScreenCommands() {
    SetCommandHandler(11010, EraseScreen);
    SetCommandHandler(11020, ShowScreen);
    SetCommandHandler(11030, TintScreen);
    SetCommandHandler(11040, FlashScreen);
    SetCommandHandler(11050, ShakeScreen);
    SetCommandHandler(11060, PanScreen);
    SetCommandHandler(11070, SetWeather);
    SetCommandHandler(11210, ShowMapAnimation);
}

}  // namespace commands
