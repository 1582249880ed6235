// Command input: the actor command window, target choice and the skill
// and item windows fill the commanding actor's action.

#include <algorithm>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/skill.h"
#include "data/database/system.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"
#include "scenes/battle/battle_scene.h"

namespace {

TLcfgPlayerItem* Member(int slot) { return GamePartyInfo ? GamePartyInfo->Member(slot) : nullptr; }
int MemberCount() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }

void Sound(int index) {
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(index));
}

bool Pressed(int button) { return GameInput && GameInput->IsPressed(button); }

}  // namespace

void TLcfBattleScene::ActorCommandInput() {
    TLcfgPlayerItem* actor = Member(commandingSlot);
    const int layout = BattleLayout();
    if (actor && !actor->CanAct()) {
        commandWindow.SetCursorVisible(false);
        commandWindow.SetActive(false);
        // The status cursor leaves the fallen actor for the next queued one,
        // or no other member could be offered commands again.
        StartGauges();
        return;
    }
    bool chosen = false;
    int32_t commandId = 0;
    if (actor && commandWindow.Active()) {
        TLcfgUnitActItem& act = actor->action;
        if (DecidesByItself(*actor)) {
            if (layout != 1) commandWindow.CloseNow();
            act.kind = TLcfgUnitActItem::kChooseAtTurn;
            chosen = true;
        } else if (Pressed(TMultiInput::kDecision)) {
            const int32_t id = commandWindow.CommandAt(commandWindow.Cursor());
            commandId = std::max(0, id);
            const bool rowCommand = commandWindow.Cursor() == commandWindow.ItemCount() - 1;
            // A refused command plays the buzzer and changes nothing: the
            // cursor stays where the player left it.
            bool accepted = false;
            if (id > 0 && DbBattle) {
                const int kind = DbBattle->commands.FindCommand(id)->kind;
                if (kind == 5 && !EscapePossible()) {
                    Sound(kSoundBuzzer);
                } else {
                    accepted = true;
                    Sound(kSoundDecision);
                    if (layout != 1) commandWindow.CloseNow();
                    commandWindow.SetActive(false);
                    act.switchOnId = act.switchOffId = 0;
                    switch (kind) {
                        case 0:
                            act.kind = TLcfgUnitActItem::kBasic;
                            act.basic = TLcfgUnitActItem::kAttack;
                            chosen = ChooseEnemyTarget(*actor);
                            break;
                        case 3:
                            // Defend, escape and the row command keep the
                            // target of the action before: the battle's
                            // branch on the last command's target reads it.
                            act.kind = TLcfgUnitActItem::kBasic;
                            act.basic = TLcfgUnitActItem::kDefend;
                            commandWindow.SetCursorVisible(false);
                            chosen = true;
                            break;
                        case 4:
                            act.kind = TLcfgUnitActItem::kItem;
                            commandWindow.CloseNow();
                            chosen = ChooseItem(*actor);
                            if (chosen) act.basic = 0;
                            break;
                        case 5:
                            act.kind = TLcfgUnitActItem::kBasic;
                            act.basic = TLcfgUnitActItem::kEscape;
                            actor->pose = 15;
                            commandWindow.SetCursorVisible(false);
                            chosen = true;
                            break;
                        default:
                            act.kind = TLcfgUnitActItem::kSkill;
                            act.basic = TLcfgUnitActItem::kDoNothing;
                            commandWindow.CloseNow();
                            chosen = ChooseSkill(*actor, id);
                            break;
                    }
                }
            } else if (rowCommand) {
                if (!CanChangeRow(*actor)) {
                    Sound(kSoundBuzzer);
                } else {
                    accepted = true;
                    Sound(kSoundDecision);
                    if (layout != 1) commandWindow.CloseNow();
                    act.kind = TLcfgUnitActItem::kBasic;
                    act.basic = TLcfgUnitActItem::kChangeRow;
                    commandWindow.SetCursorVisible(false);
                    chosen = true;
                }
            }
            if (!accepted) return;
            // Chosen or not (a target or list given up), the status window
            // comes back: the gauges run only while it is open.
            if (layout == 1) statusWindow.CloseNow();
            statusWindow.Layout(layout == 0 ? 104 : 0);
            if (layout == 0) {
                monsterWindow.Layout();
                monsterWindow.SetActive(false);
                monsterWindow.SetCursorVisible(false);
            }
        } else if (layout != 0 && Pressed(TMultiInput::kCancel)) {
            Sound(kSoundCancel);
            if (layout == 2)
                commandWindow.CloseNow();
            else
                commandWindow.SetCursorVisible(false);
            commandWindow.SetActive(false);
            // The actor stays queued; the status cursor takes input again so
            // that another member can be picked.
            if (statusWindow.CursorVisible()) statusWindow.SetActive(true);
            SetPhase(kGauges);
            return;
        } else {
            return;
        }
    }
    int place = -1;
    for (int q = 0; q < kQueue - 1; ++q)
        if (queue[size_t(q)] == commandingSlot && commandingSlot >= 0) place = q;
    if (place < 0) {
        std::array<int32_t, kQueue> packed;
        packed.fill(-1);
        int w = 0;
        for (int q = 0; q < kQueue - 1; ++q)
            if (queue[size_t(q)] >= 0 && queue[size_t(q)] < MemberCount()) packed[size_t(w++)] = queue[size_t(q)];
        queue = packed;
        commandingSlot = queue[0];
        commandWindow.CloseNow();
    } else if (!chosen) {
        OpenActorCommands(commandingSlot);
        return;
    } else {
        lastTargetKind = actor->action.targetKind;
        lastTargetIndex = actor->action.targetIndex;
        lastActorId = actor->Id();
        chosenCommands[actor->Id()] = commandId;
        ActorReady(commandingSlot);
    }
    commandWindow.SetActive(false);
    StartGauges();
}

