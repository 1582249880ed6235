// The field's transfers, inn, battle start and return, debug key, game over
// and encounters.
#include <algorithm>

#include "data/database/ground.h"
#include "data/database/mon_group.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/interpreter/command_table.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/field/field_fixture.h"
#include "scenes/game_main.h"
#include "scenes/windows/message_window.h"

using namespace field_test;

namespace {

// Index of the first log entry equal to `what` at or after `from`, or -1.
int Find(const std::vector<std::string>& log, const std::string& what, size_t from = 0) {
    for (size_t i = from; i < log.size(); ++i)
        if (log[i] == what) return int(i);
    return -1;
}

}  // namespace

TEST_F(FieldTest, ATransferToTheSameMapKeepsFrameEventIdsPicturesAndTheFlash) {
    Enter(2, 2);
    GameScripter->Start(3, interp_test::Lines(lcf_builder::Script().Line(12410, 0, "x").Line(0)));
    pictures.ItemById(1).imageName = "Sun";
    screenEffects.StartFlash(31, 0, 0, 20, 60, TLcfgScreen::kFlashOnce);
    party.direction = party.facing = 1;

    scene->RequestTeleport(1, 4, 3, 0);
    scene->PerformTeleport();
    EXPECT_FALSE(scene->transferPending);
    EXPECT_EQ(party.x, 4);
    EXPECT_EQ(party.y, 3);
    EXPECT_EQ(party.direction, 1);  // facing 0 keeps the direction
    EXPECT_EQ(GameScripter->CurrentFrame()->eventId, 3);
    EXPECT_EQ(pictures.ItemById(1).imageName, "Sun");
    EXPECT_EQ(screenEffects.FlashStrength(), 20);
    EXPECT_EQ(GameDraw->Board().Brightness, 100);  // erased and shown again

    // Another map: the old map's flash and pictures go; facing 4 is left.
    scene->RequestTeleport(2, 1, 1, 4);
    scene->PerformTeleport();
    EXPECT_EQ(party.mapId, 2);
    EXPECT_EQ(party.direction, 3);
    EXPECT_EQ(party.facing, 3);
    EXPECT_EQ(pictures.ItemById(1).imageName, "");
    EXPECT_EQ(screenEffects.FlashStrength(), 0);
}

TEST_F(FieldTest, WithoutAShowTransitionATransferLeavesTheMapHiddenForTheScriptToShow) {
    // Game scripts erase the map on a transfer, arrange the new scene and
    // then show it themselves: "no show transition" keeps the screen black.
    DbSystem->transitions[kTransitionTeleportErase] = 19;
    DbSystem->transitions[kTransitionTeleportShow] = TLcfScene::kNoTransition;
    Enter(2, 2);
    GameDraw->Board().Brightness = 100;
    scene->RequestTeleport(1, 4, 3, 0);
    scene->PerformTeleport();
    EXPECT_EQ(party.x, 4);
    EXPECT_EQ(GameDraw->Board().Brightness, 0);

    // Neither erased nor shown: the map stays in view throughout.
    DbSystem->transitions[kTransitionTeleportErase] = TLcfScene::kNoTransition;
    GameDraw->Board().Brightness = 100;
    scene->RequestTeleport(1, 2, 2, 0);
    scene->PerformTeleport();
    EXPECT_EQ(party.x, 2);
    EXPECT_EQ(GameDraw->Board().Brightness, 100);
}

TEST_F(FieldTest, ATransferWaitsWhileThePartyStepsOffAVehicle) {
    Enter(2, 2);
    party.leaving = 1;
    scene->RequestTeleport(1, 4, 4, 0);
    scene->PerformTeleport();
    EXPECT_TRUE(scene->transferPending);
    EXPECT_EQ(party.x, 2);
    party.leaving = 0;
    scene->PerformTeleport();
    EXPECT_EQ(party.x, 4);
}

TEST_F(FieldTest, TheInnReturnsAfter600FramesWhenItsMusicNeverEnds) {
    DbSystem->music[kMusicInn].name = "Field";
    TLcfMusic town;
    town.name = "Town";
    GameSystem->PlayMusic(town);
    Enter(2, 2);
    int checks = 0;
    scene->InnMusicRunning = [&] {
        ++checks;
        return true;
    };
    scene->RestAtInn();
    EXPECT_EQ(checks, TLcfFieldScene::kInnFrames);
    const int inn = Find(audio.log, "play Field 0");
    ASSERT_GE(inn, 0);
    EXPECT_GE(Find(audio.log, "play Town 0", size_t(inn)), 0);  // the music from before
    EXPECT_EQ(GameDraw->Board().Brightness, 100);

    // A tune that ends after ten frames ends the rest then.
    checks = 0;
    scene->InnMusicRunning = [&] { return ++checks <= 10; };
    scene->RestAtInn();
    EXPECT_EQ(checks, 11);
}

