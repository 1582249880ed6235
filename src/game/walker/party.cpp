#include "game/walker/party.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/clamp.h"
#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"
#include "game/common_events/common_event_state.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "game/map/world_hooks.h"
#include "game/system/game_system.h"
#include "game/vehicle/ship.h"
#include "media/input/multi_input.h"

TLcfgParty* GameParty = nullptr;

namespace {

constexpr int32_t kPanSpeeds[6] = {4, 8, 16, 32, 64, 128};

const TLcfgEventItem* ActiveEventAt(int32_t x, int32_t y, bool layer1Only) {
    if (!GameMap) return nullptr;
    for (int i = 0; i < GameMap->events.Count(); ++i) {
        const TLcfgEventItem* e = GameMap->events.Items(i);
        if (e->active && e->ActivePage() && e->x == x && e->y == y && (!layer1Only || e->layer == 1)) return e;
    }
    return nullptr;
}

const TLcfGroundItem* TerrainOf(int32_t terrainId) {
    return DbGround ? DbGround->FindGround(terrainId) : nullptr;
}

bool MessageWindowVisible() {
    const IMessageWindowHooks* w = GameInterpreterHooks.messageWindow;
    return w && w->IsVisible();
}

bool CtrlThrough() {
    const TMultiInput* in = GameInterpreterHooks.input;
    return GameInterpreterHooks.testPlay && in && in->IsHeld(TMultiInput::kCtrl);
}

}  // namespace

int32_t PanSpeedOf(int32_t speed) { return kPanSpeeds[std::clamp(speed, 1, 6) - 1]; }

TLcfgParty::TLcfgParty() : TLcfgCharacter(0) { TLcfgParty::Clear(); }

void TLcfgParty::DescribeField(int id, TCatalogVarData& d, bool reading) {
    switch (id) {
    case 101: d.SetBoolean(&boarding, 0); break;
    case 102: d.SetBoolean(&riding, 0); break;
    case 103: d.SetInteger(&vehicleKind, 0); break;
    case 104: d.SetBoolean(&leaving, 0); break;
    case 105: d.SetInteger(&walkingSpeed, 4); break;
    case 108: d.SetBoolean(&menuRequested, 0); break;
    case 111: d.SetBoolean(&viewFollows, 1); break;
    case 112: d.SetInteger(&panX, kPanX); break;
    case 113: d.SetInteger(&panY, kPanY); break;
    case 114: d.SetInteger(&panTargetX, kPanX); break;
    case 115: d.SetInteger(&panTargetY, kPanY); break;
    case 121: d.SetInteger(&panSpeed, 16); break;
    case 124: d.SetInteger(&encounterSteps, 0); break;
    case 125: d.SetBoolean(&encounterPending, 0); break;
    case 131: d.SetInteger(&mapStamp, 0); break;
    case 132: d.SetInteger(&databaseStamp, 0); break;
    default: TLcfgCharacter::DescribeField(id, d, reading); break;
    }
}

void TLcfgParty::Clear() {
    TLcfgCharacter::Clear();
    speed = 4;
}

void TLcfgParty::LoadFromStream(ByteReader& r) {
    TLcfgCharacter::LoadFromStream(r);
    vehicleKind = std::clamp(vehicleKind, 0, 3);
    walkingSpeed = std::clamp(walkingSpeed, 1, 6);
    // A pan speed of 0 would never reach its target and divide by zero.
    panSpeed = std::clamp(panSpeed, 1, 1 << 16);
    encounterSteps = std::max(encounterSteps, 0);
    if (riding && vehicleKind == 0) riding = 0;
    // The map is set up afresh, which also centres the pan. The later
    // chunks bring back the rest: the party information the leader's
    // sprite, the map's own chunk the view as it was saved.
    if (GameMap) GameMap->Setup(true, true);
}

void TLcfgParty::SaveToStream(ByteWriter& w) {
    if (GameMapUnit) mapStamp = GameMapUnit->saveCounter;
    if (DbSystem) databaseStamp = DbSystem->saveCounter;
    TLcfgCharacter::SaveToStream(w);
}

TLcfgShip* TLcfgParty::Vehicle() const { return riding ? GameVehicle(vehicleKind) : nullptr; }

// --- Position --------------------------------------------------------------------

