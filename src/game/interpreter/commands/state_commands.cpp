// Commands that change the game's counters: switches, variables, the two
// timers, gold, the inventory and the party line-up. Every one but the gold
// command makes the map events choose their pages again, since any of these
// values can be a page condition.

#include <algorithm>
#include <array>

#include "data/clamp.h"
#include "data/errors.h"
#include "data/random.h"
#include "game/actors/player.h"
#include "game/character/character.h"
#include "game/enemies/monster.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace commands {

namespace {

// Variables hold values in this range; results are clamped into it.
constexpr int64_t kVariableLimit = 9999999;

int32_t Variable(int32_t id) { return GameSystem ? GameSystem->GetVariable(id) : 0; }

void RefreshMapEvents() {
    if (IMapWorldHooks* map = GameInterpreterHooks.map) map->RefreshAll();
}

// The ids a switch or variable command works on, ascending: p0 0 the id
// p1, 1 the ids p1 to p2 (none when p2 < p1), 2 the id held in variable
// p1. Ids outside 1..cap are never stored, so the range is cut to them: a
// range up to 2^31 costs no more than the cap.
struct IdRange {
    int32_t first = 1, last = 0;  // empty
};

IdRange TargetIds(const TLcfEventScriptLine& line, int32_t cap) {
    IdRange r;
    switch (line.GetParam(0)) {
    case 0: r.first = r.last = line.GetParam(1); break;
    case 1:
        r.first = line.GetParam(1);
        r.last = line.GetParam(2);
        break;
    case 2: r.first = r.last = Variable(line.GetParam(1)); break;
    default: return IdRange{};
    }
    r.first = std::max(r.first, 1);
    r.last = std::min(r.last, cap);
    return r;
}

// A uniform draw from 0..span-1 for spans beyond what one draw covers.
int64_t RandomBelow(int64_t span) {
    if (span <= INT32_MAX) return Random(int32_t(span));
    const uint64_t wide = (uint64_t(uint32_t(Random(1 << 16))) << 16) | uint64_t(uint32_t(Random(1 << 16)));
    return int64_t(wide % uint64_t(span));
}

int32_t ActorValue(int32_t actorId, int32_t which) {
    if (!GamePlayers) throw Exception::FromId(65289);
    const TLcfgPlayerItem& actor = *GamePlayers->Get(actorId);
    switch (which) {
    case 0: return actor.Level();
    case 1: return actor.Exp();
    case 2: return actor.hp;
    case 3: return actor.sp;
    case 4: return actor.MaxHP();
    case 5: return actor.MaxSP();
    case 6: return actor.EffectiveAttack();
    case 7: return actor.EffectiveDefense();
    case 8: return actor.EffectiveSpirit();
    case 9: return actor.EffectiveAgility();
    case 10: case 11: case 12: case 13: case 14: return actor.Equipment(which - 10);
    }
    return 0;
}

// Enemy `index` of the troop (from 0). Outside a battle the troop is empty,
// and a map event that reads an enemy then reads 0 rather than stopping
// the game with an error.
int32_t EnemyValue(int32_t index, int32_t which) {
    const TLcfgMonsterItem* enemy = GameMonsters ? GameMonsters->Items(index) : nullptr;
    if (!enemy) return 0;
    switch (which) {
    case 0: return enemy->hp;
    case 1: return enemy->sp;
    case 2: return enemy->MaxHP();
    case 3: return enemy->MaxSP();
    case 4: return enemy->EffectiveAttack();
    case 5: return enemy->EffectiveDefense();
    case 6: return enemy->EffectiveSpirit();
    case 7: return enemy->EffectiveAgility();
    }
    return 0;
}

// Facing 0-7 as the digit of the numeric keypad that points that way.
int32_t KeypadDigit(int32_t direction) {
    static constexpr std::array<int32_t, 8> kDigits = {8, 6, 2, 4, 9, 3, 1, 7};
    return direction >= 0 && direction < 8 ? kDigits[size_t(direction)] : 0;
}

int32_t CharacterValue(TLcfgBaseScripter& scripter, const TLcfgScriptData& frame, int32_t reference, int32_t which) {
    const TLcfgCharacter* c = scripter.ResolveCharacter(frame, reference);
    if (!c) return 0;
    switch (which) {
    case 0: return c->mapId;
    case 1: return c->x;
    case 2: return c->y;
    case 3: return KeypadDigit(c->facing);
    case 4: return c->ScreenX();
    case 5: return c->ScreenY();
    }
    return 0;
}

int32_t GameValue(int32_t which) {
    const TLcfgPartyInfo* party = GamePartyInfo;
    switch (which) {
    case 0: return party ? party->gold : 0;
    case 1: return party ? party->Timer1Seconds() : 0;
    case 2: return party ? party->MemberCount() : 0;
    case 3: return GameSystem ? GameSystem->saveCount : 0;
    case 4: return party ? party->battles : 0;
    case 5: return party ? party->victories : 0;
    case 6: return party ? party->defeats : 0;
    case 7: return party ? party->escapes : 0;
    case 8: return GameSystem ? GameSystem->MusicPosition() : 0;
    case 9: return party ? party->Timer2Seconds() : 0;
    }
    return 0;
}

// The operand of ControlVariables by its kind p4, with p5 and p6.
int64_t Operand(TLcfgBaseScripter& scripter, const TLcfgScriptData& frame, const TLcfEventScriptLine& line) {
    const int32_t p5 = line.GetParam(5), p6 = line.GetParam(6);
    switch (line.GetParam(4)) {
    case 0: return p5;
    case 1: return Variable(p5);
    case 2: return Variable(Variable(p5));
    case 3: {
        const int64_t low = std::min(p5, p6), high = std::max(p5, p6);
        return low + RandomBelow(high - low + 1);
    }
    case 4:
        if (!GamePartyInfo) return 0;
        if (p6 == 0) return GamePartyInfo->ItemCount(p5);
        if (p6 == 1) return GamePartyInfo->EquippedCount(p5);
        return 0;
    case 5: return ActorValue(p5, p6);
    case 6: return CharacterValue(scripter, frame, p5, p6);
    case 7: return GameValue(p5);
    case 8: return EnemyValue(p5, p6);
    }
    return 0;
}

// v op x in 64 bits; division and remainder truncate toward zero (the
// remainder takes the sign of v). The caller keeps x from being 0 there.
int64_t Apply(int32_t op, int64_t v, int64_t x) {
    switch (op) {
    case 0: return x;
    case 1: return v + x;
    case 2: return v - x;
    case 3: return v * x;
    case 4: return v / x;
    case 5: return v % x;
    }
    return v;
}

}  // namespace

