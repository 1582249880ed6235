#include "game/map/game_map.h"

#include <algorithm>
#include <cmath>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/errors.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/tile_ids.h"
#include "game/character/character.h"
#include "game/map/world_hooks.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"

TLcfgMap* GameMap = nullptr;
TLcfgWorldHooks GameWorldHooks;

namespace {

// Autotile shapes whose wall edge lets characters pass under an "above"
// upper tile.
constexpr uint8_t kEdge[50] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0,
    0, 0, 1, 1, 0, 1, 1, 0, 0, 0,
};

bool EdgePasses(int32_t lowerTile, uint8_t lowerFlags) {
    return (lowerFlags & kChipWallEdge) && lowerTile >= 0 && kEdge[lowerTile % 50];
}

}  // namespace

TLcfgMap::TLcfgMap() { TLcfgMap::Clear(); }

void TLcfgMap::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetInteger(&viewX, 0); break;
    case 2: d.SetInteger(&viewY, 0); break;
    case 3: d.SetInteger(&encounterRateOverride, -1); break;
    case 5: d.SetInteger(&chipSetOverride, 0); break;
    case 11: d.SetList(&events); break;
    case 21: d.SetFixed(lowerSubstitution.data(), kSubstitutions); break;
    case 22: d.SetFixed(upperSubstitution.data(), kSubstitutions); break;
    case 32: d.SetString(&panoramaOverride, true); break;
    case 33: d.SetBoolean(&panoramaHLoop, 0); break;
    case 34: d.SetBoolean(&panoramaVLoop, 0); break;
    case 35: d.SetBoolean(&panoramaHScroll, 0); break;
    case 36: d.SetInteger(&panoramaHSpeed, 0); break;
    case 37: d.SetBoolean(&panoramaVScroll, 0); break;
    case 38: d.SetInteger(&panoramaVSpeed, 0); break;
    default: break;
    }
}

void TLcfgMap::Clear() {
    TCatalogBaseItem::Clear();
    for (int i = 0; i < kSubstitutions; ++i) lowerSubstitution[size_t(i)] = upperSubstitution[size_t(i)] = uint8_t(i);
}

void TLcfgMap::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    // A saved view that no scroll could have made is brought back the way a
    // scroll would. A map narrower than the screen has a negative view,
    // which a clamp of the stored value would turn into 0: that one stays.
    auto reachable = [](int32_t v, int64_t span, int32_t screen, bool loops) {
        if (loops) return span > 0 && v >= 0 && v < span;
        return v == 0 || v == span - screen || (v > 0 && v < span - screen);
    };
    if (!reachable(viewX, int64_t(Width()) * 256, kScreenWidthUnits, LoopsHorizontally())) SetViewX(viewX);
    if (!reachable(viewY, int64_t(Height()) * 256, kScreenHeightUnits, LoopsVertically())) SetViewY(viewY);
    LookUpChipSet();
    if (GameWorldHooks.screen) GameWorldHooks.screen->ConfigurePanorama(false);
}

void TLcfgMap::LookUpChipSet() {
    chipSet_ = nullptr;
    if (!GameMapUnit) return;
    const int32_t id = chipSetOverride != 0 ? chipSetOverride : GameMapUnit->chipSetId;
    if (DbChipSet) chipSet_ = DbChipSet->FindChipSet(id);
    if (chipSetOverride != 0) GameMapUnit->ChipSetGraphic().SetChipSet(chipSet_);
    else if (!chipSet_) chipSet_ = GameMapUnit->ChipSetGraphic().ChipSet();
}

