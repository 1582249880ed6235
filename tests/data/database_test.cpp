// The database container: creation, reset, section loading and the file.
#include <gtest/gtest.h>

#include <fstream>

#include "data/database/database.h"
#include "support/error_message.h"
#include "support/lcf_builder.h"
#include "support/test_paths.h"

using namespace lcf_builder;
using testing_support::MessageOf;

namespace {

void ExpectEveryListHoldsId1Only(const TLcfDataBase& db) {
    for (const auto& t : db.Tables()) {
        if (!t.list) continue;
        ASSERT_EQ(t.list->Count(), 1) << "section " << t.section;
        EXPECT_EQ(t.list->Items(0)->Id(), 1);
    }
}

}  // namespace

TEST(Database, CreatesEighteenTablesInOrderAndSetsTheGlobals) {
    {
        TLcfDataBase db;
        ASSERT_EQ(db.Tables().size(), 18u);
        std::vector<int> sections;
        for (const auto& t : db.Tables()) sections.push_back(t.section);
        EXPECT_EQ(sections, (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 32, 29}));
        EXPECT_EQ(db.TableForSection(22)->record, DbSystem);
        EXPECT_EQ(db.TableForSection(25)->list, DbCommonEvent);
        EXPECT_EQ(db.TableForSection(26), nullptr);
        ExpectEveryListHoldsId1Only(db);
        EXPECT_NE(DbPlayer->FindPlayer(1), nullptr);
        EXPECT_NE(DbBattle, nullptr);
    }
    EXPECT_EQ(DbSystem, nullptr);
    EXPECT_EQ(DbPlayer, nullptr);
}

TEST(Database, OnlyTheHeaderLeavesEveryTableAtItsDefault) {
    TLcfDataBase db;
    LoadDatabase(db, DatabaseFile({}));
    ExpectEveryListHoldsId1Only(db);
    EXPECT_EQ(DbSystem->GetPartyMember(0), 1);
    EXPECT_TRUE(DbSystem->music[kMusicTitle].IsOff());
}

TEST(Database, SectionsLoadInAnyOrderAndUnknownOnesAreSkipped) {
    TLcfDataBase db;
    Bytes switches = List({{1, Chunks().Str(1, "A").End()}, {2, Chunks().Str(1, "B").End()}});
    Bytes system = Chunks().Str(17, "Title1").End();
    LoadDatabase(db, DatabaseFile({{26, Bytes{1, 2, 3}},
                                   {23, switches},
                                   {22, system},
                                   {999, Bytes(300, 0xFF)},
                                   {24, VarInt(0)}}));
    EXPECT_EQ(DbSwitch->Count(), 2);
    EXPECT_EQ(DbSwitch->FindSwitch(2)->name, "B");
    EXPECT_EQ(DbSystem->titlePicture, "Title1");
    EXPECT_EQ(DbVariable->Count(), 0);  // present but empty: no entries
    EXPECT_EQ(DbCommonEvent->Count(), 1);
    // A section of length 0 also leaves its list empty.
    LoadDatabase(db, DatabaseFile({{25, {}}}));
    EXPECT_EQ(DbCommonEvent->Count(), 0);
}

TEST(Database, LookupsRaiseTheTablesMessages) {
    TLcfDataBase db;
    EXPECT_EQ(MessageOf([] { DbPlayer->FindPlayer(0); }), "Event script referenced a hero that does not exist.");
    EXPECT_EQ(MessageOf([] { DbSkill->FindSkill(2); }), "Event script referenced a skill that does not exist.");
    EXPECT_EQ(MessageOf([] { DbItem->FindItem(0); }), "Event script referenced an item that does not exist.");
    EXPECT_EQ(MessageOf([] { DbMonster->FindMonster(0); }),
              "Event script referenced a monster that does not exist.");
    EXPECT_EQ(MessageOf([] { DbMonGroup->FindMonGroup(0); }),
              "Event script referenced a monster group that does not exist.");
    EXPECT_EQ(MessageOf([] { DbGround->FindGround(0); }), "Event script referenced terrain that does not exist.");
    EXPECT_EQ(MessageOf([] { DbAttrib->FindAttrib(0); }),
              "Event script referenced an attribute that does not exist.");
    EXPECT_EQ(MessageOf([] { DbStatus->FindStatus(0); }),
              "Event script referenced a condition that does not exist.");
    EXPECT_EQ(MessageOf([] { DbAnimation->GetAnimation(1); }),
              "Event script referenced a battle animation that does not exist.");
    EXPECT_EQ(MessageOf([] { DbAnimation2->FindAnimation2(0); }),
              "Event script referenced a battle animation that does not exist.");
    EXPECT_EQ(MessageOf([] { DbChipSet->FindChipSet(0); }),
              "Event script referenced a tileset that does not exist.");
    EXPECT_EQ(MessageOf([] { DbJob->FindJob(0); }), "Event script referenced a job class that does not exist.");
    EXPECT_EQ(MessageOf([] { DbSwitch->FindSwitch(0); }),
              "Event script referenced a switch that does not exist.");
    EXPECT_EQ(MessageOf([] { DbVariable->FindVariable(2); }),
              "Event script referenced a variable that does not exist.");
    EXPECT_EQ(MessageOf([] { DbCommonEvent->FindCommonEvent(0); }),
              "Event script referenced a common event that does not exist.");
}

