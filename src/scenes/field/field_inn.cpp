#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/windows/message_window.h"

void TLcfFieldScene::RestAtInn() {
    if (!GameSystem) return;
    const TLcfMusic before = GameSystem->MusicRecord(kGameMusicCurrent);
    GameSystem->FadeOutMusic(800);
    if (GameMessageWindow) GameMessageWindow->Close();
    if (GameParty) GameParty->ResetAnimation();
    FadeOut(3);
    GameSystem->PlayMusic(GameSystem->Music(kGameMusicInn));
    if (GamePartyInfo)
        for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot)
            if (TLcfgPlayerItem* member = GamePartyInfo->Member(slot)) member->FullRecover();
    // The screen is black: frames pass without drawing while the inn's tune
    // plays its first round, and no longer than the bound for tunes that
    // never end.
    for (int frame = 0; frame < kInnFrames && InnMusicRunning && InnMusicRunning(); ++frame) {
        GameDraw->Flip();
        GameDraw->WaitFrame();
    }
    GameSystem->PlayMusic(before);
    FadeIn(3);
}
