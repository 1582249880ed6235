#include "game/character/character.h"

#include <algorithm>
#include <cstdlib>

#include "data/clamp.h"
#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/map/map.h"
#include "data/random.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "game/map/world_hooks.h"
#include "game/screen/game_screen.h"
#include "game/screen/round_even.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "graphics/char_set_graphic.h"
#include "graphics/chip_set_graphic.h"

namespace {

constexpr int32_t kPause[8] = {256, 128, 64, 32, 16, 8, 4, 0};
constexpr int32_t kMoveInterval[6] = {12, 10, 8, 6, 5, 4};
constexpr int32_t kStandInterval[6] = {16, 12, 10, 8, 7, 6};
constexpr int32_t kSpinInterval[6] = {24, 16, 12, 8, 6, 4};
constexpr int32_t kWalkStep[6] = {4, 8, 16, 32, 64, 128};
constexpr int32_t kJumpStep[6] = {8, 12, 16, 24, 32, 64};
constexpr int32_t kDx[8] = {0, 1, 0, -1, 1, 1, -1, -1};
constexpr int32_t kDy[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
// Random(4) of route and movement commands: up, right, left, down.
constexpr uint8_t kRandomDirection[4] = {0, 1, 3, 2};
// Lets the wait counter of an idle character grow for ever without wrapping.
constexpr int32_t kWaitCounterCap = 1 << 30;
// A character blocked by another updates that one first, which may be
// blocked by a third and so on: a queue of events from a map file could
// nest this as deep as it is long. Past this depth the one ahead is taken
// as it stands; it moves in its own turn of the frame.
constexpr int kMaxUpdateNesting = 256;
int UpdateNesting = 0;

int32_t SpeedIndex(int32_t s) { return std::clamp(s, 1, 6) - 1; }

}  // namespace

int32_t MovePause(int32_t f) { return kPause[std::clamp(f, 1, 8) - 1]; }
int32_t MovingPatternInterval(int32_t s) { return kMoveInterval[SpeedIndex(s)]; }
int32_t StandingPatternInterval(int32_t s) { return kStandInterval[SpeedIndex(s)]; }
int32_t SpinInterval(int32_t s) { return kSpinInterval[SpeedIndex(s)]; }
int32_t WalkStep(int32_t s) { return kWalkStep[SpeedIndex(s)]; }
int32_t JumpStep(int32_t s) { return kJumpStep[SpeedIndex(s)]; }
int32_t DirectionDx(int32_t d) { return d >= 0 && d < 8 ? kDx[d] : 0; }
int32_t DirectionDy(int32_t d) { return d >= 0 && d < 8 ? kDy[d] : 0; }

TLcfgCharacter::TLcfgCharacter(int32_t id) : TCatalogItem(id) { TLcfgCharacter::Clear(); }

void TLcfgCharacter::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetBoolean(&active, 1); break;
    case 11: d.SetInteger(&mapId, 2147483647); break;
    case 12: d.SetInteger(&x, 2147483647); break;
    case 13: d.SetInteger(&y, 2147483647); break;
    case 21: d.SetFixed(&direction, 1); break;
    case 22: d.SetFixed(&facing, 1); break;
    case 23: d.SetInteger(&pattern, 1); break;
    case 24: d.SetInteger(&transparency, 0); break;
    case 31: d.SetInteger(&progress, 0); break;
    case 32: d.SetInteger(&frequency, 2); break;
    case 33: d.SetFixed(&layer, 1); break;
    case 34: d.SetBoolean(&overlapForbidden, 0); break;
    case 35: d.SetFixed(&animationType, 1); break;
    case 36: d.SetBoolean(&facingLocked, 0); break;
    case 37: d.SetInteger(&speed, 2147483647); break;
    case 41: d.SetRecord(&forcedRoute); break;
    case 42: d.SetBoolean(&forcedActive, 0); break;
    case 43: d.SetInteger(&forcedPosition, 0); break;
    case 44: d.SetBoolean(&forcedRunThrough, 0); break;
    case 46: d.SetBoolean(&hidden, 0); break;
    case 47: d.SetBoolean(&routeThrough, 0); break;
    case 48: d.SetBoolean(&animationStopped, 0); break;
    case 51: d.SetBoolean(&through, 0); break;
    case 52: d.SetInteger(&waitCounter, 0); break;
    case 53: d.SetInteger(&animationCounter, 0); break;
    case 54: d.SetInteger(&pause, 0); break;
    case 61: d.SetBoolean(&jumping, 0); break;
    case 62: d.SetInteger(&jumpOriginX, 0); break;
    case 63: d.SetInteger(&jumpOriginY, 0); break;
    case 71: d.SetBoolean(&waitingForScript, 0); break;
    case 72: d.SetBoolean(&flying, 0); break;
    case 73: d.SetString(&sheetName, true); break;
    case 74: d.SetInteger(&sheetIndex, 0); break;
    case 75: d.SetBoolean(&updated, 0); break;
    case 81: d.SetInteger(&flashRed, 100); break;
    case 82: d.SetInteger(&flashGreen, 100); break;
    case 83: d.SetInteger(&flashBlue, 100); break;
    case 84: d.SetDouble(&flashStrength, 0); break;
    case 85: d.SetInteger(&flashFrames, 0); break;
    default: break;
    }
}

