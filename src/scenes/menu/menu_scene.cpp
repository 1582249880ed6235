#include "scenes/menu/menu_scene.h"

#include <algorithm>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/skill.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "game/actors/player_item.h"
#include "game/battler/unit_world.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/teleport/teleport.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/menu/menu_actions.h"
#include "scenes/system_sounds.h"
#include "scenes/windows/window_text.h"

std::function<void(bool)> TLcfMenuScene::SetSaveMode;
std::function<void(bool)> TLcfMenuScene::SetSaveFromMenu;

namespace {

using namespace menu_actions;

int MemberCount() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }
TLcfgPlayerItem* Member(int slot) { return GamePartyInfo ? GamePartyInfo->Member(slot) : nullptr; }
bool Pressed(int button) { return GameInput && GameInput->IsPressed(button); }

int LabelOf(int32_t code) {
    switch (code) {
        case TLcfMenuScene::kItem: return TLcfVocabulary::kItems;
        case TLcfMenuScene::kSkill: return TLcfVocabulary::kSkills;
        case TLcfMenuScene::kEquipment: return TLcfVocabulary::kEquipment;
        case TLcfMenuScene::kSave: return TLcfVocabulary::kSave;
        case TLcfMenuScene::kStatus: return TLcfVocabulary::kStatus;
        case TLcfMenuScene::kRow: return TLcfVocabulary::kRow;
        case TLcfMenuScene::kOrder: return TLcfVocabulary::kOrder;
        default:
            return GameSystem && GameSystem->battleWaitMode ? TLcfVocabulary::kWaitOn : TLcfVocabulary::kWaitOff;
    }
}

// A teleport or escape that has nowhere to go: an empty teleport list, or
// an escape point on no map.
bool NowhereToGo(const TLcfSkillItem& skill) {
    if (skill.kind == TLcfSkillItem::kTeleport) return !GameTeleports || GameTeleports->Count() <= 1;
    if (skill.kind == TLcfSkillItem::kEscape) {
        const TLcfgTeleportItem* escape = GameTeleports ? GameTeleports->Find(0) : nullptr;
        return !escape || escape->mapId <= 0;
    }
    return false;
}

}  // namespace

// --- Commands ----------------------------------------------------------------------------

std::vector<int32_t> TLcfMenuScene::MenuCommands() {
    std::vector<int32_t> codes;
    for (int i = 0; DbSystem && i < DbSystem->MenuCommandCount(); ++i) {
        const int32_t code = DbSystem->GetMenuCommand(i);
        if (code >= kItem && code <= kWaitMode) codes.push_back(code);
    }
    return codes;
}

bool TLcfMenuScene::CommandEnabled(int32_t code) {
    switch (code) {
        case kItem:
        case kSkill:
        case kEquipment:
        case kStatus:
        case kRow: return MemberCount() > 0;
        case kSave: return GameSystem && GameSystem->saveAllowed != 0;
        case kOrder: return MemberCount() >= 2;
        case kWaitMode: return true;
        default: return false;
    }
}

void TLcfMenuCommandWindow::DrawItem(int32_t x, int32_t y, int index) {
    if (index < 0) return;
    if (size_t(index) >= codes.size()) {
        DrawText(x, y, MenuTerm(TLcfVocabulary::kQuitGame), 0);
        return;
    }
    const int32_t code = codes[size_t(index)];
    DrawText(x, y, MenuTerm(LabelOf(code)), TLcfMenuScene::CommandEnabled(code) ? 0 : 3);
}

// --- Life cycle ----------------------------------------------------------------------------

TLcfMenuScene::TLcfMenuScene() {
    equip_.scene = this;
    status_.scene = this;
    Reset();
}

void TLcfMenuScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    state_ = kMain;
    for (TLcfWindow* w : std::initializer_list<TLcfWindow*>{&commands_, &gold_, &party_, &targets_, &items_, &skills_,
                                                           &teleports_, &equip_, &end_, &status_, &sort_})
        w->CloseNow();
}

void TLcfMenuScene::Start() {
    TLcfScene::Reset();
    GameDraw->Board().Clear();
    GameDraw->Flip();
    state_ = kMain;
    commands_.codes = MenuCommands();
    const int rows = int(commands_.codes.size()) + 1;
    // A list longer than the screen scrolls.
    commands_.Setup(0, 0, 88, std::min(rows * 16 + 16, kHeight), false);
    commands_.SetItemCount(rows);
    commands_.Refresh();
    NarrowGold();
    party_.SetupParty();
    commands_.SetActive(true);
    if (SetSaveFromMenu) SetSaveFromMenu(false);
    started_ = true;
    FadeIn(20);
}

