#include "scenes/game_main.h"

#include <cstdlib>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/database/item.h"
#include "data/database/mon_group.h"
#include "data/database/system.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/map/world_hooks.h"
#include "game/party/party_info.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/audio/audio_cantrel.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/platform.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/debug/debug_scene.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_over/game_over_scene.h"
#include "scenes/menu/menu_scene.h"
#include "scenes/name/name_command.h"
#include "scenes/name/name_scene.h"
#include "scenes/save/save_file_scene.h"
#include "scenes/shop/shop_command.h"
#include "scenes/shop/shop_scene.h"
#include "scenes/startup.h"
#include "scenes/title/title_scene.h"
#include "scenes/windows/message_window.h"

TLcfFieldScene* FieldScene = nullptr;
TLcfScene* MenuScene = nullptr;
TLcfBattleScene* BattleScene = nullptr;
TLcfShopScene* ShopScene = nullptr;
TLcfNameScene* NameScene = nullptr;
TLcfSaveFileScene* SaveFileScene = nullptr;
TLcfTitleScene* TitleScene = nullptr;
TLcfGameOverScene* GameOverScene = nullptr;
TLcfDebugScene* DebugScene = nullptr;
std::vector<std::string> GameCommandLine;
int GameResetCount = 0;
TBattleTestSetup BattleTestSetup;