void TLcfgCharacter::Clear() {
    TCatalogItem::Clear();
    // Always written, so no description holds these.
    mapId = x = y = 0;
    speed = 3;
    direction = facing = 2;
    layer = 1;
    animationType = 0;
    forcedRoute.Clear();
    savedFrequency_ = 2;
}

void TLcfgCharacter::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    ClampLoadedFields();
}

void TLcfgCharacter::ClampLoadedFields() {
    direction = uint8_t(std::min<int>(direction, 7));
    facing = uint8_t(std::min<int>(facing, 3));
    pattern = std::clamp(pattern, 0, 3);
    transparency = std::clamp(transparency, 0, 7);
    speed = std::clamp(speed, 1, 6);
    frequency = std::clamp(frequency, 1, 8);
    layer = uint8_t(std::min<int>(layer, 2));
    animationType = uint8_t(std::min<int>(animationType, 5));
    sheetIndex = std::clamp(sheetIndex, 0, sheetName.empty() ? 143 : 7);
    progress = std::clamp(progress, 0, 256);
    x = ClampCoordinate(x);
    y = ClampCoordinate(y);
    jumpOriginX = ClampCoordinate(jumpOriginX);
    jumpOriginY = ClampCoordinate(jumpOriginY);
    waitCounter = std::clamp(waitCounter, 0, kWaitCounterCap);
    animationCounter = std::clamp(animationCounter, 0, 1 << 16);
    pause = std::clamp(pause, 0, 1 << 16);
    flashFrames = std::clamp(flashFrames, 0, 1 << 16);
    // A position past the end counts as the end.
    forcedPosition = std::clamp(forcedPosition, 0, forcedRoute.Count());
    // The frequency saved when the route started is not in the save.
    savedFrequency_ = FrequencyAfterRoute();
}

// --- Helpers -------------------------------------------------------------------

bool TLcfgCharacter::InterpreterRunning() const { return GameScripter && GameScripter->IsRunning(); }

bool TLcfgCharacter::EventsMayMove() const {
    return !InterpreterRunning() || (GameSystem && GameSystem->eventsMoveDuringMessages);
}

// --- Geometry ------------------------------------------------------------------

int32_t TLcfgCharacter::DirectionBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    if (GameMap) {
        const int64_t w = GameMap->Width(), h = GameMap->Height();
        if (dx < -1) dx += w; else if (dx > 1) dx -= w;
        if (dy < -1) dy += h; else if (dy > 1) dy -= h;
    }
    if (dx != 0 && dy != 0) return 4;
    if (dx < 0) return 1;
    if (dx > 0) return 2;
    if (dy < 0) return 3;
    if (dy > 0) return 0;
    return 4;
}

bool TLcfgCharacter::SameCell(const TLcfgCharacter& other) const {
    return x == other.x && y == other.y && progress == 0 && other.progress == 0;
}

