#include "scenes/windows/item_window.h"

#include <cstdio>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/item.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace {

TLcfgPlayerItem* Actor(int32_t id) { return GamePlayers && id > 0 ? GamePlayers->Find(id) : nullptr; }

}  // namespace

void TLcfItemWindow::SetupFor(int32_t actorId) {
    actorId_ = actorId;
    columns = 2;
    help_.Setup(0, 0, 320, 32, false);
    uint8_t scene = GameSystem ? GameSystem->scene : uint8_t(kSceneMenu);
    if (scene == kSceneMenu) {
        Setup(0, 32, 320, 208, false);
        listLength_ = GamePartyInfo ? GamePartyInfo->ItemEntryCount() : 0;
    } else {
        int32_t top = DbBattle && DbBattle->layoutStyle == 2 ? 64 : 160;
        if (DbBattle && DbBattle->compactWindows != 0)
            Setup(0, top + 12, 320, 68, false);
        else
            Setup(0, top, 320, 80, false);
        TLcfgPlayerItem* actor = Actor(actorId);
        listLength_ = actor ? actor->BattleItemCount() : 0;
    }
    itemCount_ = listLength_;
    SetActive(true);
    Refresh();
    UpdateHelp();
}

int32_t TLcfItemWindow::ItemIdAt(int index) const {
    if (index < 0 || index >= listLength_) return 0;
    if (actorId_ <= 0) return GamePartyInfo ? GamePartyInfo->ItemIdAt(index) : 0;
    TLcfgPlayerItem* actor = Actor(actorId_);
    return actor ? actor->BattleItemId(index) : 0;
}

int32_t TLcfItemWindow::CountAt(int index) const {
    if (actorId_ <= 0) return GamePartyInfo ? GamePartyInfo->ItemCountAt(index) : 0;
    TLcfgPlayerItem* actor = Actor(actorId_);
    return actor ? actor->BattleItemCountAt(index) : 0;
}

bool TLcfItemWindow::UsableAt(int index) const {
    int32_t id = ItemIdAt(index);
    if (actorId_ <= 0) return GamePartyInfo && GamePartyInfo->ItemUsable(id);
    TLcfgPlayerItem* actor = Actor(actorId_);
    return actor && actor->CanUseItem(id);
}

void TLcfItemWindow::DrawItem(int32_t x, int32_t y, int index) {
    if (index >= listLength_) return;
    int32_t id = ItemIdAt(index);
    const TLcfItemItem* item = DbItem && id > 0 ? DbItem->Find(id) : nullptr;
    int32_t colour = UsableAt(index) ? 0 : 3;
    DrawText(x, y, item ? item->name : std::string(), colour);
    char count[16];
    std::snprintf(count, sizeof count, ": %2d", CountAt(index));
    DrawText(x + 120, y, count, colour);
}

void TLcfItemWindow::UpdateHelp() {
    int32_t id = SelectedItem();
    const TLcfItemItem* item = DbItem && id > 0 ? DbItem->Find(id) : nullptr;
    help_.SetText(item ? item->description : std::string());
}

int32_t TLcfItemWindow::SelectedItem() const {
    // An empty list's cursor is -1: no item then.
    return cursor_ >= 0 && cursor_ < listLength_ ? ItemIdAt(cursor_) : 0;
}

bool TLcfItemWindow::IsSelectable(int32_t itemId) const {
    return itemId > 0 && cursor_ >= 0 && cursor_ < listLength_;
}

void TLcfItemWindow::Update() {
    TLcfWindow::Update();
    help_.Update();
    if (IsOpen()) UpdateHelp();
}

void TLcfItemWindow::Draw() {
    TLcfWindow::Draw();
    help_.Draw();
}

void TLcfItemWindow::CloseNow() {
    help_.CloseNow();
    TLcfWindow::CloseNow();
}