void TLcfMenuScene::ChangeScreen(int state, const std::function<void()>& setup) {
    FadeOut(20);
    state_ = state;
    setup();
    FadeIn(20);
}

void TLcfMenuScene::ReturnToMain() {
    ChangeScreen(kMain, [this] {
        for (TLcfWindow* w : std::initializer_list<TLcfWindow*>{&targets_, &items_, &skills_, &teleports_, &equip_,
                                                               &end_, &status_, &sort_})
            w->CloseNow();
        party_.SetupParty();
        commands_.SetActive(true);
    });
}

void TLcfMenuScene::NarrowGold() {
    gold_.Setup(0, 208, 88, 32, false);
    gold_.Refresh();
}

void TLcfMenuScene::Leave(double step) {
    FadeOut(step);
    GameDraw->Board().Clear();
    GameDraw->Flip();
    Reset();
    if (GameSystem) GameSystem->scene = kSceneField;
}

void TLcfMenuScene::Travel(TLcfgTeleportItem& target) {
    Leave(4);
    target.Execute();
    if (!FieldScene || !GameSystem) return;
    // The field takes one step at the destination (its events start) and
    // then shows slowly; it does not fade in on its own.
    FieldScene->started = true;
    FieldScene->Update();
    if (GameSystem->scene == kSceneField) FieldScene->FadeIn(2);
}

void TLcfMenuScene::Update() {
    if (!started_) Start();
    switch (state_) {
        case kMain: UpdateMain(); break;
        case kItemList: UpdateItemList(); break;
        case kItemTarget:
        case kSkillTarget: UpdateTarget(); break;
        case kSkillList: UpdateSkillList(); break;
        case kTeleport: UpdateTeleport(); break;
        case kEquip:
            equip_.Update();
            if (!equip_.IsVisible()) ReturnToMain();
            break;
        case kQuit: UpdateQuit(); break;
        case kStatusPage: UpdateStatusPage(); break;
        case kOrderPage:
            sort_.Update();
            if (sort_.Done()) {
                party_.CloseNow();
                sort_.CloseNow();
                ReturnToMain();
            }
            break;
        default: break;
    }
}

void TLcfMenuScene::Draw() {
    if (!started_) return;
    uint32_t background = 0;
    if (GameSystemGraphic) {
        RgbTriple c = GameSystemGraphic->BackgroundColor();
        background = RgbColor(c.red, c.green, c.blue);
    }
    GameDraw->Board().FillRect(RectOfSize(0, 0, kWidth, kHeight), background);
    switch (state_) {
        case kMain:
            commands_.Draw();
            gold_.Draw();
            party_.Draw();
            break;
        case kItemList: items_.Draw(); break;
        case kItemTarget:
        case kSkillTarget: targets_.Draw(); break;
        case kSkillList: skills_.Draw(); break;
        case kTeleport: teleports_.Draw(); break;
        case kEquip: equip_.Draw(); break;
        case kQuit: end_.Draw(); break;
        case kStatusPage:
            status_.Draw();
            gold_.Draw();
            break;
        case kOrderPage: sort_.Draw(); break;
        default: break;
    }
}

// --- Main screen -----------------------------------------------------------------------------

void TLcfMenuScene::UpdateMain() {
    commands_.Update();
    gold_.Update();
    party_.Update();
    if (party_.Active()) {
        UpdateMemberChoice();
        return;
    }
    if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        Leave(20);
        return;
    }
    if (!Pressed(TMultiInput::kDecision) || !commands_.Active()) return;
    const int row = commands_.Cursor();
    if (row < 0) return;
    if (size_t(row) >= commands_.codes.size()) {
        PlaySystemSound(kSystemSoundDecision);
        ChangeScreen(kQuit, [this] { end_.SetupQuestion(); });
        return;
    }
    const int32_t code = commands_.codes[size_t(row)];
    if (!CommandEnabled(code)) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    PlaySystemSound(kSystemSoundDecision);
    switch (code) {
        case kItem: OpenItemList(); break;
        case kSave:
            Leave(20);
            if (SetSaveMode) SetSaveMode(true);
            if (SetSaveFromMenu) SetSaveFromMenu(true);
            GameSystem->scene = kSceneSave;
            break;
        case kOrder: ChangeScreen(kOrderPage, [this] { sort_.Enter(); }); break;
        case kWaitMode:
            GameSystem->battleWaitMode = GameSystem->battleWaitMode ? 0 : 1;
            commands_.Refresh();
            break;
        default:
            // Skill, equipment, status and row go on with a member.
            command_ = code;
            commands_.SetActive(false);
            party_.SetActive(true);
            party_.SetCursor(0);
            break;
    }
}

