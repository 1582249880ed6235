#include "scenes/name/name_command.h"

#include "game/interpreter/command_handlers.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/system/game_system.h"
#include "scenes/game_main.h"
#include "scenes/name/name_scene.h"

namespace {

constexpr int32_t kInputName = 10740;

VARNOW_COMMAND(InputName) {
    (void)scripter;
    (void)frame;
    if (auto* names = NameScene) {
        names->actorId = line.GetParam(0);
        names->startPage = line.GetParam(1);
        names->keepName = line.GetParam(2) != 0;
    }
    if (IMessageWindowHooks* window = GameInterpreterHooks.messageWindow) window->CloseNow();
    if (GameSystem) GameSystem->scene = kSceneName;
}

}  // namespace

void RegisterNameCommand() { SetCommandHandler(kInputName, InputName); }