TEST_F(FieldTest, F9OpensTheDebugSceneOnlyInTestPlay) {
    Enter(2, 2);
    scene->started = true;
    scene->DebugKeyHeld = [] { return true; };
    TestPlayMode = false;
    scene->Update();
    EXPECT_EQ(GameSystem->scene, kSceneField);
    TestPlayMode = true;
    scene->Update();
    EXPECT_EQ(GameSystem->scene, kSceneDebug);
}

namespace {

// The party escapes at once.
void EndBattleNow(TLcfBattleScene& battle) {
    try {
        battle.EndBattle(TLcfBattleScene::kEscape);
    } catch (const ELcfBattleEnd&) {
    }
}

}  // namespace

TEST_F(FieldTest, ABattleStartsFromTheFieldAndItsEndReturnsWithTheMusicFromBefore) {
    TLcfBattleScene battle;
    BattleScene = &battle;
    DbSystem->transitions[kTransitionBattleStartErase] = 19;
    DbSystem->sounds[kSoundBattleStart].name = "Chime";
    TLcfGroundItem* terrain = DbGround->GetOrCreate(1);
    terrain->specialStarts = 4;  // surround only
    terrain->surroundChance = 10;
    TLcfMusic town;
    town.name = "Town";
    GameSystem->PlayMusic(town);
    Enter(2, 2);
    scene->started = true;
    battle.setup.terrainId = 1;
    dice.values = {50, 5};
    scene->StartBattle();
    EXPECT_EQ(GameSystem->scene, kSceneBattle);
    EXPECT_EQ(GameSystem->MusicRecord(kGameMusicBeforeBattle).name, "Town");
    EXPECT_EQ(GameSystem->MusicRecord(kGameMusicCurrent).name, "Battle");
    EXPECT_GE(Find(audio.log, "stop sounds"), 0);
    EXPECT_GE(Find(audio.log, "sound Chime"), 0);
    EXPECT_EQ(battle.screenWasBlack, 0);
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
    // Only the surround test drew a number, and it failed.
    EXPECT_EQ(battle.setup.startCondition, 0);
    EXPECT_EQ(dice.values.size(), 1u);

    // The field notices the change, the battle ends, the field shows
    // itself again with the music from before the battle.
    scene->Update();
    EXPECT_FALSE(scene->started);
    EndBattleNow(battle);
    EXPECT_EQ(GameSystem->scene, kSceneField);
    EXPECT_EQ(GameSystem->MusicRecord(kGameMusicCurrent).name, "Town");
    scene->Update();
    EXPECT_TRUE(scene->started);
    EXPECT_EQ(GameDraw->Board().Brightness, 100);

    // A black screen starts a battle without the flash; the roll succeeds.
    GameDraw->Board().Brightness = 0;
    battle.setup.startCondition = 0;
    scene->StartBattle();
    EXPECT_EQ(battle.screenWasBlack, 1);
    EXPECT_EQ(battle.setup.startCondition, 3);
    BattleScene = nullptr;
}

// The scenes register the commands that open them; with them in place no
// command of any script is passed over.
TEST_F(FieldTest, OnceTheProgramsScenesExistEveryCommandHasAHandler) {
    scene.reset();
    CreateScenes();
    std::string unhandled;
    for (int32_t code : UnhandledCommandCodes()) unhandled += std::to_string(code) + " ";
    EXPECT_EQ(unhandled, "");
    DestroyScenes();
}

TEST_F(FieldTest, AfterABattleTheFieldShowsItselfWithTheBattleEndTransitionUnlessTheScreenWasBlack) {
    scene.reset();  // the program's own scenes from here
    CreateScenes();
    DbSystem->transitions[kTransitionBattleStartErase] = 19;
    DbSystem->transitions[kTransitionBattleEndShow] = 19;
    Enter(2, 2);
    FieldScene->Update();  // fades in
    FieldScene->StartBattle();
    FieldScene->Update();  // notices the battle and lets go
    EXPECT_FALSE(FieldScene->started);
    EndBattleNow(*BattleScene);
    EXPECT_EQ(GameSystem->scene, kSceneField);
    EXPECT_TRUE(FieldScene->started);  // shown by the battle's end, not faded in again
    EXPECT_EQ(GameDraw->Board().Brightness, 100);

    // A battle that began on a black screen leaves the field black for the
    // game's script to show.
    GameDraw->Board().Brightness = 0;
    FieldScene->StartBattle();
    FieldScene->Update();
    EndBattleNow(*BattleScene);
    EXPECT_EQ(GameSystem->scene, kSceneField);
    FieldScene->Update();
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
    DestroyScenes();
}

