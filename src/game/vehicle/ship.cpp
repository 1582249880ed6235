#include "game/vehicle/ship.h"

#include <algorithm>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/database/system.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "game/map/game_map.h"
#include "game/map/world_hooks.h"
#include "game/walker/party.h"
#include "graphics/char_set_graphic.h"

TLcfgShip* GameBoat = nullptr;
TLcfgShip* GameShip = nullptr;
TLcfgShip* GameAirship = nullptr;

TLcfgShip* GameVehicle(int32_t kind) {
    switch (kind) {
    case TLcfgShip::kBoat: return GameBoat;
    case TLcfgShip::kShip: return GameShip;
    case TLcfgShip::kAirship: return GameAirship;
    default: return nullptr;
    }
}

TLcfgShip::TLcfgShip(int32_t kind) : TLcfgCharacter(0), kind_(std::clamp(kind, 1, 3)) { TLcfgShip::Clear(); }

TLcfgCharacter::Kind TLcfgShip::CharacterKind() const {
    return kind_ == kBoat ? kKindBoat : kind_ == kShip ? kKindShip : kKindAirship;
}

void TLcfgShip::DescribeField(int id, TCatalogVarData& d, bool reading) {
    switch (id) {
    case 101:
        savedKind_ = kind_;
        d.SetInteger(&savedKind_, 0);
        break;
    case 106: d.SetInteger(&ascent, 0); break;
    case 107: d.SetInteger(&descent, 0); break;
    case 111: d.SetString(&spriteOverride, true); break;
    case 112: d.SetInteger(&spriteIndexOverride, 0); break;
    default: TLcfgCharacter::DescribeField(id, d, reading); break;
    }
}

void TLcfgShip::Clear() {
    TLcfgCharacter::Clear();
    if (GameMapTree) {
        const TLcfMapStartPosition& start = GameMapTree->startPosition;
        mapId = start.GetMapId(kind_);
        x = ClampCoordinate(start.GetX(kind_));
        y = ClampCoordinate(start.GetY(kind_));
    }
    speed = kind_ == kAirship ? 5 : 4;
    ResetFacing();
    LoadSprite();
}

void TLcfgShip::LoadFromStream(ByteReader& r) {
    TLcfgCharacter::LoadFromStream(r);
    // The kind is the creation's; the index fields stay in range.
    spriteIndexOverride = std::clamp(spriteIndexOverride, 0, 7);
    ascent = std::clamp(ascent, 0, 256);
    descent = std::clamp(descent, 0, 256);
    LoadSprite();
}

std::string TLcfgShip::SpriteName() const {
    if (!spriteOverride.empty()) return spriteOverride;
    if (!DbSystem) return std::string();
    return kind_ == kBoat ? DbSystem->boatSheet : kind_ == kShip ? DbSystem->shipSheet : DbSystem->airshipSheet;
}

int32_t TLcfgShip::SpriteIndex() const {
    if (!spriteOverride.empty()) return spriteIndexOverride;
    if (!DbSystem) return 0;
    return kind_ == kBoat ? DbSystem->boatIndex : kind_ == kShip ? DbSystem->shipIndex : DbSystem->airshipIndex;
}

void TLcfgShip::LoadSprite() {
    sheetName = SpriteName();
    sheetIndex = std::clamp(SpriteIndex(), 0, 7);
}

void TLcfgShip::SetSprite(const std::string& name, int32_t index) {
    spriteOverride = name;
    spriteIndexOverride = std::clamp(index, 0, 7);
    const std::string saved = spriteOverride;
    spriteOverride.clear();
    if (SpriteName() == name && SpriteIndex() == index) {
        spriteIndexOverride = 0;  // the database's own: no override
    } else {
        spriteOverride = saved;
    }
    LoadSprite();
}

void TLcfgShip::ResetFacing() { direction = facing = 3; }

