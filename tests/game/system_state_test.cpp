// The run-time system state: switches and variables with their caps, the
// overrides and their save form, music and sound, the skin and the face.

#include <algorithm>

#include "data/asset_lookup.h"
#include "interpreter_fixture.h"

using namespace interp_test;
using lcf_builder::Chunks;
using lcf_builder::LoadRecord;
using lcf_builder::SaveRecord;

namespace {

class SystemStateTest : public InterpreterTest {
protected:
    // A fresh state loaded from `system`'s save form.
    std::unique_ptr<TLcfgSystem> RoundTrip() {
        auto bytes = SaveRecord(*system);
        auto copy = std::make_unique<TLcfgSystem>(&audio, &screen);
        LoadRecord(*copy, bytes);
        return copy;
    }
    static bool Contains(const lcf_builder::Bytes& hay, std::initializer_list<uint8_t> needle) {
        return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
    }
};

TEST_F(SystemStateTest, SwitchesAndVariablesGrowToTheIdWrittenAndRoundTrip) {
    EXPECT_FALSE(system->GetSwitch(0));
    EXPECT_EQ(system->GetVariable(0), 0);
    system->SetSwitch(0, true);
    EXPECT_EQ(system->SwitchCount(), 0);

    for (int id = 1; id <= 10; ++id) system->SetVariable(id, id * 100);
    system->SetVariable(500, 7);
    EXPECT_EQ(system->VariableCount(), 500);
    EXPECT_EQ(system->GetVariable(11), 0);
    EXPECT_EQ(system->GetVariable(499), 0);
    system->SetSwitch(3, true);

    auto copy = RoundTrip();
    EXPECT_EQ(copy->VariableCount(), 500);
    EXPECT_EQ(copy->GetVariable(500), 7);
    EXPECT_EQ(copy->GetVariable(10), 1000);
    EXPECT_EQ(copy->GetVariable(250), 0);
    EXPECT_EQ(copy->SwitchCount(), 3);
    EXPECT_TRUE(copy->GetSwitch(3));
    EXPECT_FALSE(copy->GetSwitch(2));
    EXPECT_FALSE(copy->GetSwitch(4));
}

TEST_F(SystemStateTest, HugeIdsAndCountsAreCappedNotAllocated) {
    system->SetVariable(2000000000, 5);
    system->SetSwitch(2000000000, true);
    EXPECT_EQ(system->VariableCount(), 0);
    EXPECT_EQ(system->GetVariable(2000000000), 0);
    system->SetVariable(TLcfgSystem::kMaxVariableId, 9);
    EXPECT_EQ(system->GetVariable(TLcfgSystem::kMaxVariableId), 9);

    // A save claiming two billion variables with an 8-byte block, and a
    // switch count larger than its block.
    TLcfgSystem loaded(&audio, &screen);
    LoadRecord(loaded, Chunks()
                           .Int(31, 5)
                           .Data(32, {1, 0})
                           .Int(33, 2000000000)
                           .Data(34, {7, 0, 0, 0, 8, 0, 0, 0})
                           .End());
    EXPECT_EQ(loaded.VariableCount(), TLcfgSystem::kMaxVariableId);
    EXPECT_EQ(loaded.GetVariable(1), 7);
    EXPECT_EQ(loaded.GetVariable(2), 8);
    EXPECT_EQ(loaded.GetVariable(3), 0);
    EXPECT_EQ(loaded.SwitchCount(), 5);
    EXPECT_TRUE(loaded.GetSwitch(1));
    EXPECT_FALSE(loaded.GetSwitch(5));

    TLcfgSystem negative(&audio, &screen);
    LoadRecord(negative, Chunks().Int(33, -4).Data(34, {1, 0, 0, 0}).End());
    EXPECT_EQ(negative.VariableCount(), 0);
}

TEST_F(SystemStateTest, OverridesEqualToTheDatabaseLeaveNothingInTheSave) {
    TLcfMusic battle = DbSystem->music[kMusicBattle];
    system->SetMusic(kGameMusicBattle, battle);
    EXPECT_TRUE(system->MusicRecord(kGameMusicBattle).name.empty());

    TLcfMusic inn;
    inn.name = "Town";
    inn.volume = 70;
    system->SetMusic(kGameMusicInn, inn);

    auto copy = RoundTrip();
    // The cleared override came back cleared (not as a silence override).
    EXPECT_EQ(copy->Music(kGameMusicBattle).name, "Battle");
    EXPECT_TRUE(copy->MusicRecord(kGameMusicBattle).name.empty());
    EXPECT_TRUE(copy->Music(kGameMusicInn).Equals(inn));
    // Title has no override: the database's silence.
    EXPECT_EQ(copy->Music(kGameMusicTitle).name, "(OFF)");
    // The current music is the state's own record, silence by default.
    EXPECT_EQ(copy->Music(kGameMusicCurrent).name, "(OFF)");

    // Setting an override back to the database's removes it.
    copy->SetMusic(kGameMusicInn, DbSystem->music[kMusicInn]);
    EXPECT_TRUE(copy->MusicRecord(kGameMusicInn).name.empty());

    // Transitions: the database's value stores 255 and follows later changes.
    DbSystem->transitions[kTransitionTeleportErase] = 3;
    system->SetTransition(kTransitionTeleportErase, 3);
    DbSystem->transitions[kTransitionTeleportErase] = 7;
    EXPECT_EQ(system->Transition(kTransitionTeleportErase), 7);
    system->SetTransition(kTransitionTeleportErase, 12);
    EXPECT_EQ(RoundTrip()->Transition(kTransitionTeleportErase), 12);
}

TEST_F(SystemStateTest, SceneAndTransitionsAreAlwaysWritten) {
    auto bytes = SaveRecord(*system);
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes[0], 1);  // chunk 1, length 1, scene 0
    EXPECT_EQ(bytes[1], 1);
    EXPECT_EQ(bytes[2], 0);
    for (uint8_t chunk = 111; chunk <= 116; ++chunk) EXPECT_TRUE(Contains(bytes, {chunk, 1, 255}));
}

