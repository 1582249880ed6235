// The random map generator and autotile painting.
#include <gtest/gtest.h>

#include <set>

#include "data/database/event.h"
#include "data/map/autotile_shapes.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"

namespace {

// Plain tiles for every role, so a painted cell holds exactly its role's id.
TDungeonTiles PlainTiles() {
    TDungeonTiles t{};
    for (int i = 0; i < 6; ++i) t[size_t(i)] = int16_t(5000 + i);
    for (int i = 6; i < 18; ++i) t[size_t(i)] = int16_t(10000 + i);
    return t;
}

// Counts the numbers drawn and answers from a seeded source.
class CountingRandom : public RandomSource {
public:
    explicit CountingRandom(uint64_t seed = 1) : inner_(seed) {}
    int32_t Next(int32_t n) override {
        ++calls;
        return inner_.Next(n);
    }
    int calls = 0;

private:
    SeededRandom inner_;
};

class ScopedRandom {
public:
    explicit ScopedRandom(RandomSource& s) { SetRandomSource(&s); }
    ~ScopedRandom() { SetRandomSource(nullptr); }
};

void SetSize(TLcfMap& map, int w, int h) {
    map.width = w;
    map.height = h;
    map.Lower().Resize(w, h);
    map.Upper().Resize(w, h);
}

bool IsFloor(int tile, const TDungeonTiles& t) { return tile == t[3] || tile == t[4] || tile == t[5]; }

}  // namespace

TEST(AutoTileShapes, EveryShapeMapsBackToItself) {
    for (int s = 0; s <= 46; ++s) EXPECT_EQ(ShapeOf[ShapeMask[size_t(s)]], s) << s;
    EXPECT_EQ(ShapeMask[47], 0);
    EXPECT_EQ(ShapeOf[255], 46);
}

TEST(AutoTilePainting, TerrainBlockTakesItsEdgesAndWaterItsShores) {
    TLcfMap map;
    TLcfMapLayer& layer = map.Lower();
    layer.Resize(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) layer.SetTile(x, y, 5000);
    layer.paintTile = 4000;
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x) layer.PaintCell(x, y);
    EXPECT_EQ(layer.GetTile(2, 2), 4000);       // surrounded by its own kind
    EXPECT_EQ(layer.GetTile(1, 1), 4000 + 34);  // edges up and left
    EXPECT_EQ(layer.GetTile(2, 1), 4000 + 20);  // edge up
    EXPECT_EQ(layer.GetTile(3, 3), 4000 + 42 - 4);  // edges right and down: 38
    EXPECT_EQ(layer.GetTile(0, 0), 5000);       // plain tiles keep their id

    // A shallow-water cell in deep water: no edges, every shore corner.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) layer.SetTile(x, y, 2000);
    layer.paintTile = 0;
    layer.PaintCell(2, 2);
    EXPECT_EQ(layer.GetTile(2, 2), 15 * 50);
    EXPECT_EQ(layer.GetTile(2, 1), 2000);  // one shallow neighbour makes no shore corner
    // Deep water alone: the cells outside the map count as shore.
    layer.Resize(1, 1);
    layer.paintTile = 2000;
    layer.PaintCell(0, 0);
    EXPECT_EQ(layer.GetTile(0, 0), 2000 + 15 * 50);

    // A cell outside a non-looping layer is left alone; a negative tile has no shape.
    layer.ResolveTile(-1, 0, 0xFF, 4000);
    layer.ResolveTile(0, 0, 0xFF, -5);
    EXPECT_EQ(layer.GetTile(0, 0), -5);
}

