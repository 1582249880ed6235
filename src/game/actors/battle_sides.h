#pragma once
// The two sides of a battle as an actor's poses see them: the party's
// members and the troop's enemies, their positions, and whether either
// side's battle animation runs. Without a party or a troop a side is empty.

#include <cstdint>

#include "game/actors/actor_battle_show.h"

class TLcfgUnitItem;
class TLcfgPlayerItem;

namespace battle_sides {

int PartySize();
// The member in party slot `index`, or null.
TLcfgPlayerItem* PartyMember(int index);
// The party slot of the actor, or -1.
int PartySlotOf(const TLcfgPlayerItem& actor);
bool PartyHasLiving();
bool PartyAnimationRunning();

int TroopSize();
// Enemy `index` of the troop (from 0), or null.
TLcfgUnitItem* Enemy(int index);
bool TroopHasLiving();
bool TroopAnimationRunning();
// The enemy's battle position.
TBattlePoint EnemyPosition(int index);
// Half the width of the enemy's picture.
int32_t EnemyHalfWidth(int index);
// The troop's battle animation on one enemy (index), all (-1) or the
// screen (-2).
void PlayTroopAnimation(int32_t animationId, int32_t mirrored, int32_t target);

}  // namespace battle_sides