void TLcfgMap::Setup(bool reset, bool fromSave) {
    if (reset) Clear();
    if (!fromSave && GameWorldHooks.screen) GameWorldHooks.screen->MapRebuilt();
    const int32_t id = GameParty ? GameParty->mapId : 0;
    if (id == 0) throw Exception::FromId(65286);
    if (MapLoader) MapLoader(id);
    else if (GameMapUnit) GameMapUnit->LoadById(id);
    if (!GameMapUnit) throw Exception::FromId(65286);
    // A map of no cells would divide by zero and never wrap.
    TLcfMap::CheckSize(GameMapUnit->width, GameMapUnit->height);
    if (GameMapUnit->generateAtEntry) {
        // Twice, as the original does: the objects first, then the floor
        // around the party, the events and the vehicles.
        const TDungeonTiles tiles = GameMapUnit->GeneratorTiles();
        GameMapUnit->Upper().GenerateDungeon(1, GameMapUnit->generatorLayout, tiles, GameMapTree, GameMapUnit->events,
                                             -1, -1);
        GameMapUnit->Lower().GenerateDungeon(0, GameMapUnit->generatorLayout, tiles, GameMapTree, GameMapUnit->events,
                                             GameParty->y, GameParty->x);
    }
    GameMapUnit->CharSetGraphic().Transparent = 1;
    GameMapUnit->ChipSetGraphic().SetDrawMode(true);
    GameParty->RefreshGraphic();
    GameParty->panX = GameParty->panTargetX = TLcfgParty::kPanX;
    GameParty->panY = GameParty->panTargetY = TLcfgParty::kPanY;
    SetViewX(int64_t(GameParty->x) * 256 - TLcfgParty::kPanX);
    SetViewY(int64_t(GameParty->y) * 256 - TLcfgParty::kPanY);
    if (GameWorldHooks.screen) GameWorldHooks.screen->ConfigurePanorama(true);
    LookUpChipSet();
    events.Clear();
    for (int i = 0; i < GameMapUnit->events.Count(); ++i) events.GetOrCreate(GameMapUnit->events.Items(i)->Id());
}

// --- View ------------------------------------------------------------------------

