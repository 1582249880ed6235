#include "game/enemies/monster.h"

#include <algorithm>

#include "data/clamp.h"

#include "data/database/database.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/battle/battle_scene_link.h"
#include "game/battler/battle_position.h"
#include "game/party/party_info.h"

TLcfgMonster* GameMonsters = nullptr;

void TLcfgMonster::Reset() {
    Clear();
    groupId_ = 0;
    animation_.Reset();
}

int TLcfgMonster::PresentBefore(int index) const {
    int k = 0;
    for (int i = 0; i < index && i < Count(); ++i)
        if (Items(i)->present) ++k;
    return k;
}

int TLcfgMonster::PresentCount() const { return PresentBefore(Count()); }

void TLcfgMonster::SetupTroop(int32_t groupId) {
    Clear();
    animation_.Reset();
    groupId_ = groupId;
    const TLcfMonGroupItem& group = *DbMonGroup->FindMonGroup(groupId);
    const int size = group.members.Count();

    bool anyPresent = false;
    for (int i = 0; i < size; ++i) {
        const TLcfMonGroupMonsterItem& entry = *group.members.Items(i);
        TLcfgMonsterItem& enemy = *GetOrCreate(i + 1);
        enemy.SetupEnemy(entry.monsterId);
        enemy.present = entry.hidden ? 0 : 1;
        // Random appearance spares the first enemy that shows.
        if (anyPresent && enemy.present && group.randomAppearance) enemy.present = Random(15) < 9 ? 1 : 0;
        if (enemy.present) anyPresent = true;
    }
    const int p = PresentCount();

    // A surround needs the placement grid and at least two on the
    // surrounded side; otherwise it becomes the plain form of its side.
    IBattleSceneLink& scene = BattleLink();
    int c = scene.StartCondition();
    const bool grid = DbBattle->autoPlacement != 0;
    const int partySize = GamePartyInfo ? GamePartyInfo->MemberCount() : 0;
    if (c == kStartSurround && (!grid || partySize < 2)) c = kStartInitiative;
    if (c == kStartPincer && (!grid || p < 2)) c = kStartBackAttack;
    scene.SetStartCondition(c);

    const bool automatic = group.autoPlacement != 0 || c > kStartBackAttack;
    const int layout = DbBattle->layoutStyle;
    const int32_t terrain = scene.TerrainId();
    for (int i = 0; i < size; ++i) {
        const TLcfMonGroupMonsterItem& entry = *group.members.Items(i);
        TLcfgMonsterItem& enemy = *Items(i);
        const int k = PresentBefore(i);
        const int32_t h = enemy.PictureHeight() / 2;
        int64_t x, y;
        if (automatic) {
            const int n = enemy.present ? p : size;
            x = DbBattle->MonsterScreenX(c, layout, terrain, n, k, enemy.PictureWidth() / 2);
            y = int64_t(DbBattle->MonsterScreenY(c, layout, terrain, n, k)) - h;
        } else {
            x = c == kStartBackAttack ? 320 - int64_t(entry.x) : entry.x;
            y = entry.y;
        }
        // The upper limit on screen is tested first: a picture taller than
        // 230 pixels placed above half its height comes down to it, any
        // other goes up to 230 less half its height.
        y = Clamp<int64_t>(y, h, 230 - int64_t(h));
        enemy.battleX = enemy.homeX = ClampBattlePosition(x);
        enemy.battleY = enemy.homeY = ClampBattlePosition(y);
        enemy.facing = TLcfBattle::MonsterFacing(c, k);

        constexpr int32_t full = IBattleSceneLink::kFullGauge;
        if (!enemy.present) {
            enemy.gauge = 0;
        } else if (c == kStartInitiative || c == kStartSurround) {
            enemy.gauge = 0;
        } else if (c == kStartBackAttack || c == kStartPincer) {
            enemy.gauge = full;
        } else {
            enemy.gauge = scene.FirstStrike() ? 0 : full / 2;
        }
    }
}

void TLcfgMonster::UpdateFacing() {
    const int c = BattleLink().StartCondition();
    for (int i = 0; i < Count(); ++i) {
        TLcfgMonsterItem& enemy = *Items(i);
        if (c == kStartSurround || c == kStartPincer) {
            enemy.facing = (PresentBefore(i) + 1) % 2;
            continue;
        }
        bool found = false;
        const int n = GamePartyInfo ? GamePartyInfo->MemberCount() : 0;
        for (int m = 0; m < n && !found; ++m) {
            const TLcfgPlayerItem& a = *GamePartyInfo->Member(m);
            if (!a.present) continue;
            found = c == kStartBackAttack ? a.battleX <= enemy.battleX : a.battleX >= enemy.battleX;
        }
        enemy.facing = c == kStartBackAttack ? (found ? 1 : 0) : (found ? 0 : 1);
    }
}

int32_t TLcfgMonster::AverageAgility() const {
    if (Count() == 0) return 1;
    int64_t sum = 0;
    for (int i = 0; i < Count(); ++i) sum += Items(i)->EffectiveAgility();
    const int64_t v = sum / Count();
    return v == 0 ? 1 : ClampToInt32(v);
}

int TLcfgMonster::AliveCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->IsAlive()) ++n;
    return n;
}

void TLcfgMonster::ResetTurnCounts() {
    for (int i = 0; i < Count(); ++i) Items(i)->turnCounter = 0;
}

void TLcfgMonster::Update() {
    for (int i = 0; i < Count(); ++i) Items(i)->UpdateFrame();
    animation_.Update([this](int i) -> TLcfgUnitItem* { return Items(i); });
}
