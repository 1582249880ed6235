// Move routes, event scripts, map events and common events.
#include <gtest/gtest.h>

#include "data/database/common_event.h"
#include "data/database/event.h"
#include "data/database/move_route.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

namespace {

Bytes Hex(std::initializer_list<int> v) { return Bytes(v.begin(), v.end()); }

TLcfMoveRouteItem Cmd(int32_t code) {
    TLcfMoveRouteItem c;
    c.code = code;
    return c;
}

}  // namespace

TEST(MoveRoute, PacksAndParsesCommandsWithArguments) {
    TLcfMoveRoute route;
    EXPECT_EQ(route.repeat, 1);
    route.Add(Cmd(1));
    TLcfMoveRouteItem g = Cmd(kMoveChangeGraphic);
    g.graphicName = "Hero1";
    g.graphicIndex = 3;
    route.Add(g);
    TLcfMoveRouteItem s = Cmd(kMoveSwitchOn);
    s.switchId = 7;
    route.Add(s);
    Bytes packed = Hex({0x01, 0x22, 0x05, 'H', 'e', 'r', 'o', '1', 0x03, 0x20, 0x07});
    Bytes saved = SaveRecord(route);
    EXPECT_EQ(saved, Concat({Chunks().Int(11, 11).Data(12, packed).End()}));
    TLcfMoveRoute back;
    LoadRecord(back, saved);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Commands(1)->graphicName, "Hero1");
    EXPECT_EQ(back.Commands(1)->graphicIndex, 3);
    EXPECT_EQ(back.Commands(2)->switchId, 7);
    EXPECT_EQ(back.Commands(3), nullptr);
    EXPECT_EQ(SaveRecord(back), saved);
    // A sound command carries four arguments.
    TLcfMoveRoute snd;
    snd.SetData(Hex({0x23, 0x01, 'x', 0x50, 0x64, 0x32, 0x0C}));
    ASSERT_EQ(snd.Count(), 2);
    EXPECT_EQ(snd.Commands(0)->soundName, "x");
    EXPECT_EQ(snd.Commands(0)->soundVolume, 0x50);
    EXPECT_EQ(snd.Commands(0)->soundBalance, 0x32);
    EXPECT_EQ(snd.Commands(1)->code, 12);
}

TEST(MoveRoute, FlagsDefaultsAndSameCommands) {
    TLcfMoveRoute route;
    LoadRecord(route, Chunks().Int(22, 1).End());
    EXPECT_EQ(route.repeat, 1);  // without chunk 21 the route repeats
    EXPECT_EQ(route.Count(), 0);
    LoadRecord(route, Chunks().Data(21, {0}).Data(22, {1}).End());
    EXPECT_EQ(route.repeat, 0);
    EXPECT_EQ(route.skippable, 1);
    TLcfMoveRoute a, b;
    a.SetData(Hex({1, 2, 0x20, 5}));
    b.SetData(Hex({1, 2, 0x20, 9}));
    EXPECT_TRUE(a.SameCommands(b));  // arguments are not compared
    b.SetData(Hex({1, 2}));
    EXPECT_FALSE(a.SameCommands(b));
    route.Clear();
    EXPECT_EQ(route.repeat, 1);
}

TEST(MoveRoute, DamagedBlocksRaiseAndTheBlockLengthWins) {
    TLcfMoveRoute route;
    // Length chunk says 100, block holds 2 commands: the block's length counts.
    LoadRecord(route, Chunks().Int(11, 100).Data(12, {1, 2}).End());
    EXPECT_EQ(route.Count(), 2);
    EXPECT_THROW(route.SetData(Hex({0x22, 0x09, 'a'})), EReadError);      // name cut short
    EXPECT_THROW(route.SetData(Hex({0x20})), EReadError);                  // switch id missing
    EXPECT_THROW(route.SetData(Hex({0x22, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F})), EReadError);  // negative length
}