int32_t Amount(int32_t source, int32_t value) {
    if (source == 0) return value;
    if (source == 1) return Variable(value);
    return 0;
}

// Operation p3: 0 on, 1 off, 2 toggle; any other changes nothing.
VARNOW_COMMAND(ControlSwitches) {
    (void)scripter;
    (void)frame;
    const int32_t op = line.GetParam(3);
    if (GameSystem && op >= 0 && op <= 2) {
        const IdRange ids = TargetIds(line, TLcfgSystem::kMaxSwitchId);
        for (int32_t id = ids.first; id <= ids.last; ++id)
            GameSystem->SetSwitch(id, op == 2 ? !GameSystem->GetSwitch(id) : op == 0);
    }
    RefreshMapEvents();
}

// Each target, in ascending id order, gets its own operand (a range draws
// a random number per variable).
VARNOW_COMMAND(ControlVariables) {
    if (GameSystem) {
        const int32_t op = line.GetParam(3);
        const IdRange ids = TargetIds(line, TLcfgSystem::kMaxVariableId);
        for (int32_t id = ids.first; id <= ids.last; ++id) {
            int64_t x = Operand(scripter, frame, line);
            if ((op == 4 || op == 5) && x == 0) x = 1;
            const int64_t v = Apply(op, GameSystem->GetVariable(id), x);
            GameSystem->SetVariable(id, int32_t(Clamp(v, -kVariableLimit, kVariableLimit)));
        }
    }
    RefreshMapEvents();
}

