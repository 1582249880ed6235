#include "data/database/system.h"
#include "game/interpreter/command_handlers.h"
#include "game/map/game_map.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/windows/message_window.h"

void TLcfFieldScene::RequestTeleport(int32_t mapId, int32_t x, int32_t y, int32_t facing) {
    targetMapId = mapId;
    targetX = x;
    targetY = y;
    targetFacing = facing;
    transferPending = true;
}

void TLcfFieldScene::PerformTeleport() {
    if (!transferPending || !GameParty) return;
    // Leaving a vehicle finishes its step first.
    if (GameParty->leaving) return;
    if (GameMessageWindow) GameMessageWindow->Close();
    TSorvoBoard& board = GameDraw->Board();
    const bool lit = board.Brightness > 0;
    const int32_t erase = GameSystem ? GameSystem->Transition(kTransitionTeleportErase) : kNoTransition;
    if (lit && erase != kNoTransition) {
        GameParty->ResetAnimation();
        EraseScreen(erase);
    }
    // Setting the position may run events that request the next transfer.
    // A parallel event that transfers every frame would chain for ever: past
    // the bound the request waits for the next frame, so the game goes on.
    for (int chained = 0; transferPending && chained < kMaxChainedTransfers; ++chained) {
        transferPending = false;
        const int32_t oldMap = GameParty->mapId;
        GameParty->SetPosition(targetMapId, targetX, targetY);
        if (GameParty->mapId != oldMap) {
            // What belonged to the old map goes with it.
            if (GameScreen) {
                GameScreen->StartFlash(0, 0, 0, 0, 0, 0);
                GameScreen->StopMapAnimation();
            }
            if (GamePictures) GamePictures->EraseAll();
        }
        if (board.Brightness == 0) GameParty->ResetAnimation();
        commands::ApplyScriptDirection(*GameParty, targetFacing);
        UpdateEventsOnce();
        GameDraw->ProcessMessages();
    }
    if (!lit) return;
    // Without a show transition an erased map stays hidden: the game's
    // script sets the new scene up and shows the screen itself.
    const int32_t show = GameSystem ? GameSystem->Transition(kTransitionTeleportShow) : kNoTransition;
    if (show != kNoTransition) ShowScreen(show);
}