void TLcfgMap::SetViewX(int64_t v) {
    const int64_t span = int64_t(Width()) * 256;
    if (LoopsHorizontally() && span > 0) {
        v = ((v % span) + span) % span;  // floor-mod: a large pan left stays inside
    } else {
        const int64_t requested = v;
        if (requested > span - kScreenWidthUnits) v = span - kScreenWidthUnits;
        if (requested < 0) v = 0;
    }
    viewX = int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void TLcfgMap::SetViewY(int64_t v) {
    const int64_t span = int64_t(Height()) * 256;
    if (LoopsVertically() && span > 0) {
        v = ((v % span) + span) % span;
    } else {
        const int64_t requested = v;
        if (requested > span - kScreenHeightUnits) v = span - kScreenHeightUnits;
        if (requested < 0) v = 0;
    }
    viewY = int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool TLcfgMap::Scroll(int32_t dx, int32_t dy) {
    const int32_t oldX = viewX, oldY = viewY;
    if (dx) SetViewX(int64_t(viewX) + dx);
    if (dy) SetViewY(int64_t(viewY) + dy);
    const bool moved = viewX != oldX || viewY != oldY;
    // The layers move by the full distance even when the view moved less.
    if (moved && GameWorldHooks.screen) GameWorldHooks.screen->ScrollLayers(dx, dy);
    return moved;
}

bool TLcfgMap::ScrollUp(int32_t d) { return Scroll(0, -d); }
bool TLcfgMap::ScrollDown(int32_t d) { return Scroll(0, d); }
bool TLcfgMap::ScrollLeft(int32_t d) { return Scroll(-d, 0); }
bool TLcfgMap::ScrollRight(int32_t d) { return Scroll(d, 0); }

// --- Overrides ---------------------------------------------------------------------

int32_t TLcfgMap::EncounterRate() const {
    if (encounterRateOverride != -1) return encounterRateOverride;
    if (!GameMapTree || !GameParty) return 0;
    const TLcfMapTreeItem* entry = GameMapTree->Find(GameParty->mapId);
    return entry ? entry->encounterSteps : 0;
}

void TLcfgMap::SetPanorama(const std::string& name) {
    const bool changed = name != PanoramaName();
    panoramaOverride = name;
    if (GameWorldHooks.screen) GameWorldHooks.screen->ChangePanorama(changed);
}

void TLcfgMap::SetChipSet(int32_t id) {
    chipSetOverride = id;
    LookUpChipSet();
    if (GameMapUnit && chipSet_) GameMapUnit->ChipSetGraphic().SetChipSet(chipSet_);
}

bool TLcfgMap::PanoramaEnabled() const {
    return !panoramaOverride.empty() || (GameMapUnit && GameMapUnit->usePanorama);
}
std::string TLcfgMap::PanoramaName() const {
    if (!panoramaOverride.empty()) return panoramaOverride;
    return GameMapUnit ? GameMapUnit->panoramaName : std::string();
}
bool TLcfgMap::PanoramaHLoop() const {
    return !panoramaOverride.empty() ? panoramaHLoop : GameMapUnit && GameMapUnit->panoramaLoopHorizontal;
}
bool TLcfgMap::PanoramaVLoop() const {
    return !panoramaOverride.empty() ? panoramaVLoop : GameMapUnit && GameMapUnit->panoramaLoopVertical;
}
bool TLcfgMap::PanoramaHScroll() const {
    return !panoramaOverride.empty() ? panoramaHScroll : GameMapUnit && GameMapUnit->panoramaAutoScrollHorizontal;
}
int32_t TLcfgMap::PanoramaHSpeed() const {
    return !panoramaOverride.empty() ? panoramaHSpeed : GameMapUnit ? GameMapUnit->panoramaSpeedHorizontal : 0;
}
bool TLcfgMap::PanoramaVScroll() const {
    return !panoramaOverride.empty() ? panoramaVScroll : GameMapUnit && GameMapUnit->panoramaAutoScrollVertical;
}
int32_t TLcfgMap::PanoramaVSpeed() const {
    return !panoramaOverride.empty() ? panoramaVSpeed : GameMapUnit ? GameMapUnit->panoramaSpeedVertical : 0;
}

TLcfChipSetGraphic& TLcfgMap::ChipSetGraphic() { return GameMapUnit->ChipSetGraphic(); }
TLcfCharSetGraphic& TLcfgMap::CharSetGraphic() { return GameMapUnit->CharSetGraphic(); }

// --- Cells -------------------------------------------------------------------------------

int32_t TLcfgMap::Width() const { return GameMapUnit ? GameMapUnit->width : 0; }
int32_t TLcfgMap::Height() const { return GameMapUnit ? GameMapUnit->height : 0; }
bool TLcfgMap::LoopsHorizontally() const { return GameMapUnit && GameMapUnit->LoopsHorizontally(); }
bool TLcfgMap::LoopsVertically() const { return GameMapUnit && GameMapUnit->LoopsVertically(); }

int32_t TLcfgMap::LowerTile(int32_t x, int32_t y) const {
    if (!GameMapUnit) return -1;
    const int32_t id = GameMapUnit->Lower().GetTile(x, y);
    // Only the plain lower tiles have table entries.
    if (id >= kTileLowerFirst && id < kTileLowerFirst + kSubstitutions)
        return kTileLowerFirst + lowerSubstitution[size_t(id - kTileLowerFirst)];
    return id;
}

int32_t TLcfgMap::UpperTile(int32_t x, int32_t y) const {
    if (!GameMapUnit) return -1;
    const int32_t id = GameMapUnit->Upper().GetTile(x, y);
    if (id >= kTileUpperFirst && id < kTileUpperFirst + kSubstitutions)
        return kTileUpperFirst + upperSubstitution[size_t(id - kTileUpperFirst)];
    return id;
}

bool TLcfgMap::IsInside(int32_t x, int32_t y) const {
    return (LoopsHorizontally() || (x >= 0 && x < Width())) && (LoopsVertically() || (y >= 0 && y < Height()));
}

int32_t TLcfgMap::WrapX(int32_t x) const {
    const int32_t w = Width();
    if (!LoopsHorizontally() || w <= 0) return x;
    return int32_t(((int64_t(x) % w) + w) % w);
}

int32_t TLcfgMap::WrapY(int32_t y) const {
    const int32_t h = Height();
    if (!LoopsVertically() || h <= 0) return y;
    return int32_t(((int64_t(y) % h) + h) % h);
}

int32_t TLcfgMap::EventAt(int32_t x, int32_t y) const {
    int32_t found = 0;
    for (int i = 0; i < events.Count(); ++i) {
        const TLcfgEventItem* e = events.Items(i);
        if (e->x == x && e->y == y) found = e->Id();
    }
    return found;
}

int32_t TLcfgMap::TileEventAt(int32_t x, int32_t y, int32_t excludedId) const {
    const TLcfgEventItem* found = nullptr;
    for (int i = 0; i < events.Count(); ++i) {
        const TLcfgEventItem* e = events.Items(i);
        if (!e->through && e->x == x && e->y == y && e->layer == 0 && e->sheetName.empty() && e->Id() != excludedId)
            found = e;
    }
    return found ? kTileUpperFirst + found->sheetIndex : 0;
}

uint8_t TLcfgMap::LowerFlags(int32_t tile) const { return chipSet_ ? chipSet_->LowerFlagsOfTile(tile) : 0; }
uint8_t TLcfgMap::UpperFlags(int32_t tile) const { return chipSet_ ? chipSet_->UpperFlagsOfTile(tile) : 0; }

bool TLcfgMap::IsPassable(int32_t x, int32_t y, int32_t excludedId, int32_t side) const {
    if (side < 0 || side > 4) return false;
    // Outside a map that does not loop there are no tiles and no way
    // through (though the terrain there is chip 0's).
    if (!IsInside(x, y)) return false;
    const int32_t lower = LowerTile(x, y);
    int32_t upper = UpperTile(x, y);
    const int32_t tileEvent = TileEventAt(x, y, excludedId);
    if (tileEvent > 0 && !(UpperFlags(tileEvent) & kChipAbove)) upper = tileEvent;
    const uint8_t lf = LowerFlags(lower), uf = UpperFlags(upper);
    const uint8_t bits = side == 4 ? uint8_t(0x0F) : uint8_t(1u << side);
    if (!(uf & bits)) return false;
    if (!(uf & kChipAbove)) return true;
    if (lf & bits) return true;
    return EdgePasses(lower, lf);
}

int32_t TLcfgMap::CharacterCount() const {
    int32_t n = events.Count() + 1;
    for (int kind = 1; kind <= 3; ++kind) {
        const TLcfgShip* v = GameVehicle(kind);
        if (v && v->OnPartyMap()) ++n;
    }
    return n;
}

TLcfgCharacter* TLcfgMap::CharacterByIndex(int i) const {
    if (i < 0) return nullptr;
    if (i < events.Count()) return events.Items(i);
    i -= events.Count();
    if (i == 0) return GameParty;
    --i;
    for (int kind = 1; kind <= 3; ++kind) {
        TLcfgShip* v = GameVehicle(kind);
        if (!v || !v->OnPartyMap()) continue;
        if (i == 0) return v;
        --i;
    }
    return nullptr;
}

void TLcfgMap::ReplaceTile(int layer, int32_t oldChip, int32_t newChip) {
    auto& table = layer == 0 ? lowerSubstitution : upperSubstitution;
    for (uint8_t& entry : table)
        if (entry == oldChip) entry = uint8_t(newChip);
}

void TLcfgMap::UpdateCharacters() {
    for (int i = 0; i < CharacterCount(); ++i)
        if (TLcfgCharacter* c = CharacterByIndex(i)) c->updated = 0;
    for (int i = 0; i < CharacterCount(); ++i)
        if (TLcfgCharacter* c = CharacterByIndex(i)) c->Update();
}
