// Monsters and monster groups: ranks, action patterns, troop members,
// terrain sets and battle event pages.
#include <gtest/gtest.h>

#include "data/database/database.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

TEST(Monster, RanksDefaultToBAndCAndTrimAgainstTheirOwnDefaults) {
    TLcfMonsterItem m(1);
    for (int id = -1; id <= 20; ++id) {
        EXPECT_EQ(m.GetStatusRank(id), 1);
        EXPECT_EQ(m.GetAttribRank(id), 2);
    }
    TLcfDataBase db;
    DbStatus->SetCount(6);
    DbAttrib->SetCount(6);
    m.statusRanks.SetEntry(3, 0);
    m.statusRanks.SetEntry(4, 1);  // B: a default at the end
    m.attribRanks.SetEntry(1, 1);  // B is not the attribute default
    m.attribRanks.SetEntry(2, 2);
    Bytes saved = SaveRecord(m);
    TLcfMonsterItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.statusRanks.Length(), 3);
    EXPECT_EQ(back.GetStatusRank(1), 1);  // grown entries take B
    EXPECT_EQ(back.GetStatusRank(3), 0);
    EXPECT_EQ(back.attribRanks.Length(), 1);
    EXPECT_EQ(back.GetAttribRank(1), 1);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(Monster, FullMonsterRoundTripsWithActions) {
    TLcfMonsterItem m(4);
    EXPECT_EQ(SaveRecord(m), Chunks().Data(32, {}).Data(34, {}).Data(42, VarInt(0)).End());
    m.name = "Slime";
    m.picture = "Slime";
    m.hue = 120;
    m.maxHp = 9999;
    m.experience = 5;
    m.dropItem = 2;
    m.criticalHits = 1;
    m.floating = 1;
    TLcfMonsterActItem* a = m.actions.Add();
    a->kind = TLcfMonsterActItem::kSkill;
    a->skillId = 3;
    a->condition = TLcfMonsterActItem::kOwnHp;
    a->conditionA = 0;
    a->conditionB = 50;
    a->switchOn = 1;
    a->switchOnId = 7;
    a->rating = 9;
    m.actions.Add();
    Bytes saved = SaveRecord(m);
    TLcfMonsterItem back(4);
    LoadRecord(back, saved);
    ASSERT_EQ(back.actions.Count(), 2);
    EXPECT_EQ(back.actions.Items(0)->skillId, 3);
    EXPECT_EQ(back.actions.Items(0)->condition, TLcfMonsterActItem::kOwnHp);
    EXPECT_EQ(back.actions.Items(1)->rating, 50);
    EXPECT_EQ(back.hue, 120);
    EXPECT_DOUBLE_EQ(back.CriticalChance(), 100.0 / 30);
    EXPECT_EQ(SaveRecord(back), saved);
    back.criticalRate = 0;
    EXPECT_EQ(back.CriticalChance(), 0);
}

TEST(Troop, ClearedTroopHasOnePageWithTheEndLine) {
    TLcfMonGroupItem g(1);
    EXPECT_EQ(g.members.Count(), 0);
    ASSERT_EQ(g.pages.Count(), 1);
    const TLcfBattleEventPageItem* page = g.pages.Items(0);
    EXPECT_EQ(page->Id(), 1);
    EXPECT_EQ(page->trigger.Flags(), 0);
    ASSERT_EQ(page->script.Count(), 1);
    EXPECT_EQ(page->script.Lines(0)->code, 0);
    // Without chunk 11 the page stays; an empty list has none.
    LoadRecord(g, Chunks().Str(1, "Slimes").End());
    EXPECT_EQ(g.pages.Count(), 1);
    LoadRecord(g, Chunks().Data(11, VarInt(0)).End());
    EXPECT_EQ(g.pages.Count(), 0);
}

TEST(Troop, TerrainSetDefaultsTo1OutsideItsRange) {
    TLcfMonGroupItem g(1);
    EXPECT_EQ(g.GetTerrainFlag(1), 1);
    LoadRecord(g, Chunks().Int(4, 3).Data(5, {0, 1, 0}).End());
    EXPECT_EQ(g.GetTerrainFlag(1), 0);
    EXPECT_EQ(g.GetTerrainFlag(2), 1);
    EXPECT_EQ(g.GetTerrainFlag(3), 0);
    EXPECT_EQ(g.GetTerrainFlag(5), 1);
    EXPECT_EQ(g.GetTerrainFlag(0), 1);
}