void TLcfgCharacter::TurnToward(int32_t tx, int32_t ty) {
    int64_t targetX = tx, targetY = ty;
    if (GameMap) {
        const int64_t w = GameMap->Width(), h = GameMap->Height();
        if (GameMap->LoopsHorizontally()) {
            if (std::llabs(targetX + w - x) < std::llabs(targetX - x)) targetX += w;
            else if (std::llabs(targetX - w - x) < std::llabs(targetX - x)) targetX -= w;
        }
        if (GameMap->LoopsVertically()) {
            if (std::llabs(targetY + h - y) < std::llabs(targetY - y)) targetY += h;
            else if (std::llabs(targetY - h - y) < std::llabs(targetY - y)) targetY -= h;
        }
    }
    const int64_t dx = targetX - x, dy = targetY - y;
    if (std::llabs(dy) < std::llabs(dx))
        direction = targetX < x ? 3 : 1;
    else
        direction = targetY < y ? 0 : 2;
}

void TLcfgCharacter::TurnRandomly() {
    if (Random(2) == 0) TurnRight(); else TurnLeft();
}

void TLcfgCharacter::FaceRandomDirection() { direction = kRandomDirection[Random(4) & 3]; }

void TLcfgCharacter::FaceParty() {
    if (GameParty) TurnToward(GameParty->x, GameParty->y);
}

void TLcfgCharacter::FaceAwayFromParty() {
    FaceParty();
    TurnAround();
}

void TLcfgCharacter::SetPosition(int32_t map, int32_t newX, int32_t newY) {
    mapId = map;
    x = ClampCoordinate(newX);
    y = ClampCoordinate(newY);
    progress = 0;
}

void TLcfgCharacter::SetGraphic(const std::string& name, int32_t index) {
    // The sheet itself is fetched from the map's cache when first drawn.
    sheetName = name;
    sheetIndex = index;
}

void TLcfgCharacter::SetHidden(bool value) {
    hidden = value;
    through = routeThrough;
}

void TLcfgCharacter::StartFlash(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames) {
    flashRed = red;
    flashGreen = green;
    flashBlue = blue;
    flashStrength = strength;
    flashFrames = std::max(frames, 0);
}

// --- Passing ---------------------------------------------------------------------

bool TLcfgCharacter::Collides(const TLcfgCharacter& other, bool extra) const {
    if (!active || !other.active || flying || other.flying || through || other.through) return false;
    if (Id() > 0 && other.Id() > 0) return overlapForbidden || other.overlapForbidden;
    return layer == other.layer || (extra && other.layer == 1);
}

bool TLcfgCharacter::CanMoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    if (!GameMap || !GameMap->IsInside(toX, toY)) return false;
    if (through) return true;
    bool blocksUpperLayer = false;
    if (fromX != kNoOrigin) {
        fromX = GameMap->WrapX(fromX);
        fromY = GameMap->WrapY(fromY);
        const int32_t side = DirectionBetween(fromX, fromY, toX, toY);
        if (layer == 0 && sheetName.empty()) {
            const uint8_t own = GameMap->UpperFlags(10000 + sheetIndex);
            const uint8_t bits = side < 4 ? uint8_t(1u << side) : uint8_t(0x0F);
            blocksUpperLayer = (own & bits) == 0;
        }
        if (!GameMap->IsPassable(fromX, fromY, Id(), side)) return false;
    }
    toX = GameMap->WrapX(toX);
    toY = GameMap->WrapY(toY);
    // Count and entries are read again each time: an Update may change them.
    for (int i = 0; i < GameMap->CharacterCount(); ++i) {
        TLcfgCharacter* other = GameMap->CharacterByIndex(i);
        if (!other || other == this || other->x != toX || other->y != toY) continue;
        if (UpdateNesting < kMaxUpdateNesting) {  // it may step away this frame
            struct Nested {
                Nested() { ++UpdateNesting; }
                ~Nested() { --UpdateNesting; }
            } nested;
            other->Update();
        }
        if (other->x == toX && other->y == toY && Collides(*other, blocksUpperLayer)) return false;
    }
    return GameMap->IsPassable(toX, toY, Id(), DirectionBetween(toX, toY, fromX, fromY));
}