namespace {

constexpr int kStrNoMonsterGroup = 65287;

// A random encounter starts its battle through the field.
TLcfFieldBattleHooks FieldBattleHooks;

std::string Word(const std::vector<std::string>& args, size_t n) { return n < args.size() ? args[n] : std::string(); }

// A whole decimal integer, or nothing.
bool ParseDecimal(const std::string& s, int32_t& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (*end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}

}  // namespace

void CreateScenes() {
    FieldScene = new TLcfFieldScene();
    MenuScene = new TLcfMenuScene();
    BattleScene = new TLcfBattleScene();
    ShopScene = new TLcfShopScene();
    NameScene = new TLcfNameScene();
    SaveFileScene = new TLcfSaveFileScene();
    TitleScene = new TLcfTitleScene();
    GameOverScene = new TLcfGameOverScene();
    DebugScene = new TLcfDebugScene();
    RegisterSaveCommand();
    // The menu's save opens the save scene in save mode, returning to it.
    TLcfMenuScene::SetSaveMode = [](bool on) { SaveFileScene->saveMode = on; };
    TLcfMenuScene::SetSaveFromMenu = [](bool on) { SaveFileScene->fromMenu = on; };
    GameInterpreterHooks.field = FieldScene;
    GameInterpreterHooks.battle = BattleScene;
    RegisterBattleCommands();
    RegisterShopCommand();
    RegisterNameCommand();
    GameWorldHooks.battle = &FieldBattleHooks;
}

void DestroyScenes() {
    TLcfMenuScene::SetSaveMode = nullptr;
    TLcfMenuScene::SetSaveFromMenu = nullptr;
    if (GameInterpreterHooks.field == FieldScene) GameInterpreterHooks.field = nullptr;
    if (GameInterpreterHooks.battle == BattleScene) GameInterpreterHooks.battle = nullptr;
    if (GameWorldHooks.battle == &FieldBattleHooks) GameWorldHooks.battle = nullptr;
    delete FieldScene;
    delete MenuScene;
    delete BattleScene;
    delete ShopScene;
    delete NameScene;
    delete SaveFileScene;
    delete TitleScene;
    delete GameOverScene;
    delete DebugScene;
    FieldScene = nullptr;
    MenuScene = nullptr;
    ShopScene = nullptr;
    NameScene = nullptr;
    SaveFileScene = nullptr;
    DebugScene = nullptr;
    BattleScene = nullptr;
    TitleScene = nullptr;
    GameOverScene = nullptr;
}

TLcfScene* SceneOf(int number) {
    switch (number) {
        case 0: return FieldScene;
        case 1: return MenuScene;
        case 2: return BattleScene;
        case 3: return ShopScene;
        case 4: return NameScene;
        case 5: return SaveFileScene;
        case 6: return TitleScene;
        case 7: return GameOverScene;
        case 8: return DebugScene;
        default: return nullptr;
    }
}

TBattleTestSetup ReadBattleTestSetup(const std::vector<std::string>& args) {
    TBattleTestSetup s;
    // The box keeps the program's one message for all of these; stderr says
    // which word was wrong and what the words are.
    auto note = [](const std::string& what) {
        NoteOnStderr("battle test: " + what +
                     ". The words are: varnow BattleTest WORD2 WORD3 TROOP FORMATION CONDITION TERRAIN, the last "
                     "four whole numbers (TROOP a monster group of the database, TERRAIN a terrain or 0), e.g. "
                     "varnow BattleTest \"\" Window 1 0 0 0");
    };
    auto fail = [&](const std::string& what) {
        note(what);
        throw Exception(LoadStr(kStrNoMonsterGroup));
    };
    static const char* const kWordNames[] = {"TROOP", "FORMATION", "CONDITION", "TERRAIN"};
    int32_t* values[] = {&s.troopId, &s.formation, &s.condition, &s.terrainId};
    for (size_t i = 0; i < 4; ++i) {
        const std::string word = Word(args, 4 + i);
        if (!ParseDecimal(word, *values[i]))
            fail(std::string(kWordNames[i]) + " (word " + std::to_string(4 + i) + ") is " +
                 (i + 4 < args.size() ? "\"" + word + "\", no whole number" : "missing"));
    }
    const TLcfGroundItem* terrain = nullptr;
    if (s.terrainId >= 1) {
        terrain = DbGround ? DbGround->Find(s.terrainId) : nullptr;
        if (!terrain) fail("there is no terrain " + std::to_string(s.terrainId));
    }
    // The troop itself is looked up when the battle starts, which raises the
    // same message; only the note is given here.
    if (DbMonGroup && !DbMonGroup->Find(s.troopId))
        note("there is no monster group " + std::to_string(s.troopId) + " (the database has " +
             std::to_string(DbMonGroup->Count()) + ")");
    bool terrainBackdrop = s.formation == 0 && DbBattle && DbBattle->autoPlacement == 1 && s.terrainId >= 1;
    if (terrainBackdrop)
        s.backdrop = terrain->backdrop;
    else if (DbSystem)
        s.backdrop = DbSystem->battleTestBackdrop;
    return s;
}

namespace {

void SetupBattleTest() {
    GameSystem->scene = kSceneBattle;
    BattleTestSetup = ReadBattleTestSetup(GameCommandLine);
    TLcfgEncounterBattle& setup = BattleScene->setup;
    setup = TLcfgEncounterBattle();
    setup.escapeAllowed = true;
    setup.troopId = BattleTestSetup.troopId;
    setup.formation = BattleTestSetup.formation;
    setup.startCondition = BattleTestSetup.condition;
    setup.terrainId = BattleTestSetup.terrainId;
    setup.backdrop = BattleTestSetup.backdrop;
    // The test party, as the database's battle test names it.
    while (GamePartyInfo->MemberCount() > 0) GamePartyInfo->RemoveMember(GamePartyInfo->MemberId(0));
    if (DbSystem) {
        for (int i = 0; i < DbSystem->battleTestParty.Count(); ++i) {
            const TLcfTestPlayerItem& entry = *DbSystem->battleTestParty.Items(i);
            GamePartyInfo->AddMember(entry.heroId);
            TLcfgPlayerItem* a = GamePlayers->Get(entry.heroId);
            a->LowerLevel(100);
            a->RaiseLevel(entry.level - 1, false);
            for (int slot = 0; slot < TLcfgPlayerItem::kSlots; ++slot) a->Unequip(slot);
            for (int slot = 0; slot < TLcfgPlayerItem::kSlots; ++slot) {
                const int32_t item = entry.GetEquipment(slot);
                if (item > 0 && a->CanEquip(slot, item)) a->Equip(slot, item);
            }
            a->FullRecover();
        }
    }
    for (int32_t id = 1; DbItem && id <= DbItem->Count(); ++id)
        if (GamePartyInfo->ItemUsable(id)) GamePartyInfo->GainItem(id, 99);
    GameSystem->PlayMusic(GameSystem->Music(kGameMusicBattle));
    GameSystem->PlaySound(GameSystem->Sound(kSoundBattleStart));
}

}  // namespace

void GameReset() {
    ++GameResetCount;
    CantrelStopMusic();
    CantrelStopAllSounds();
    TSorvoBoard& board = GameDraw->Board();
    board.Clear();
    board.Brightness = 0;
    GameDraw->Flip();
    GameSaveData->Reset();
    // A message up at the reset must not greet the next game.
    if (GameMessagePool) GameMessagePool->Clear();
    if (GameMessageWindow) GameMessageWindow->CloseNow();
    for (TLcfScene* s : {static_cast<TLcfScene*>(FieldScene), MenuScene, static_cast<TLcfScene*>(BattleScene),
                         static_cast<TLcfScene*>(ShopScene), static_cast<TLcfScene*>(NameScene),
                         static_cast<TLcfScene*>(SaveFileScene), static_cast<TLcfScene*>(TitleScene),
                         static_cast<TLcfScene*>(GameOverScene)})
        s->Reset();
    // The title waits until F12 is let go, and 20 frames more.
    while (platform::Sys().IsKeyHeld(platform::Key::F12)) GameDraw->WaitFrame();
    for (int i = 0; i < 20; ++i) GameDraw->WaitFrame();
    if (BattleTestMode)
        SetupBattleTest();
    else
        GameSystem->scene = 6;
}

void RunSceneFrame() {
    uint8_t scene = GameSystem->scene;
    ++GameSystem->frameCount;
    GameInput->Update();
    if (TLcfScene* s = SceneOf(scene)) s->Update();
    // A new scene runs its first Update in this same frame.
    if (GameSystem->scene != scene) return;
    bool draw = GameDraw->GetLag() < GameDraw->MaxLag() / 2 || (scene == 0 && FieldScene->ForceDraw);
    if (draw) {
        if (TLcfScene* s = SceneOf(scene)) {
            s->Draw();
            GameDraw->Flip();
        }
    }
    GameDraw->WaitFrame();
}

void SorvoDrawMain() {
    GameReset();
    while (!BattleTestMode || GameSystem->scene == 2) RunSceneFrame();
    // The test battle is over: the program closes.
    GameDraw->Terminate();
}