void TLcfgParty::SetPosition(int32_t map, int32_t newX, int32_t newY) {
    const bool sameMap = map == mapId;
    TLcfgCharacter::SetPosition(map, newX, newY);
    encounterSteps = 0;
    menuRequested = 0;
    if (TLcfgShip* v = Vehicle()) v->TLcfgCharacter::SetPosition(map, newX, newY);
    if (!GameMap) return;
    if (sameMap) {
        GameMap->SetViewX(int64_t(newX) * 256 - panX);
        GameMap->SetViewY(int64_t(newY) * 256 - panY);
        if (GameWorldHooks.screen) GameWorldHooks.screen->PanoramaFollowView();
        return;
    }
    ResetAnimation();
    GameMap->Setup(true);
    ApplyMapTreeSettings();
    RefreshGraphic();
}

void TLcfgParty::ApplyMapTreeSettings() {
    if (!GameMapTree || !GameSystem) return;
    // Each walk goes up the tree to the first entry that does not defer.
    auto walk = [&](auto setting, auto apply) {
        int32_t id = mapId;
        for (int guard = 0; guard <= GameMapTree->Count(); ++guard) {
            const TLcfMapTreeItem* entry = GameMapTree->Find(id);
            if (!entry) return;
            if (setting(*entry) != 0) {
                apply(*entry);
                return;
            }
            if (entry->parentId == id) return;
            id = entry->parentId;
        }
    };
    walk([](const TLcfMapTreeItem& e) { return e.musicKind; },
         [&](const TLcfMapTreeItem& e) {
             if (e.musicKind != TLcfMapTreeItem::kMusicOwn) return;
             if (riding) GameSystem->MusicRecord(kGameMusicBeforeBoarding) = e.music;
             else GameSystem->PlayMusic(e.music);
         });
    walk([](const TLcfMapTreeItem& e) { return e.teleport; },
         [&](const TLcfMapTreeItem& e) { GameSystem->teleportAllowed = e.teleport == 1; });
    walk([](const TLcfMapTreeItem& e) { return e.escape; },
         [&](const TLcfMapTreeItem& e) { GameSystem->escapeAllowed = e.escape == 1; });
    walk([](const TLcfMapTreeItem& e) { return e.save; },
         [&](const TLcfMapTreeItem& e) { GameSystem->saveAllowed = e.save == 1; });
    GameSystem->mapBattleBackground.clear();
    walk([](const TLcfMapTreeItem& e) { return e.backdropKind; },
         [&](const TLcfMapTreeItem& e) {
             if (e.backdropKind == TLcfMapTreeItem::kBackdropOwn) GameSystem->mapBattleBackground = e.backdropName;
         });
}

void TLcfgParty::ResetAnimation() {
    pattern = 1;
    animationCounter = 0;
}

void TLcfgParty::RefreshGraphic() {
    std::string name;
    int32_t index = 0;
    bool transparent = false;
    if (GameWorldHooks.party && GameWorldHooks.party->LeaderSprite(name, index, transparent)) {
        sheetName = name;
        sheetIndex = std::clamp(index, 0, 7);
        transparency = transparent ? 3 : 0;
    } else {
        sheetName.clear();
        sheetIndex = 0;
        transparency = 0;
    }
}

// --- Passing and stepping -------------------------------------------------------------

bool TLcfgParty::CanMoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    if (riding) {
        TLcfgShip* v = Vehicle();
        return v ? v->CanMoveTo(fromX, fromY, toX, toY) : false;
    }
    return TLcfgCharacter::CanMoveTo(fromX, fromY, toX, toY);
}

bool TLcfgParty::Collides(const TLcfgCharacter& other, bool extra) const {
    if (other.CharacterKind() == kKindAirship) return false;
    return TLcfgCharacter::Collides(other, extra);
}

bool TLcfgParty::Move(int32_t d) {
    if (progress > 0) return false;
    const bool started = TLcfgCharacter::Move(d);
    if (!started || InAirship()) return started;
    const TLcfGroundItem* terrain = TerrainOf(TerrainId());
    if (!terrain) return started;
    bool damaged = false;
    if (terrain->damage != 0 && GameWorldHooks.party) {
        damaged = GameWorldHooks.party->ApplyTerrainDamage(terrain->damage);
        if (damaged && GameWorldHooks.screen) GameWorldHooks.screen->FlashScreen(31, 10, 10, 20, 6);
    }
    if (GameSystem && terrain->stepSound.name != "(OFF)" && !terrain->stepSound.name.empty() &&
        (!terrain->soundOnDamageOnly || damaged))
        GameSystem->PlaySound(terrain->stepSound);
    return started;
}