TEST(AutoTilePainting, PaintingAUniformLayerEqualsShapingEachCellOnce) {
    // The generator shapes its all-rock layer cell by cell instead of
    // painting every cell; both must end alike, for every kind of tile.
    for (int tile : {4249, 4200, 2000, 1000, 0, 3050, 5010, -3}) {
        for (uint8_t scroll : {0, 3}) {
            TLcfMap a, b;
            a.SetScrollType(scroll);
            b.SetScrollType(scroll);
            for (TLcfMap* m : {&a, &b}) {
                m->Lower().Resize(7, 5);
                for (int y = 0; y < 5; ++y)
                    for (int x = 0; x < 7; ++x) m->Lower().SetTile(x, y, tile);
            }
            a.Lower().paintTile = tile;
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x) {
                    a.Lower().PaintCell(x, y);
                    b.Lower().ResolveTile(x, y, 0xFF, tile);
                }
            EXPECT_EQ(a.Lower().CellVector(), b.Lower().CellVector()) << tile << " scroll " << int(scroll);
        }
    }
}

TEST(AutoTilePainting, PaintCellEqualsResolvingTheCellThenItsNeighbours) {
    // PaintCell takes a faster road away from the edge; it must end where
    // the plain steps end.
    const int kinds[] = {0, 1049, 2000, 3000, 3100, 4000, 4049, 4150, 4200, 4550, 5000, 5143, 5200, -4};
    const uint8_t facing[8] = {4, 140, 8, 70, 25, 2, 35, 1};
    SeededRandom pick(5);
    for (int round = 0; round < 40; ++round) {
        TLcfMap a, b;
        for (TLcfMap* m : {&a, &b}) m->Lower().Resize(9, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 9; ++x) {
                int tile = kinds[pick.Next(14)] + (round % 2 ? pick.Next(50) : 0);
                a.Lower().SetTile(x, y, tile);
                b.Lower().SetTile(x, y, tile);
            }
        for (int step = 0; step < 30; ++step) {
            int x = pick.Next(9), y = pick.Next(8), tile = kinds[pick.Next(14)];
            a.Lower().paintTile = tile;
            a.Lower().PaintCell(x, y);
            b.Lower().ResolveTile(x, y, 0xFF, tile);
            int i = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!dx && !dy) continue;
                    b.Lower().ResolveTile(x + dx, y + dy, facing[i++], b.Lower().GetTile(x + dx, y + dy));
                }
            ASSERT_EQ(a.Lower().CellVector(), b.Lower().CellVector()) << "round " << round << " step " << step;
        }
    }
}

TEST(AutoTilePainting, PaintCellsEqualsPaintingCellByCell) {
    const int kinds[] = {0, 1000, 2000, 3000, 4000, 4150, 4200, 5000, 5100, -4};
    SeededRandom pick(11);
    for (int round = 0; round < 30; ++round) {
        TLcfMap a, b;
        int w = 1 + pick.Next(12), h = 1 + pick.Next(12);
        a.SetScrollType(uint8_t(round % 4));
        b.SetScrollType(uint8_t(round % 4));
        std::vector<int16_t> paint(size_t(w * h));
        for (TLcfMap* m : {&a, &b}) m->Lower().Resize(w, h);
        for (int i = 0; i < w * h; ++i) {
            int16_t tile = int16_t(kinds[pick.Next(10)] + pick.Next(50) * (round % 2));
            a.Lower().SetTile(i % w, i / w, tile);
            b.Lower().SetTile(i % w, i / w, tile);
            paint[size_t(i)] = pick.Next(3) ? int16_t(kinds[pick.Next(10)]) : int16_t(0);
        }
        a.Lower().PaintCells(paint);
        for (int i = 0; i < w * h; ++i)
            if (paint[size_t(i)] != 0) {
                b.Lower().paintTile = paint[size_t(i)];
                b.Lower().PaintCell(i % w, i / w);
            }
        ASSERT_EQ(a.Lower().CellVector(), b.Lower().CellVector()) << "round " << round;
    }
}