TEST(Troop, FullTroopRoundTripsUnchanged) {
    TLcfDataBase db;  // one condition: a troop's sets are not trimmed
    TLcfMonGroupItem g(2);
    g.name = "Pair";
    g.members.SetCount(2);
    g.members.Items(1)->monsterId = 5;
    g.members.Items(1)->x = 200;
    g.members.Items(1)->hidden = 1;
    g.autoPlacement = 1;
    g.terrainSet.SetEntry(4, 1);  // all 1: kept as it is
    g.randomAppearance = 1;
    g.pages.SetCount(2);
    TLcfBattleEventPageItem* page = g.pages.Items(1);
    page->trigger.SetFlags(TLcfBattleEventTrigger::kTurn | TLcfBattleEventTrigger::kCommand);
    page->trigger.turnA = 2;
    page->trigger.commandId = 4;
    page->script = Script().Line(10110, 0, "Now!").Line(0).List();
    Bytes saved = SaveRecord(g);
    TLcfMonGroupItem back(2);
    LoadRecord(back, saved);
    EXPECT_EQ(back.members.Items(1)->x, 200);
    EXPECT_EQ(back.terrainSet.Length(), 4);
    const TLcfBattleEventPageItem* p = back.pages.Items(1);
    EXPECT_TRUE(p->trigger.Has(TLcfBattleEventTrigger::kCommand));
    EXPECT_FALSE(p->trigger.Has(TLcfBattleEventTrigger::kSwitchA));
    EXPECT_EQ(p->trigger.exhaustionMax, 100);
    EXPECT_EQ(p->script.Lines(0)->text, "Now!");
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(Troop, TriggerFlagsAreTwoBytesLittleEndianAndScriptsParseByTheirChunk) {
    TLcfBattleEventPageItem page(1);
    Bytes script = Script().Line(10110, 0, "A").Line(0).Data();
    // A script length that disagrees with the block: the block's own length counts.
    LoadRecord(page, Chunks()
                         .Record(2, Chunks().Data(1, {0x08, 0x02}))
                         .Int(11, 3)
                         .Data(12, script)
                         .End());
    EXPECT_EQ(page.trigger.Flags(), 0x0208);
    EXPECT_TRUE(page.trigger.Has(TLcfBattleEventTrigger::kTurn));
    EXPECT_TRUE(page.trigger.Has(TLcfBattleEventTrigger::kCommand));
    ASSERT_EQ(page.script.Count(), 2);
    EXPECT_EQ(page.script.Lines(0)->text, "A");
    // A flag chunk of one byte is ignored.
    LoadRecord(page, Chunks().Record(2, Chunks().Data(1, {0x08})).End());
    EXPECT_EQ(page.trigger.Flags(), 0);
    // A script that ends inside a line fails the load.
    Bytes cut(script.begin(), script.end() - 2);
    EXPECT_THROW(LoadRecord(page, Chunks().Data(12, cut).End()), EReadError);
}

TEST(Troop, TurnMatchesIn64Bits) {
    EXPECT_TRUE(BattleTurnMatches(3, 0, 3));
    EXPECT_FALSE(BattleTurnMatches(4, 0, 3));
    EXPECT_TRUE(BattleTurnMatches(7, 2, 1));
    EXPECT_TRUE(BattleTurnMatches(1, 2, 1));
    EXPECT_FALSE(BattleTurnMatches(0, 2, 1));  // below b
    EXPECT_FALSE(BattleTurnMatches(8, 2, 1));
    EXPECT_TRUE(BattleTurnMatches(5, 5, 0));
    EXPECT_TRUE(BattleTurnMatches(INT32_MAX, -1, INT32_MIN));
    EXPECT_TRUE(BattleTurnMatches(0, -1, INT32_MIN));
}

TEST(MonsterTables, StrictLookups) {
    TLcfMonster monsters;
    TLcfMonGroup troops;
    monsters.SetCount(2);
    EXPECT_EQ(monsters.FindMonster(2)->Id(), 2);
    EXPECT_THROW(monsters.FindMonster(3), Exception);
    EXPECT_THROW(troops.FindMonGroup(1), Exception);
}