void TLcfgParty::ScrollWithStep(bool wasJump, int32_t n, int32_t jumpDx, int32_t jumpDy) {
    int64_t ox = int64_t(x) * 256 - GameMap->viewX - panX;
    int64_t oy = int64_t(y) * 256 - GameMap->viewY - panY;
    if (GameMap->LoopsHorizontally()) {
        const int64_t span = int64_t(GameMap->Width()) * 256;
        ox = ((ox + span / 2) % span + span) % span - span / 2;
    }
    if (GameMap->LoopsVertically()) {
        const int64_t span = int64_t(GameMap->Height()) * 256;
        oy = ((oy + span / 2) % span + span) % span - span / 2;
    }
    if (wasJump) {
        const int32_t sx = n * std::abs(jumpDx), sy = n * std::abs(jumpDy);
        if (sx) {
            if (ox > 0) GameMap->ScrollRight(sx);
            else if (ox < 0) GameMap->ScrollLeft(sx);
        }
        if (sy) {
            if (oy < 0) GameMap->ScrollUp(sy);
            else if (oy > 0) GameMap->ScrollDown(sy);
        }
        return;
    }
    const int32_t d = direction;
    if ((d == 1 || d == 4 || d == 5) && ox > 0) GameMap->ScrollRight(n);
    if ((d == 3 || d == 6 || d == 7) && ox < 0) GameMap->ScrollLeft(n);
    if ((d == 0 || d == 4 || d == 7) && oy < 0) GameMap->ScrollUp(n);
    if ((d == 2 || d == 5 || d == 6) && oy > 0) GameMap->ScrollDown(n);
}

void TLcfgParty::AdvanceMovement(int32_t n) {
    const bool wasJump = jumping;
    const int32_t jumpDx = x - jumpOriginX, jumpDy = y - jumpOriginY;
    TLcfgCharacter::AdvanceMovement(n);
    if (viewFollows && GameMap) {
        ScrollWithStep(wasJump, n, jumpDx, jumpDy);
        if (wasJump && !jumping) {
            // Whole tiles again, ties to even.
            GameMap->SetViewX(int64_t(std::nearbyint(GameMap->viewX / 256.0)) * 256);
            GameMap->SetViewY(int64_t(std::nearbyint(GameMap->viewY / 256.0)) * 256);
        }
    }
    if (!forcedActive && progress == 0) {
        TriggerHere(TLcfgEventItem::kTriggerTouch, false);
        TriggerHere(TLcfgEventItem::kTriggerEventTouch, false);
    }
}

// --- The frame's decision -------------------------------------------------------------

void TLcfgParty::UpdateMovement() {
    if (flying && UpdateAirship()) return;
    RunMoveRoute(forcedRoute, forcedPosition, true);
    if (GameScripter && GameScripter->IsRunning()) {
        menuRequested = 0;
        return;
    }
    if (waitingForScript || forcedActive || MessageWindowVisible()) return;
    if (encounterPending) {
        menuRequested = 0;
        StartEncounter();
        if (GameSystem && GameSystem->scene == kSceneBattle) return;
    }
    if (menuRequested) {
        menuRequested = 0;
        if (GameSystem) {
            GameSystem->scene = kSceneMenu;
            GameSystem->PlaySound(GameSystem->DecisionSound());
        }
        ResetAnimation();
        return;
    }
    TriggerHere(TLcfgEventItem::kTriggerEventTouch, false);
    if (GameCommonEvents && GameCommonEvents->FirstAutorunReady()) return;
    if (GameMap)
        for (int i = 0; i < GameMap->events.Count(); ++i)
            if (GameMap->events.Items(i)->startRequested) return;
    const TMultiInput* input = GameInterpreterHooks.input;
    const int32_t key = input ? input->Direction : 0;
    bool started = false;
    if (key) {
        const bool ctrl = CtrlThrough();
        through = routeThrough || ctrl;
        const int32_t d = key == 2 ? 2 : key == 4 ? 3 : key == 6 ? 1 : 0;
        started = Move(d);
        through = routeThrough;
        if (started) {
            if (GameWorldHooks.party) GameWorldHooks.party->CountStep();
            RollEncounter();
            return;
        }
        TriggerInFront(TLcfgEventItem::kTriggerTouch, false);
        TriggerInFront(TLcfgEventItem::kTriggerEventTouch, false);
    }
    if (input && input->IsPressed(TMultiInput::kDecision) && !BoardOrLeaveVehicle()) {
        TriggerInFront(TLcfgEventItem::kTriggerTouch, true);
        TriggerInFront(TLcfgEventItem::kTriggerEventTouch, true);
        TriggerHere(TLcfgEventItem::kTriggerKey, true);
        TriggerInFront(TLcfgEventItem::kTriggerKey, true);
    }
}