TEST(Database, WrongHeaderAndDamagedSectionsRaiseReadErrors) {
    TLcfDataBase db;
    const std::string wrong = "Event script referenced a \"shigunichi\" that does not exist.";
    EXPECT_EQ(MessageOf([&] { LoadDatabase(db, VarString("LcfMapTree")); }), wrong);
    EXPECT_EQ(MessageOf([&] { LoadDatabase(db, {}); }), wrong);
    EXPECT_EQ(MessageOf([&] { LoadDatabase(db, Bytes{0x40}); }), wrong);
    // A truncated section: the list's item lacks its terminator.
    Bytes bad = DatabaseFile({{23, List({{1, Chunks().Str(1, "A").Body()}})}});
    EXPECT_THROW(LoadDatabase(db, bad), EReadError);
    // A negative section length.
    Bytes neg = Concat({VarString("LcfDataBase"), VarInt(23), VarInt(-5), VarInt(0)});
    EXPECT_THROW(LoadDatabase(db, neg), EReadError);
    // A length past the end is cut there: the last section still loads.
    Bytes longer = Concat({VarString("LcfDataBase"), VarInt(22), VarInt(5000), Chunks().Int(72, 1).End()});
    LoadDatabase(db, longer);
    EXPECT_EQ(DbSystem->font, 1);
    // Every truncation of a good file fails cleanly or loads.
    TLcfDataBase full;
    DbSystem->music[kMusicInn].name = "Rest";
    DbCommonEvent->SetCount(3);
    Bytes good = SaveDatabase(full);
    for (size_t cut = 0; cut < good.size(); ++cut) {
        try {
            LoadDatabase(db, Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        } catch (const EReadError&) {
        }
    }
}

TEST(Database, RoundTripsEveryTableThroughOurWriters) {
    TLcfDataBase db;
    DbSwitch->SetCount(3);
    DbSwitch->Items(2)->name = "Last";
    DbVocabulary->Set(TLcfVocabulary::kCurrency, "Gold");
    DbCommonEvent->SetCount(2);
    DbCommonEvent->Items(1)->script = Script().Line(10110, 0, "Hello").Line(0).List();
    // Sections written by hand load into their tables.
    Bytes heroes = List({{1, Chunks().Str(1, "Alex").Int(7, 12).End()}, {2, Chunks().End()}});
    Bytes battle = Chunks().Int(2, 1).Data(10, List({{1, Chunks().Str(1, "Fight").End()}})).End();
    Bytes file = Concat({SaveDatabase(db, {11, 29}), VarInt(11), VarInt(int32_t(heroes.size())), heroes,
                         VarInt(29), VarInt(int32_t(battle.size())), battle});
    TLcfDataBase back;
    LoadDatabase(back, file);
    EXPECT_EQ(DbPlayer->Count(), 2);
    EXPECT_EQ(DbSwitch->FindSwitch(3)->name, "Last");
    EXPECT_EQ(DbVocabulary->Get(TLcfVocabulary::kCurrency), "Gold");
    EXPECT_EQ(DbCommonEvent->FindCommonEvent(2)->script.Lines(0)->text, "Hello");
    EXPECT_EQ(DbPlayer->FindPlayer(1)->name, "Alex");
    EXPECT_EQ(DbPlayer->FindPlayer(1)->initialLevel, 12);
    EXPECT_EQ(SaveRecord(*DbBattle), battle);
    Bytes once = SaveDatabase(back);
    TLcfDataBase again;
    LoadDatabase(again, once);
    DbSystem->saveCounter -= 1;  // the system writer raised it once more
    EXPECT_EQ(SaveDatabase(again), once);
}

TEST(Database, FileLoadResetsOnlyWhenTheFileChanged) {
    testing_support::TempDir dir;
    TLcfDataBase db;
    Bytes withSwitches = DatabaseFile({{23, List({{1, Chunks().Str(1, "S").End()}})}});
    testing_support::WriteFile(dir / "VARNOW.LDB", ToString(withSwitches));
    db.Load(dir.path().string());  // the name in any case
    EXPECT_EQ(DbSwitch->FindSwitch(1)->name, "S");
    EXPECT_GT(db.CachedSize(), 0);
    // Unchanged file: tables it does not mention are not reset in between.
    DbVariable->SetCount(5);
    db.LoadFromFile(dir / "VARNOW.LDB");
    EXPECT_EQ(DbVariable->Count(), 5);
    // A changed file resets them first.
    Bytes other = DatabaseFile({{23, List({{1, Chunks().Str(1, "Other").End()}, {2, Chunks().End()}})}});
    testing_support::WriteFile(dir / "VARNOW.LDB", ToString(other));
    db.LoadFromFile(dir / "VARNOW.LDB");
    EXPECT_EQ(DbVariable->Count(), 1);
    EXPECT_EQ(DbSwitch->Count(), 2);
    EXPECT_THROW(db.LoadFromFile(dir / "Missing.ldb"), EFOpenError);
}

TEST(Database, CorruptedBytesLoadOrRaiseButNeverCrash) {
    TLcfDataBase db;
    DbSystem->party.Resize(2, 3);
    DbSwitch->SetCount(2);
    DbCommonEvent->Items(0)->script = Script().Line(10110, 0, "Hi", {1, 2}).Line(0).List();
    DbVocabulary->Set(TLcfVocabulary::kYes, "Yes");
    Bytes good = SaveDatabase(db);
    TLcfDataBase other;
    int loaded = 0, failed = 0;
    for (size_t at = 0; at < good.size(); ++at) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0x80), uint8_t(0xFF), uint8_t(good[at] ^ 0x01)}) {
            Bytes bad = good;
            bad[at] = value;
            try {
                LoadDatabase(other, bad);
                ++loaded;
            } catch (const Exception&) {
                ++failed;
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(failed, 0);
}