// Timer p5 (0 timer 1, else timer 2). p0 0 sets it to p2 seconds (p1 0) or
// the seconds in variable p2 (p1 1); 1 starts it (p3 visible, p4 runs in
// battle); 2 stops it.
VARNOW_COMMAND(ControlTimer) {
    (void)scripter;
    (void)frame;
    const int which = line.GetParam(5) == 0 ? 0 : 1;
    if (GamePartyInfo) {
        switch (line.GetParam(0)) {
        case 0: {
            const int32_t source = line.GetParam(1);
            if (source == 0 || source == 1) GamePartyInfo->SetTimer(which, Amount(source, line.GetParam(2)));
            break;
        }
        case 1: GamePartyInfo->StartTimer(which, line.GetParam(3) != 0, line.GetParam(4) != 0); break;
        case 2: GamePartyInfo->StopTimer(which); break;
        }
    }
    RefreshMapEvents();
}

// No page refresh: gold is no page condition.
VARNOW_COMMAND(ChangeGold) {
    (void)scripter;
    (void)frame;
    if (!GamePartyInfo) return;
    const int32_t amount = Amount(line.GetParam(1), line.GetParam(2));
    if (line.GetParam(0) == 0)
        GamePartyInfo->GainGold(amount);
    else if (line.GetParam(0) == 1)
        GamePartyInfo->LoseGold(amount);
}

VARNOW_COMMAND(ChangeItems) {
    (void)scripter;
    (void)frame;
    if (GamePartyInfo) {
        const int32_t item = Amount(line.GetParam(1), line.GetParam(2));
        const int32_t count = Amount(line.GetParam(3), line.GetParam(4));
        if (line.GetParam(0) == 0)
            GamePartyInfo->GainItem(item, count);
        else if (line.GetParam(0) == 1)
            GamePartyInfo->LoseItem(item, count);
    }
    RefreshMapEvents();
}

// p0 0 add, 1 remove the actor chosen by p1/p2. In battle a shrunken party
// packs the command queue: the actors that were waiting for input and are
// still members keep their order with their new party indexes.
VARNOW_COMMAND(ChangePartyMembers) {
    (void)scripter;
    (void)frame;
    TLcfgInterpreterHooks& hooks = GameInterpreterHooks;
    const bool inBattle = GameSystem && GameSystem->scene == kSceneBattle;
    constexpr int kQueue = 4;
    std::array<int32_t, kQueue> noted;
    noted.fill(-1);
    if (inBattle && hooks.battle && GamePartyInfo)
        for (int i = 0; i < kQueue; ++i) {
            const int32_t index = hooks.battle->CommandQueueEntry(i);
            if (index >= 0 && index < GamePartyInfo->MemberCount()) noted[size_t(i)] = GamePartyInfo->MemberId(index);
        }

    const int before = GamePartyInfo ? GamePartyInfo->MemberCount() : 0;
    if (GamePartyInfo) {
        const int32_t actorId = Amount(line.GetParam(1), line.GetParam(2));
        if (line.GetParam(0) == 0) {
            // An actor the game does not have would join as a member that
            // every later party lookup fails on: it is not added.
            if (GamePlayers && GamePlayers->Find(actorId)) {
                GamePartyInfo->AddMember(actorId);
                if (inBattle) GamePlayers->Reposition();
            }
        } else if (line.GetParam(0) == 1) {
            GamePartyInfo->RemoveMember(actorId);
        }
    }

    if (hooks.map) {
        hooks.map->RefreshPartyGraphic();
        hooks.map->RefreshAll();
    }
    if (GameSystem && GameSystem->scene == kSceneField && hooks.field) hooks.field->CheckGameOver();

    const int after = GamePartyInfo ? GamePartyInfo->MemberCount() : 0;
    if (!inBattle || !hooks.battle || after >= before) return;
    int packed = 0;
    for (int32_t actorId : noted) {
        if (actorId < 0) continue;
        for (int slot = 0; slot < after; ++slot)
            if (GamePartyInfo->MemberId(slot) == actorId) {
                hooks.battle->SetCommandQueueEntry(packed++, slot);
                break;
            }
    }
    for (int i = packed; i < kQueue; ++i) hooks.battle->SetCommandQueueEntry(i, -1);
    hooks.battle->PartyShrank();
}

}  // namespace commands
