// Music and sound references, the system record, terms, switch and
// variable names.
#include <gtest/gtest.h>

#include "data/database/audio_reference.h"
#include "data/database/switch_variable.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "data/record/var_int.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

TEST(AudioReference, DefaultsAreOffAndTheNameIsAlwaysWritten) {
    TLcfMusic m;
    EXPECT_TRUE(m.IsOff());
    EXPECT_EQ(SaveRecord(m), Chunks().Str(1, "(OFF)").End());
    m.name.clear();
    EXPECT_FALSE(m.IsOff());  // an empty name is not silence
    EXPECT_EQ(SaveRecord(m), Chunks().Str(1, "").End());
    TLcfSound s;
    s.volume = 80;
    EXPECT_EQ(SaveRecord(s), Chunks().Str(1, "(OFF)").Int(3, 80).End());
    // A sound has no chunk 2.
    LoadRecord(s, Chunks().Str(1, "Bell").Int(2, 500).Int(5, 10).End());
    EXPECT_EQ(s.name, "Bell");
    EXPECT_EQ(s.balance, 10);
    EXPECT_EQ(s.volume, 100);
    EXPECT_EQ(SaveRecord(s), Chunks().Str(1, "Bell").Int(5, 10).End());
    LoadRecord(m, Chunks().Str(1, "Theme").Int(2, 1500).Int(4, 120).End());
    EXPECT_EQ(m.fadeIn, 1500);
    EXPECT_EQ(m.tempo, 120);
    EXPECT_EQ(m.balance, 50);
}

TEST(AudioReference, AssignCopiesOnlyFromItsOwnClassAndEqualsComparesAll) {
    TLcfMusic a, b;
    a.name = "Battle";
    a.fadeIn = 10;
    b.Assign(a);
    EXPECT_TRUE(b.Equals(a));
    b.balance = 49;
    EXPECT_FALSE(b.Equals(a));
    TLcfSound s;
    b.Assign(s);  // another class leaves it unchanged
    EXPECT_EQ(b.name, "Battle");
    TLcfSound t;
    t.name = "Hit";
    s.Assign(t);
    EXPECT_TRUE(s.Equals(t));
}

TEST(SystemRecord, ClearedDefaultsAndAccessors) {
    TLcfSystem sys;
    EXPECT_EQ(sys.reserved10, 2000);
    EXPECT_EQ(sys.reserved81, 1);
    EXPECT_EQ(sys.reserved82, 1);
    EXPECT_EQ(sys.reserved94, 1);
    EXPECT_EQ(sys.PartySize(), 1);
    EXPECT_EQ(sys.GetPartyMember(0), 1);
    EXPECT_EQ(sys.GetPartyMember(1), 0);
    EXPECT_EQ(sys.GetPartyMember(-1), 0);
    EXPECT_EQ(sys.MenuCommandCount(), 1);
    EXPECT_EQ(sys.GetMenuCommand(0), 0);
    for (auto& m : sys.music) EXPECT_TRUE(m.IsOff());
    for (auto& s : sys.sounds) EXPECT_TRUE(s.IsOff());
    // A database without chunks 21 and 22 starts with hero 1 alone.
    LoadRecord(sys, Chunks().Int(91, 3).End());
    EXPECT_EQ(sys.PartySize(), 1);
    EXPECT_EQ(sys.GetPartyMember(0), 1);
    EXPECT_EQ(sys.saveCounter, 3);
}

TEST(SystemRecord, ArraysAreBoundedAndTestPartyIsHeldIn16Bits) {
    TLcfSystem sys;
    LoadRecord(sys, Chunks()
                        .Int(21, 4)
                        .U16Block(22, {5, 6})  // count says 4, block holds 2
                        .Int(26, 3)
                        .U16Block(27, {1, 9, 8})
                        .Record(85, Chunks())
                        .End());
    EXPECT_EQ(sys.PartySize(), 2);
    EXPECT_EQ(sys.GetPartyMember(1), 6);
    EXPECT_EQ(sys.GetPartyMember(2), 0);
    EXPECT_EQ(sys.GetMenuCommand(1), 9);
    EXPECT_EQ(sys.GetMenuCommand(3), 0);
    Bytes party = List({{1, Chunks().Int(1, 3).Int(2, 12).Int(11, 70001).Int(15, 4).End()}});
    LoadRecord(sys, Chunks().Data(85, party).End());
    ASSERT_EQ(sys.battleTestParty.Count(), 1);
    const TLcfTestPlayerItem* m = sys.battleTestParty.Items(0);
    EXPECT_EQ(m->heroId, 3);
    EXPECT_EQ(m->level, 12);
    EXPECT_EQ(m->GetEquipment(0), 70001 - 65536);
    EXPECT_EQ(m->GetEquipment(4), 4);
    EXPECT_EQ(m->GetEquipment(5), 0);
    EXPECT_EQ(m->GetEquipment(-1), 0);
}

