// The map tree: entries, the tree order, the active map, start positions,
// encounters and areas, written by our own writer into a game folder.
#include <gtest/gtest.h>

#include <functional>

#include "data/folders.h"
#include "data/map/map_tree.h"
#include "data/string_table.h"
#include "support/error_message.h"
#include "support/lcf_builder.h"
#include "support/test_paths.h"

using namespace lcf_builder;
using testing_support::MessageOf;
using testing_support::TempDir;

namespace {

class MapTree : public ::testing::Test {
protected:
    void SetUp() override { SetGameFolder(dir_.path().string(), "varnow"); }
    void TearDown() override { SetGameFolder("", "varnow"); }
    void Write(const std::string& name, const Bytes& bytes) { testing_support::WriteFile(dir_ / name, ToString(bytes)); }
    void Save(TLcfMapTree& tree, const std::string& name = "Varnow.lmt") {
        ByteWriter w;
        tree.SaveTree(w);
        Write(name, w.Bytes());
    }

    TempDir dir_;
};

}  // namespace

TEST_F(MapTree, KeepsEntriesInIdOrderAndTheFilesTreeOrder) {
    TLcfMapTree tree;
    for (int id : {3, 1, 2}) {
        TLcfMapTreeItem* item = tree.GetOrCreate(id);
        item->name = "Map " + std::to_string(id);
        tree.AppendToOrder(item);
    }
    TLcfMapTreeItem* town = tree.FindMap(2);
    town->parentId = 1;
    town->musicKind = TLcfMapTreeItem::kMusicOwn;
    town->music.name = "Town";
    town->encounters.SetCount(2);
    town->encounters.Items(1)->troopId = 0;  // written, since absent reads 1
    town->encounterSteps = 0;
    town->save = TLcfMapTreeItem::kForbidden;
    TLcfMapTreeItem* area = tree.FindMap(3);
    area->kind = TLcfMapTreeItem::kKindArea;
    area->area = {2, 3, 5, 4};
    tree.activeMapId = 2;
    tree.startPosition.positions[TLcfMapStartPosition::kParty][0] = 2;
    tree.startPosition.positions[TLcfMapStartPosition::kAirship][1] = 17;
    Save(tree, "varnow.LMT");

    TLcfMapTree loaded;
    loaded.Load();
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.GetMap(0)->Id(), 1);
    EXPECT_EQ(loaded.GetMap(2)->Id(), 3);
    ASSERT_EQ(loaded.Order().size(), 3u);
    EXPECT_EQ(loaded.Order()[0]->Id(), 3);
    EXPECT_EQ(loaded.Order()[1]->Id(), 1);
    EXPECT_EQ(loaded.Order()[2]->Id(), 2);
    EXPECT_EQ(loaded.Order()[0], loaded.FindMap(3));
    EXPECT_EQ(loaded.activeMapId, 2);

    const TLcfMapTreeItem* t = loaded.FindMap(2);
    EXPECT_EQ(t->name, "Map 2");
    EXPECT_EQ(t->parentId, 1);
    EXPECT_EQ(t->music.name, "Town");
    ASSERT_EQ(t->encounters.Count(), 2);
    EXPECT_EQ(t->encounters.Items(0)->troopId, 1);
    EXPECT_EQ(t->encounters.Items(1)->troopId, 0);
    EXPECT_EQ(t->encounterSteps, 0);
    EXPECT_EQ(t->save, TLcfMapTreeItem::kForbidden);
    EXPECT_EQ(loaded.FindMap(1)->encounterSteps, 25);

    EXPECT_EQ(loaded.startPosition.GetMapId(0), 2);
    EXPECT_EQ(loaded.startPosition.GetX(3), 17);
    EXPECT_EQ(loaded.startPosition.GetX(4), 0);
    EXPECT_EQ(loaded.startPosition.GetY(-1), 0);

    // Left 2, top 3, right 5, bottom 4 covers (2, 3), (3, 3) and (4, 3) only.
    const TLcfMapTreeItem* a = loaded.FindMap(3);
    EXPECT_TRUE(a->IsArea());
    int covered = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) covered += a->AreaContains(x, y);
    EXPECT_EQ(covered, 3);
    EXPECT_TRUE(a->AreaContains(2, 3) && a->AreaContains(4, 3));
    EXPECT_FALSE(a->AreaContains(5, 3) || a->AreaContains(2, 4) || a->AreaContains(1, 3) || a->AreaContains(2, 2));

    // Written again, the tree gives the same bytes.
    ByteWriter first, second;
    tree.SaveTree(first);
    loaded.SaveTree(second);
    EXPECT_EQ(first.Bytes(), second.Bytes());
}

TEST_F(MapTree, DamagedTreesRaiseTheirMessages) {
    const std::string missingMap = "Event script referenced a map that does not exist.";
    TLcfMapTree tree;
    EXPECT_THROW(tree.Load(), EFOpenError);
    EXPECT_EQ(MessageOf([&] { tree.GetMap(0); }), missingMap);
    EXPECT_EQ(MessageOf([&] { tree.FindMap(1); }), missingMap);

    // An order naming a map without an entry.
    Bytes entries = List({{1, Chunks().End()}});
    Write("Varnow.lmt", Concat({VarString("LcfMapTree"), entries, VarInt(2), VarInt(1), VarInt(4), VarInt(0), {0}}));
    EXPECT_EQ(MessageOf([&] { tree.Load(); }), missingMap);

    // A wrong leading string; a count of ids that the file does not hold.
    Write("Varnow.lmt", Concat({VarString("LcfMapUnit"), entries, VarInt(0), VarInt(0), {0}}));
    EXPECT_EQ(MessageOf([&] { tree.Load(); }), LoadStr(65295));
    Write("Varnow.lmt", Concat({VarString("LcfMapTree"), entries, VarInt(2000000000), VarInt(1)}));
    EXPECT_THROW(tree.Load(), EReadError);
    Write("Varnow.lmt", Concat({VarString("LcfMapTree"), entries, VarInt(1), VarInt(1), VarInt(1)}));
    EXPECT_THROW(tree.Load(), EReadError);  // the start record has no terminator

    Write("Varnow.lmt", Concat({VarString("LcfMapTree"), entries, VarInt(1), VarInt(1), VarInt(7), {0}}));
    tree.Load();
    EXPECT_EQ(tree.activeMapId, 7);
    EXPECT_EQ(tree.Order().size(), 1u);
}
