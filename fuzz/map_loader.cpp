// Fuzzes the map file and map tree loaders, and the random map generator on
// whatever map loads. The first byte chooses: even a map file, odd a map
// tree. Any bytes must load or raise an error; a loaded map must write,
// read back and write again unchanged; the generator must stay inside the
// map and end.
#include <cstdint>
#include <cstdlib>

#include "data/database/database.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"

namespace {

// Larger maps load, but the generator's run time grows with the cells.
constexpr int64_t kMaxGeneratedCells = 64 * 64;

std::vector<uint8_t> Save(TCatalogBaseItem& record) {
    ByteWriter w;
    record.SaveToStream(w);
    return w.Take();
}

void FuzzMap(const uint8_t* data, size_t size, TLcfMapTree& tree) {
    static TLcfMap* map = new TLcfMap(1);
    try {
        map->LoadFromBytes(std::span<const uint8_t>(data, size));
    } catch (const Exception&) {
        return;
    }
    std::vector<uint8_t> first = Save(*map);
    ByteReader r(first);
    map->LoadFromStream(r);
    if (Save(*map) != first) abort();

    if (int64_t(map->width) * map->height > kMaxGeneratedCells) return;
    SeedRandom(size);
    const TDungeonTiles tiles = map->GeneratorTiles();
    map->Upper().GenerateDungeon(1, map->generatorLayout, tiles, &tree, map->events, -1, -1);
    const TLcfEventItem* firstEvent = map->events.Items(0);
    int32_t px = firstEvent ? firstEvent->x : map->width / 2;
    int32_t py = firstEvent ? firstEvent->y : map->height / 2;
    map->Lower().GenerateDungeon(0, map->generatorLayout, tiles, &tree, map->events, py, px);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TLcfDataBase* db = new TLcfDataBase;  // chip set 1, no image
    static TLcfMapTree* tree = new TLcfMapTree;
    (void)db;
    if (size < 1) return 0;
    if (data[0] % 2 == 0) {
        FuzzMap(data + 1, size - 1, *tree);
        return 0;
    }
    try {
        tree->LoadFromBytes(std::span<const uint8_t>(data + 1, size - 1));
    } catch (const Exception&) {
        return 0;
    }
    ByteWriter first, second;
    tree->SaveTree(first);
    tree->LoadFromBytes(first.Bytes());
    tree->SaveTree(second);
    if (first.Bytes() != second.Bytes()) abort();
    return 0;
}
