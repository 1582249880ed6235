#include "game/battler/unit_world.h"

namespace {
IUnitWorld defaultWorld;
IUnitWorld* current = &defaultWorld;
}  // namespace

IUnitWorld& UnitWorld() { return *current; }

void SetUnitWorld(IUnitWorld* world) { current = world ? world : &defaultWorld; }