bool TLcfgParty::TriggerHere(int32_t trigger, bool byKey) {
    if (InAirship() || !GameMap) return false;
    bool started = false;
    for (int i = 0; i < GameMap->events.Count(); ++i) {
        TLcfgEventItem* e = GameMap->events.Items(i);
        if (!e->active || !e->ActivePage() || e->x != x || e->y != y || e->layer == 1 || e->Trigger() != trigger)
            continue;
        e->RequestStart();
        e->startedByKey = byKey;
        encounterPending = 0;
        started = true;
    }
    return started;
}

bool TLcfgParty::TriggerInFront(int32_t trigger, bool byKey) {
    if (InAirship() || !GameMap) return false;
    int32_t cx = x, cy = y;
    for (int step = 0; step < 4; ++step) {
        cx = GameMap->WrapX(cx + DirectionDx(direction));
        cy = GameMap->WrapY(cy + DirectionDy(direction));
        bool started = false;
        for (int i = 0; i < GameMap->events.Count(); ++i) {
            TLcfgEventItem* e = GameMap->events.Items(i);
            if (!e->active || !e->ActivePage() || e->x != cx || e->y != cy || e->layer != 1 ||
                e->Trigger() != trigger)
                continue;
            e->RequestStart();
            e->startedByKey = byKey;
            encounterPending = 0;
            started = true;
        }
        if (started) return true;
        if (trigger != TLcfgEventItem::kTriggerKey) return false;
        // The decision key reaches across a counter.
        if (!(GameMap->UpperFlags(GameMap->UpperTile(cx, cy)) & kChipCounter)) return false;
    }
    return false;
}

// --- Encounters -----------------------------------------------------------------------

void TLcfgParty::RollEncounter() {
    if (CtrlThrough() || flying || !GameMap) return;
    const int64_t r = GameMap->EncounterRate();
    if (r <= 0) return;
    const TLcfGroundItem* terrain = TerrainOf(TerrainId());
    const int64_t p = terrain ? terrain->encounterRate : 100;
    encounterSteps = int32_t(std::clamp<int64_t>(int64_t(encounterSteps) + p, 0, INT32_MAX));
    const int64_t s = encounterSteps;
    double k;
    if (s < 20 * r) k = 1.0 / 16;
    else if (s < 40 * r) k = 1.0 / 8;
    else if (s < 60 * r) k = 1.0 / 4;
    else if (s < 100 * r) k = 1.0 / 2;
    else if (s < 140 * r) k = 2;
    else if (s < 160 * r) k = 4;
    else if (s < 180 * r) k = 8;
    else k = 16;
    if (double(p) * (1.0 / double(r)) * k / 100.0 * 65536.0 > double(Random(65536))) {
        encounterSteps = 0;
        encounterPending = 1;
    }
}

void TLcfgParty::StartEncounter() {
    encounterPending = 0;
    if (!GameMapTree) return;
    const int32_t terrainId = TerrainId();
    IWorldBattleHooks* battle = GameWorldHooks.battle;
    std::vector<int32_t> candidates;
    for (int i = 0; i < GameMapTree->Count(); ++i) {
        const TLcfMapTreeItem* entry = GameMapTree->Items(i);
        const bool here = entry->Id() == mapId ||
                          (entry->IsArea() && entry->parentId == mapId && entry->AreaContains(x, y));
        if (!here) continue;
        for (int j = 0; j < entry->encounters.Count(); ++j) {
            const int32_t troop = entry->encounters.Items(j)->troopId;
            if (!battle || battle->TroopAllowedOnTerrain(troop, terrainId)) candidates.push_back(troop);
        }
    }
    if (candidates.empty() || !battle) return;
    TLcfgEncounterBattle b;
    b.troopId = candidates[size_t(Random(int32_t(candidates.size())))];
    if (GameSystem && !GameSystem->mapBattleBackground.empty()) {
        b.backdrop = GameSystem->mapBattleBackground;
        b.terrainId = 0;
    } else {
        const TLcfGroundItem* terrain = TerrainOf(terrainId);
        b.backdrop = terrain ? terrain->backdrop : std::string();
        b.terrainId = terrainId;
    }
    b.firstStrike = Random(32) == 0;
    battle->StartEncounterBattle(b);
    if (GameSystem) GameSystem->scene = kSceneBattle;
}

