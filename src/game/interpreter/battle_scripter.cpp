#include "game/interpreter/battle_scripter.h"

#include "data/database/database.h"
#include "game/actors/player.h"
#include "game/battle/battle_scene_link.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"

TLcfgBattleScripter* GameBattleScripter = nullptr;

namespace {

using Flag = TLcfBattleEventTrigger::Flag;

constexpr uint16_t kTurnConditions = Flag::kTurn | Flag::kMonsterTurn | Flag::kHeroTurn | Flag::kCommand;
constexpr uint16_t kStateConditions =
    Flag::kSwitchA | Flag::kSwitchB | Flag::kVariable | Flag::kExhaustion | Flag::kMonsterHp | Flag::kHeroHp;

// HP as a whole percentage of max HP; a battler without max HP reads 0 %.
int64_t HpPercent(const TLcfgUnitItem& u) {
    const int64_t max = u.MaxHP();
    return max > 0 ? int64_t(u.hp) * 100 / max : 0;
}

bool Between(int64_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

// An enemy of the troop by index; null when there is none (a page naming
// one the troop lacks simply does not run).
TLcfgMonsterItem* Enemy(int32_t index) { return GameMonsters ? GameMonsters->Items(index) : nullptr; }

TLcfgPlayerItem* Actor(int32_t id) { return GamePlayers ? GamePlayers->Find(id) : nullptr; }

bool SwitchOn(int32_t id) { return GameSystem && GameSystem->GetSwitch(id); }

}  // namespace

void TLcfgBattleScripter::EndScript() {
    TLcfgBaseScripter::EndScript();
    if (TMultiInput* input = Hooks().input) input->ResetRepeat();
}

bool TLcfgBattleScripter::ConditionsHold(const TLcfBattleEventTrigger& t, const TLcfgUnitItem* battler) {
    if (t.Has(Flag::kSwitchA) && !SwitchOn(t.switchA)) return false;
    if (t.Has(Flag::kSwitchB) && !SwitchOn(t.switchB)) return false;
    // The variable condition is "at least" only.
    if (t.Has(Flag::kVariable) && !(GameSystem && GameSystem->GetVariable(t.variableId) >= t.variableValue))
        return false;
    if (t.Has(Flag::kTurn) && !(GamePartyInfo && GamePartyInfo->TurnMatches(t.turnA, t.turnB))) return false;
    if (t.Has(Flag::kExhaustion) &&
        !(GamePartyInfo && Between(GamePartyInfo->Exhaustion(), t.exhaustionMin, t.exhaustionMax)))
        return false;
    if (t.Has(Flag::kMonsterHp)) {
        const TLcfgMonsterItem* enemy = Enemy(t.monsterIndex);
        if (!battler || !enemy || !Between(HpPercent(*enemy), t.monsterHpMin, t.monsterHpMax)) return false;
    }
    if (t.Has(Flag::kHeroHp)) {
        const bool member = GamePartyInfo && GamePartyInfo->IsMember(t.heroId);
        const TLcfgPlayerItem* actor = member ? Actor(t.heroId) : nullptr;
        if (!battler || !actor || !Between(HpPercent(*actor), t.heroHpMin, t.heroHpMax)) return false;
    }
    if (t.Has(Flag::kMonsterTurn)) {
        const TLcfgMonsterItem* enemy = Enemy(t.monsterTurnIndex);
        if (!enemy || (battler && battler != enemy) || !enemy->TurnMatches(t.monsterTurnA, t.monsterTurnB))
            return false;
    }
    if (t.Has(Flag::kHeroTurn)) {
        const TLcfgPlayerItem* actor = Actor(t.heroTurnId);
        if (!actor || (battler && battler != actor) || !actor->TurnMatches(t.heroTurnA, t.heroTurnB)) return false;
    }
    if (t.Has(Flag::kCommand)) {
        const TLcfgPlayerItem* actor = Actor(t.commandHeroId);
        if (!battler || !actor || battler != actor || BattleLink().ExecutingCommandId(*actor) != t.commandId)
            return false;
    }
    return true;
}

bool TLcfgBattleScripter::FindTriggeredPage(int32_t troopId, int trigger, TLcfgUnitItem* battler) {
    if (!DbMonGroup) return false;
    const TLcfMonGroupItem* troop = DbMonGroup->Find(troopId);
    if (!troop) return false;
    uint16_t wanted = 0xFFFF;
    if (trigger == kBeforeTurn) wanted = kTurnConditions;
    if (trigger == kAfterEnemyTurn) wanted = kStateConditions;
    for (int i = 0; i < troop->pages.Count(); ++i) {
        const TLcfBattleEventPageItem& page = *troop->pages.Items(i);
        const uint16_t flags = page.trigger.Flags();
        // A page without any condition never runs.
        if (flags == 0 || (flags & wanted) == 0 || PageDone(page.Id())) continue;
        if (!ConditionsHold(page.trigger, battler)) continue;
        CallScript(page.script, 0);
        SetPageDone(page.Id());
        return true;
    }
    return false;
}

void TLcfgBattleScripter::Update() {
    TLcfgInterpreterHooks& hooks = Hooks();
    for (int step = 0; step < kStepsPerFrame; ++step) {
        if (!IsRunning()) return;
        if (waitCounter > 0) {
            --waitCounter;
            return;
        }
        // Lines queued by the battle (level-ups and the like) are shown one
        // per box in the one-line battle window.
        IMessageWindowHooks* window = hooks.messageWindow;
        if (window && hooks.messagePool && hooks.messagePool->HasLines()) {
            if (window->IsVisible() && !window->IsClosing()) return;
            if (GameSystem) GameSystem->faceShown = 0;
            window->SetupBattleLine();
            while (hooks.messagePool->HasLines() && window->LineCount() == 0) {
                const std::string text = hooks.messagePool->TakeLine();
                if (!text.empty()) window->AddLine(text);
            }
            if (window->LineCount() == 0)
                window->Close();
            else
                waitingForMessage = 1;
            return;
        }
        if (waitingForMessage && MessageWindowVisible()) return;
        waitingForMessage = 0;
        if (measureTime) ++timeCounter;
        // Once every enemy is down the victory follows; the page waits. The
        // step still counts, so measured times run on as they always have.
        if (!GameMonsters || GameMonsters->AliveCount() == 0) continue;
        if (!ExecuteCommand()) {
            if (hooks.battle) hooks.battle->DisableEvents();
            return;
        }
    }
}
