#include "game/actors/battle_sides.h"

namespace battle_sides {

int TroopSize() { return 0; }
TLcfgUnitItem* Enemy(int) { return nullptr; }
bool TroopAnimationRunning() { return false; }
TBattlePoint EnemyPosition(int) { return {}; }
int32_t EnemyHalfWidth(int) { return 0; }
void PlayTroopAnimation(int32_t, int32_t, int32_t) {}

}  // namespace battle_sides
