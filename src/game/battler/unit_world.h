#pragma once
// What battlers, actors and the party reach outside themselves: the scene
// number, the battle's start condition, the message pool, the travel
// permissions, the map events, the screen flash, the battle poses and the
// system skin. Each is a small seam that the owning object fills in when it
// exists. Without one set, the running game's system state, message pool
// and map answer; what they lack stands for "on the field, nothing there".

#include <cstdint>
#include <string>

class TLcfgUnitItem;
class TLcfgPlayerItem;
class TLcfSystemGraphic;

class IUnitWorld {
public:
    virtual ~IUnitWorld() = default;
    // Scene number of the system state: 1 menu, 2 battle.
    virtual int Scene() const { return 0; }
    // 0 normal, 1 the party strikes first, 2 back attack, 3 the party
    // surrounds, 4 the party is surrounded.
    virtual int BattleStartCondition() const { return 0; }
    // A line for the message pool (level-up and class-change messages).
    virtual void QueueMessageLine(const std::string&) {}
    virtual bool TeleportAllowed() const { return true; }
    virtual bool EscapeAllowed() const { return true; }
    // Entries of the teleport target list, its escape point included.
    virtual int TeleportTargetCount() const { return 0; }
    virtual int32_t EscapeMapId() const { return 0; }
    virtual bool PartyInVehicle() const { return false; }
    virtual bool PartyInAirship() const { return false; }
    // Every map event re-selects its active page.
    virtual void RefreshMapEvents() {}
    virtual void FlashScreen(int /*red*/, int /*green*/, int /*blue*/, int /*strength*/, int /*frames*/) {}
    // The skin that draws pop-up numbers, or null (nothing drawn).
    virtual TLcfSystemGraphic* SystemGraphic() const { return nullptr; }
};

// The running game's seams; never null (a default world when none is set).
IUnitWorld& UnitWorld();
// nullptr restores the default. The caller keeps ownership.
void SetUnitWorld(IUnitWorld* world);

inline bool InBattle() { return UnitWorld().Scene() == 2; }
