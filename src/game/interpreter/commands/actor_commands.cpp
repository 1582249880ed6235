// Commands that change actors: experience, level, parameters, skills,
// equipment, HP, SP, conditions, recovery, damage, class and battle
// commands, applied to one actor or to every party member; and the name,
// title, walking graphic and face of one actor, a vehicle's graphic and the
// repeat settings of an actor's next battle.

#include <algorithm>
#include <vector>

#include "data/database/database.h"
#include "data/errors.h"
#include "data/random.h"
#include "game/actors/player.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/vehicle/ship.h"

namespace commands {

namespace {

TLcfgPlayerItem& Actor(int32_t id) {
    if (!GamePlayers) throw Exception::FromId(65289);
    return *GamePlayers->Get(id);
}

// The targets of a fan-out command: p0 0 every party member, 1 the actor
// p1, anything else the actor whose id is in variable p1. The party is
// taken as it stands before the first target is touched.
std::vector<TLcfgPlayerItem*> TargetActors(const TLcfEventScriptLine& line) {
    std::vector<TLcfgPlayerItem*> actors;
    switch (line.GetParam(0)) {
    case 0:
        if (GamePartyInfo)
            for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot)
                actors.push_back(&Actor(GamePartyInfo->MemberId(slot)));
        break;
    case 1: actors.push_back(&Actor(line.GetParam(1))); break;
    default: actors.push_back(&Actor(Amount(1, line.GetParam(1)))); break;
    }
    return actors;
}

// Runs `change` on every target, then, on the field, the game-over test.
// A command on an empty party does nothing at all.
template <typename Change>
void ForEachTargetActor(const TLcfEventScriptLine& line, Change change) {
    const std::vector<TLcfgPlayerItem*> actors = TargetActors(line);
    if (actors.empty()) return;
    for (TLcfgPlayerItem* actor : actors) change(*actor);
    if (GameSystem && GameSystem->scene == kSceneField)
        if (IFieldSceneHooks* field = GameInterpreterHooks.field) field->CheckGameOver();
}

bool InBattle() { return GameSystem && GameSystem->scene == kSceneBattle; }

void RefreshPartyGraphic() {
    if (IMapWorldHooks* map = GameInterpreterHooks.map) map->RefreshPartyGraphic();
}

VARNOW_COMMAND(ChangeExp) {
    (void)scripter;
    (void)frame;
    const int32_t amount = Amount(line.GetParam(3), line.GetParam(4));
    const int32_t mode = line.GetParam(2);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.GainExp(amount, line.GetParam(5) != 0);
        else if (mode == 1)
            a.LoseExp(amount);
    });
}

VARNOW_COMMAND(ChangeLevel) {
    (void)scripter;
    (void)frame;
    const int32_t amount = Amount(line.GetParam(3), line.GetParam(4));
    const int32_t mode = line.GetParam(2);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.RaiseLevel(amount, line.GetParam(5) != 0);
        else if (mode == 1)
            a.LowerLevel(amount);
    });
}

// p3 the parameter (0 max HP ... 5 agility); the amount by p4 from p5.
VARNOW_COMMAND(ChangeStat) {
    (void)scripter;
    (void)frame;
    const int32_t kind = line.GetParam(3);
    const int32_t amount = Amount(line.GetParam(4), line.GetParam(5));
    const int32_t mode = line.GetParam(2);
    if (kind < 0 || kind > 5) return;
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.AddParamModifier(kind, amount);
        else if (mode == 1)
            a.SubParamModifier(kind, amount);
    });
}

VARNOW_COMMAND(ChangeSkills) {
    (void)scripter;
    (void)frame;
    const int32_t skill = Amount(line.GetParam(3), line.GetParam(4));
    const int32_t mode = line.GetParam(2);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.LearnSkill(skill);
        else if (mode == 1)
            a.ForgetSkill(skill);
    });
}