TEST(AutoTilePainting, ResolvingEveryCellEqualsResolvingCellByCell) {
    // The generator's rock pass resolves the whole layer in one call.
    const int kinds[] = {0, 1000, 2000, 3000, 4000, 4150, 4200, 5000, 5100, -4};
    SeededRandom pick(5);
    for (int round = 0; round < 30; ++round) {
        TLcfMap a, b;
        int w = 1 + pick.Next(12), h = 1 + pick.Next(12);
        a.SetScrollType(uint8_t(round % 4));
        b.SetScrollType(uint8_t(round % 4));
        for (TLcfMap* m : {&a, &b}) m->Lower().Resize(w, h);
        for (int i = 0; i < w * h; ++i) {
            int16_t tile = int16_t(kinds[pick.Next(10)] + pick.Next(50) * (round % 2));
            a.Lower().SetTile(i % w, i / w, tile);
            b.Lower().SetTile(i % w, i / w, tile);
        }
        const int tile = kinds[round % 10] + round % 3;
        a.Lower().ResolveEveryCell(tile);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.Lower().ResolveTile(x, y, 0xFF, tile);
        ASSERT_EQ(a.Lower().CellVector(), b.Lower().CellVector()) << "round " << round;
    }
}

TEST(DungeonGenerator, PointCountFollowsEventsAndSize) {
    for (auto [w, h, points] : {std::tuple{20, 15, 8}, {100, 100, 10}}) {
        TLcfMap map;
        SetSize(map, w, h);
        map.events.SetCount(3);
        CountingRandom random;
        ScopedRandom scoped(random);
        // The upper pass of a corridor map draws only its points: two rolls
        // per random point and one per shuffled point.
        map.Upper().GenerateDungeon(1, TLcfMap::kLayoutCorridors, PlainTiles(), nullptr, map.events, -1, -1);
        EXPECT_EQ(random.calls, (points - 3) * 2 + points) << w << " x " << h;
    }
}

TEST(DungeonGenerator, EventsOnTheOuterCellsCountOneCellFurtherIn) {
    // Every roll answers 0: the random points all stand at (1, 2), every
    // corridor is form A, and no floor variant is drawn.
    class Zero : public RandomSource {
        int32_t Next(int32_t) override { return 0; }
    } zero;
    ScopedRandom scoped(zero);
    TLcfMap map;
    SetSize(map, 20, 15);
    map.wallOffBorder = 0;
    map.events.SetCount(1);
    map.events.Items(0)->x = 0;
    map.events.Items(0)->y = 5;
    const TDungeonTiles tiles = PlainTiles();
    map.Lower().GenerateDungeon(0, TLcfMap::kLayoutCorridors, tiles, nullptr, map.events, -1, -1);
    // The event's point is (1, 5): floor reaches column 2 around it.
    for (int y = 4; y <= 6; ++y) EXPECT_EQ(map.Lower().GetTile(2, y), tiles[3]) << y;
    EXPECT_EQ(map.Lower().GetTile(3, 5), tiles[0]);
}

