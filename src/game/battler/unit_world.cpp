#include "game/battler/unit_world.h"

#include "game/battle/battle_scene_link.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/teleport/teleport.h"
#include "game/walker/party.h"

// The skin start-up makes (drawn with by the windows too).
extern TLcfSystemGraphic* GameSystemGraphic;

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
    int TeleportTargetCount() const override { return GameTeleports ? GameTeleports->Count() : 0; }
    int32_t EscapeMapId() const override {
        const TLcfgTeleportItem* escape = GameTeleports ? GameTeleports->Find(0) : nullptr;
        return escape ? escape->mapId : 0;
    }
    bool PartyInVehicle() const override { return GameParty && GameParty->riding != 0; }
    bool PartyInAirship() const override { return GameParty && GameParty->InAirship(); }
    void FlashScreen(int red, int green, int blue, int strength, int frames) override {
        if (GameScreen) GameScreen->StartFlash(red, green, blue, strength, frames, TLcfgScreen::kFlashOnce);
    }
    void RefreshMapEvents() override {
        if (GameInterpreterHooks.map) GameInterpreterHooks.map->RefreshAll();
    }
    TLcfSystemGraphic* SystemGraphic() const override { return GameSystemGraphic; }
};

GameUnitWorld defaultWorld;
IUnitWorld* current = &defaultWorld;

}  // namespace

IUnitWorld& UnitWorld() { return *current; }

void SetUnitWorld(IUnitWorld* world) { current = world ? world : &defaultWorld; }