void TLcfMenuScene::UpdateMemberChoice() {
    const bool decision = Pressed(TMultiInput::kDecision);
    if (!decision && !Pressed(TMultiInput::kCancel)) return;
    const int slot = party_.Cursor();
    TLcfgPlayerItem* actor = Member(slot);
    if (decision && (!actor || (command_ == kSkill && !actor->CanAct()))) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    PlaySystemSound(decision ? kSystemSoundDecision : kSystemSoundCancel);
    party_.SetCursorVisible(false);
    commands_.SetActive(true);
    if (!decision) return;
    member_ = slot;
    switch (command_) {
        case kSkill: OpenSkillList(); break;
        case kEquipment: ChangeScreen(kEquip, [this, actor] { equip_.SetupFor(actor->Id()); }); break;
        case kStatus:
            ChangeScreen(kStatusPage, [this, actor] {
                gold_.Setup(0, 208, 124, 32, false);
                gold_.Refresh();
                status_.SetupFor(actor->Id());
            });
            break;
        case kRow: {
            // The party always keeps someone in front.
            int front = 0;
            for (int i = 0; i < MemberCount(); ++i)
                if (Member(i) && Member(i)->row == 0) ++front;
            actor->row = front > 1 ? (actor->row == 0 ? 1 : 0) : 0;
            party_.Refresh();
            break;
        }
        default: break;
    }
}

// --- Items and skills ----------------------------------------------------------------------

const TLcfItemItem* TLcfMenuScene::Item() const { return DbItem && itemId_ > 0 ? DbItem->Find(itemId_) : nullptr; }

const TLcfSkillItem* TLcfMenuScene::Skill() const {
    return DbSkill && skillId_ > 0 ? DbSkill->Find(skillId_) : nullptr;
}

bool TLcfMenuScene::ItemInvokesSkill() const {
    const TLcfItemItem* item = Item();
    return item && (item->performsSkill || item->kind == TLcfItemItem::kSkillItem);
}

void TLcfMenuScene::OpenItemList() {
    ChangeScreen(kItemList, [this] {
        targets_.CloseNow();
        teleports_.CloseNow();
        items_.SetupFor(0);
        if (returnToList_ && items_.ItemCount() > 0) {
            items_.SetTopRow(itemTop_);
            items_.SetCursor(itemCursor_);
        }
        returnToList_ = false;
    });
}

void TLcfMenuScene::OpenSkillList() {
    ChangeScreen(kSkillList, [this] {
        targets_.CloseNow();
        teleports_.CloseNow();
        const TLcfgPlayerItem* actor = Member(member_);
        skills_.SetupFor(actor ? actor->Id() : 0, 0);
        if (returnToList_ && skills_.ItemCount() > 0) {
            skills_.SetTopRow(skillTop_);
            skills_.SetCursor(skillCursor_);
        }
        returnToList_ = false;
    });
}

void TLcfMenuScene::UpdateItemList() {
    items_.Update();
    if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        items_.CloseNow();
        ReturnToMain();
        return;
    }
    if (!Pressed(TMultiInput::kDecision)) return;
    const int32_t id = items_.SelectedItem();
    if (!items_.IsSelectable(id) || !GamePartyInfo || !GamePartyInfo->ItemUsable(id)) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    const TLcfItemItem& item = *DbItem->FindItem(id);
    const bool invokes = item.performsSkill || item.kind == TLcfItemItem::kSkillItem;
    const TLcfSkillItem* skill = invokes ? DbSkill->FindSkill(item.skillId) : nullptr;
    // An item's skill may be let through on its scope alone: a teleport or
    // escape with nowhere to go stops here, before anything is paid.
    if (skill && NowhereToGo(*skill)) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    itemId_ = id;
    PlaySystemSound(kSystemSoundDecision);
    if (skill) {
        skillId_ = item.skillId;
        if (skill->IsNormalKind())
            EnterTarget(kItemTarget);
        else
            DispatchSkill();
    } else if (item.kind == TLcfItemItem::kMedicine || item.kind == TLcfItemItem::kSkillBook ||
               item.kind == TLcfItemItem::kSeed) {
        EnterTarget(kItemTarget);
    } else if (item.kind == TLcfItemItem::kSwitchItem) {
        GamePartyInfo->UseItem(id);
        GameSystem->SetSwitch(item.switchId, true);
        UnitWorld().RefreshMapEvents();
        Leave(20);
    }
}