TEST(EventScript, CopiesShareTheirLinesUntilOneChanges) {
    TLcfEventScriptList original = Script().Line(10110, 0, "Hello").Line(0).List();
    TLcfEventScriptList copy;
    copy.Assign(original);
    TLcfEventScriptList second = copy;
    EXPECT_EQ(copy.Lines(0), original.Lines(0));
    EXPECT_EQ(second.Lines(1), original.Lines(1));
    copy.Add(TLcfEventScriptLine(10110, 0, "more"));
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(original.Count(), 2);
    EXPECT_EQ(second.Count(), 2);
    original.Clear();
    EXPECT_EQ(second.Lines(0)->text, "Hello");
    ByteWriter w;
    second.SaveToStream(w);
    original.Load(w.Bytes());
    EXPECT_EQ(original.Count(), 2);
    EXPECT_THROW(original.Load(std::vector<uint8_t>{1, 0, 0, 5}), EReadError);
    EXPECT_EQ(original.Count(), 0);
    EXPECT_EQ(second.Count(), 2);
}

TEST(EventScript, LineSearchesFollowChangesOfTheLines) {
    TLcfEventScriptList list = Script()
                                    .Line(12210, 0)
                                    .Line(12110, 0, "", {5})
                                    .Line(12210, 1)
                                    .Line(22210, 1)
                                    .Line(12110, 1, "", {5})
                                    .Line(22210, 0)
                                    .List();
    EXPECT_EQ(list.FirstLine(12110, 5), 1);
    EXPECT_EQ(list.FirstLine(12110, 6), -1);
    EXPECT_EQ(list.PreviousLineOfIndent(3, 12210), 2);
    EXPECT_EQ(list.PreviousLineOfIndent(5, 12210), 0);
    EXPECT_EQ(list.PreviousLineOfIndent(0, 12210), -1);
    EXPECT_EQ(list.PreviousLineOfIndent(6, 12210), -1);
    TLcfEventScriptList copy = list;
    copy.Add(TLcfEventScriptLine(12110, 0, "", {6}));
    copy.Add(TLcfEventScriptLine(22210, 0));
    EXPECT_EQ(copy.FirstLine(12110, 6), 6);
    EXPECT_EQ(copy.PreviousLineOfIndent(7, 12210), 0);
    EXPECT_EQ(list.FirstLine(12110, 6), -1);
    // A list that owns its lines alone drops its indexes when it grows.
    list.Add(TLcfEventScriptLine(12110, 0, "", {6}));
    EXPECT_EQ(list.FirstLine(12110, 6), 6);
}

TEST(EventScript, LinesParamsAndPacking) {
    TLcfEventScriptList list = Script().Line(10110, 0, "Hello", {1, 2, 3}).Line(0, 1).List();
    ASSERT_EQ(list.Count(), 2);
    const TLcfEventScriptLine* first = list.Lines(0);
    EXPECT_EQ(first->text, "Hello");
    EXPECT_EQ(first->GetParam(2), 3);
    EXPECT_EQ(first->GetParam(5), 0);
    EXPECT_EQ(first->GetParam(-1), 0);
    EXPECT_EQ(list.Lines(1)->indent, 1);
    EXPECT_EQ(list.Lines(2), nullptr);
    TLcfEventScriptLine line(1, 0);
    line.SetParam(0, 5);  // outside the count: ignored
    EXPECT_EQ(line.ParamCount(), 0);
    line.SetParamCount(2);
    line.SetParam(1, -9);
    EXPECT_EQ(line.GetParam(1), -9);
    ByteWriter w;
    list.SaveToStream(w);
    EXPECT_EQ(w.Bytes(), Script().Line(10110, 0, "Hello", {1, 2, 3}).Line(0, 1).Data());
    TLcfEventScriptList copy;
    copy.Assign(list);
    EXPECT_EQ(copy.Count(), 2);
}

