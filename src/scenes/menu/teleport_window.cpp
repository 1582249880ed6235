#include "scenes/menu/teleport_window.h"

#include <algorithm>

#include "data/map/map_tree.h"
#include "game/teleport/teleport.h"

void TLcfTeleportWindow::SetupList() {
    columns = 2;
    Setup(0, 160, 320, 80, false);
    itemCount_ = GameTeleports ? std::max(0, GameTeleports->Count() - 1) : 0;
    SetActive(true);
    Refresh();
}

void TLcfTeleportWindow::DrawItem(int32_t x, int32_t y, int index) {
    if (!GameTeleports || !GameMapTree) return;
    // A target whose map the tree lacks raises the tree's message.
    const TLcfgTeleportItem* target = GameTeleports->ByIndex(index + 1);
    DrawText(x, y, GameMapTree->FindMap(target->mapId)->name, 0);
}