void TLcfMenuScene::UpdateSkillList() {
    skills_.Update();
    if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        skills_.CloseNow();
        ReturnToMain();
        return;
    }
    if (!Pressed(TMultiInput::kDecision)) return;
    const int32_t id = skills_.SelectedSkill();
    const TLcfgPlayerItem* actor = Member(member_);
    const TLcfSkillItem* skill = DbSkill && id > 0 ? DbSkill->Find(id) : nullptr;
    if (!skill || !actor || !actor->CanUseSkill(id) || NowhereToGo(*skill)) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    itemId_ = 0;
    skillId_ = id;
    PlaySystemSound(kSystemSoundDecision);
    DispatchSkill();
}

void TLcfMenuScene::DispatchSkill() {
    const TLcfSkillItem* skill = Skill();
    if (!skill) return;
    switch (skill->kind) {
        case TLcfSkillItem::kTeleport:
            // Unlike a target screen, the teleport list keeps no place in
            // the list it came from: cancelling sets that list up anew.
            ChangeScreen(kTeleport, [this] {
                items_.CloseNow();
                skills_.CloseNow();
                teleports_.SetupList();
            });
            break;
        case TLcfSkillItem::kEscape:
            if (GameSystem) GameSystem->PlaySound(skill->sound);
            Pay();
            if (GameTeleports) Travel(*GameTeleports->EscapePoint());
            break;
        case TLcfSkillItem::kSwitch:
            if (GameSystem) {
                GameSystem->PlaySound(skill->sound);
                Pay();
                GameSystem->SetSwitch(skill->switchId, true);
            }
            UnitWorld().RefreshMapEvents();
            Leave(20);
            break;
        default: EnterTarget(kSkillTarget); break;
    }
}

void TLcfMenuScene::Pay() {
    const TLcfSkillItem* skill = Skill();
    if (itemId_) {
        if (GamePartyInfo) GamePartyInfo->UseItem(itemId_);
    } else if (TLcfgPlayerItem* user = Member(member_); user && skill) {
        user->LoseSp(SkillCost(*user, *skill));
    }
}

void TLcfMenuScene::UpdateTeleport() {
    teleports_.Update();
    if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        teleports_.CloseNow();
        if (itemId_)
            OpenItemList();
        else
            OpenSkillList();
        return;
    }
    if (!Pressed(TMultiInput::kDecision)) return;
    const TLcfSkillItem* skill = Skill();
    if (!skill || !GameTeleports || teleports_.Cursor() < 0 || teleports_.Cursor() >= teleports_.ItemCount()) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    if (GameSystem) GameSystem->PlaySound(skill->sound);
    Pay();
    Travel(*GameTeleports->ByIndex(teleports_.TargetIndex()));
}

// --- Target screens ------------------------------------------------------------------------

void TLcfMenuScene::EnterTarget(int state) {
    ChangeScreen(state, [this, state] {
        if (state == kItemTarget) {
            itemTop_ = items_.TopRow();
            itemCursor_ = items_.Cursor();
        } else {
            skillTop_ = skills_.TopRow();
            skillCursor_ = skills_.Cursor();
        }
        items_.CloseNow();
        skills_.CloseNow();
        targets_.SetupParty();
        const TLcfItemItem* item = Item();
        const TLcfSkillItem* skill = Skill();
        // The cursor takes the skill's aim only for a skill from the list
        // or a type-9 item; any other item that performs a skill keeps
        // the moving one-member cursor (its effect still follows the
        // skill's scope).
        const bool aimsLikeSkill = state == kSkillTarget || (item && item->kind == TLcfItemItem::kSkillItem);
        const int scope = aimsLikeSkill && skill ? skill->scope : -1;
        const bool wholeParty =
            scope == TLcfSkillItem::kAllAllies ||
            (state == kItemTarget && item && item->kind == TLcfItemItem::kMedicine && item->scope == 1);
        if (wholeParty) {
            targets_.CoverWholeParty();
        } else if (scope == TLcfSkillItem::kSelf) {
            // The row of the member chosen in the party list, for a scroll
            // too (its skill is still performed by the member it picks).
            targets_.FixOnMember(std::max(0, member_));
        }
        const std::string name = item ? item->name : skill ? skill->name : std::string();
        targets_.Header1().DrawText(8, 8, name, 0);
        DrawTargetHeader();
        targets_.SetActive(true);
    });
}