bool TLcfgCharacter::Move(int32_t d) {
    if (progress > 0) return false;
    direction = uint8_t(std::clamp(d, 0, 7));
    UpdateFacing();
    const int32_t dx = DirectionDx(direction), dy = DirectionDy(direction);
    bool allowed;
    if (dx == 0 || dy == 0) {
        allowed = CanMoveTo(x, y, x + dx, y + dy);
    } else {
        allowed = (CanMoveTo(x, y, x, y + dy) && CanMoveTo(x, y + dy, x + dx, y + dy)) ||
                  (CanMoveTo(x, y, x + dx, y) && CanMoveTo(x + dx, y, x + dx, y + dy));
    }
    if (!allowed || !GameMap) return false;
    x = GameMap->WrapX(x + dx);
    y = GameMap->WrapY(y + dy);
    progress = 256;
    return true;
}

bool TLcfgCharacter::JumpTo(int32_t tx, int32_t ty) {
    TurnToward(tx, ty);
    if (tx != x || ty != y) {
        UpdateFacing();
        if (!CanMoveTo(kNoOrigin, 0, tx, ty)) return false;
    }
    if (!GameMap) return false;
    const int32_t wx = GameMap->WrapX(tx), wy = GameMap->WrapY(ty);
    jumpOriginX = x + (wx - tx);
    jumpOriginY = y + (wy - ty);
    jumping = 1;
    progress = 256;
    x = wx;
    y = wy;
    return true;
}

// --- Frame ------------------------------------------------------------------------

void TLcfgCharacter::UpdateFacing() {
    if (facingLocked) return;
    switch (direction) {
    case 0: case 1: case 2: case 3: facing = direction; break;
    case 4: if (facing == 2) facing = 0; else if (facing == 3) facing = 1; break;
    case 5: if (facing == 0) facing = 2; else if (facing == 3) facing = 1; break;
    case 6: if (facing == 0) facing = 2; else if (facing == 1) facing = 3; break;
    case 7: if (facing == 1) facing = 3; else if (facing == 2) facing = 0; break;
    default: break;
    }
}

void TLcfgCharacter::AdvanceMovement(int32_t n) {
    progress -= n;
    if (progress <= 0) {
        progress = 0;
        jumping = 0;
        if (forcedActive && forcedPosition >= forcedRoute.Count()) {
            forcedRunThrough = 1;
            forcedPosition = 0;
            if (!forcedRoute.repeat) CancelForcedRoute();
        }
    }
    waitCounter = 0;
}

void TLcfgCharacter::AnimateStep() {
    const int32_t type = animationType;
    if (type == 4) return;
    bool count = true;
    if ((type <= 3) && jumping) count = false;
    if ((type == 0 || type == 2) && waitCounter > 0 && (pattern & 1) &&
        animationCounter >= MovingPatternInterval(speed) - 1)
        count = false;
    if (count && animationCounter < (1 << 16)) ++animationCounter;
    if (type == 5) {
        if (animationCounter >= SpinInterval(speed)) {
            facing = uint8_t((facing + 1) % 4);
            animationCounter = 0;
        }
        return;
    }
    if (jumping || animationStopped) {
        pattern = 1;
        animationCounter = 0;
        return;
    }
    if ((waitCounter == 0 && animationCounter >= MovingPatternInterval(speed)) ||
        (waitCounter > 0 && animationCounter >= StandingPatternInterval(speed))) {
        pattern = (pattern + 1) % 4;
        animationCounter = 0;
    }
}

bool TLcfgCharacter::Update() {
    if (!active || updated) return false;
    updated = 1;
    if (progress == 0) UpdateMovement();
    if (flashFrames > 0) {
        --flashFrames;
        flashStrength -= flashStrength / (flashFrames + 1);
    }
    if (progress > 0) {
        AdvanceMovement(jumping ? JumpStep(speed) : WalkStep(speed));
    } else if (forcedActive || (!waitingForScript && EventsMayMove())) {
        if (waitCounter < kWaitCounterCap) ++waitCounter;
    } else if (waitCounter == 0) {
        waitCounter = 1;
    }
    AnimateStep();
    return true;
}

