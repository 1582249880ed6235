// The party in battle: where its members stand, which way they face, how
// full their gauges start, and the party side's battle animation.
#include <algorithm>
#include <vector>

#include "data/database/database.h"
#include "game/actors/battle_sides.h"
#include "game/actors/player.h"
#include "game/battle/battle_scene_link.h"
#include "game/battle/side_animation.h"
#include "game/battler/battle_position.h"
#include "game/party/party_info.h"
#include "graphics/animation_graphic.h"

namespace {

std::vector<TLcfgPlayerItem*> Members() {
    std::vector<TLcfgPlayerItem*> m;
    for (int i = 0; i < battle_sides::PartySize(); ++i)
        if (TLcfgPlayerItem* a = battle_sides::PartyMember(i)) m.push_back(a);
    return m;
}

// The facing of member `index` by the start condition and the enemies.
int32_t FacingOf(const TLcfgPlayerItem& a, int index, int cond) {
    if (cond == 3 || cond == 4) return index % 2;
    bool some = false;
    for (int i = 0; i < battle_sides::TroopSize() && !some; ++i) {
        const TLcfgUnitItem* e = battle_sides::Enemy(i);
        if (!e || !e->present) continue;
        const int32_t ex = battle_sides::EnemyPosition(i).x;
        some = cond == 2 ? ex >= a.battleX : a.battleX >= ex;
    }
    if (cond == 2) return some ? 1 : 0;
    return some ? 0 : 1;
}

}  // namespace

void TLcfgPlayer::PlaceMembers() {
    const int cond = BattleLink().StartCondition();
    const int32_t terrain = BattleLink().TerrainId();
    const std::vector<TLcfgPlayerItem*> members = Members();
    const int n = int(members.size());
    for (int i = 0; i < n; ++i) {
        TLcfgPlayerItem& a = *members[size_t(i)];
        const int64_t offset = a.row == 0 ? 24 : 0;
        int64_t x, y;
        if (DbBattle && DbBattle->autoPlacement) {
            x = DbBattle->HeroScreenX(cond, DbBattle->layoutStyle, terrain, n, i, int32_t(offset));
            y = int64_t(DbBattle->HeroScreenY(cond, DbBattle->layoutStyle, terrain, n, i)) - 24;
        } else {
            const TLcfPlayerItem& hero = a.Hero();
            x = cond == 2 ? 320 - offset - hero.battleX : hero.battleX - offset;
            y = hero.battleY;
        }
        x = std::max<int64_t>(x, 24);
        a.battleX = a.homeX = ClampBattlePosition(x);
        a.battleY = a.homeY = ClampBattlePosition(y);
    }
}

void TLcfgPlayer::PlaceForBattle() {
    // Every actor, not only the members: one that joins during the battle
    // must start it afresh too.
    for (int i = 0; i < Count(); ++i) Items(i)->show.battleStarted = 0;
    const std::vector<TLcfgPlayerItem*> members = Members();
    const bool frontCanAct = std::any_of(members.begin(), members.end(), [](const TLcfgPlayerItem* a) {
        return a->row == 0 && !a->IsIncapacitated();
    });
    if (!frontCanAct)
        for (TLcfgPlayerItem* a : members) a->row = 0;
    for (TLcfgPlayerItem* a : members) a->StartBattle();
    PlaceMembers();
    const int cond = BattleLink().StartCondition();
    const bool firstStrike = BattleLink().FirstStrike();
    constexpr int32_t full = IBattleSceneLink::kFullGauge;
    for (size_t i = 0; i < members.size(); ++i) {
        TLcfgPlayerItem& a = *members[i];
        a.facing = cond == 3 ? int32_t(i % 2) : 0;
        // A member that cannot act keeps its gauge as it was: it does not
        // fill while so, and takes up from there should it recover.
        if (a.IsIncapacitated()) continue;
        if (cond == 1 || cond == 3)
            a.gauge = full;
        else if (cond == 2 || cond == 4)
            a.gauge = 0;
        else
            a.gauge = firstStrike || a.FirstStrike() ? full : full / 2;
    }
}

void TLcfgPlayer::Reposition() {
    PlaceMembers();
    UpdateFacing();
    const std::vector<TLcfgPlayerItem*> members = Members();
    if (!members.empty()) members.back()->StartBattle();
}

void TLcfgPlayer::UpdateFacing() {
    const int cond = BattleLink().StartCondition();
    const std::vector<TLcfgPlayerItem*> members = Members();
    for (size_t i = 0; i < members.size(); ++i) members[i]->facing = FacingOf(*members[i], int(i), cond);
}

void TLcfgPlayer::PlayAnimation(int32_t animationId, int32_t mirrored, int32_t target) {
    animation_->Play(animationId, mirrored != 0, target);
}

void TLcfgPlayer::ResetAnimation() { animation_->Reset(); }

bool TLcfgPlayer::AnimationRunning() const { return animation_->Active(); }

void TLcfgPlayer::ResetTurnCounts() {
    for (TLcfgPlayerItem* a : Members()) a->turnCounter = 0;
}

void TLcfgPlayer::UpdateBattle() {
    for (TLcfgPlayerItem* a : Members()) a->UpdateBattle();
    animation_->Update([](int i) -> TLcfgUnitItem* { return battle_sides::PartyMember(i); });
}

void TLcfgPlayer::DrawAnimation(TSorvoBoard& board, const std::vector<int32_t>& drawOrder) {
    const TLcfAnimationItem* a = animation_->Graphic().Animation();
    if (!animation_->Active() || !a) return;
    TLcfAnimationGraphic& g = animation_->Graphic();
    const int32_t frame = animation_->Frame();
    const bool large = a->large != 0;
    if (a->scope == 1 || animation_->Target() == TLcfgSideAnimation::kScreen) {
        g.DrawFrame(board, 160, 80, frame, large);
        return;
    }
    if (animation_->Target() == TLcfgSideAnimation::kWholeSide) {
        for (int32_t id : drawOrder)
            if (TLcfgPlayerItem* a = Find(id)) a->DrawBattleAnimation(board, g, animation_->Id(), frame);
        return;
    }
    const std::vector<TLcfgPlayerItem*> members = Members();
    if (animation_->Target() >= 0 && size_t(animation_->Target()) < members.size())
        members[size_t(animation_->Target())]->DrawBattleAnimation(board, g, animation_->Id(), frame);
}
