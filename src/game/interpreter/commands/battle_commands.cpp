// Commands that only mean something in a battle: the enemies' HP, SP,
// conditions and presence, the backdrop, battle animations, the battle's
// conditional branch, fleeing and ending the battle. Enemies are named by
// their index in the troop; what the battle scene itself must do goes
// through its link.

#include <algorithm>

#include "data/database/database.h"
#include "data/errors.h"
#include "game/actors/player.h"
#include "game/battle/battle_scene_link.h"
#include "game/enemies/monster.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace commands {

namespace {

// "Event script referenced a monster that does not exist." for an index
// outside the troop.
TLcfgMonsterItem& Enemy(int32_t index) {
    if (!GameMonsters) throw Exception::FromId(65288);
    return *GameMonsters->Member(index);
}

TLcfgPlayerItem& Actor(int32_t id) {
    if (!GamePlayers) throw Exception::FromId(65289);
    return *GamePlayers->Get(id);
}

// The party slot of an actor, -1 when it is not a member.
int32_t PartySlot(int32_t actorId) {
    if (!GamePartyInfo) return -1;
    for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot)
        if (GamePartyInfo->MemberId(slot) == actorId) return slot;
    return -1;
}

int32_t ClampToInt(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

bool BattleCondition(const TLcfEventScriptLine& line) {
    const int32_t p1 = line.GetParam(1), p2 = line.GetParam(2);
    switch (line.GetParam(0)) {
    case 0: {
        const bool on = GameSystem && GameSystem->GetSwitch(p1);
        return p2 == 0 ? on : !on;
    }
    case 1: {
        const int32_t p3 = line.GetParam(3);
        return Compare(Amount(1, p1), line.GetParam(4), p2 == 0 ? p3 : Amount(1, p3));
    }
    case 2: return Actor(p1).IsNormal();
    case 3: return Enemy(p1).IsNormal();
    case 4: {
        const IBattleSceneLink& link = BattleLink();
        const int32_t kind = link.LastTargetKind();
        return (kind == 3 || kind == 4) && link.LastTargetIndex() == p1;
    }
    case 5: {
        const IBattleSceneLink& link = BattleLink();
        return link.LastCommandActorId() == p1 && link.ExecutingCommandId(Actor(p1)) == p2;
    }
    }
    return false;
}

// p2 picks the amount (constant, variable, or a percentage of the enemy's
// HP now, at least 1); p1 heals (0) or hurts (1), p4 lets the loss kill.
VARNOW_COMMAND(ChangeMonsterHP) {
    (void)scripter;
    (void)frame;
    TLcfgMonsterItem& enemy = Enemy(line.GetParam(0));
    const int32_t p3 = line.GetParam(3);
    int32_t amount = 0;
    switch (line.GetParam(2)) {
    case 0:
    case 1: amount = Amount(line.GetParam(2), p3); break;
    case 2: amount = ClampToInt(std::max<int64_t>(1, int64_t(p3) * enemy.hp / 100)); break;
    }
    const int32_t before = enemy.hp;
    if (line.GetParam(1) == 0)
        enemy.RecoverHp(amount);
    else
        enemy.LoseHp(amount, line.GetParam(4) != 0);
    if (before >= 1 && enemy.hp == 0) {
        if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(kSoundEnemyDefeated));
        enemy.StartDeathFade();
    }
}

VARNOW_COMMAND(ChangeMonsterMP) {
    (void)scripter;
    (void)frame;
    TLcfgMonsterItem& enemy = Enemy(line.GetParam(0));
    const int32_t amount = Amount(line.GetParam(2), line.GetParam(3));
    if (line.GetParam(1) == 0)
        enemy.GainSp(amount);
    else
        enemy.LoseSp(amount);
}

VARNOW_COMMAND(ChangeMonsterCondition) {
    (void)scripter;
    (void)frame;
    TLcfgMonsterItem& enemy = Enemy(line.GetParam(0));
    if (line.GetParam(1) == 0)
        enemy.InflictCondition(line.GetParam(2));
    else
        enemy.CureCondition(line.GetParam(2));
}