bool TLcfBattleScene::DecidesByItself(const TLcfgPlayerItem& actor) const {
    return actor.show.autoThisBattle || actor.IsBerserk() || actor.IsConfused();
}

void TLcfBattleScene::PlaceCommandsFor(int slot) {
    TLcfgPlayerItem* a = Member(slot);
    if (!a) return;
    if (BattleLayout() == 1)
        commandWindow.PlaceFor(a->Id(), 244, 160, false);
    else if (BattleLayout() == 2)
        commandWindow.PlaceFor(a->Id(), 0, 80, false);
}

bool TLcfBattleScene::CanChangeRow(const TLcfgPlayerItem& actor) const {
    if (actor.row != actor.facing) return true;
    int inRow = 0;
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* m = Member(i); m && m->row == actor.row) ++inRow;
    return inRow >= 2;
}

bool TLcfBattleScene::ChooseEnemyTarget(TLcfgPlayerItem& actor) {
    monsterWindow.Layout();
    if (BattleLayout() == 1) {
        // The status window's lay-out moves its cursor to the first row,
        // so the commands shown are the commanding actor's.
        statusWindow.Layout(0);
        PlaceCommandsFor(commandingSlot);
    }
    if (GameInput) GameInput->Flush();
    targetingEnemies = 1;
    monsterWindow.SetCursorVisible(true);
    monsterWindow.SetActive(true);
    monsterWindow.DrawConditions();
    for (;;) {
        NestedFrame();
        if (Pressed(TMultiInput::kDecision)) break;
        if (Pressed(TMultiInput::kCancel)) {
            Sound(kSoundCancel);
            statusWindow.CloseNow();
            targetingEnemies = 0;
            if (GameInput) GameInput->Flush();
            monsterWindow.CloseNow();
            return false;
        }
    }
    targetingEnemies = 0;
    Sound(kSoundDecision);
    actor.action.targetKind = TLcfgUnitActItem::kOneEnemy;
    actor.action.targetIndex = monsterWindow.SelectedEnemy();
    if (GameInput) GameInput->Flush();
    monsterWindow.CloseNow();
    return true;
}

bool TLcfBattleScene::ChooseActorTarget(TLcfgPlayerItem& actor) {
    targetWindow.Layout(BattleLayout() == 0 ? 104 : 0);
    if (BattleLayout() == 1) PlaceCommandsFor(commandingSlot);
    targetWindow.SetCursorVisible(true);
    targetWindow.SetActive(true);
    targetWindow.customInput = false;
    if (GameInput) GameInput->Flush();
    bool chosen = false;
    for (;;) {
        NestedFrame();
        if (Pressed(TMultiInput::kDecision)) {
            Sound(kSoundDecision);
            actor.action.targetKind = TLcfgUnitActItem::kOneMember;
            actor.action.targetIndex = targetWindow.Cursor();
            chosen = true;
            break;
        }
        if (Pressed(TMultiInput::kCancel)) {
            Sound(kSoundCancel);
            break;
        }
    }
    targetWindow.CloseNow();
    return chosen;
}

