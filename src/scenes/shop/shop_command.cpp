#include "scenes/shop/shop_command.h"

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/system/game_system.h"
#include "scenes/game_main.h"
#include "scenes/shop/shop_scene.h"

namespace {

constexpr int32_t kOpenShop = 10720;
// Goods follow the kind, the message set and two unused parameters.
constexpr int kFirstGood = 4;

VARNOW_COMMAND(OpenShop) {
    if (GameSystem) GameSystem->faceShown = 1;
    auto* shop = ShopScene;
    if (shop) {
        shop->kind = line.GetParam(0);
        shop->messageSet = line.GetParam(1);
        shop->resultTarget.Reset();
        if (line.indent >= 0 && line.indent <= TLcfgScriptData::kMaxIndent) {
            frame.EnsureBranchBytes(line.indent + 1);
            shop->resultTarget = scripter.TargetOf(frame, line.indent);
        }
        shop->goods.clear();
        for (int i = kFirstGood; i < line.ParamCount(); ++i) shop->goods.push_back(line.GetParam(i));
    }
    if (IMessageWindowHooks* window = GameInterpreterHooks.messageWindow) window->CloseNow();
    if (GameSystem) GameSystem->scene = kSceneShop;
}

}  // namespace

void RegisterShopCommand() { SetCommandHandler(kOpenShop, OpenShop); }