TEST(EventScript, DamagedScriptsRaiseBeforeSizingAnything) {
    TLcfEventScriptList list;
    Bytes good = Script().Line(10, 0, "ab", {1, 2}).Data();
    for (size_t cut = 1; cut < good.size(); ++cut)
        EXPECT_THROW(list.Load(std::span<const uint8_t>(good.data(), cut)), EReadError) << cut;
    // A parameter count far beyond the bytes left.
    Bytes huge = Concat({VarInt(10), VarInt(0), VarString(""), VarInt(0x7FFFFFF0), VarInt(1)});
    EXPECT_THROW(list.Load(huge), EReadError);
    Bytes negative = Concat({VarInt(10), VarInt(0), VarString(""), VarInt(-1)});
    EXPECT_THROW(list.Load(negative), EReadError);
    Bytes longText = Concat({VarInt(10), VarInt(0), VarInt(0x7FFFFFF0)});
    EXPECT_THROW(list.Load(longText), EReadError);
}

TEST(EventPage, DefaultsScriptsAndRoundTrip) {
    TLcfEventPageItem page(1);
    ASSERT_EQ(page.script.Count(), 1);  // cleared: one line of code 0
    EXPECT_EQ(page.script.Lines(0)->code, 0);
    // Stored without chunks 51 and 52: keeps the cleared script.
    LoadRecord(page, Chunks().Int(22, 2).End());
    EXPECT_EQ(page.script.Count(), 1);
    EXPECT_EQ(page.direction, 2);
    EXPECT_EQ(page.moveFrequency, 3);
    // An empty packed script has no lines at all.
    LoadRecord(page, Chunks().Data(52, {}).End());
    EXPECT_EQ(page.script.Count(), 0);
    // The block's real length counts, not chunk 51.
    Bytes script = Script().Line(10110, 0, "Hi").Line(0).Data();
    LoadRecord(page, Chunks().Int(51, 999).Data(52, script).End());
    EXPECT_EQ(page.script.Count(), 2);
    // A damaged script fails the load.
    Bytes bad(script.begin(), script.end() - 1);
    EXPECT_THROW(LoadRecord(page, Chunks().Data(52, bad).End()), EReadError);
    // One-byte fields are fixed blocks, always written; the route and
    // condition records too.
    TLcfEventPageItem fresh(1);
    EXPECT_EQ(SaveRecord(fresh), Chunks()
                                     .Record(2, Chunks().Data(1, {0}))
                                     .Data(23, {2})
                                     .Data(25, {0})
                                     .Data(31, {0})
                                     .Data(33, {0})
                                     .Data(34, {0})
                                     .Data(35, {0})
                                     .Data(36, {0})
                                     .Record(41, Chunks().Data(12, {}))
                                     .Int(51, 4)
                                     .Data(52, {0, 0, 0, 0})
                                     .End());
    // A full page survives write, read, write.
    TLcfEventPageItem full(2);
    full.condition.flags = TLcfEventCondition::kSwitchA | TLcfEventCondition::kHero;
    full.condition.switchA = 12;
    full.condition.heroId = 0;
    full.condition.compare = TLcfEventCondition::kEqual;
    full.sheetName = "People";
    full.sheetIndex = 5;
    full.direction = 3;
    full.trigger = 4;
    full.layer = 1;
    full.moveType = 6;
    full.moveRoute.SetData(Hex({1, 2, 3}));
    full.moveRoute.repeat = 0;
    full.script = Script().Line(11410, 0, "", {0, 1}).Line(10, 1).Line(0).List();
    Bytes saved = SaveRecord(full);
    TLcfEventPageItem back(2);
    LoadRecord(back, saved);
    EXPECT_EQ(back.condition.heroId, 0);
    EXPECT_EQ(back.condition.compare, TLcfEventCondition::kEqual);
    EXPECT_EQ(back.moveRoute.Count(), 3);
    EXPECT_EQ(back.moveRoute.repeat, 0);
    EXPECT_EQ(back.script.Count(), 3);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(EventCondition, AbsentChunksReadTheirDefaults) {
    TLcfEventCondition c;
    LoadRecord(c, Chunks().Data(1, {0x10}).End());
    EXPECT_EQ(c.heroId, 1);
    EXPECT_EQ(c.compare, TLcfEventCondition::kGreaterOrEqual);
    EXPECT_EQ(c.switchA, 1);
    EXPECT_EQ(c.flags, 0x10);
    // Hero id 1 is left out and read back as 1.
    EXPECT_EQ(SaveRecord(c), Chunks().Data(1, {0x10}).End());
}

TEST(MapEvent, PagesListAndStrictLookups) {
    TLcfEvent events;
    Bytes pageBytes = Chunks().Str(21, "Chest").Data(33, {1}).End();
    Bytes eventBytes =
        Chunks().Str(1, "EV0002").Int(2, 4).Int(3, 9).Data(5, List({{2, pageBytes}, {1, Chunks().End()}})).End();
    LoadList(events, List({{2, eventBytes}, {1, Chunks().Str(1, "Plain").End()}}));
    ASSERT_EQ(events.Count(), 2);
    TLcfEventItem* plain = events.FindEvent(1);
    EXPECT_EQ(plain->name, "Plain");
    EXPECT_EQ(plain->pages.Count(), 1);  // an event without chunk 5 still has page 1
    EXPECT_EQ(plain->pages.FindPage(1)->script.Count(), 1);
    TLcfEventItem* chest = events.GetEvent(1);
    EXPECT_EQ(chest->x, 4);
    EXPECT_EQ(chest->y, 9);
    EXPECT_EQ(chest->pages.GetPage(1)->sheetName, "Chest");
    EXPECT_EQ(chest->pages.FindPage(2)->trigger, 1);
    try {
        chest->pages.FindPage(3);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Event script referenced an event page that does not exist.");
    }
    try {
        events.GetEvent(2);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Event script referenced an event that does not exist.");
    }
    Bytes saved = SaveList(events);
    TLcfEvent back;
    LoadList(back, saved);
    EXPECT_EQ(SaveList(back), saved);
    TLcfEventItem cleared(3);
    cleared.x = 5;
    cleared.pages.SetCount(3);
    cleared.Clear();
    EXPECT_EQ(cleared.x, 0);
    EXPECT_EQ(cleared.pages.Count(), 1);
}

TEST(CommonEvent, ChunksDefaultsAndRoundTrip) {
    TLcfCommonEventItem ce(1);
    EXPECT_EQ(ce.trigger, TLcfCommonEventItem::kCallOnly);
    // Chunk 11 is a fixed block (always written), chunk 12 a byte left out at 0.
    EXPECT_EQ(SaveRecord(ce), Chunks().Data(11, {5}).Int(21, 4).Data(22, {0, 0, 0, 0}).End());
    TLcfCommonEvent list;
    Bytes script = Script().Line(10110, 0, "Tick").Line(0).Data();
    LoadList(list, List({{1, Chunks().Str(1, "Clock").Data(11, {4}).Data(12, {1}).Int(13, 8).Data(22, script).End()}}));
    TLcfCommonEventItem* clock = list.FindCommonEvent(1);
    EXPECT_EQ(clock->name, "Clock");
    EXPECT_EQ(clock->trigger, TLcfCommonEventItem::kParallel);
    EXPECT_EQ(clock->needsSwitch, 1);
    EXPECT_EQ(clock->switchId, 8);
    EXPECT_EQ(clock->script.Lines(0)->text, "Tick");
    // Page script ids do not apply to common events.
    LoadList(list, List({{1, Chunks().Data(52, script).End()}}));
    EXPECT_EQ(list.Items(0)->script.Count(), 1);
    EXPECT_THROW(list.FindCommonEvent(2), Exception);
    EXPECT_THROW(list.GetCommonEvent(1), Exception);
    list.Items(0)->Clear();
    TLcfCommonEventItem a(1);
    a.script = Script().Line(1, 0, "x", {4}).List();
    a.name = "A";
    a.needsSwitch = 1;
    Bytes saved = SaveRecord(a);
    TLcfCommonEventItem b(1);
    LoadRecord(b, saved);
    EXPECT_EQ(SaveRecord(b), saved);
}
