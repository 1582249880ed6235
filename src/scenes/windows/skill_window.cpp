#include "scenes/windows/skill_window.h"

#include <cstdio>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/skill.h"
#include "data/database/vocabulary.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/system/game_system.h"

namespace {

TLcfgPlayerItem* Actor(int32_t id) { return GamePlayers && id > 0 ? GamePlayers->Find(id) : nullptr; }
const TLcfSkillItem* Skill(int32_t id) { return DbSkill && id > 0 ? DbSkill->Find(id) : nullptr; }

}  // namespace

void TLcfSkillWindow::SetupFor(int32_t actorId, int32_t battleCommandId) {
    actorId_ = actorId;
    columns = 2;
    filter_ = false;
    filtered_.clear();
    help_.Setup(0, 0, 320, 32, false);
    TLcfgPlayerItem* actor = Actor(actorId);
    if (DbBattle && DbBattle->layoutStyle == 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%3d/%3d", actor ? actor->sp : 0, actor ? actor->MaxSP() : 0);
        if (DbBattle->compactWindows != 0) {
            sp_.Setup(260, 154, 60, 20, false);
            sp_.DrawText(8, 2, text, 0);
        } else {
            sp_.Setup(260, 136, 60, 32, false);
            sp_.DrawText(8, 8, text, 0);
        }
    }
    uint8_t scene = GameSystem ? GameSystem->scene : uint8_t(kSceneMenu);
    if (scene == kSceneMenu) {
        header_.Setup(0, 32, 320, 32, false);
        if (actor) DrawHeader(*actor);
        Setup(0, 64, 320, 176, false);
    } else {
        header_.CloseNow();
        int32_t top = DbBattle && DbBattle->layoutStyle == 2 ? 64 : 160;
        if (DbBattle && DbBattle->compactWindows != 0)
            Setup(0, top + 12, 320, 68, false);
        else
            Setup(0, top, 320, 80, false);
        // A command of the skill-subset kind shows the skills whose type,
        // less 4, is that command's place among the subset commands.
        if (DbBattle) {
            const TLcfBattleCMDItem* command = DbBattle->commands.Find(battleCommandId);
            if (command && command->kind == 2) {
                int k = 0;
                for (int i = 0; i < DbBattle->commands.Count(); ++i) {
                    const TLcfBattleCMDItem* c = DbBattle->commands.Items(i);
                    if (c == command) break;
                    if (c && c->kind == 2) ++k;
                }
                filter_ = true;
                for (int i = 0; actor && i < actor->SkillCount(); ++i) {
                    const TLcfSkillItem* s = Skill(actor->SkillAt(i));
                    if (s && s->kind >= 4 && s->kind - 4 == k) filtered_.push_back(actor->SkillAt(i));
                }
            }
        }
    }
    itemCount_ = filter_ ? int(filtered_.size()) : (actor ? actor->SkillCount() : 0);
    SetActive(true);
    Refresh();
    UpdateHelp();
}

int32_t TLcfSkillWindow::SkillAt(int index) const {
    if (index < 0 || index >= itemCount_) return 0;
    if (filter_) return index < int(filtered_.size()) ? filtered_[size_t(index)] : 0;
    TLcfgPlayerItem* actor = Actor(actorId_);
    return actor ? actor->SkillAt(index) : 0;
}

int32_t TLcfSkillWindow::CostOf(int32_t skillId) const {
    const TLcfSkillItem* s = Skill(skillId);
    TLcfgPlayerItem* actor = Actor(actorId_);
    if (!s) return 0;
    bool percent = s->spByPercent != 0;
    int64_t c = percent ? int64_t(actor ? actor->MaxSP() : 0) * s->spPercent / 100 : s->spCost;
    if (actor && actor->HalfSpCost()) c = percent ? c / 2 : (c + 1) / 2;
    return int32_t(c);
}

void TLcfSkillWindow::DrawItem(int32_t x, int32_t y, int index) {
    int32_t id = SkillAt(index);
    const TLcfSkillItem* s = Skill(id);
    TLcfgPlayerItem* actor = Actor(actorId_);
    int32_t colour = actor && actor->CanUseSkill(id) ? 0 : 3;
    DrawText(x, y, s ? s->name : std::string(), colour);
    char cost[16];
    std::snprintf(cost, sizeof cost, "-%3d", CostOf(id));
    DrawText(x + 120, y, cost, colour);
}

void TLcfSkillWindow::UpdateHelp() {
    const TLcfSkillItem* s = Skill(SelectedSkill());
    help_.SetText(s ? s->description : std::string());
}

int32_t TLcfSkillWindow::SelectedSkill() const { return cursor_ >= 0 && cursor_ < itemCount_ ? SkillAt(cursor_) : 0; }

void TLcfSkillWindow::ReturnTo(int32_t skillId, int topRow) {
    int found = -1;
    for (int i = 0; i < itemCount_; ++i)
        if (SkillAt(i) == skillId) found = i;
    if (found < 0) return;
    SetTopRow(topRow);
    SetCursor(found);
}

void TLcfSkillWindow::Update() {
    TLcfWindow::Update();
    help_.Update();
    if (IsOpen()) UpdateHelp();
}

void TLcfSkillWindow::DrawHeader(const TLcfgPlayerItem& actor) {
    auto term = [](int id) { return DbVocabulary ? DbVocabulary->Get(id) : std::string(); };
    auto number = [](const char* format, int32_t value) {
        char text[24];
        std::snprintf(text, sizeof text, format, value);
        return std::string(text);
    };
    header_.DrawText(8, 8, actor.GetName(), 0);
    header_.DrawText(88, 8, term(TLcfVocabulary::kLevelShort), 1);
    header_.DrawText(100, 8, number("%2d", actor.Level()), 0);
    header_.DrawText(132, 8, actor.ConditionName(), actor.ConditionColor());
    header_.DrawText(186, 8, term(TLcfVocabulary::kHpShort), 1);
    header_.DrawText(258, 8, term(TLcfVocabulary::kSpShort), 1);
    header_.DrawText(198, 8, number("%4d", actor.hp), actor.HpColor());
    header_.DrawText(270, 8, number("%3d", actor.sp), actor.SpColor());
    header_.DrawText(222, 8, number("/%4d", actor.MaxHP()), 0);
    header_.DrawText(288, 8, number("/%3d", actor.MaxSP()), 0);
}

bool TLcfSkillWindow::ShowsSpWindow() const {
    return GameSystem && GameSystem->scene == kSceneBattle && DbBattle && DbBattle->layoutStyle == 0;
}

void TLcfSkillWindow::Draw() {
    TLcfWindow::Draw();
    help_.Draw();
    header_.Draw();
    if (ShowsSpWindow()) sp_.Draw();
}

void TLcfSkillWindow::CloseNow() {
    help_.CloseNow();
    sp_.CloseNow();
    header_.CloseNow();
    TLcfWindow::CloseNow();
}