TEST_F(SystemStateTest, SystemGraphicOverrideTakesAllThreeAndReloadsTheSkin) {
    DbSystem->windowBackgroundMode = 0;
    DbSystem->font = 0;
    EXPECT_EQ(screen.skinName, "Blue");
    system->SetSystemGraphic("Blue", 0, 1);  // only the font differs
    EXPECT_EQ(system->SystemGraphicName(), "Blue");
    EXPECT_EQ(system->MessageFont(), 1);
    EXPECT_EQ(screen.skinFont, 1);
    system->SetSystemGraphic("Blue", 0, 0);  // all as the database: cleared
    EXPECT_EQ(system->MessageFont(), 0);
    // A tiling override counts only while the name override is set.
    DbSystem->windowBackgroundMode = 1;
    EXPECT_EQ(system->WindowTiling(), 1);
    system->SetSystemGraphic("Red", 0, 0);
    EXPECT_EQ(system->WindowTiling(), 0);
    EXPECT_EQ(screen.skinName, "Red");
    EXPECT_EQ(RoundTrip()->SystemGraphicName(), "Red");
}

TEST_F(SystemStateTest, PlayMusicRestartsOnlyANewOrFadedTuneButAlwaysAppliesTheSettings) {
    TLcfMusic town;
    town.name = "Town";
    town.fadeIn = 500;
    system->PlayMusic(town);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"play Town 500"}));
    int restarts = screen.clockRestarts;

    town.volume = 40;
    town.balance = 20;
    system->PlayMusic(town);
    EXPECT_EQ(audio.log.size(), 1u);
    EXPECT_EQ(audio.volume, 40);
    EXPECT_EQ(audio.balance, 20);
    EXPECT_EQ(screen.clockRestarts, restarts + 1);

    system->FadeOutMusic(1000);
    system->FadeOutMusic(1000);  // already faded: nothing
    system->PlayMusic(town);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"play Town 500", "fade 1000", "play Town 500"}));
    EXPECT_EQ(system->musicFaded, 0);

    TLcfMusic lower = town;
    lower.name = "town";  // names compare case-sensitively
    system->PlayMusic(lower);
    EXPECT_EQ(audio.log.size(), 4u);
    TLcfMusic off;
    system->PlayMusic(off);
    EXPECT_EQ(audio.log.back(), "stop");
    EXPECT_EQ(system->Music(kGameMusicCurrent).name, "(OFF)");
    system->PlayMusic(town, true);
    system->PlayMusic(town, true);
    EXPECT_EQ(audio.log.back(), "play Town 500");
    EXPECT_EQ(audio.log.size(), 7u);

    // A tune with no file, or with no name, stops the one playing.
    TLcfMusic missing = town;
    missing.name = "Nowhere";
    system->PlayMusic(missing);
    EXPECT_EQ(audio.log.back(), "stop");
    EXPECT_EQ(system->Music(kGameMusicCurrent).name, "Nowhere");
    system->PlayMusic(town);
    TLcfMusic unnamed = town;
    unnamed.name.clear();
    system->PlayMusic(unnamed);
    EXPECT_EQ(std::vector<std::string>(audio.log.begin() + 7, audio.log.end()),
              (std::vector<std::string>{"stop", "play Town 500", "stop"}));
}

