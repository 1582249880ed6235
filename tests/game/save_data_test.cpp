// The save container: byte-exact round trips, chunk order, damaged files,
// header browsing, atomic writes and the slot file names.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/errors.h"
#include "data/folders.h"
#include "data/record/var_int.h"
#include "game/save/save_clock.h"
#include "data/database/database.h"
#include "data/database/event_script.h"
#include "game/actors/player.h"
#include "game/party/party_info.h"
#include "game/enemies/monster.h"
#include "game/interpreter/battle_scripter.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "game/walker/party.h"
#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/save/save_data.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/teleport/teleport.h"
#include "game/vehicle/ship.h"
#include "platform/file_io.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

std::vector<uint8_t> Chunk(int id, const std::vector<uint8_t>& body) {
    ByteWriter w;
    WriteVarInt(w, id);
    WriteVarInt(w, int32_t(body.size()));
    w.WriteBytes(body.data(), body.size());
    return w.Take();
}

// A save file: the magic, then the given chunks as they stand.
std::vector<uint8_t> SaveFile(const std::vector<std::vector<uint8_t>>& chunks) {
    ByteWriter w;
    WriteVarString(w, "LcfSaveData");
    for (const auto& c : chunks) w.WriteBytes(c.data(), c.size());
    return w.Take();
}

// Header body: time of saving (chunk 1, 8 bytes) and the leader's name.
std::vector<uint8_t> HeaderBody(double time, const std::string& name) {
    ByteWriter w;
    WriteVarInt(w, 1);
    WriteVarInt(w, 8);
    w.WriteBytes(&time, 8);
    WriteVarInt(w, 11);
    WriteVarString(w, name);
    WriteVarInt(w, 0);
    return w.Take();
}

class SaveData : public ::testing::Test {
protected:
    void SetUp() override {
        SetGameFolder(dir_.path().string(), "varnow");
        ExeReadOnly = false;
        SetSaveClock([] { return DaysSince1899(2026, 12, 9, 6, 30, 0); });
        data_ = std::make_unique<TLcfgSaveData>();
        unit_.width = 20;
        unit_.height = 15;
        unit_.Lower().Resize(20, 15);
        unit_.Upper().Resize(20, 15);
        GameMapUnit = &unit_;
        GameMap->MapLoader = [this](int32_t id) { unit_.SetId(id); };
        PlaceParty();
    }
    // The party on map 1 with its map set up, as in a game.
    void PlaceParty() { GameParty->SetPosition(1, 3, 4); }
    void TearDown() override {
        data_.reset();
        GameMapUnit = nullptr;
        SetSaveClock(nullptr);
        SetGameFolder("", "varnow");
        ExeReadOnly = false;
    }
    std::vector<uint8_t> ReadSlot(int slot) {
        std::vector<uint8_t> bytes;
        platform::ReadWholeFile(SlotFileName(slot), bytes);
        return bytes;
    }
    void WriteSlot(int slot, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(platform::WriteFileAtomic(SlotFileName(slot), bytes.data(), bytes.size()));
    }
    std::vector<uint8_t> Body(int id) {
        ByteWriter w;
        data_->ChunkOwner(id)->SaveToStream(w);
        return w.Take();
    }

    TempDir dir_;
    TLcfMap unit_;
    std::unique_ptr<TLcfgSaveData> data_;
};

}  // namespace

TEST_F(SaveData, SlotNamesAndTheDocumentsFolderWhenTheGameFolderIsReadOnly) {
    EXPECT_EQ(fs::path(SlotFileName(3)).filename(), "Save03.lsd");
    EXPECT_EQ(fs::path(SlotFileName(15)).filename(), "Save15.lsd");
    EXPECT_EQ(fs::path(SlotFileName(3)).parent_path(), fs::path(ExeDir).parent_path());
    ExeReadOnly = true;
    std::string name = SlotFileName(1);
    EXPECT_EQ(fs::path(name).parent_path().filename(), GameFolderName);
    EXPECT_TRUE(fs::is_directory(fs::path(name).parent_path()));  // made when missing
}