void TLcfgShip::ParkAt(const TLcfgCharacter& party) {
    updated = 1;
    mapId = party.mapId;
    x = party.x;
    y = party.y;
    direction = party.direction;
    facing = party.facing;
    progress = party.progress;
    AnimateStep();
    CancelForcedRoute();
}

bool TLcfgShip::OnPartyMap() const { return GameParty && mapId == GameParty->mapId; }

bool TLcfgShip::IsOnScreen() const { return OnPartyMap() && TLcfgCharacter::IsOnScreen(); }

bool TLcfgShip::Collides(const TLcfgCharacter& other, bool extra) const {
    if (other.CharacterKind() == kKindParty) return false;
    return TLcfgCharacter::Collides(other, extra);
}

bool TLcfgShip::CanMoveTo(int32_t, int32_t, int32_t toX, int32_t toY) {
    if (!GameMap || !GameMap->IsInside(toX, toY)) return false;
    if (through) return true;
    toX = GameMap->WrapX(toX);
    toY = GameMap->WrapY(toY);
    if (kind_ != kAirship) {
        for (int i = 0; i < GameMap->CharacterCount(); ++i) {
            TLcfgCharacter* other = GameMap->CharacterByIndex(i);
            if (!other || other == this || other->x != toX || other->y != toY) continue;
            other->Update();
            if (other->x == toX && other->y == toY && Collides(*other, false)) return false;
        }
    }
    const int32_t terrainId = GameMap->ChipSet() ? GameMap->ChipSet()->TerrainOfTile(GameMap->LowerTile(toX, toY)) : 0;
    const TLcfGroundItem* terrain = DbGround ? DbGround->FindGround(terrainId) : nullptr;
    const bool allowed = terrain ? (kind_ == kBoat    ? terrain->boatPassable
                                    : kind_ == kShip ? terrain->shipPassable
                                                     : terrain->airshipPassable)
                                 : kind_ == kAirship;
    if (!allowed) return false;
    if (kind_ == kAirship) return true;
    int32_t upper = GameMap->UpperTile(toX, toY);
    const int32_t tileEvent = GameMap->TileEventAt(toX, toY, 0);
    if (tileEvent > 0 && !(GameMap->UpperFlags(tileEvent) & kChipAbove)) upper = tileEvent;
    return (GameMap->UpperFlags(upper) & kChipAbove) != 0;
}

void TLcfgShip::AnimateStep() {
    if (jumping || (kind_ == kAirship && !flying)) {
        pattern = 1;
        animationCounter = 0;
        return;
    }
    if (animationCounter < (1 << 16)) ++animationCounter;
    if ((waitCounter == 0 && animationCounter > 11) || (waitCounter > 0 && animationCounter > 15)) {
        pattern = (pattern + 1) % 4;
        animationCounter = 0;
    }
}

void TLcfgShip::UpdateMovement() { RunMoveRoute(forcedRoute, forcedPosition, true); }

void TLcfgShip::Draw(TSorvoBoard& board) {
    if (!OnPartyMap()) return;
    if (!flying) {
        TLcfgCharacter::Draw(board);
        return;
    }
    if (!GameMapUnit || sheetName.empty()) return;
    // The flying airship ignores the screen shake.
    const int32_t sx = ScreenX(), sy = ScreenY() - JumpHeight();
    const int32_t value = descent > 0 ? descent : 256 - ascent;
    if (GameWorldHooks.screen) GameWorldHooks.screen->DrawAirshipShadow(board, sx - 8, sy - 16, value);
    const int32_t raise = std::min((descent > 0 ? descent : 256 - ascent) / 16, 16);
    TLcfCharSetGraphic& sheets = GameMapUnit->CharSetGraphic();
    const int32_t index = sheets.Acquire(sheetName);
    ColorSheet(sheets.Sheets(index));
    sheets.OpacityLevel = transparency;
    sheets.DrawCharacter(board, sx, sy - raise, index, sheetIndex, facing, pattern, 0);
    sheets.OpacityLevel = 0;
}
