#include "game/battle/battle_scene_link.h"

namespace {

IBattleSceneLink noBattle;
IBattleSceneLink* current = &noBattle;

}  // namespace

IBattleSceneLink& BattleLink() { return *current; }

void SetBattleLink(IBattleSceneLink* link) { current = link ? link : &noBattle; }
