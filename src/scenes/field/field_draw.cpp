#include <algorithm>

#include "data/database/database.h"
#include "data/database/system.h"
#include "data/map/map.h"
#include "game/character/character.h"
#include "game/map/game_map.h"
#include "game/panorama/panorama.h"
#include "game/party/party_info.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "graphics/char_set_graphic.h"
#include "graphics/chip_set_graphic.h"
#include "graphics/system_graphic.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/windows/message_window.h"
#include "scenes/windows/window.h"

namespace {

constexpr uint8_t kAbove = kChipAbove;
// Plain lower ids past the last chip name nothing; the renderer refuses them.
constexpr int32_t kLowerIdsEnd = 5144;
constexpr int32_t kUpperIdsFirst = 10000;

// A tile id the chip-set renderer accepts.
bool DrawableTile(int32_t id) { return id >= 0 && (id < kLowerIdsEnd || id >= kUpperIdsFirst); }

struct SortEntry {
    TLcfgCharacter* character;
    int32_t layer, screenY, notEvent, screenX;
};

// Layer, screen y, events before the party, screen x.
bool DrawsBefore(const SortEntry& a, const SortEntry& b) {
    if (a.layer != b.layer) return a.layer < b.layer;
    if (a.screenY != b.screenY) return a.screenY < b.screenY;
    if (a.notEvent != b.notEvent) return a.notEvent < b.notEvent;
    return a.screenX < b.screenX;
}

void SortCharacters(std::vector<TLcfgCharacter*>& list) {
    std::vector<SortEntry> entries;
    entries.reserve(list.size());
    for (TLcfgCharacter* c : list)
        entries.push_back({c, c->layer, c->ScreenY(), c->CharacterKind() == TLcfgCharacter::kKindEvent ? 0 : 1,
                           c->ScreenX()});
    // Equal keys keep the map's order.
    std::stable_sort(entries.begin(), entries.end(), DrawsBefore);
    for (size_t i = 0; i < entries.size(); ++i) list[i] = entries[i].character;
}

TSorvoBoard& Screen() { return GameDraw->Board(); }

}  // namespace

bool TLcfFieldScene::MapCell(int32_t x, int32_t y, int32_t& lower, int32_t& upper) {
    if (!GameMap || !GameMapUnit) return false;
    x = GameMap->WrapX(x);
    y = GameMap->WrapY(y);
    if (x < 0 || y < 0 || x >= GameMap->Width() || y >= GameMap->Height()) return false;
    lower = GameMap->LowerTile(x, y);
    upper = GameMap->UpperTile(x, y);
    return true;
}

void TLcfFieldScene::Draw() {
    ForceDraw = false;
    PrepareFrame();
    DrawTilesBelow();
    DrawCharacters(0);
    DrawCharacters(1);
    DrawTilesAbove();
    DrawCharacters(2);
    DrawOverlays();
    DrawWindows();
}

void TLcfFieldScene::PrepareFrame() {
    for (auto& list : layers_) list.clear();
    // Before a map is set up (a new game's first transfer from a lit
    // screen) there is no chip set to draw cells or tile-drawn characters
    // with: the frame shows the effects, pictures and windows only.
    mapShown_ = GameMap && GameMapUnit && GameMapUnit->ChipSetGraphic().ChipSet();
    if (mapShown_) {
        for (int i = 0; i < GameMap->events.Count(); ++i) {
            TLcfgCharacter* e = GameMap->events.Items(i);
            if (e->IsOnScreen()) layers_[std::min<int>(e->layer, 2)].push_back(e);
        }
    }
    if (mapShown_) {
        if (GameParty) layers_[1].push_back(GameParty);
        for (TLcfgShip* v : {GameBoat, GameShip})
            if (v && v->IsOnScreen()) layers_[1].push_back(v);
        if (GameAirship && GameAirship->IsOnScreen() && !GameAirship->flying) layers_[1].push_back(GameAirship);
    }
    for (auto& list : layers_) SortCharacters(list);

    Screen().Clear();
    // Division and remainder truncate toward zero: a view pushed left of
    // the map by the shake keeps origin 0 with a negative pixel offset.
    const int32_t shakeX = GameScreen ? GameScreen->shakeX : 0, shakeY = GameScreen ? GameScreen->shakeY : 0;
    const int64_t vx = (GameMap ? int64_t(GameMap->viewX) : 0) - int64_t(shakeX) * 16;
    const int64_t vy = (GameMap ? int64_t(GameMap->viewY) : 0) - int64_t(shakeY) * 16;
    const int32_t ox = int32_t(vx / 256), oy = int32_t(vy / 256);
    px_ = int32_t((vx / 16) % 16);
    py_ = int32_t((vy / 16) % 16);
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) {
            Cell& cell = cells_[row][col];
            cell.inside = mapShown_ && MapCell(ox + kFirstColumn + col, oy + kFirstRow + row, cell.lower, cell.upper);
            cell.lowerAbove = cell.inside && (GameMap->LowerFlags(cell.lower) & kAbove);
            cell.upperAbove = cell.inside && (GameMap->UpperFlags(cell.upper) & kAbove);
        }
    ApplyScreenTone();
}

