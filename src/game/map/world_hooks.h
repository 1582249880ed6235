#pragma once
// What the map world reaches outside itself and that other pieces own: the
// layers that scroll with the view (panorama, pictures, weather), the
// screen's flash and shake, the party's members and inventory, and the
// battle start. Each is a small interface; a null one stands for "not
// there" (nothing scrolls, no item is held, no battle starts).

#include <cstdint>
#include <string>

class TSorvoBoard;

// Panorama, pictures, weather layer and the screen effects.
class IWorldScreenHooks {
public:
    virtual ~IWorldScreenHooks() = default;
    // The view moved by (dx, dy) in 1/16 pixel: the layers move with it.
    virtual void ScrollLayers(int32_t dx, int32_t dy) = 0;
    // The map's panorama settings changed; reload the image when asked and
    // then place the panorama from the view (entering a map, loading a save).
    virtual void ConfigurePanorama(bool loadImage) = 0;
    // A script changed the panorama: as above, but a looping axis keeps its
    // position, so a scrolling sky swapped for another goes on where it was.
    virtual void ChangePanorama(bool loadImage) { ConfigurePanorama(loadImage); }
    // The view jumped (the party was placed): the panorama follows it.
    virtual void PanoramaFollowView() = 0;
    virtual void FlashScreen(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames) = 0;
    // The screen shake's horizontal offset in pixels.
    virtual int32_t ShakeOffset() const = 0;
    // The system skin's airship shadow at (x, y) with its strength 0..256.
    virtual void DrawAirshipShadow(TSorvoBoard& board, int32_t x, int32_t y, int32_t value) = 0;
    // The map was built anew: what played on its characters stops.
    virtual void MapRebuilt() {}
};

// The party's members, inventory and timers.
class IWorldPartyHooks {
public:
    virtual ~IWorldPartyHooks() = default;
    // Held, counted or equipped.
    virtual bool HasItem(int32_t itemId) const = 0;
    virtual bool HasActor(int32_t actorId) const = 0;
    // Whole seconds left on event timer 1 or 2.
    virtual int32_t TimerSeconds(int timer) const = 0;
    // The first member's sprite; false for an empty party.
    virtual bool LeaderSprite(std::string& name, int32_t& index, bool& transparent) const = 0;
    // Terrain damage d (> 0 hurts, < 0 heals) on every member; true when
    // someone took damage.
    virtual bool ApplyTerrainDamage(int32_t damage) = 0;
    // One step: the step counter and the members' walking conditions.
    virtual void CountStep() = 0;
};

// A random encounter's battle, as the battle scene takes it.
struct TLcfgEncounterBattle {
    int32_t troopId = 0;
    std::string backdrop;
    int32_t terrainId = 0;
    int32_t formation = 0;
    int32_t startCondition = 0;
    bool escapeAllowed = true;
    bool defeatHandledByCaller = false;
    bool startedByEvent = false;
    bool firstStrike = false;
};

class IWorldBattleHooks {
public:
    virtual ~IWorldBattleHooks() = default;
    // May the troop appear on this terrain? (Raises the troop table's
    // message when the troop does not exist.)
    virtual bool TroopAllowedOnTerrain(int32_t troopId, int32_t terrainId) const = 0;
    // Sets the battle up; the field scene then starts it.
    virtual void StartEncounterBattle(const TLcfgEncounterBattle& battle) = 0;
};

struct TLcfgWorldHooks {
    IWorldScreenHooks* screen = nullptr;
    IWorldPartyHooks* party = nullptr;
    IWorldBattleHooks* battle = nullptr;
};

extern TLcfgWorldHooks GameWorldHooks;