// --- Vehicles ----------------------------------------------------------------------------

bool TLcfgParty::BoardOrLeaveVehicle() {
    if (!GameMap) return false;
    const int32_t d = direction > 3 ? facing : direction;
    const int32_t tx = GameMap->WrapX(x + DirectionDx(d)), ty = GameMap->WrapY(y + DirectionDy(d));
    if (riding) {
        TLcfgShip* v = Vehicle();
        if (!v) return false;
        if (vehicleKind == TLcfgShip::kAirship) {
            if (v->ascent > 0 || v->descent > 0) return false;
            facing = 3;
            v->descent = 256;
            return true;
        }
        if (!GameMap->IsInside(tx, ty) ||
            !GameMap->IsPassable(tx, ty, 0, DirectionBetween(tx, ty, x, y)) || ActiveEventAt(tx, ty, true))
            return false;
        v->ResetFacing();
        riding = 0;
        leaving = 1;
        speed = walkingSpeed;
        through = 1;
        TLcfgCharacter::Move(d);
        through = routeThrough;
        vehicleKind = 0;
        if (GameSystem) {
            TLcfMusic music = GameSystem->MusicRecord(kGameMusicBeforeBoarding);
            music.fadeIn = 0;
            GameSystem->PlayMusic(music);
        }
        return true;
    }
    TLcfgShip* airship = GameAirship;
    if (airship && airship->mapId == mapId && SameCell(*airship)) {
        vehicleKind = TLcfgShip::kAirship;
        riding = 1;
        facing = 3;
        airship->ascent = 256;
        flying = airship->flying = 1;
        walkingSpeed = speed;
        speed = airship->speed;
        if (GameSystem) {
            GameSystem->MusicRecord(kGameMusicBeforeBoarding) = GameSystem->MusicRecord(kGameMusicCurrent);
            GameSystem->PlayMusic(GameSystem->Music(kGameMusicVehicle3));
        }
        return true;
    }
    if (!GameMap->IsPassable(x, y, 0, DirectionBetween(x, y, tx, ty))) return false;
    TLcfgShip* boat = nullptr;
    for (int kind : {TLcfgShip::kShip, TLcfgShip::kBoat}) {
        TLcfgShip* v = GameVehicle(kind);
        if (v && v->mapId == mapId && v->x == tx && v->y == ty) {
            boat = v;
            break;
        }
    }
    if (!boat) return false;
    through = 1;
    TLcfgCharacter::Move(d);
    through = hidden || routeThrough;
    boarding = 1;
    walkingSpeed = speed;
    vehicleKind = boat->Kind();
    if (GameSystem) {
        GameSystem->MusicRecord(kGameMusicBeforeBoarding) = GameSystem->MusicRecord(kGameMusicCurrent);
        GameSystem->PlayMusic(GameSystem->Music(vehicleKind == 1 ? kGameMusicVehicle1 : kGameMusicVehicle2));
    }
    return true;
}

void TLcfgParty::ForceLeaveVehicle() {
    if (!riding) return;
    TLcfgShip* v = Vehicle();
    if (GameAirship) GameAirship->descent = 0;
    riding = 0;
    if (v) v->ResetFacing();
    vehicleKind = 0;
    speed = walkingSpeed;
    flying = 0;
    if (GameAirship) GameAirship->flying = 0;
    if (GameSystem) {
        TLcfMusic music = GameSystem->MusicRecord(kGameMusicBeforeBoarding);
        music.fadeIn = 0;
        GameSystem->PlayMusic(music);
    }
}

bool TLcfgParty::CanLandAirship() const {
    if (!GameMap) return false;
    if (const TLcfGroundItem* terrain = TerrainOf(TerrainId()); terrain && !terrain->airshipLands) return false;
    if (ActiveEventAt(x, y, false)) return false;
    for (int kind : {TLcfgShip::kBoat, TLcfgShip::kShip}) {
        const TLcfgShip* v = GameVehicle(kind);
        if (v && v->mapId == mapId && v->x == x && v->y == y) return false;
    }
    const uint8_t uf = GameMap->UpperFlags(GameMap->UpperTile(x, y));
    const uint8_t lf = GameMap->LowerFlags(GameMap->LowerTile(x, y));
    return (uf & 0x0F) && (lf & 0x0F);
}