TEST(DungeonGenerator, ManySeedsAndSizesStayInsideAndFreeTheParty) {
    const TDungeonTiles plain = PlainTiles();
    TDungeonTiles zeros{};
    TDungeonTiles negative{};
    negative.fill(-7);
    int generated = 0;
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        SeededRandom pick(seed * 7919);
        int w = 1 + pick.Next(45), h = 1 + pick.Next(45);
        int layout = int(seed % 5);  // 4 is no layout at all
        const TDungeonTiles& tiles = seed % 7 == 0 ? zeros : seed % 11 == 0 ? negative : plain;
        TLcfMap map;
        map.SetId(3);
        SetSize(map, w, h);
        map.SetScrollType(uint8_t(seed % 4));
        map.widePassages = int(seed % 2);
        map.twoHighWalls = uint8_t(seed % 3 != 0);
        map.wallOffBorder = uint8_t(seed % 5 != 0);
        map.roomWidth = seed % 13 == 0 ? 2147483647 : int(seed % 6);
        map.roomHeight = seed % 17 == 0 ? -2147483647 : int(seed % 5);
        map.events.SetCount(int(seed % 4));
        for (int i = 0; i < map.events.Count(); ++i) {
            map.events.Items(i)->x = i == 0 ? -50 : i == 1 ? w + 100 : int(seed) % (w + 1);
            map.events.Items(i)->y = i == 2 ? 2147483647 : int(seed) % (h + 1);
        }
        TLcfMapTree tree;
        tree.startPosition.positions[TLcfMapStartPosition::kShip][0] = 3;
        tree.startPosition.positions[TLcfMapStartPosition::kShip][1] = 1000;
        tree.startPosition.positions[TLcfMapStartPosition::kShip][2] = -1000;
        int px = w > 2 ? 1 + int(seed) % (w - 2) : 0, py = h > 2 ? 1 + int(seed / 3) % (h - 2) : 0;

        SeedRandom(seed);
        map.Upper().GenerateDungeon(1, layout, tiles, &tree, map.events, -1, -1);
        map.Lower().GenerateDungeon(0, layout, tiles, &tree, map.events, py, px);
        ASSERT_EQ(map.Lower().Width(), w);
        if (w < TLcfMapLayer::kMinGeneratedWidth || h < TLcfMapLayer::kMinGeneratedHeight) {
            EXPECT_EQ(map.Lower().GetTile(0, 0), 0) << "left ungenerated";
            continue;
        }
        ++generated;
        if (&tiles != &plain || layout == 4) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int x = px + dx, y = py + dy;
                bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                if (border && map.wallOffBorder) continue;
                EXPECT_TRUE(IsFloor(map.Lower().GetTile(x, y), plain))
                    << "seed " << seed << " layout " << layout << " " << w << " x " << h << " at " << x << "," << y;
            }
    }
    EXPECT_GT(generated, 40);
}