TEST_F(SaveData, TimeOfSavingCountsDaysFrom1899) {
    EXPECT_DOUBLE_EQ(DaysSince1899(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(DaysSince1899(2000, 1, 1, 12, 0, 0), 36526.5);
}

TEST_F(SaveData, SaveLoadSaveGivesIdenticalBytes) {
    GameSystem->SetSwitch(3, true);
    GameSystem->SetVariable(2, -77);
    GameMap->SetEncounterRate(17);
    GameMap->ReplaceTile(0, 4, 9);
    GameTeleports->SetTarget(7, 3, 4, true, 9);
    GameBoat->TLcfgCharacter::SetPosition(2, 5, 6);
    ASSERT_TRUE(data_->Save(2));
    std::vector<uint8_t> first = ReadSlot(2);
    data_->Reset();
    EXPECT_FALSE(GameSystem->GetSwitch(3));
    ASSERT_TRUE(data_->Load(2));
    EXPECT_TRUE(GameSystem->GetSwitch(3));
    EXPECT_EQ(GameSystem->GetVariable(2), -77);
    EXPECT_EQ(GameParty->mapId, 1);
    EXPECT_EQ(GameParty->y, 4);
    EXPECT_EQ(GameMap->encounterRateOverride, 17);
    EXPECT_EQ(GameMap->lowerSubstitution[4], 9);
    EXPECT_EQ(GameTeleports->ById(7)->y, 4);
    EXPECT_EQ(GameTeleports->EscapePoint()->Id(), 0);
    EXPECT_EQ(GameBoat->x, 5);
    ASSERT_TRUE(data_->Save(3));
    EXPECT_EQ(ReadSlot(3), first);
    // The header was refilled with "now" when written.
    ASSERT_TRUE(data_->LoadHeader(3));
    EXPECT_DOUBLE_EQ(GameSaveHeader->saveTime, DaysSince1899(2026, 12, 9, 6, 30, 0));
}

TEST_F(SaveData, ActorsAndPartyInfoTravelInTheSaveAndFillTheHeader) {
    TLcfDataBase db;
    DbPlayer->SetCount(3);
    data_->Reset();  // one actor per hero, the database's initial party
    PlaceParty();
    ASSERT_EQ(GamePlayers->Count(), 3);
    GamePartyInfo->AddMember(2);
    GamePlayers->Get(2)->SetName("Brin");
    GamePlayers->Get(2)->hp = 7;
    GamePartyInfo->GainGold(321);
    ASSERT_TRUE(data_->Save(1));
    data_->Reset();
    EXPECT_EQ(GamePartyInfo->gold, 0);
    ASSERT_TRUE(data_->Load(1));
    EXPECT_EQ(GamePartyInfo->gold, 321);
    EXPECT_TRUE(GamePartyInfo->IsMember(2));
    EXPECT_EQ(GamePlayers->Get(2)->GetName(), "Brin");
    ASSERT_TRUE(data_->LoadHeader(1));
    EXPECT_EQ(GameSaveHeader->leaderName, GamePartyInfo->Member(0)->GetName());
    std::vector<uint8_t> first = ReadSlot(1);
    ASSERT_TRUE(data_->Save(2));
    EXPECT_EQ(ReadSlot(2), first);
}

TEST_F(SaveData, TheTroopAndTheBattleInterpreterComeAndGoWithTheGame) {
    TLcfDataBase db;
    DbMonster->SetCount(1);
    ASSERT_NE(GameMonsters, nullptr);
    ASSERT_NE(GameBattleScripter, nullptr);
    GameMonsters->GetOrCreate(1)->SetupEnemy(1);
    GameMonsters->PlayAnimation(0, false, 0);
    GameBattleScripter->SetPageDone(3);
    data_->Reset();
    EXPECT_EQ(GameMonsters->Count(), 0);
    EXPECT_FALSE(GameMonsters->Animation().Active());
    EXPECT_FALSE(GameBattleScripter->PageDone(3));
    data_.reset();
    EXPECT_EQ(GameMonsters, nullptr);
    EXPECT_EQ(GameBattleScripter, nullptr);
}

TEST_F(SaveData, AMapInterpreterOfAnotherMapVersionIsNotResumed) {
    struct StaleMap : IPartyHooks {
        void LoseGold(int32_t) override {}
        bool MapStampCurrent() const override { return current; }
        bool DatabaseStampCurrent() const override { return true; }
        bool current = true;
    } party;
    TLcfEventScriptList script;
    GameScripter->Start(1, script);
    ASSERT_TRUE(GameScripter->IsRunning());
    ASSERT_TRUE(data_->Save(1));
    GameInterpreterHooks.party = &party;
    ASSERT_TRUE(data_->Load(1));
    EXPECT_TRUE(GameScripter->IsRunning());
    party.current = false;
    ASSERT_TRUE(data_->Load(1));
    EXPECT_FALSE(GameScripter->IsRunning());
    GameInterpreterHooks.party = nullptr;
}

TEST_F(SaveData, ChunksOutOfOrderAndUnknownChunksLoad) {
    GameParty->SetPosition(1, 7, 8);
    GameMap->SetEncounterRate(9);
    WriteSlot(4, SaveFile({Chunk(104, Body(104)), Chunk(999, {1, 2, 3}), Chunk(100, HeaderBody(45000, "A")),
                           Chunk(5, {}), Chunk(111, Body(111))}));
    data_->Reset();
    ASSERT_TRUE(data_->Load(4));
    EXPECT_EQ(GameParty->x, 7);
    EXPECT_EQ(GameMap->encounterRateOverride, 9);
    EXPECT_EQ(GameSaveHeader->leaderName, "A");
}

TEST_F(SaveData, ASaveThatPutsThePartyOnNoMapIsDamaged) {
    std::string error;
    WriteSlot(4, SaveFile({Chunk(100, HeaderBody(45000, "A"))}));
    EXPECT_FALSE(data_->Load(4, &error));
    EXPECT_EQ(error, "Event script referenced a map that does not exist.");
    GameParty->Clear();
    WriteSlot(4, SaveFile({Chunk(104, Body(104))}));
    EXPECT_FALSE(data_->Load(4, &error));
    EXPECT_EQ(GameParty->mapId, 0);
}

TEST_F(SaveData, HeaderBrowsingReadsOnlyTheHeaderWhereverItStands) {
    GameParty->SetPosition(1, 9, 9);  // the running game's party
    WriteSlot(5, SaveFile({Chunk(104, {4, 4}), Chunk(100, HeaderBody(45123, "Lead"))}));
    ASSERT_TRUE(data_->LoadHeader(5));
    EXPECT_EQ(GameSaveHeader->leaderName, "Lead");
    EXPECT_EQ(GameParty->x, 9);  // untouched
    // A missing slot clears the header and answers false.
    EXPECT_FALSE(data_->LoadHeader(6));
    EXPECT_EQ(GameSaveHeader->saveTime, 0.0);
    EXPECT_TRUE(GameSaveHeader->leaderName.empty());
}

TEST_F(SaveData, DamagedFilesFailCleanlyAndLeaveANewGame) {
    std::vector<uint8_t> good = SaveFile({Chunk(100, HeaderBody(45000, "A")), Chunk(104, {1, 2, 3, 4, 5})});
    // Truncated in the middle of a chunk, a wrong magic, a huge length, a
    // negative length.
    std::vector<uint8_t> truncated(good.begin(), good.end() - 2);
    std::vector<uint8_t> badMagic = good;
    badMagic[1] = 'X';
    ByteWriter huge, negative;
    WriteVarString(huge, "LcfSaveData");
    WriteVarInt(huge, 104);
    WriteVarInt(huge, 0x7FFFFFF0);
    huge.WriteU8(1);
    WriteVarString(negative, "LcfSaveData");
    WriteVarInt(negative, 104);
    WriteVarInt(negative, -3);
    for (const auto& bytes : {truncated, badMagic, huge.Bytes(), negative.Bytes()}) {
        WriteSlot(7, bytes);
        GameParty->SetPosition(1, 12, 13);
        std::string error;
        EXPECT_FALSE(data_->Load(7, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(GameParty->mapId, 0);  // reset, not half loaded
        EXPECT_EQ(GameParty->x, 0);
        EXPECT_FALSE(data_->LoadHeader(7));
        EXPECT_EQ(ReadSlot(7), bytes);  // the file itself is left alone
    }
    EXPECT_FALSE(data_->Load(8));  // missing
}

TEST_F(SaveData, AFailedWriteKeepsTheOldSaveAndIsReported) {
    ASSERT_TRUE(data_->Save(1));
    std::vector<uint8_t> old = ReadSlot(1);
    fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec);
    bool writable = platform::IsFolderWritable(dir_.path().string());
    std::string error;
    GameParty->SetPosition(1, 5, 5);
    bool saved = data_->Save(1, &error);
    fs::permissions(dir_.path(), fs::perms::owner_all);
    if (writable) GTEST_SKIP() << "permissions do not stop this user writing";
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadSlot(1), old);
}

TEST_F(SaveData, AnUnwritableSaveFolderIsReported) {
    testing_support::WriteFile(dir_ / "file", "x");
    SetGameFolder((dir_ / "file" / "game").string(), "varnow");
    std::string error;
    EXPECT_FALSE(data_->Save(1, &error));
    EXPECT_FALSE(error.empty());
    // The save screen asks for no reason: it only buzzes. The path and the
    // system's error still reach stderr.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(data_->Save(2));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("varnow: the game was not saved to " + (dir_ / "file/game/Save02.lsd").string() + ": ", 0), 0u)
        << err;
    EXPECT_NE(err.find("Not a directory"), std::string::npos) << err;
}

TEST_F(SaveData, NewGameNeedsAStartPositionAndKeepsItInTheRangeOfPositions) {
    try {
        data_->NewGame();
        FAIL() << "no start position accepted";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "You must set a starting party position.");
    }
    data_->StartPosition = [] { return TPartyStart{3, 4, 5}; };
    data_->NewGame();
    EXPECT_EQ(data_->Party().mapId, 3);
    EXPECT_EQ(data_->Party().x, 4);
    EXPECT_EQ(data_->Party().y, 5);
    data_->StartPosition = [] { return TPartyStart{3, INT32_MAX, INT32_MIN}; };
    data_->NewGame();
    EXPECT_EQ(data_->Party().x, TLcfgCharacter::kCoordinateLimit);
    EXPECT_EQ(data_->Party().y, -TLcfgCharacter::kCoordinateLimit);
}

TEST_F(SaveData, ANewGameSetsTheStartMapUpWithItsEventsVehiclesAndMusic) {
    TLcfMapTree tree;
    tree.startPosition.positions[TLcfMapStartPosition::kParty][0] = 3;
    tree.startPosition.positions[TLcfMapStartPosition::kParty][1] = 6;
    tree.startPosition.positions[TLcfMapStartPosition::kParty][2] = 7;
    tree.startPosition.positions[TLcfMapStartPosition::kShip][0] = 3;
    tree.startPosition.positions[TLcfMapStartPosition::kShip][1] = 2;
    TLcfMapTreeItem* entry = tree.GetOrCreate(3);
    entry->musicKind = TLcfMapTreeItem::kMusicOwn;
    entry->music.name = "Harbour";
    unit_.events.GetOrCreate(5)->x = 9;
    GameMapTree = &tree;
    data_->StartPosition = [&] {
        const TLcfMapStartPosition& p = tree.startPosition;
        return TPartyStart{p.GetMapId(0), p.GetX(0), p.GetY(0)};
    };
    GameMap->SetEncounterRate(44);  // the last game's
    data_->NewGame();
    GameMapTree = nullptr;
    EXPECT_EQ(unit_.Id(), 3);
    EXPECT_EQ(GameParty->x, 6);
    EXPECT_EQ(GameParty->direction, 2);  // facing 0 keeps the reset direction
    ASSERT_EQ(GameMap->events.Count(), 1);
    EXPECT_EQ(GameMap->events.Items(0)->x, 9);
    EXPECT_EQ(GameMap->encounterRateOverride, -1);
    EXPECT_EQ(GameMap->viewX, 0);  // against the left edge
    EXPECT_EQ(GameShip->mapId, 3);
    EXPECT_EQ(GameShip->x, 2);
    EXPECT_TRUE(GameShip->OnPartyMap());
    EXPECT_EQ(GameSystem->MusicRecord(kGameMusicCurrent).name, "Harbour");
    // A save of it loads onto the same map, set up again from the file.
    std::vector<uint8_t> bytes = data_->SaveToBytes();
    unit_.SetId(8);
    unit_.events.Clear();
    data_->LoadFromBytes(bytes, false);
    EXPECT_EQ(unit_.Id(), 3);
    EXPECT_EQ(GameParty->x, 6);
    EXPECT_EQ(GameMap->events.Count(), 0);
}

TEST_F(SaveData, ScreenPicturesAndPanoramaTravelInTheirChunks) {
    ASSERT_EQ(GameScreen, data_->ChunkOwner(102));
    GameScreen->SetWeather(TLcfgScreen::kSnow, 2);
    GameScreen->StartTint(50, 60, 70, 80, 12);
    GameScreen->animationRunning = 1;  // an animation that cannot be found again
    GameScreen->animationId = 3;
    GamePictures->ItemById(7).framesLeft = 30;
    GamePictures->ItemById(7).boundToMap = 1;
    std::vector<uint8_t> bytes = data_->SaveToBytes();
    data_->Reset();
    EXPECT_EQ(GameScreen->weatherKind, 0);
    EXPECT_EQ(GamePictures->ItemById(7).framesLeft, 0);
    data_->LoadFromBytes(bytes, false);
    EXPECT_EQ(GameScreen->weatherKind, TLcfgScreen::kSnow);
    EXPECT_EQ(GameScreen->toneTarget[3], 80);
    EXPECT_EQ(GameScreen->toneFrames, 12);
    EXPECT_FALSE(GameScreen->animationRunning);  // stopped, and the save loaded
    EXPECT_EQ(GamePictures->Count(), 50);
    EXPECT_EQ(GamePictures->ItemById(7).framesLeft, 30);
    EXPECT_EQ(GamePictures->ItemById(7).boundToMap, 1);
    // The panorama keeps nothing: its chunk is an empty record.
    ByteWriter w;
    data_->ChunkOwner(112)->SaveToStream(w);
    EXPECT_EQ(w.Bytes(), std::vector<uint8_t>{0});
}