bool TLcfgParty::UpdateAirship() {
    TLcfgShip* airship = GameAirship;
    if (!airship) return false;
    if (airship->ascent > 0) {
        airship->ascent = std::max(airship->ascent - 8, 0);
        return true;
    }
    if (airship->descent > 0) {
        // Never below 0, so a descent that is not a multiple of 8 ends too.
        airship->descent = std::max(airship->descent - 8, 0);
        if (airship->descent > 0) return true;
        if (CanLandAirship()) {
            riding = 0;
            facing = 2;
            vehicleKind = 0;
            speed = walkingSpeed;
            flying = airship->flying = 0;
            airship->ResetFacing();
            if (GameSystem) {
                TLcfMusic music = GameSystem->MusicRecord(kGameMusicBeforeBoarding);
                music.fadeIn = 0;
                GameSystem->PlayMusic(music);
            }
        } else {
            airship->ascent = 256;
        }
        return true;
    }
    return false;
}

// --- Frame -------------------------------------------------------------------------------

void TLcfgParty::SetGraphic(const std::string& name, int32_t index) {
    if (TLcfgShip* v = Vehicle()) v->SetGraphic(name, index);
    else TLcfgCharacter::SetGraphic(name, index);
}

void TLcfgParty::StepPan(int32_t& pan, int32_t target, bool horizontal) {
    if (pan == target || !GameMap) return;
    // In 64 bits: a save may hold a pan and a target at opposite ends.
    const int32_t step = int32_t(std::min<int64_t>(std::llabs(int64_t(target) - pan), std::max(panSpeed, 1)));
    bool moved;
    if (target < pan)
        moved = horizontal ? GameMap->ScrollRight(step) : GameMap->ScrollDown(step);
    else
        moved = horizontal ? GameMap->ScrollLeft(step) : GameMap->ScrollUp(step);
    if (moved) pan += target < pan ? -step : step;
}

bool TLcfgParty::Update() {
    if (!TLcfgCharacter::Update()) return false;
    if (boarding && progress == 0) {
        boarding = 0;
        riding = 1;
        facing = 3;
        if (TLcfgShip* v = Vehicle()) speed = v->speed;
    }
    if (leaving && progress == 0) leaving = 0;
    if (TLcfgShip* v = Vehicle()) v->ParkAt(*this);
    StepPan(panX, panTargetX, true);
    StepPan(panY, panTargetY, false);
    const TMultiInput* input = GameInterpreterHooks.input;
    if (input && input->IsPressed(TMultiInput::kCancel) && GameSystem && GameSystem->mainMenuAllowed &&
        !MessageWindowVisible() && !(GameScripter && GameScripter->IsRunning()))
        menuRequested = 1;
    return true;
}

void TLcfgParty::Draw(TSorvoBoard& board) {
    if (riding || hidden) return;
    TLcfgCharacter::Draw(board);
}

// --- Panning --------------------------------------------------------------------------------

void TLcfgParty::PanScreen(int32_t dir, int32_t tiles, int32_t newSpeed) {
    const int32_t d = int32_t(std::clamp<int64_t>(int64_t(tiles) * 256, INT32_MIN / 2, INT32_MAX / 2));
    switch (dir) {
    case 0: panTargetY = ClampToInt32(int64_t(panTargetY) + d); break;
    case 1: panTargetX = ClampToInt32(int64_t(panTargetX) - d); break;
    case 2: panTargetY = ClampToInt32(int64_t(panTargetY) - d); break;
    case 3: panTargetX = ClampToInt32(int64_t(panTargetX) + d); break;
    default: break;
    }
    panSpeed = PanSpeedOf(newSpeed);
}

void TLcfgParty::ResetPan(int32_t newSpeed) {
    panTargetX = kPanX;
    panTargetY = kPanY;
    panSpeed = PanSpeedOf(newSpeed);
}

int32_t TLcfgParty::PanFramesLeft() const {
    const int64_t s = std::max(panSpeed, 1);
    const int64_t fx = (std::llabs(int64_t(panTargetX) - panX) + s - 1) / s;
    const int64_t fy = (std::llabs(int64_t(panTargetY) - panY) + s - 1) / s;
    return int32_t(std::min<int64_t>(std::max(fx, fy), INT32_MAX));
}
