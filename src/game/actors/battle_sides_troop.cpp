#include "game/actors/battle_sides.h"
#include "game/enemies/monster.h"

namespace battle_sides {

int TroopSize() { return GameMonsters ? GameMonsters->Count() : 0; }

TLcfgUnitItem* Enemy(int index) {
    return GameMonsters && index >= 0 && index < GameMonsters->Count() ? GameMonsters->Items(index) : nullptr;
}

bool TroopAnimationRunning() { return GameMonsters && GameMonsters->Animation().Active(); }

TBattlePoint EnemyPosition(int index) {
    const TLcfgUnitItem* e = Enemy(index);
    return e ? TBattlePoint{e->battleX, e->battleY} : TBattlePoint{};
}

int32_t EnemyHalfWidth(int index) {
    return GameMonsters && index >= 0 && index < GameMonsters->Count() ? GameMonsters->Items(index)->PictureWidth() / 2
                                                                        : 0;
}

void PlayTroopAnimation(int32_t animationId, int32_t mirrored, int32_t target) {
    if (GameMonsters) GameMonsters->PlayAnimation(animationId, mirrored != 0, target);
}

}  // namespace battle_sides
