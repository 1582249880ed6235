// The command that plays a movie over the screen.

#include <algorithm>

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"

namespace commands {

namespace {

constexpr int32_t kMovieBound = 4096;

// Movie s at p1, p2 (p0 0) or at the values of variables p1, p2 (other
// p0), p3 wide and p4 high. Keys pressed while it played do not act after.
VARNOW_COMMAND(PlayMovie) {
    (void)scripter;
    (void)frame;
    if (!GameSystem || line.text.empty()) return;
    int32_t x = line.GetParam(1), y = line.GetParam(2);
    if (line.GetParam(0) != 0) {
        x = GameSystem->GetVariable(x);
        y = GameSystem->GetVariable(y);
    }
    // Far beyond the 320x240 screen nothing more is seen; the bound keeps
    // the placement arithmetic of a hostile line in range.
    auto bound = [](int32_t v) { return std::clamp(v, -kMovieBound, kMovieBound); };
    GameSystem->PlayMovie(line.text, bound(x), bound(y), bound(line.GetParam(3)), bound(line.GetParam(4)));
    if (TMultiInput* input = GameInterpreterHooks.input) input->Pressed = input->PolledPressed = 0;
}

}  // namespace

void RegisterMovieCommand() { SetCommandHandler(11560, PlayMovie); }

}  // namespace commands