TEST(DungeonGenerator, SameSeedSameMapAndWallsAboveFloor) {
    const TDungeonTiles tiles = PlainTiles();
    for (int layout = 0; layout < 4; ++layout) {
        TLcfMap a, b;
        SetSize(a, 40, 30);
        SetSize(b, 40, 30);
        for (TLcfMap* m : {&a, &b}) {
            SeedRandom(1234 + layout);
            m->Upper().GenerateDungeon(1, layout, tiles, nullptr, m->events, -1, -1);
            m->Lower().GenerateDungeon(0, layout, tiles, nullptr, m->events, 10, 10);
        }
        EXPECT_EQ(a.Lower().CellVector(), b.Lower().CellVector()) << layout;
        EXPECT_EQ(a.Upper().CellVector(), b.Upper().CellVector()) << layout;

        std::set<int> lower(a.Lower().CellVector().begin(), a.Lower().CellVector().end());
        for (int t : lower) EXPECT_TRUE(t >= 5000 && t <= 5005) << t;
        EXPECT_TRUE(lower.count(5003)) << "floor in layout " << layout;
        EXPECT_TRUE(lower.count(5000)) << "rock in layout " << layout;
        // Two-high walls by default: a wall face stands under an upper face
        // wherever the cell above a floor cell was rock.
        for (int y = 1; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if (a.Lower().GetTile(x, y) == 5001) {
                    EXPECT_EQ(a.Lower().GetTile(x, y - 1), 5002) << x << "," << y;
                }

        // Objects only for the open area, and only the kinds the map enables.
        std::set<int> upper(a.Upper().CellVector().begin(), a.Upper().CellVector().end());
        if (layout != TLcfMap::kLayoutOpenArea) {
            EXPECT_EQ(upper, std::set<int>{10000});
        }
    }
}

TEST(DungeonGenerator, OpenAreaWithoutTheOtherKindsPlacesOnlyTheFirstKind) {
    TLcfMap map;
    SetSize(map, 60, 60);
    map.objectsSecondKind = 0;
    map.objectsThirdKind = 0;
    SeedRandom(99);
    map.Upper().GenerateDungeon(1, TLcfMap::kLayoutOpenArea, PlainTiles(), nullptr, map.events, -1, -1);
    std::set<int> upper(map.Upper().CellVector().begin(), map.Upper().CellVector().end());
    EXPECT_EQ(upper, (std::set<int>{10000, 10006, 10007, 10008, 10009}));
}

namespace {

// FNV-1a over both layers' cells.
uint64_t LayersHash(const TLcfMap& map) {
    uint64_t h = 1469598103934665603ull;
    for (const TLcfMapLayer* layer : {&map.Lower(), &map.Upper()})
        for (int16_t cell : layer->CellVector()) {
            h ^= uint16_t(cell);
            h *= 1099511628211ull;
        }
    return h;
}

}  // namespace

TEST(DungeonGenerator, OutputOfFixedSeedsStaysTheSame) {
    // Pins the generator's exact output (both passes, every layout, autotile
    // and water tiles, looping and plain maps, the map's switches on and
    // off), so that work on its speed cannot change a single cell.
    const TDungeonTiles autotiles = {4200, 5004, 5005, 4150, 5007, 5008, 10010, 10011, 10012,
                                     10013, 10014, 10015, 10016, 10017, 10018, 10019, 10020, 10021};
    const TDungeonTiles water = {2000, 4050, 5005, 0, 1000, 3050, 10010, 10011, 10012,
                                 10013, 10014, 10015, 10016, 10017, 10018, 10019, 10020, 10021};
    std::vector<uint64_t> hashes;
    for (int config = 0; config < 4; ++config)
        for (int layout = 0; layout < 5; ++layout)
            for (uint64_t seed = 1; seed <= 2; ++seed) {
                TLcfMap map;
                SetSize(map, config % 2 ? 61 : 40, config % 2 ? 47 : 30);
                map.SetScrollType(uint8_t(config == 2 ? 3 : 0));
                map.twoHighWalls = uint8_t(config != 1);
                map.widePassages = config == 3;
                map.wallOffBorder = uint8_t(config != 2);
                map.floorVariantB = uint8_t(config != 3);
                map.objectsThirdKind = uint8_t(config % 2);
                map.events.SetCount(config + 2);
                for (int i = 0; i < map.events.Count(); ++i) {
                    map.events.Items(i)->x = (i * 37 + int(seed)) % 40;
                    map.events.Items(i)->y = (i * 53 + int(seed)) % 30;
                }
                const TDungeonTiles& tiles = config == 2 ? water : config == 3 ? PlainTiles() : autotiles;
                SeedRandom(seed * 1000 + uint64_t(config));
                map.Upper().GenerateDungeon(1, layout, tiles, nullptr, map.events, -1, -1);
                map.Lower().GenerateDungeon(0, layout, tiles, nullptr, map.events, 10, 12);
                hashes.push_back(LayersHash(map));
            }
    const std::vector<uint64_t> expected = {
        13796429150389735576ull, 4484902559223894689ull, 15889948305221668849ull, 9294764492779014506ull,
        10512686415649126305ull, 15389076392970086735ull, 10614658198496149491ull, 10754060243242102916ull,
        14177764586969538024ull, 2900343532228708931ull, 1622083814515598961ull, 16014608595398406741ull,
        15869415699057615477ull, 9159935338992113514ull, 12264429801230572770ull, 9197456462852290519ull,
        2920222889153132762ull, 83524570221238806ull, 10448738210003312168ull, 6133494440441381019ull,
        11089778604797841613ull, 3438908520020514340ull, 13556665696281271877ull, 670282202640904604ull,
        8517382175974546196ull, 10728805259768107692ull, 3942202399754981713ull, 13463200039268391866ull,
        4667971524902892149ull, 11958142744442777775ull, 13016591934867799370ull, 8048059315856052376ull,
        4513904483687488806ull, 4253990371946234875ull, 13996077843333712616ull, 5008782942839573034ull,
        4091070798278659101ull, 14610194195275619109ull, 5415136374751692026ull, 6661546863259544153ull,
    };
    ASSERT_EQ(hashes.size(), expected.size());
    for (size_t i = 0; i < hashes.size(); ++i)
        EXPECT_EQ(hashes[i], expected[i]) << "config " << i / 10 << " layout " << i / 2 % 5 << " seed " << i % 2 + 1;
}