void TLcfFieldScene::ApplyScreenTone() {
    // Characters take the tone on their own sheets as they draw.
    if (!GameScreen) return;
    if (GameMapUnit) GameScreen->ApplyTone(GameMapUnit->ChipSetGraphic().Sheet().ColorControl1);
    if (GamePanorama) GameScreen->ApplyTone(GamePanorama->Sheet().ColorControl1);
}

void TLcfFieldScene::DrawTile(TSorvoBoard& board, int32_t x, int32_t y, int32_t tile) {
    TLcfChipSetGraphic& tiles = GameMapUnit->ChipSetGraphic();
    if (!tiles.ChipSet() || !DrawableTile(tile)) return;
    tiles.DrawTile(board, x, y, 16, tile, GameSystem ? GameSystem->frameCount : 0);
}

void TLcfFieldScene::DrawTilesBelow() {
    if (!mapShown_) return;
    TSorvoBoard& board = Screen();
    TLcfChipSetGraphic& tiles = GameMapUnit->ChipSetGraphic();
    const bool panorama = GamePanorama && GamePanorama->Enabled();
    const int32_t shakeX = GameScreen ? GameScreen->shakeX : 0, shakeY = GameScreen ? GameScreen->shakeY : 0;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) {
            const Cell& cell = cells_[row][col];
            const int32_t x = (kFirstColumn + col) * 16 - px_, y = (kFirstRow + row) * 16 - py_;
            const bool solid = cell.inside && cell.lower >= 0 && cell.lower < kLowerIdsEnd && tiles.ChipFlag(cell.lower);
            if (panorama && !solid) GamePanorama->DrawTile(board, x, y, shakeY, shakeX);
            if (!cell.inside) continue;
            if (!cell.lowerAbove) DrawTile(board, x, y, cell.lower);
            if (!cell.upperAbove) DrawTile(board, x, y, cell.upper);
        }
}

void TLcfFieldScene::DrawCharacters(int layer) {
    TSorvoBoard& board = Screen();
    const std::vector<TLcfgCharacter*>& list = layers_[layer];
    if (layer != 1) {
        for (TLcfgCharacter* c : list) c->Draw(board);
        return;
    }
    // Layer 1 goes in 16-pixel bands of screen y, each taking (lo, lo + 16].
    for (int band = -1; band <= 16; ++band) {
        const int32_t lo = band * 16 - py_, hi = lo + 16;
        for (TLcfgCharacter* c : list) {
            const int32_t sy = c->ScreenY();
            if (sy > lo && sy <= hi) c->Draw(board);
        }
    }
}

void TLcfFieldScene::DrawTilesAbove() {
    if (!mapShown_) return;
    TSorvoBoard& board = Screen();
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) {
            const Cell& cell = cells_[row][col];
            if (!cell.inside || !(cell.lowerAbove || cell.upperAbove)) continue;
            const int32_t x = (kFirstColumn + col) * 16 - px_, y = (kFirstRow + row) * 16 - py_;
            if (cell.lowerAbove) DrawTile(board, x, y, cell.lower);
            if (cell.upperAbove) DrawTile(board, x, y, cell.upper);
        }
}

void TLcfFieldScene::DrawOverlays() {
    TSorvoBoard& board = Screen();
    if (mapShown_ && GameAirship && GameAirship->IsOnScreen() && GameAirship->flying) GameAirship->Draw(board);
    if (GameScreen) GameScreen->DrawEffects(board);
    if (GamePictures) GamePictures->DrawAll(board);
    if (GameScreen) GameScreen->DrawMapAnimation(board);
}

void TLcfFieldScene::DrawTimers(TSorvoBoard&) {
    if (!GamePartyInfo || !GameSystemGraphic) return;
    // Under a message box at the top the timers move to the bottom.
    const bool boxAtTop = GameMessageWindow && GameMessageWindow->IsVisible() && GameMessageWindow->position == 0;
    const int32_t y = boxAtTop ? 220 : 4;
    for (int which = 0; which < 2; ++which) {
        const TLcfgPartyInfo::Timer& t = GamePartyInfo->TimerState(which);
        if (t.visible) GameSystemGraphic->DrawTimer(which == 0 ? 4 : 276, y, t.frames);
    }
}

void TLcfFieldScene::DrawWindows() {
    if (GameMessageWindow) GameMessageWindow->Draw();
    DrawTimers(Screen());
    if (DbSystem && DbSystem->frameOverlay == 1 && GameSystemGraphic) GameSystemGraphic->DrawFrameOverlay();
}
