// How the party leaves a battle of its own accord (victory with its
// rewards, defeat, escape), the pooled result messages, and the end of a
// battler's turn.

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/windows/message_window.h"

namespace {

const std::string& Term(int id) {
    static const std::string empty;
    return DbVocabulary ? DbVocabulary->Get(id) : empty;
}

int MemberCount() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }
TLcfgPlayerItem* Member(int slot) { return GamePartyInfo ? GamePartyInfo->Member(slot) : nullptr; }

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

}  // namespace

void TLcfBattleScene::ShowPooledMessages() {
    messageLinesUsed = 0;
    if (!GameMessagePool || !GameMessageWindow || !GameSystem) return;
    // The one-line box stands at the top over the battlers; the field's own
    // setting comes back afterwards so that field messages keep avoiding
    // the party.
    const uint8_t avoided = GameSystem->messageAvoidsParty;
    while (GameMessagePool->HasLines()) {
        GameMessageWindow->SetupBattleLine();
        GameSystem->messageAvoidsParty = 0;
        // Each pass takes at least one line, so the loop always ends.
        do {
            GameMessageWindow->AddLine(GameMessagePool->PopFirst());
        } while (GameMessagePool->HasLines() && GameMessageWindow->LineCount() == 0);
        if (GameMessageWindow->LineCount() == 0) continue;
        while (GameMessageWindow->IsVisible() && !GameMessageWindow->AllShown()) {
            if (GameInput) GameInput->Update();
            Tick();
            if (GameMessageWindow->IsVisible() && !GameMessageWindow->AllShown()) DrawAndWait();
        }
    }
    GameMessageWindow->CloseNow();
    GameSystem->messageAvoidsParty = avoided;
}

void TLcfBattleScene::Victory() {
    endState = kVictoryUnderWay;
    if (GameSystem) GameSystem->PlayMusic(GameSystem->Music(kGameMusicBattleEnd));
    WaitFrames(30, 30);
    messageWindow.CloseNow();

    int64_t exp = 0, gold = 0;
    std::vector<int32_t> found;
    for (int i = 0; GameMonsters && i < GameMonsters->Count(); ++i) {
        const TLcfgMonsterItem* e = GameMonsters->Items(i);
        if (!e->present) continue;
        exp += e->Exp();
        gold += e->Gold();
        // At least, not above: a chance of 0 still drops when Random says 0.
        if (e->DropItem() > 0 && e->DropChance() >= Random(100)) found.push_back(e->DropItem());
    }
    const int32_t expGained = int32_t(std::min<int64_t>(exp, INT32_MAX));
    const int32_t goldGained = int32_t(std::min<int64_t>(gold, INT32_MAX));
    if (GameMessagePool) {
        GameMessagePool->Clear();
        GameMessagePool->Add(Term(TLcfVocabulary::kVictory) + "\\|");
        if (expGained > 0)
            GameMessagePool->Add(Printf("%d\x01%s\\.", expGained, Term(TLcfVocabulary::kExperienceReceived).c_str()));
        if (goldGained > 0)
            GameMessagePool->Add(Printf("%s\x01%d%s%s\\.", Term(TLcfVocabulary::kGoldReceivedBefore).c_str(), goldGained,
                                        Term(TLcfVocabulary::kCurrency).c_str(),
                                        Term(TLcfVocabulary::kGoldReceivedAfter).c_str()));
        for (int32_t id : found)
            GameMessagePool->Add(Printf("%s%s\\.", DbItem ? DbItem->FindItem(id)->name.c_str() : "",
                                        Term(TLcfVocabulary::kItemFound).c_str()));
    }
    ShowPooledMessages();
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i); a && a->hp > 0) a->GainExp(expGained, true);
    if (GamePartyInfo) {
        GamePartyInfo->GainGold(goldGained);
        for (int32_t id : found) GamePartyInfo->GainItem(id, 1);
    }
    ShowPooledMessages();
    EndBattle(kVictory);
}

void TLcfBattleScene::Defeat() {
    endState = kDefeatUnderWay;
    if (GameSystem) GameSystem->PlayMusic(GameSystem->Music(kGameMusicGameOver));
    WaitFrames(60, 60);
    messageWindow.CloseNow();
    if (GameMessageWindow) {
        GameMessageWindow->SetupBattleLine();
        GameMessageWindow->AddLine(Term(TLcfVocabulary::kDefeat));
        while (GameMessageWindow->IsVisible() && !GameMessageWindow->AllShown()) {
            if (GameInput) GameInput->Update();
            Tick();
            DrawAndWait();
        }
        GameMessageWindow->CloseNow();
    }
    EndBattle(kDefeat);
}

bool TLcfBattleScene::TryEscape() {
    // The roll is drawn first, under first strike too: the initiative only
    // turns a failed roll into a success, and the random numbers drawn
    // after it stay the same either way.
    if (Random(100) < escapeChance || setup.firstStrike) {
        for (int i = 0; i < MemberCount(); ++i)
            if (TLcfgPlayerItem* a = Member(i)) a->action.kind = TLcfgUnitActItem::kNone;
        PartyFlee();
        return true;
    }
    messageWindow.SetUp();
    messageWindow.SetLine(0, Term(TLcfVocabulary::kEscapeFailed));
    WaitFrames(10, 30);
    messageWindow.CloseNow();
    escapeChance += 10;
    return false;
}

void TLcfBattleScene::PartyFlee() {
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(kSoundEscape));
    SetPhase(kFleeing);
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i); a && !a->IsIncapacitated()) a->pose = 16;
}

void TLcfBattleScene::LeaveByFlight() {
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i)) a->action.kind = TLcfgUnitActItem::kNone;
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(kSoundEscape));
    WaitFrames(10, 30);
    EndBattle(kEscape);
}

// --- The turn --------------------------------------------------------------------------

bool TLcfBattleScene::ExecuteAction(TLcfgUnitItem& battler) { return actions.ExecuteAction(battler); }
