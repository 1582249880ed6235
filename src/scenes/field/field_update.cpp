#include "scenes/field/field_scene.h"

#include "data/database/database.h"
#include "data/database/system.h"
#include "game/actors/player_item.h"
#include "game/character/character.h"
#include "game/common_events/common_event_state.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "game/panorama/panorama.h"
#include "game/party/party_info.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/audio/audio_cantrel.h"
#include "platform/platform.h"
#include "scenes/startup.h"
#include "scenes/windows/message_window.h"

TLcfFieldScene::TLcfFieldScene() {
    InnMusicRunning = [] { return CantrelMusicPlaying() != 0 && CantrelMusicLooped() == 0; };
    DebugKeyHeld = [] { return platform::Sys().IsKeyHeld(platform::Key::F9); };
    // The zoom transition and the message box's placement centre on the
    // party while on the field.
    TLcfScene::PartyScreenPosition = [](int32_t& x, int32_t& y) {
        if (!GameParty) return;
        x = GameParty->ScreenX();
        y = GameParty->ScreenY();
    };
    for (auto& list : layers_) list.reserve(64);
}

TLcfFieldScene::~TLcfFieldScene() { TLcfScene::PartyScreenPosition = nullptr; }

void TLcfFieldScene::Reset() {
    TLcfScene::Reset();
    started = false;
    transferPending = false;
    targetMapId = targetX = targetY = targetFacing = 0;
}

void TLcfFieldScene::Update() {
    if (!started) {
        FadeIn(10);
        started = true;
    }
    // A new message must not replay the opening while the box still closes.
    if (GameMessageWindow && GameMessageWindow->IsClosing()) GameMessageWindow->alreadyOpen = false;
    if (GameMap) {
        for (int i = 0; i < GameMap->CharacterCount(); ++i)
            if (TLcfgCharacter* c = GameMap->CharacterByIndex(i)) c->updated = 0;
    }
    if (GameCommonEvents) GameCommonEvents->UpdateAll();
    if (GameMap) {
        // The count is read each time: an event script may board a vehicle
        // onto this map.
        for (int i = 0; i < GameMap->CharacterCount(); ++i)
            if (TLcfgCharacter* c = GameMap->CharacterByIndex(i)) c->Update();
    }
    if (GameMessageWindow) GameMessageWindow->Update();
    if (GamePartyInfo) GamePartyInfo->TickTimers();
    if (GameScreen) GameScreen->Update();
    if (GamePictures) GamePictures->UpdateAll();
    if (GameScripter) GameScripter->Update();
    if (GamePanorama) GamePanorama->AutoScroll();
    PerformTeleport();
    if (GameMessageWindow && GameMessageWindow->CloseStep() == 7) ForceDraw = true;
    if (!GameSystem) return;
    if (GameSystem->scene != kSceneField) {
        FadeOut(10);
        started = false;
    } else if (TestPlayMode && DebugKeyHeld && DebugKeyHeld()) {
        GameSystem->scene = kSceneDebug;
    }
}

void TLcfFieldScene::UpdateEventsOnce() {
    if (!GameMap) return;
    for (int i = 0; i < GameMap->events.Count(); ++i) GameMap->events.Items(i)->updated = 0;
    if (GameCommonEvents) GameCommonEvents->UpdateAll();
    for (int i = 0; i < GameMap->events.Count(); ++i) GameMap->events.Items(i)->Update();
}

void TLcfFieldScene::CheckGameOver() {
    if (!GamePartyInfo || !GameSystem || GamePartyInfo->MemberCount() == 0) return;
    for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot) {
        const TLcfgPlayerItem* member = GamePartyInfo->Member(slot);
        if (member && member->IsAlive()) return;
    }
    if (GameSystem->scene == kSceneField && GameMessageWindow) {
        GameMessageWindow->Close();
        // The close takes a few frames; the bound only guards against a box
        // that never finishes.
        for (int guard = 0; guard < 600 && GameMessageWindow->IsVisible(); ++guard) {
            GameMessageWindow->Update();
            DrawAndWait();
        }
    }
    GameSystem->PlayMusic(GameSystem->Music(kGameMusicGameOver));
    GameSystem->scene = kSceneGameOver;
    FadeOut(3);
}