// Where an equipped item goes: its kind's slot, except that a one-handed
// weapon given to a two-weapon actor whose first hand holds a one-handed
// weapon and whose second hand is free goes to the second hand.
int EquipSlotFor(const TLcfgPlayerItem& actor, const TLcfItemItem& item) {
    const int slot = item.EquipSlot();
    if (!item.IsWeapon() || !actor.twoWeapons || actor.Equipment(1) != 0) return slot;
    const TLcfItemItem* first = DbItem->Find(actor.Equipment(0));
    if (!first || !first->IsWeapon()) return slot;
    if (item.IsTwoHandedWeapon() || first->IsTwoHandedWeapon()) return slot;
    return 1;
}

bool HoldsWeapon(const TLcfgPlayerItem& actor, int slot) {
    const TLcfItemItem* item = DbItem->Find(actor.Equipment(slot));
    return item && item->IsWeapon();
}

// p2 0 equip the item by p3 from p4; 1 take off slot p3 (5 all five).
VARNOW_COMMAND(ChangeEquipment) {
    (void)scripter;
    (void)frame;
    const int32_t mode = line.GetParam(2);
    const int32_t slot = line.GetParam(3);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0) {
            if (!DbItem) throw Exception::FromId(65284);
            const TLcfItemItem& item = *DbItem->FindItem(Amount(line.GetParam(3), line.GetParam(4)));
            const int to = EquipSlotFor(a, item);
            if (to >= 0) a.Equip(to, item.Id());
        } else if (mode == 1) {
            if (slot == 5)
                for (int s = 0; s < TLcfgPlayerItem::kSlots; ++s) a.Unequip(s);
            else if (slot >= 0 && slot < TLcfgPlayerItem::kSlots)
                a.Unequip(slot);
        }
        if (InBattle() && DbItem && (HoldsWeapon(a, 0) || HoldsWeapon(a, 1)))
            if (IBattleSceneHooks* battle = GameInterpreterHooks.battle) battle->RebuildBattleSprites(a.Id());
    });
}

VARNOW_COMMAND(ChangeHP) {
    (void)scripter;
    (void)frame;
    const int32_t amount = Amount(line.GetParam(3), line.GetParam(4));
    const int32_t mode = line.GetParam(2);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.RecoverHp(amount);
        else if (mode == 1)
            a.LoseHp(amount, line.GetParam(5) != 0);
    });
}

VARNOW_COMMAND(ChangeMP) {
    (void)scripter;
    (void)frame;
    const int32_t amount = Amount(line.GetParam(3), line.GetParam(4));
    const int32_t mode = line.GetParam(2);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.GainSp(amount);
        else if (mode == 1)
            a.LoseSp(amount);
    });
}

VARNOW_COMMAND(ChangeCondition) {
    (void)scripter;
    (void)frame;
    const int32_t condition = line.GetParam(3);
    const int32_t mode = line.GetParam(2);
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        if (mode == 0)
            a.InflictCondition(condition);
        else if (mode == 1)
            a.CureCondition(condition);
    });
}

VARNOW_COMMAND(FullHeal) {
    (void)scripter;
    (void)frame;
    ForEachTargetActor(line, [](TLcfgPlayerItem& a) { a.FullRecover(); });
}

// Damage p2 lessened by p3 × defense / 400 and p4 × spirit / 800 (each
// product divided on its own, in 64 bits), spread by p5 tenths around it;
// stored in variable p7 when p6 is set. It can kill, as in battle.
VARNOW_COMMAND(DealDamage) {
    (void)scripter;
    (void)frame;
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        int64_t damage = int64_t(line.GetParam(2)) - int64_t(line.GetParam(3)) * a.EffectiveDefense() / 400 -
                         int64_t(line.GetParam(4)) * a.EffectiveSpirit() / 800;
        damage = std::max<int64_t>(damage, 0);
        if (line.GetParam(5) > 0) {
            const int64_t spread = std::clamp<int64_t>(damage * line.GetParam(5) / 10, 1, INT32_MAX - 1);
            damage += Random(int32_t(spread + 1)) - spread / 2;
        }
        const int32_t dealt = int32_t(std::clamp<int64_t>(damage, INT32_MIN, INT32_MAX));
        if (line.GetParam(6) != 0 && GameSystem) GameSystem->SetVariable(line.GetParam(7), dealt);
        a.DamageHp(dealt, true);
    });
}

