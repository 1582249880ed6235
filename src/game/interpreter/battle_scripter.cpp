#include "game/interpreter/battle_scripter.h"

TLcfgBattleScripter* GameBattleScripter = nullptr;