// --- Screen --------------------------------------------------------------------------

int32_t TLcfgCharacter::JumpHeight() const {
    if (!jumping || progress <= 0) return 0;
    const int32_t a = std::abs(progress - 128);
    return 16 - a * a / 1024;
}

int32_t TLcfgCharacter::ScreenX() const {
    const int32_t v = GameMap ? GameMap->viewX / 16 : 0;  // toward zero, like the original
    const int64_t p = progress;
    int64_t sx;
    if (p > 0 && jumping) {
        sx = ((256 - p) * x + p * jumpOriginX) / 16 - v + 8;
    } else {
        sx = int64_t(x) * 16 - v + 8;
        if (p > 0) {
            if (direction == 1 || direction == 4 || direction == 5) sx -= (p + 15) / 16;
            else if (direction == 3 || direction == 6 || direction == 7) sx += p >> 4;
        }
    }
    if (GameMap && GameMap->LoopsHorizontally()) {
        const int64_t span = int64_t(GameMap->Width()) * 16;
        if (sx < -8) sx += ((-8 - sx + span - 1) / span) * span;
        if (sx > span + 7) sx -= ((sx - span - 7 + span - 1) / span) * span;
    }
    return int32_t(std::clamp<int64_t>(sx, INT32_MIN, INT32_MAX));
}

int32_t TLcfgCharacter::ScreenY() const {
    const int32_t v = GameMap ? GameMap->viewY / 16 : 0;
    const int64_t p = progress;
    int64_t sy;
    if (p > 0 && jumping) {
        sy = ((256 - p) * y + p * jumpOriginY) / 16 - v + 16;
    } else {
        sy = int64_t(y) * 16 - v + 16;
        if (p > 0) {
            if (direction == 0 || direction == 4 || direction == 7) sy += p / 16;
            else if (direction == 2 || direction == 5 || direction == 6) sy -= (p + 15) / 16;
        }
    }
    if (GameMap && GameMap->LoopsVertically()) {
        const int64_t span = int64_t(GameMap->Height()) * 16;
        if (sy < 0) sy += ((-sy + span - 1) / span) * span;
        if (sy > span - 1) sy -= ((sy - span + 1 + span - 1) / span) * span;
    }
    return int32_t(std::clamp<int64_t>(sy, INT32_MIN, INT32_MAX));
}

bool TLcfgCharacter::IsOnScreen() const {
    const int32_t sx = ScreenX(), sy = ScreenY();
    return sx >= -32 && sx <= 352 && sy >= -32 && sy <= 272;
}

int32_t TLcfgCharacter::TerrainId() const {
    if (!GameMap || !GameMap->ChipSet()) return 0;
    return GameMap->ChipSet()->TerrainOfTile(GameMap->LowerTile(x, y));
}

int32_t TLcfgCharacter::BushDepth() const {
    if (jumping || flying || layer != 1 || !DbGround) return 0;
    return DbGround->FindGround(TerrainId())->BushDepth();
}

void TLcfgCharacter::Draw(TSorvoBoard& board) {
    if (!active || !GameMapUnit) return;
    const int32_t shake = GameWorldHooks.screen ? GameWorldHooks.screen->ShakeOffset() : 0;
    const int32_t sx = ClampToScreen(int64_t(ScreenX()) + shake);
    const int32_t sy = ClampToScreen(int64_t(ScreenY()) - JumpHeight());
    if (sheetName.empty()) {
        TLcfChipSetGraphic& tiles = GameMapUnit->ChipSetGraphic();
        tiles.SetOpacityLevel(transparency);
        tiles.DrawTile(board, sx - 8, sy - 16, 16, 10000 + sheetIndex, GameSystem ? GameSystem->frameCount : 0);
        tiles.SetOpacityLevel(0);
        return;
    }
    TLcfCharSetGraphic& sheets = GameMapUnit->CharSetGraphic();
    const int32_t index = sheets.Acquire(sheetName);
    ColorSheet(sheets.Sheets(index));
    sheets.OpacityLevel = transparency;
    const int32_t bush = BushDepth();
    auto drawAt = [&](int32_t px, int32_t py) {
        sheets.DrawCharacter(board, px, py, index, sheetIndex, facing, pattern, bush);
    };
    drawAt(sx, sy);
    if (GameMap) {
        const int32_t w = GameMap->Width(), h = GameMap->Height();
        const bool loopH = GameMap->LoopsHorizontally(), loopV = GameMap->LoopsVertically();
        // Small looping maps show a character twice near the seam.
        if (loopH && w <= 21) {
            drawAt(sx + w * 16, sy);
            if (loopV && h <= 16) drawAt(sx + w * 16, sy + h * 16);
        }
        if (loopV && h <= 16) drawAt(sx, sy + h * 16);
    }
    sheets.OpacityLevel = 0;
}