TEST_F(FieldTest, TheGameIsOverOnlyWhenEveryMemberIsDown) {
    DbPlayer->GetOrCreate(1);
    DbPlayer->GetOrCreate(2);
    TLcfgPlayer actors;
    GamePlayers = &actors;
    TLcfgPartyInfo info;
    GamePartyInfo = &info;
    Enter(2, 2);
    scene->started = true;
    DbSystem->music[kMusicGameOver].name = "Field";
    scene->CheckGameOver();  // nobody in the party: nothing
    EXPECT_EQ(GameSystem->scene, kSceneField);
    info.AddMember(1);
    info.AddMember(2);
    actors.Get(1)->hp = 0;
    actors.Get(2)->hp = 5;
    scene->CheckGameOver();
    EXPECT_EQ(GameSystem->scene, kSceneField);
    actors.Get(2)->hp = 0;
    scene->CheckGameOver();
    EXPECT_EQ(GameSystem->scene, kSceneGameOver);
    EXPECT_EQ(GameSystem->MusicRecord(kGameMusicCurrent).name, "Field");
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
    GamePartyInfo = nullptr;
    GamePlayers = nullptr;
}

TEST_F(FieldTest, AClosingMessageBoxLosesItsOpenStateAndAsksForItsLastStepToBeDrawn) {
    TLcfMessageWindow box;
    GameMessageWindow = &box;
    GameInterpreterHooks.messageWindow = &box;
    Enter(2, 2);
    scene->started = true;
    box.Open();
    for (int i = 0; i < 20; ++i) box.Update();
    box.Close();
    int forced = 0;
    for (int i = 0; i < 12 && box.IsVisible(); ++i) {
        scene->Update();
        EXPECT_FALSE(box.alreadyOpen);
        if (scene->ForceDraw) {
            ++forced;
            EXPECT_EQ(box.CloseStep(), 7);
            scene->Draw();  // clears it
        }
    }
    EXPECT_EQ(forced, 1);
    GameInterpreterHooks.messageWindow = nullptr;
    GameMessageWindow = nullptr;
}

TEST_F(FieldTest, ARandomEncounterSetsTheBattleUpAndStartsItFromTheField) {
    scene.reset();
    CreateScenes();
    DbSystem->transitions[kTransitionBattleStartErase] = 19;
    DbMonGroup->GetOrCreate(4)->terrainSet.SetEntry(2, 0);
    Enter(2, 2);
    ASSERT_NE(GameWorldHooks.battle, nullptr);
    EXPECT_TRUE(GameWorldHooks.battle->TroopAllowedOnTerrain(4, 1));
    EXPECT_FALSE(GameWorldHooks.battle->TroopAllowedOnTerrain(4, 2));
    TLcfgEncounterBattle encounter;
    encounter.troopId = 4;
    encounter.backdrop = "Plains";
    GameWorldHooks.battle->StartEncounterBattle(encounter);
    EXPECT_EQ(GameSystem->scene, kSceneBattle);
    EXPECT_EQ(BattleScene->setup.troopId, 4);
    EXPECT_EQ(BattleScene->setup.backdrop, "Plains");
    DestroyScenes();
}

TEST_F(FieldTest, AParallelEventThatTransfersEveryFrameEndsTheTransferLoop) {
    TLcfEventPageItem& page = AddEvent(1, 1, 1);
    page.trigger = TLcfgEventItem::kTriggerParallel;
    page.script = interp_test::Lines(lcf_builder::Script().Line(10810, 0, "", {1, 3, 3, 0}).Line(0));
    Enter(2, 2);
    scene->RequestTeleport(1, 4, 4, 0);
    scene->PerformTeleport();
    // The event asked again after each transfer: the last request waits.
    EXPECT_TRUE(scene->transferPending);
    EXPECT_EQ(party.x, 3);
    EXPECT_EQ(party.y, 3);
    // Frames go on; each carries the chain as far as the bound.
    scene->Update();
    EXPECT_EQ(GameSystem->scene, kSceneField);
    EXPECT_EQ(party.x, 3);
}