VARNOW_COMMAND(ShowHiddenMonster) {
    (void)scripter;
    (void)frame;
    Enemy(line.GetParam(0)).present = 1;
}

VARNOW_COMMAND(ChangeBattleBackground) {
    (void)scripter;
    (void)frame;
    BattleLink().ChangeBackdrop(line.text);
}

// On the troop by default: p1 an enemy index or -1 for all. With a fifth
// parameter and p3 set it plays on the party instead, p1 then an actor id
// (or -1); an actor outside the party sees nothing, and nothing waits.
// p2 waits for twice the animation's frames.
VARNOW_COMMAND(ShowBattleAnimation) {
    (void)frame;
    const int32_t animation = line.GetParam(0);
    int32_t target = line.GetParam(1);
    if (line.ParamCount() > 4 && line.GetParam(3) != 0) {
        if (target >= 0) {
            target = PartySlot(target);
            if (target < 0) return;
        }
        if (GamePlayers) GamePlayers->PlayAnimation(animation, 0, target);
    } else if (GameMonsters) {
        GameMonsters->PlayAnimation(animation, false, target);
    }
    if (line.GetParam(2) != 0) {
        const TLcfAnimationItem* a = DbAnimation ? DbAnimation->Find(animation) : nullptr;
        scripter.waitCounter = a ? 2 * a->FrameCount() : 0;
    }
}

// Enters its block as the map's conditional branch does.
VARNOW_COMMAND(BattleConditionalBranch) {
    (void)scripter;
    EnterBranch(frame, line, BattleCondition(line));
}

VARNOW_COMMAND(EndBattle) {
    (void)scripter;
    (void)frame;
    (void)line;
    BattleLink().AbortBattle();
}

// p0 0 the party, 1 every enemy, 2 the enemy p1. p2 (read only when the
// line has it) holds the party back when surrounded and the enemies back
// when they are surrounded; a single enemy never flees a surround.
VARNOW_COMMAND(ForceFlee) {
    (void)scripter;
    (void)frame;
    IBattleSceneLink& link = BattleLink();
    if (!link.EscapeAllowed()) return;
    const bool held = line.ParamCount() > 2 && line.GetParam(2) != 0;
    const int start = link.StartCondition();
    switch (line.GetParam(0)) {
    case 0: {
        if (start == 4 && held) return;
        link.SetEscapeChance(100);
        link.DisableEnemyTurns();
        if (!GamePartyInfo) return;
        for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot)
            if (TLcfgPlayerItem* actor = GamePartyInfo->Member(slot); actor && !actor->IsIncapacitated())
                link.Flee(*actor);
        return;
    }
    case 1:
        if (start == 3 && held) return;
        link.SetEscapeChance(100);
        if (!GameMonsters) return;
        for (int i = 0; i < GameMonsters->Count(); ++i)
            if (TLcfgMonsterItem* enemy = GameMonsters->Items(i); enemy->IsAlive()) link.Flee(*enemy);
        return;
    case 2: {
        if (start == 3) return;
        link.SetEscapeChance(100);
        TLcfgMonsterItem& enemy = Enemy(line.GetParam(1));
        if (enemy.IsAlive()) link.Flee(enemy);
        return;
    }
    }
}

}  // namespace

void RegisterBattleCommands() {
    SetCommandHandler(13110, ChangeMonsterHP);
    SetCommandHandler(13120, ChangeMonsterMP);
    SetCommandHandler(13130, ChangeMonsterCondition);
    SetCommandHandler(13150, ShowHiddenMonster);
    SetCommandHandler(13210, ChangeBattleBackground);
    SetCommandHandler(13260, ShowBattleAnimation);
    SetCommandHandler(13310, BattleConditionalBranch);
    SetCommandHandler(13410, EndBattle);
    SetCommandHandler(1006, ForceFlee);
}

}  // namespace commands