void TLcfgCharacter::ColorSheet(TSorvoSheet& sheet) const {
    // Sheets are shared between characters: each draw sets its own flash.
    // Without strength the colour does not matter, and one canonical value
    // spares rebuilding the colour table between characters.
    const int32_t strength = std::clamp(RoundEven(flashStrength), 0, 32);
    if (strength > 0)
        sheet.ColorControl1.SetFlash(std::clamp(flashRed, 0, 31), std::clamp(flashGreen, 0, 31),
                                     std::clamp(flashBlue, 0, 31), strength, true);
    else
        sheet.ColorControl1.SetFlash(0, 0, 0, 0, true);
    if (GameScreen) GameScreen->ApplyTone(sheet.ColorControl2);
}

// --- Forced routes ---------------------------------------------------------------

void TLcfgCharacter::StartForcedRoute(const std::vector<TLcfMoveRouteItem>& commands, int32_t newFrequency,
                                      bool repeat, bool skippable) {
    if (!forcedActive) savedFrequency_ = frequency;
    waitingForScript = 0;
    forcedPosition = 0;
    forcedActive = 1;
    forcedRunThrough = 0;
    waitCounter = 65535;
    frequency = std::clamp(newFrequency, 1, 8);
    if (frequency != savedFrequency_) pause = MovePause(frequency);
    forcedRoute.Clear();
    for (const TLcfMoveRouteItem& c : commands) forcedRoute.Add(c);
    forcedRoute.repeat = repeat;
    forcedRoute.skippable = skippable;
    if (commands.empty()) CancelForcedRoute();
}

void TLcfgCharacter::CancelForcedRoute() {
    if (forcedActive) {
        frequency = std::clamp(savedFrequency_, 1, 8);
        pause = MovePause(frequency);
    }
    forcedActive = 0;
    forcedRunThrough = 0;
}

int32_t TLcfgCharacter::RouteMoveDirection(int32_t code) {
    switch (code) {
    case 8: return kRandomDirection[Random(4) & 3];
    case 9: FaceParty(); return direction;
    case 10: FaceAwayFromParty(); return direction;
    case 11: return direction;
    default: return code;
    }
}

void TLcfgCharacter::ApplyRouteTurn(int32_t code) {
    switch (code) {
    case 12: case 13: case 14: case 15: direction = uint8_t(code - 12); break;
    case 16: TurnRight(); break;
    case 17: TurnLeft(); break;
    case 18: TurnAround(); break;
    case 19: TurnRandomly(); break;
    case 20: FaceRandomDirection(); break;
    case 21: FaceParty(); break;
    case 22: FaceAwayFromParty(); break;
    default: break;
    }
}

void TLcfgCharacter::RunMoveRoute(const TLcfMoveRoute& route, int32_t& position, bool forced) {
    if (forced && !forcedActive) return;
    if (route.Count() == 0) return;
    const int32_t start = position;
    // Each pass either stops or moves on; a route can only come round to
    // its start once, but a route replaced mid-run starts over: bound it.
    for (int guard = 0; guard < 4 * (route.Count() + 2); ++guard) {
        if (progress > 0 || waitCounter < pause) return;
        if (forced && !forcedActive) return;
        if (position >= route.Count()) {
            if (forced) forcedRunThrough = 1;
            if (!route.repeat) {
                if (forced) CancelForcedRoute();
                return;
            }
            position = 0;
            if (start == 0) return;
        }
        if (position < 0) position = 0;
        const int32_t oldDirection = direction, oldFacing = facing;
        // A copy: the command may replace the route it came from.
        const TLcfMoveRouteItem* at = route.Commands(position);
        if (!at) return;
        const TLcfMoveRouteItem command = *at;
        const int32_t before = position;
        if (RunRouteCommand(route, position, command, oldDirection, oldFacing, forced)) return;
        if (position == before || position == start) return;
    }
}

