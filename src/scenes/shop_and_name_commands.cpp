#include "scenes/shop_and_name_commands.h"

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/system/game_system.h"
#include "scenes/game_main.h"
#include "scenes/name/name_scene.h"
#include "scenes/shop/shop_scene.h"

namespace {

constexpr int32_t kOpenShop = 10720;
constexpr int32_t kInputName = 10740;
// Goods follow the kind, the message set and two unused parameters.
constexpr int kFirstGood = 4;

void CloseMessageBox() {
    if (IMessageWindowHooks* window = GameInterpreterHooks.messageWindow) window->CloseNow();
}

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
    CloseMessageBox();
    if (GameSystem) GameSystem->scene = kSceneShop;
}

VARNOW_COMMAND(InputName) {
    (void)scripter;
    (void)frame;
    if (auto* names = NameScene) {
        names->actorId = line.GetParam(0);
        names->startPage = line.GetParam(1);
        names->keepName = line.GetParam(2) != 0;
    }
    CloseMessageBox();
    if (GameSystem) GameSystem->scene = kSceneName;
}

}  // namespace

void RegisterShopAndNameCommands() {
    SetCommandHandler(kOpenShop, OpenShop);
    SetCommandHandler(kInputName, InputName);
}
