#include "game/battler/unit_world.h"

#include "game/battle/battle_scene_link.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/system/game_system.h"

namespace {

// The running game's own objects, where they exist.
class GameUnitWorld : public IUnitWorld {
public:
    int Scene() const override { return GameSystem ? GameSystem->scene : 0; }
    int BattleStartCondition() const override { return BattleLink().StartCondition(); }
    void QueueMessageLine(const std::string& line) override {
        if (GameInterpreterHooks.messagePool) GameInterpreterHooks.messagePool->AddLine(line);
    }
    bool TeleportAllowed() const override { return !GameSystem || GameSystem->teleportAllowed != 0; }
    bool EscapeAllowed() const override { return !GameSystem || GameSystem->escapeAllowed != 0; }
    void RefreshMapEvents() override {
        if (GameInterpreterHooks.map) GameInterpreterHooks.map->RefreshAll();
    }
};

GameUnitWorld defaultWorld;
IUnitWorld* current = &defaultWorld;

}  // namespace

IUnitWorld& UnitWorld() { return *current; }

void SetUnitWorld(IUnitWorld* world) { current = world ? world : &defaultWorld; }