TEST(SystemRecord, RoundTripRaisesOnlyTheSaveCounter) {
    TLcfSystem sys;
    sys.boatSheet = "Vehicle";
    sys.airshipIndex = 3;
    sys.party.Resize(3);
    sys.party.Set(0, 4);
    sys.party.Set(2, 7);
    sys.menuCommands.Resize(8);
    for (int i = 0; i < 8; ++i) sys.menuCommands.Set(i, uint16_t(i + 1));
    sys.music[kMusicBattle].name = "Fight";
    sys.sounds[kSoundItemUse].tempo = 150;
    sys.transitions[kTransitionBattleEndShow] = 7;
    sys.font = 1;
    sys.reserved82 = 0;
    sys.battleTestParty.SetCount(2);
    sys.battleTestParty.Items(1)->equipment[2] = 33;
    sys.frameImage = "Frame";
    sys.battlerMirroring = 1;
    sys.equipByClass = 1;
    Bytes first = SaveRecord(sys);
    EXPECT_EQ(sys.saveCounter, 1);
    TLcfSystem back;
    LoadRecord(back, first);
    EXPECT_EQ(back.saveCounter, 1);
    EXPECT_EQ(back.GetPartyMember(2), 7);
    EXPECT_EQ(back.music[kMusicBattle].name, "Fight");
    EXPECT_EQ(back.battleTestParty.Items(1)->GetEquipment(2), 33);
    Bytes second = SaveRecord(back);
    EXPECT_EQ(back.saveCounter, 2);
    TLcfSystem again;
    LoadRecord(again, second);
    again.saveCounter = 0;
    back.saveCounter = 0;
    EXPECT_EQ(SaveRecord(again), SaveRecord(back));
    // Writing twice raises the counter by two; the file carries the raised value.
    TLcfSystem twice;
    SaveRecord(twice);
    Bytes b = SaveRecord(twice);
    LoadRecord(again, b);
    EXPECT_EQ(again.saveCounter, 2);
    // A counter at the top of its range wraps instead of overflowing.
    twice.saveCounter = INT32_MAX;
    SaveRecord(twice);
    EXPECT_EQ(twice.saveCounter, INT32_MIN);
}

TEST(Vocabulary, EveryTermChunkIsWrittenAndOthersAreNot) {
    TLcfVocabulary v;
    Bytes all = SaveRecord(v);
    TLcfVocabulary back;
    LoadRecord(back, all);
    // Every chunk is id, 00.
    ByteReader r(all.data(), all.size());
    std::vector<int> ids;
    for (int id; (id = ReadVarInt(r)) != 0;) {
        ASSERT_EQ(ReadVarInt(r), 0) << "chunk " << id;
        ids.push_back(id);
    }
    EXPECT_EQ(ids.front(), 2);
    EXPECT_EQ(ids.back(), 153);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 3), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 94), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 104), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 51), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 52), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 89), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 90), 0);
    // 37 terms of 2..39, 3 at 92..95, 8 at 101..108, 110, 112, 114, 115,
    // 24 at 117..140, 6 at 146..153, 33 shop texts and 10 inn texts.
    EXPECT_EQ(ids.size(), size_t(37 + 3 + 8 + 4 + 24 + 6 + 33 + 10));
}

TEST(Vocabulary, ShopAndInnSetsAreFlatChunksAndFallBackToSetZero) {
    TLcfVocabulary v;
    LoadRecord(v, Chunks()
                      .Str(5, "Victory!")
                      .Str(41, "Welcome")
                      .Str(67 + 10, "Sold, third shop")
                      .Str(80, "Inn one")
                      .Str(89, "Leave two")
                      .Str(95, "G")
                      .Str(90, "not a term")
                      .End());
    EXPECT_EQ(v.Get(TLcfVocabulary::kVictory), "Victory!");
    EXPECT_EQ(v.Get(TLcfVocabulary::kCurrency), "G");
    EXPECT_EQ(v.Get(90), "");
    EXPECT_EQ(v.GetShopTerms(0)[TLcfVocabularyShop::kGreeting], "Welcome");
    EXPECT_EQ(v.GetShopTerms(2)[TLcfVocabularyShop::kSold], "Sold, third shop");
    EXPECT_EQ(v.GetInnTerms(0)[TLcfVocabularyInn::kGreeting1], "Inn one");
    EXPECT_EQ(v.GetInnTerms(1)[TLcfVocabularyInn::kLeave], "Leave two");
    // Scripts name the set: one outside the range answers set 0.
    EXPECT_EQ(v.GetShopTerms(3)[TLcfVocabularyShop::kGreeting], "Welcome");
    EXPECT_EQ(v.GetShopTerms(-1)[TLcfVocabularyShop::kGreeting], "Welcome");
    EXPECT_EQ(v.GetInnTerms(2)[TLcfVocabularyInn::kGreeting1], "Inn one");
    Bytes saved = SaveRecord(v);
    TLcfVocabulary back;
    LoadRecord(back, saved);
    EXPECT_EQ(SaveRecord(back), saved);
    EXPECT_EQ(back.GetShopTerms(2)[TLcfVocabularyShop::kSold], "Sold, third shop");
}

TEST(SwitchNames, StrictLookupAndOmittedEmptyNames) {
    TLcfSwitch switches;
    switches.SetCount(20);
    switches.Items(4)->name = "Door open";
    EXPECT_EQ(switches.FindSwitch(5)->name, "Door open");
    try {
        switches.FindSwitch(21);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Event script referenced a switch that does not exist.");
    }
    TLcfVariable vars;
    vars.SetCount(1);
    EXPECT_THROW(vars.FindVariable(0), Exception);
    EXPECT_EQ(SaveList(vars), Concat({VarInt(1), VarInt(1), Chunks().End()}));
    Bytes saved = SaveList(switches);
    TLcfSwitch back;
    LoadList(back, saved);
    EXPECT_EQ(SaveList(back), saved);
}
