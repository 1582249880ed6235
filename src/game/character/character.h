#pragma once
// Everything that walks on a map: the party, the vehicles and the map
// events. A character stands on a cell with a sub-cell progress (256 at the
// start of a step, 0 standing), has a move direction and a separate facing,
// runs move routes, collides and asks the map whether it may pass.
//
// Directions: 0 up, 1 right, 2 down, 3 left, 4 up-right, 5 down-right,
// 6 down-left, 7 up-left. The facing is always 0-3.

#include <cstdint>
#include <string>
#include <vector>

#include "data/database/move_route.h"
#include "data/record/catalog_base_item.h"

class TSorvoBoard;
class TSorvoSheet;

// Frames to wait for frequency f = 1..8 (kept inside the table).
int32_t MovePause(int32_t frequency);
// Frames between patterns while moving / standing, and a spin step, for
// speed s = 1..6; progress per frame walking and jumping.
int32_t MovingPatternInterval(int32_t speed);
int32_t StandingPatternInterval(int32_t speed);
int32_t SpinInterval(int32_t speed);
int32_t WalkStep(int32_t speed);
int32_t JumpStep(int32_t speed);
// Cell offsets of a direction 0-7 (0, 0 for anything else).
int32_t DirectionDx(int32_t direction);
int32_t DirectionDy(int32_t direction);

class TLcfgCharacter : public TCatalogItem {
public:
    static constexpr int32_t kNoOrigin = 2147483647;
    // Positions are kept within this distance of the origin, the range the
    // event commands place characters in: loaded from a save or a map file,
    // a position further out is brought to it, so a step or a jump never
    // overflows.
    static constexpr int32_t kCoordinateLimit = 1000000;
    static int32_t ClampCoordinate(int32_t v) {
        return v < -kCoordinateLimit ? -kCoordinateLimit : v > kCoordinateLimit ? kCoordinateLimit : v;
    }
    enum Kind { kKindEvent, kKindParty, kKindBoat, kKindShip, kKindAirship };

    explicit TLcfgCharacter(int32_t id = 0);

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // The generic read, then every field used as an index kept in range and
    // the frequency a forced route restores set (it is not saved).
    void LoadFromStream(ByteReader& r) override;

    virtual Kind CharacterKind() const { return kKindEvent; }

    // --- Slot operations ---------------------------------------------------
    virtual bool IsOnScreen() const;
    virtual bool Collides(const TLcfgCharacter& other, bool extra) const;
    // May the character step from (fromX, fromY) to (toX, toY)? A fromX of
    // kNoOrigin tests the target only (jumps).
    virtual bool CanMoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
    // One step in direction d; true when the step started.
    virtual bool Move(int32_t d);
    virtual void AdvanceMovement(int32_t n);
    virtual void AnimateStep();
    virtual void UpdateMovement() = 0;
    virtual void UpdateFacing();
    virtual void SetGraphic(const std::string& name, int32_t index);
    virtual void SetPosition(int32_t map, int32_t x, int32_t y);
    // One frame; false when the character was inactive or already updated.
    virtual bool Update();
    virtual void Draw(TSorvoBoard& board);

    // --- Further operations --------------------------------------------------
    void StartFlash(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames);
    void StartForcedRoute(const std::vector<TLcfMoveRouteItem>& commands, int32_t frequency, bool repeat,
                          bool skippable);
    void CancelForcedRoute();
    void TurnToward(int32_t targetX, int32_t targetY);
    void TurnRight() { direction = uint8_t((direction + 1) % 4); }
    void TurnLeft() { direction = uint8_t((direction + 3) % 4); }
    void TurnAround() { direction = uint8_t((direction + 2) % 4); }
    void TurnRandomly();
    void FaceRandomDirection();
    void FaceParty();
    void FaceAwayFromParty();
    int32_t ScreenX() const;
    int32_t ScreenY() const;
    int32_t JumpHeight() const;
    int32_t TerrainId() const;
    int32_t BushDepth() const;
    bool SameCell(const TLcfgCharacter& other) const;
    static int32_t DirectionBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    bool JumpTo(int32_t targetX, int32_t targetY);
    // Runs route commands from `position` (the stored field, so a reset made
    // while a command runs is seen) until one waits.
    void RunMoveRoute(const TLcfMoveRoute& route, int32_t& position, bool forced);
    void SetHidden(bool value);
    bool IsMoving() const { return progress > 0; }

    // --- Saved fields (chunk ids in brackets) -------------------------------
    uint8_t active = 1;              // [1]
    int32_t mapId = 0;               // [11]
    int32_t x = 0, y = 0;            // [12, 13]
    uint8_t direction = 2;           // [21]
    uint8_t facing = 2;              // [22]
    int32_t pattern = 1;             // [23]
    int32_t transparency = 0;        // [24]
    int32_t progress = 0;            // [31]
    int32_t frequency = 2;           // [32]
    uint8_t layer = 1;               // [33]
    uint8_t overlapForbidden = 0;    // [34]
    uint8_t animationType = 0;       // [35]
    uint8_t facingLocked = 0;        // [36]
    int32_t speed = 3;               // [37]
    TLcfMoveRoute forcedRoute;       // [41]
    uint8_t forcedActive = 0;        // [42]
    int32_t forcedPosition = 0;      // [43]
    uint8_t forcedRunThrough = 0;    // [44]
    uint8_t hidden = 0;              // [46]
    uint8_t routeThrough = 0;        // [47]
    uint8_t animationStopped = 0;    // [48]
    uint8_t through = 0;             // [51]
    int32_t waitCounter = 0;         // [52]
    int32_t animationCounter = 0;    // [53]
    int32_t pause = 0;               // [54]
    uint8_t jumping = 0;             // [61]
    int32_t jumpOriginX = 0, jumpOriginY = 0;  // [62, 63]
    uint8_t waitingForScript = 0;    // [71]
    uint8_t flying = 0;              // [72]
    std::string sheetName;           // [73]
    int32_t sheetIndex = 0;          // [74]
    uint8_t updated = 0;             // [75]
    int32_t flashRed = 100, flashGreen = 100, flashBlue = 100;  // [81-83]
    double flashStrength = 0;        // [84]
    int32_t flashFrames = 0;         // [85]

protected:
    // The frequency a forced route gives back when it ends after a load.
    virtual int32_t FrequencyAfterRoute() const { return 2; }
    // Keeps every loaded index field in range.
    void ClampLoadedFields();
    // One route command at `position`; true when the route must stop.
    bool RunRouteCommand(const TLcfMoveRoute& route, int32_t& position, const TLcfMoveRouteItem& command,
                         int32_t oldDirection, int32_t oldFacing, bool forced);
    bool RunRouteJump(const TLcfMoveRoute& route, int32_t& position, int32_t oldDirection, int32_t oldFacing);
    // The direction a move command 0-11 walks in (8-10 turn first).
    int32_t RouteMoveDirection(int32_t code);
    void ApplyRouteTurn(int32_t code);
    bool InterpreterRunning() const;
    // The sprite flash on colour control 1 of the sheet, the screen's tone
    // and flash on control 2.
    void ColorSheet(TSorvoSheet& sheet) const;
    bool EventsMayMove() const;

    int32_t savedFrequency_ = 2;  // not saved
};