void TLcfMenuScene::DrawTargetHeader() {
    TLcfWindow& h = targets_.Header2();
    h.Refresh();
    if (itemId_) {
        h.DrawText(8, 8, MenuTerm(TLcfVocabulary::kItemCountLabel), 1);
        h.DrawText(116, 8, FormatNumber("%2d", GamePartyInfo ? GamePartyInfo->ItemCount(itemId_) : 0), 0);
        return;
    }
    h.DrawText(8, 8, MenuTerm(TLcfVocabulary::kStatusLineLabel), 1);
    const TLcfSkillItem* skill = Skill();
    const TLcfgPlayerItem* user = Member(member_);
    if (!skill || !user) return;
    const int32_t cost = SkillCost(*user, *skill);
    // The column depends on how wide a share of the SP can be, not on the
    // amount; the amount shows without a percent sign.
    if (skill->spByPercent != 0 && skill->spPercent >= 100)
        h.DrawText(104, 8, FormatNumber("%3d", cost), 0);
    else if (skill->spByPercent != 0)
        h.DrawText(110, 8, FormatNumber("%2d", cost), 0);
    else
        h.DrawText(110, 8, FormatNumber("%3d", cost), 0);
}

void TLcfMenuScene::UpdateTarget() {
    targets_.Update();
    if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        returnToList_ = true;
        if (state_ == kItemTarget)
            OpenItemList();
        else
            OpenSkillList();
        return;
    }
    if (!Pressed(TMultiInput::kDecision)) return;
    const bool used = state_ == kItemTarget ? UseItemOnTarget() : UseSkillOnTarget();
    if (!used) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    DrawTargetHeader();
    targets_.Refresh();
}

bool TLcfMenuScene::UseItemOnTarget() {
    const TLcfItemItem* item = Item();
    if (!item || !GamePartyInfo || GamePartyInfo->ItemCount(itemId_) <= 0) return false;
    if (ItemInvokesSkill()) return UseSkillOnTarget();
    TLcfgPlayerItem* target = Member(targets_.Cursor());
    bool success = false;
    switch (item->kind) {
        case TLcfItemItem::kMedicine:
            if (item->scope == 0) {
                success = target && ApplyMedicine(*item, *target);
            } else {
                for (int i = 0; i < MemberCount(); ++i)
                    if (TLcfgPlayerItem* m = Member(i)) success |= ApplyMedicine(*item, *m);
            }
            break;
        case TLcfItemItem::kSkillBook: success = target && ApplySkillBook(*item, *target); break;
        case TLcfItemItem::kSeed: success = target && ApplyParameterItem(*item, *target); break;
        default: break;
    }
    if (!success) return false;
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(kSoundItemUse));
    GamePartyInfo->UseItem(itemId_);
    return true;
}

bool TLcfMenuScene::UseSkillOnTarget() {
    const TLcfSkillItem* skill = Skill();
    if (!skill) return false;
    TLcfgPlayerItem* user = nullptr;
    if (const TLcfItemItem* item = itemId_ ? Item() : nullptr) {
        user = Member(ItemSkillUserSlot(*item));
    } else if (!itemId_) {
        user = Member(member_);
        if (user && !user->CanUseSkill(skillId_)) user = nullptr;
    }
    if (!user) return false;
    bool success = false;
    switch (skill->scope) {
        case TLcfSkillItem::kSelf: success = ApplySkill(*user, *skill, *user); break;
        case TLcfSkillItem::kOneAlly:
            if (TLcfgPlayerItem* target = Member(targets_.Cursor())) success = ApplySkill(*user, *skill, *target);
            break;
        case TLcfSkillItem::kAllAllies:
            for (int i = 0; i < MemberCount(); ++i)
                if (TLcfgPlayerItem* m = Member(i)) success |= ApplySkill(*user, *skill, *m);
            break;
        default: break;
    }
    if (!success) return false;
    PlaySkillAnimationSound(*skill);
    Pay();
    return true;
}

// --- Quit and status --------------------------------------------------------------------------

void TLcfMenuScene::UpdateQuit() {
    end_.Update();
    const bool decision = Pressed(TMultiInput::kDecision);
    if (decision && end_.Cursor() == 0) {
        PlaySystemSound(kSystemSoundDecision);
        if (GameSystem) GameSystem->FadeOutMusic(400);
        FadeOut(4);
        if (GameSystem) GameSystem->scene = kSceneField;
        GameDraw->Restart();
    }
    if (decision || Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(decision ? kSystemSoundDecision : kSystemSoundCancel);
        ReturnToMain();
    }
}

void TLcfMenuScene::UpdateStatusPage() {
    status_.Update();
    if (!Pressed(TMultiInput::kCancel)) return;
    PlaySystemSound(kSystemSoundCancel);
    status_.CloseNow();
    NarrowGold();
    ReturnToMain();
}