bool TLcfBattleScene::TargetBySkill(TLcfgPlayerItem& actor, int32_t skillId) {
    if (!DbSkill) return false;
    const TLcfSkillItem* s = DbSkill->FindSkill(skillId);
    if (s->kind >= 1 && s->kind <= 3) {
        actor.action.targetKind = 0;
        return true;
    }
    switch (s->scope) {
        case 0: return ChooseEnemyTarget(actor);
        case 1: actor.action.targetKind = TLcfgUnitActItem::kTroop; return true;
        case 2:
            actor.action.targetKind = TLcfgUnitActItem::kOneMember;
            actor.action.targetIndex = commandingSlot;
            return true;
        case 3: return ChooseActorTarget(actor);
        default: actor.action.targetKind = TLcfgUnitActItem::kParty; return true;
    }
}

bool TLcfBattleScene::ChooseSkill(TLcfgPlayerItem& actor, int32_t commandId) {
    messageWindow.CloseNow();
    statusWindow.CloseNow();
    monsterWindow.CloseNow();
    // The list as the actor left it: the same top row, the cursor on the
    // skill of its action.
    auto showList = [&] {
        skillWindow.SetupFor(actor.Id(), commandId);
        if (actor.action.skillId > 0) skillWindow.ReturnTo(actor.action.skillId, actor.action.skillTopRow);
        skillWindow.SetActive(true);
        skillWindow.SetCursorVisible(true);
    };
    showList();
    for (;;) {
        NestedFrame();
        if (Pressed(TMultiInput::kDecision)) {
            const int32_t id = skillWindow.SelectedSkill();
            actor.action.skillId = id;
            actor.action.skillTopRow = skillWindow.TopRow();
            if (id > 0 && actor.CanUseSkill(id)) {
                Sound(kSoundDecision);
                skillWindow.SetActive(false);
                if (BattleLayout() != 0) skillWindow.CloseNow();
                const bool chosen = TargetBySkill(actor, id);
                skillWindow.CloseNow();
                if (chosen) return true;
                // The target was given up: the list takes input again, with
                // nothing of the target choice left over it.
                commandWindow.CloseNow();
                showList();
            } else {
                Sound(kSoundBuzzer);
            }
        } else if (Pressed(TMultiInput::kCancel)) {
            Sound(kSoundCancel);
            if (GameInput) GameInput->Flush();
            skillWindow.CloseNow();
            return false;
        }
    }
}

bool TLcfBattleScene::ChooseItem(TLcfgPlayerItem& actor) {
    messageWindow.CloseNow();
    actor.BuildBattleItemList();
    if (BattleLayout() != 2) statusWindow.CloseNow();
    monsterWindow.CloseNow();
    itemWindow.SetupFor(actor.Id());
    itemWindow.SetTopRow(itemTop);
    itemWindow.SetCursor(itemCursor);
    itemWindow.SetActive(true);
    itemWindow.SetCursorVisible(true);
    for (;;) {
        NestedFrame();
        if (Pressed(TMultiInput::kDecision)) {
            itemTop = itemWindow.TopRow();
            itemCursor = itemWindow.Cursor();
            const int32_t id = itemWindow.SelectedItem();
            actor.action.itemId = id;
            if (id > 0 && actor.CanUseItem(id) && itemWindow.IsSelectable(id) && DbItem) {
                Sound(kSoundDecision);
                itemWindow.SetActive(false);
                if (BattleLayout() != 0) itemWindow.CloseNow();
                const TLcfItemItem* item = DbItem->FindItem(id);
                bool chosen = true;
                if (item->kind == TLcfItemItem::kMedicine) {
                    if (item->scope)
                        actor.action.targetKind = TLcfgUnitActItem::kParty;
                    else
                        chosen = ChooseActorTarget(actor);
                } else if ((item->kind >= 1 && item->kind <= 5) || item->kind == 9) {
                    chosen = TargetBySkill(actor, item->skillId);
                } else {
                    actor.action.targetKind = 0;
                }
                itemWindow.CloseNow();
                if (chosen) return true;
                commandWindow.CloseNow();
                actor.BuildBattleItemList();
                itemWindow.SetupFor(actor.Id());
                itemWindow.SetActive(true);
                itemWindow.SetCursorVisible(true);
            } else {
                Sound(kSoundBuzzer);
            }
        } else if (Pressed(TMultiInput::kCancel)) {
            Sound(kSoundCancel);
            itemWindow.CloseNow();
            if (GameInput) GameInput->Flush();
            return false;
        }
    }
}
