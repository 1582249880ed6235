#include "data/map/map.h"

#include "data/database/database.h"
#include "data/string_table.h"

TLcfMap* GameMapUnit = nullptr;

namespace {

// Purges the unused sheets on every way out of LoadCharSets, errors too.
class PurgeOnExit {
public:
    explicit PurgeOnExit(TLcfCharSetGraphic& sheets) : sheets_(sheets) {}
    ~PurgeOnExit() { sheets_.PurgeUnused(); }
    PurgeOnExit(const PurgeOnExit&) = delete;
    PurgeOnExit& operator=(const PurgeOnExit&) = delete;

private:
    TLcfCharSetGraphic& sheets_;
};

}  // namespace

TLcfMap::TLcfMap(int32_t id) : TLcfBaseMapUnit(id), lower_(0, this), upper_(int16_t(kTileUpperFirst), this) {
    Clear();
}

void TLcfMap::CheckSize(int32_t w, int32_t h) {
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || int64_t(w) * int64_t(h) > kMaxCells)
        throw EReadError(FormatStr(kStrBadMapSize, std::to_string(w) + " x " + std::to_string(h)));
}

void TLcfMap::DescribeField(int id, TCatalogVarData& d, bool reading) {
    switch (id) {
    case 1: d.SetInteger(&chipSetId, 1); break;
    case 2: d.SetInteger(&width, TLcfMapLayer::kDefaultWidth); break;
    case 3: d.SetInteger(&height, TLcfMapLayer::kDefaultHeight); break;
    case 11: d.SetFixed(&scrollType, 1); break;
    case 31: d.SetBoolean(&usePanorama, 0); break;
    case 32: d.SetString(&panoramaName, true); break;
    case 33: d.SetBoolean(&panoramaLoopHorizontal, 0); break;
    case 34: d.SetBoolean(&panoramaLoopVertical, 0); break;
    case 35: d.SetBoolean(&panoramaAutoScrollHorizontal, 0); break;
    case 36: d.SetInteger(&panoramaSpeedHorizontal, 0); break;
    case 37: d.SetBoolean(&panoramaAutoScrollVertical, 0); break;
    case 38: d.SetInteger(&panoramaSpeedVertical, 0); break;
    case 40: d.SetBoolean(&generateAtEntry, 0); break;
    case 41: d.SetInteger(&generatorLayout, kLayoutCorridors); break;
    case 42: d.SetBoolean(&generatorSetting, 0); break;
    case 43: case 44: case 45: case 46: case 47:
        d.SetInteger(&generatorSettings[size_t(id - 43)], 0);
        break;
    case 48: d.SetInteger(&widePassages, 0); break;
    case 49: d.SetInteger(&roomWidth, 4); break;
    case 50: d.SetInteger(&roomHeight, 2); break;
    case 51: d.SetBoolean(&wallOffBorder, 1); break;
    case 52: d.SetBoolean(&twoHighWalls, 1); break;
    case 53: d.SetBoolean(&floorVariantA, 1); break;
    case 54: d.SetBoolean(&floorVariantB, 1); break;
    case 55: d.SetBoolean(&objectsSecondKind, 1); break;
    case 56: d.SetBoolean(&objectsThirdKind, 1); break;
    case 60: d.SetFixed(generatorBlockA.data(), int32_t(generatorBlockA.size())); break;
    case 61: d.SetFixed(generatorBlockB.data(), int32_t(generatorBlockB.size())); break;
    case 62: d.SetFixed(generatorBlock.data(), int32_t(generatorBlock.size())); break;
    case 71:
    case 72: {
        TLcfMapLayer& layer = id == 71 ? lower_ : upper_;
        // Sized from the chunks read so far; the writer writes what it holds.
        if (reading) {
            CheckSize(width, height);
            layer.Resize(width, height);
        }
        d.SetFixed(layer.Cells(), layer.CellBytes());
        break;
    }
    case 81: d.SetList(&events); break;
    case 91: d.SetInteger(&saveCounter, 0); break;
    }
}

void TLcfMap::Clear() {
    TLcfBaseMapUnit::Clear();
    generatorBlockA.fill(0);
    generatorBlockB.fill(0);
    generatorBlock.fill(0);
    lower_.Reset();
    upper_.Reset();
    SetScrollType(kScrollNone);
    events.Clear();
}

void TLcfMap::LoadFromBytes(std::span<const uint8_t> bytes) {
    TLcfBaseMapUnit::LoadFromBytes(bytes);
    // Width and height may have come after the layers, or a layer may be
    // missing: both end at the final size.
    CheckSize(width, height);
    lower_.Resize(width, height);
    upper_.Resize(width, height);
    SetScrollType(scrollType);
    if (!DbChipSet) throw Exception::FromId(65311);
    chipSetGraphic_.SetChipSet(DbChipSet->FindChipSet(chipSetId));
    LoadCharSets();
}

void TLcfMap::SaveToFile(const std::string& path) {
    saveCounter = int32_t(uint32_t(saveCounter) + 1u);
    TLcfBaseMapUnit::SaveToFile(path);
}

void TLcfMap::SetScrollType(uint8_t type) {
    scrollType = type;
    uint8_t h = LoopsHorizontally(), v = LoopsVertically();
    lower_.loopHorizontally = upper_.loopHorizontally = h;
    lower_.loopVertically = upper_.loopVertically = v;
}

int16_t TLcfMap::GeneratorTile(int index) const {
    if (index < 0 || index >= kGeneratorTileCount) return 0;
    size_t at = size_t(index) * 2;
    return int16_t(generatorBlock[at] | (generatorBlock[at + 1] << 8));
}

TDungeonTiles TLcfMap::GeneratorTiles() const {
    TDungeonTiles tiles{};
    for (int i = 0; i < kGeneratorTileCount; ++i) tiles[size_t(i)] = GeneratorTile(i);
    return tiles;
}

void TLcfMap::LoadCharSets() {
    charSetGraphic_.MarkAllUnused();
    PurgeOnExit purge(charSetGraphic_);
    for (int e = 0; e < events.Count(); ++e) {
        const TLcfEventItem* event = events.Items(e);
        for (int p = 0; p < event->pages.Count(); ++p) {
            const TLcfEventPageItem* page = event->pages.Items(p);
            if (!page->sheetName.empty()) charSetGraphic_.Acquire(page->sheetName);
        }
    }
}