VARNOW_COMMAND(ChangeActorClass) {
    (void)scripter;
    (void)frame;
    ForEachTargetActor(line, [&](TLcfgPlayerItem& a) {
        a.ChangeClass(line.GetParam(2), line.GetParam(3) != 0, line.GetParam(4), line.GetParam(5),
                      line.GetParam(6) != 0);
    });
}

VARNOW_COMMAND(ChangeActorBattleCommands) {
    (void)scripter;
    (void)frame;
    ForEachTargetActor(line,
                       [&](TLcfgPlayerItem& a) { a.ChangeBattleCommand(line.GetParam(2), line.GetParam(3) != 0); });
}

VARNOW_COMMAND(ChangeActorName) {
    (void)scripter;
    (void)frame;
    Actor(line.GetParam(0)).SetName(line.text);
}

VARNOW_COMMAND(ChangeActorTitle) {
    (void)scripter;
    (void)frame;
    Actor(line.GetParam(0)).SetTitle(line.text);
}

VARNOW_COMMAND(ChangeActorGraphic) {
    (void)scripter;
    (void)frame;
    Actor(line.GetParam(0)).SetSprite(line.text, line.GetParam(1), line.GetParam(2) != 0);
    RefreshPartyGraphic();
}

VARNOW_COMMAND(ChangeActorFace) {
    (void)scripter;
    (void)frame;
    const int32_t id = line.GetParam(0);
    Actor(id).SetFace(line.text, line.GetParam(1));
    if (GamePartyInfo)
        for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot)
            if (GamePartyInfo->MemberId(slot) == id) GamePartyInfo->LoadFace(slot);
}

// Vehicle p0: 0 boat, 1 ship, 2 airship.
VARNOW_COMMAND(ChangeVehicleGraphic) {
    (void)scripter;
    (void)frame;
    const int32_t which = line.GetParam(0);
    if (which < 0 || which > 2) return;
    if (TLcfgShip* vehicle = GameVehicle(which + 1)) {
        vehicle->SetSprite(line.text, line.GetParam(1));
        vehicle->LoadSprite();
    }
}

// Actor p0 (an id up to the number of actors; one of 0 or below is missing,
// as for every actor command): the attack of battle command p1 hits p2
// times as many in its next battle.
VARNOW_COMMAND(SetActorBattleFields) {
    (void)scripter;
    (void)frame;
    const int32_t id = line.GetParam(0);
    if (GamePlayers && id > GamePlayers->Count()) return;
    TLcfgPlayerItem& actor = Actor(id);
    actor.repeatCommand = line.GetParam(1);
    actor.repeatCount = line.GetParam(2);
}

}  // namespace

void RegisterActorCommands() {
    SetCommandHandler(1007, SetActorBattleFields);
    SetCommandHandler(1008, ChangeActorClass);
    SetCommandHandler(1009, ChangeActorBattleCommands);
    SetCommandHandler(10410, ChangeExp);
    SetCommandHandler(10420, ChangeLevel);
    SetCommandHandler(10430, ChangeStat);
    SetCommandHandler(10440, ChangeSkills);
    SetCommandHandler(10450, ChangeEquipment);
    SetCommandHandler(10460, ChangeHP);
    SetCommandHandler(10470, ChangeMP);
    SetCommandHandler(10480, ChangeCondition);
    SetCommandHandler(10490, FullHeal);
    SetCommandHandler(10500, DealDamage);
    SetCommandHandler(10610, ChangeActorName);
    SetCommandHandler(10620, ChangeActorTitle);
    SetCommandHandler(10630, ChangeActorGraphic);
    SetCommandHandler(10640, ChangeActorFace);
    SetCommandHandler(10650, ChangeVehicleGraphic);
}

}  // namespace commands