TEST_F(SystemStateTest, SystemSoundsStayLockedOnceWhateverClearLoadAndMoviesDo) {
    EXPECT_EQ(audio.LockedSlots(), 4);
    system->Clear();
    system->Clear();
    LoadRecord(*system, SaveRecord(*system));
    EXPECT_EQ(audio.LockedSlots(), 4);

    // A movie empties the slots but leaves them marked locked.
    audio.EmptySlots();
    system->PreloadSystemSounds();
    EXPECT_EQ(audio.LockedSlots(), 4);
    for (const auto& s : audio.slots)
        if (s.locked) {
            EXPECT_TRUE(s.loaded);
        }

    // Two system sounds sharing one file: changing one keeps the other's.
    TLcfSound decide;
    decide.name = "Decide";
    system->SetSound(kSoundCursor, decide);
    EXPECT_EQ(audio.LockedSlots(), 3);
    TLcfSound chime;
    chime.name = "Chime";
    system->SetSound(kSoundCursor, chime);
    EXPECT_EQ(audio.LockedSlots(), 4);
    EXPECT_TRUE(audio.SoundReallyLocked(*FindAssetFile("Decide", "Sound", kSoundExtensions)));
    system->SetSound(kSoundCursor, DbSystem->sounds[kSoundCursor]);
    EXPECT_TRUE(system->MusicRecord(kGameMusicTitle).name.empty());
    EXPECT_EQ(system->CursorSound().name, "Cursor");
    EXPECT_EQ(audio.LockedSlots(), 4);
    system->ReleaseSystemSounds();
    EXPECT_EQ(audio.LockedSlots(), 0);
}

TEST_F(SystemStateTest, FaceCellsAreClippedToTheImage) {
    EXPECT_EQ(FaceCellOf(5, 192, 192).x, 48);
    EXPECT_EQ(FaceCellOf(5, 192, 192).y, 48);
    TFaceCell far = FaceCellOf(40, 192, 96);  // row 10 of a 2-row image
    EXPECT_EQ(far.x, 0);
    EXPECT_EQ(far.y, 48);
    TFaceCell narrow = FaceCellOf(3, 96, 48);  // column 3 of a 2-column image
    EXPECT_EQ(narrow.x, 48);
    EXPECT_EQ(narrow.y, 0);
    EXPECT_EQ(FaceCellOf(-3, 192, 192).x, 0);
    EXPECT_EQ(FaceCellOf(7, 10, 10).y, 0);

    system->faceName = "Hero";
    system->faceIndex = 6;
    system->faceMirrored = 1;
    system->LoadFace();
    EXPECT_EQ(screen.faceName, "Hero");
    EXPECT_TRUE(screen.faceMirrored);
    system->ClearFace();
    EXPECT_TRUE(screen.faceName.empty());
}

}  // namespace
