#include "game/interpreter/regular_scripter.h"

#include "game/system/game_system.h"

void TLcfgRegularScripter::EndScript() {
    if (frames.Count() < 2) {
        if (TLcfgScriptData* frame = frames.CurrentFrame()) frame->lineIndex = 0;
        return;
    }
    TLcfgBaseScripter::EndScript();
}

namespace {

// The top frame belongs to a map event that no longer has an active page.
// An event that does not exist (a frame left over from the map before a
// transfer) counts as having none.
bool OwnerInactive(const TLcfgScriptData& frame, const TLcfgInterpreterHooks& hooks) {
    if (frame.eventId == 0) return false;
    IMapWorldHooks* map = hooks.map;
    return !map || !map->EventExists(frame.eventId) || !map->ActivePageScript(frame.eventId);
}

}  // namespace

void TLcfgRegularScripter::RequestClear() {
    if (updating_)
        clearRequested_ = true;
    else
        Clear();
}

void TLcfgRegularScripter::Update() {
    const TLcfgInterpreterHooks& hooks = Hooks();
    struct Running {
        TLcfgRegularScripter& s;
        explicit Running(TLcfgRegularScripter& owner) : s(owner) { s.updating_ = true; }
        ~Running() {
            s.updating_ = false;
            if (s.clearRequested_) {
                s.clearRequested_ = false;
                s.Clear();
            }
        }
    } running(*this);
    for (int step = 0; step < kStepsPerFrame; ++step) {
        if (!IsRunning()) return;
        if (waitCounter > 0) {
            --waitCounter;
            return;
        }
        if (waitingForMessage && MessageWindowVisible()) return;
        waitingForMessage = 0;
        if (measureTime) ++timeCounter;
        bool went = ExecuteCommand();
        if (clearRequested_ || !went || !IsRunning()) return;
        if (OwnerInactive(*frames.CurrentFrame(), hooks)) return;
        if (GameSystem && GameSystem->scene != kSceneField) return;
        // A single frame back at its first line has just run through.
        if (frames.Count() == 1 && frames.CurrentFrame()->lineIndex == 0) return;
    }
}