bool TLcfgCharacter::RunRouteCommand(const TLcfMoveRoute& route, int32_t& position, const TLcfMoveRouteItem& command,
                                     int32_t oldDirection, int32_t oldFacing, bool) {
    const int32_t code = command.code;
    if (code >= 0 && code <= 11) {
        const bool started = Move(RouteMoveDirection(code));
        if (started || route.skippable) ++position;
        if (!started && route.skippable) {
            direction = uint8_t(oldDirection);
            facing = uint8_t(oldFacing);
        }
        if (code == 11) facing = uint8_t(oldFacing);
        pause = MovePause(frequency);
        return false;
    }
    if (code >= 12 && code <= 22) {
        direction = facing;
        ApplyRouteTurn(code);
        facing = uint8_t(direction % 4);
        ++position;
        pause = MovePause(frequency) / 2;
        waitCounter = 0;
        return false;
    }
    switch (code) {
    case 23:
        pause = MovePause(frequency) / 2 + 20;
        waitCounter = 0;
        break;
    case 24:
        return RunRouteJump(route, position, oldDirection, oldFacing);
    case 26: facingLocked = 1; break;
    case 27:
        if (animationType != 2 && animationType != 3 && animationType != 4) facingLocked = 0;
        break;
    case 28: speed = std::min(speed + 1, 6); break;
    case 29: speed = std::max(speed - 1, 1); break;
    case 30: frequency = std::min(frequency + 1, 8); break;
    case 31: frequency = std::max(frequency - 1, 1); break;
    case 32:
    case 33:
        ++position;
        if (GameSystem) GameSystem->SetSwitch(command.switchId, code == 32);
        if (GameMap) GameMap->events.RefreshAll();
        return position == 0;
    case 34: SetGraphic(command.graphicName, std::clamp(command.graphicIndex, 0, 7)); break;
    case 35:
        if (GameSystem) {
            TLcfSound sound;
            sound.name = command.soundName;
            sound.volume = command.soundVolume;
            sound.tempo = command.soundTempo;
            sound.balance = command.soundBalance;
            GameSystem->PlaySound(sound);
        }
        break;
    case 36: routeThrough = through = 1; break;
    case 37: routeThrough = through = 0; break;
    case 38: animationStopped = 1; break;
    case 39: animationStopped = 0; break;
    case 40: transparency = std::min(transparency + 1, 7); break;
    case 41: transparency = std::max(transparency - 1, 0); break;
    default: break;  // 25 outside a jump, unknown codes
    }
    ++position;
    return false;
}

bool TLcfgCharacter::RunRouteJump(const TLcfMoveRoute& route, int32_t& position, int32_t oldDirection,
                                  int32_t oldFacing) {
    const int32_t jumpCommand = position;
    int32_t at = position + 1;
    int32_t landX = x, landY = y;
    for (;; ++at) {
        const TLcfMoveRouteItem* c = route.Commands(at);
        if (!c) {
            position = route.Count();  // no end-jump: nothing happens
            return true;
        }
        if (c->code == 25) break;
        if (c->code >= 0 && c->code <= 11) {
            direction = uint8_t(std::clamp(RouteMoveDirection(c->code), 0, 7));
            landX += DirectionDx(direction);
            landY += DirectionDy(direction);
        } else if (c->code >= 12 && c->code <= 22) {
            ApplyRouteTurn(c->code);
        }
    }
    position = at + 1;
    pause = MovePause(frequency);
    if (!JumpTo(landX, landY)) {
        if (route.skippable) {
            direction = uint8_t(oldDirection);
            facing = uint8_t(oldFacing);
        } else {
            position = jumpCommand;
        }
    }
    return false;
}
