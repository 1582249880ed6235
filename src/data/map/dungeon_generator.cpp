// The random map generator: the upper layer receives 2 x 2 objects, the
// lower layer becomes a cave or dungeon of floor and walls whose passages
// join the events, the vehicles' start positions on this map and the party.
//
// Choices where the rule leaves room (each made here once):
// - A range "a to b" includes b (kInclusive loops below), so corridors reach
//   their ends and the open area reaches the bottom and right border rows
//   (the border is walled off afterwards when the map asks for it).
// - A corridor's turning point moves to a cell of its horizontal leg when
//   Random(16) answers 0 (kTurnHit).
// - Upper-layer objects are placed for the open-area layout only; the rolls
//   of the second and third kind are made only when the map enables them,
//   while their flag tests and writes run whatever the setting.
// - A walker's move tests each cell before writing it, the current cell
//   included, and stops at a cell already opened or outside the map.
//
// Mended: event, vehicle and party positions outside the map are clamped
// into it; maps too small for every random point to lie inside are left as
// they are; walkers track opened cells apart from tile values (a floor
// tile 0 would never stop them) and stop at the map's edge.
#include <algorithm>
#include <vector>

#include "data/clamp.h"
#include "data/database/event.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"

namespace {

// A corridor's turning point moves on this Random(16) value.
constexpr int32_t kTurnHit = 0;
constexpr int32_t kNoRoom = 0x7FFF;
constexpr int32_t kHorizontalStep = 4;

// Tile roles, T0..T17.
enum Role : size_t {
    kRock = 0, kWall = 1, kUpperWall = 2, kFloor = 3, kFloorA = 4, kFloorB = 5,
    kObject1 = 6, kObject2 = 10, kObject3 = 14,
};

enum Heading { kUp = 0, kRight = 1, kDown = 2, kLeft = 3 };
constexpr int kHeadingX[4] = {0, 1, 0, -1};
constexpr int kHeadingY[4] = {-1, 0, 1, 0};

struct Point {
    int32_t x, y;
};

class Generator {
public:
    Generator(TLcfMapLayer& layer, const TLcfMap& map, const TDungeonTiles& tiles)
        : layer_(layer), map_(map), t_(tiles), w_(layer.Width()), h_(layer.Height()),
          mask_(size_t(w_) * size_t(h_), 0) {}

    void MakePoints(const TLcfMapTree* tree, const TLcfEvent& events, int32_t partyY, int32_t partyX);
    void Upper(int32_t layoutKind);
    void Lower(int32_t layoutKind);

private:
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && x < w_ && y >= 0 && y < h_; }
    size_t Index(int32_t x, int32_t y) const {
        VARNOW_CHECK(Inside(x, y));
        return size_t(x) + size_t(y) * size_t(w_);
    }
    int32_t Mask(int32_t x, int32_t y) const { return mask_[Index(x, y)]; }
    void SetMask(int32_t x, int32_t y, int32_t v) { mask_[Index(x, y)] = int16_t(v); }
    // Outside the map reads as 0.
    int32_t MaskOr0(int32_t x, int32_t y) const { return Inside(x, y) ? Mask(x, y) : 0; }
    void Paint(int32_t x, int32_t y, int32_t tile) {
        layer_.paintTile = tile;
        layer_.PaintCell(x, y);
    }
    Point Clamped(int32_t x, int32_t y) const { return {Clamp(x, 0, w_ - 1), Clamp(y, 0, h_ - 1)}; }

    bool TryObject(int32_t x, int32_t y, size_t first, bool roll, int32_t oneIn);
    void Corridors();
    void Corridor(Point from, Point to, Point& turn);
    void Caves();
    void Room(int32_t x, int32_t y, int32_t room);
    void GridMaze();
    void Walk(int32_t x, int32_t y, int heading, int32_t verticalStep);
    void OpenArea();
    void BorderMask(int32_t v);
    void WidePassages();
    void FloorVariants();
    void Walls();

    TLcfMapLayer& layer_;
    const TLcfMap& map_;
    const TDungeonTiles& t_;
    const int32_t w_, h_;
    std::vector<Point> points_;
    std::vector<int16_t> mask_;
    std::vector<int32_t> rooms_;
    std::vector<uint8_t> opened_;  // cells a walker may not enter (grid maze)
    bool objectFlag_ = false;
};

void Generator::MakePoints(const TLcfMapTree* tree, const TLcfEvent& events, int32_t partyY, int32_t partyX) {
    const int32_t eventCount = events.Count();
    const int32_t n = eventCount + (w_ + h_) / 100 + 5;
    points_.assign(size_t(n), Point{0, 0});
    for (int32_t i = 0; i < eventCount; ++i) {
        const TLcfEventItem* e = events.Items(i);
        Point p = Clamped(e->x, e->y);
        // Events on the outermost cells count one cell further in.
        if (p.x == 0) p.x = 1;
        if (p.x == w_ - 1) p.x = w_ - 2;
        if (p.y == 0) p.y = 1;
        if (p.y == h_ - 1) p.y = h_ - 2;
        points_[size_t(i)] = p;
    }
    for (int32_t i = eventCount; i < n; ++i) {
        int32_t x = Random(w_ - 2) + 1;
        int32_t y = Random(h_ - 3) + 2;
        points_[size_t(i)] = {x, y};
    }
    if (tree) {
        const TLcfMapStartPosition& start = tree->startPosition;
        for (int32_t kind = TLcfMapStartPosition::kBoat; kind <= TLcfMapStartPosition::kAirship; ++kind)
            if (start.GetMapId(kind) == map_.Id())
                points_[size_t(eventCount + kind)] = Clamped(start.GetX(kind), start.GetY(kind));
    }
    if (partyX >= 0) points_[size_t(eventCount)] = Clamped(partyX, partyY);
    for (int32_t j = 0; j < n; ++j) std::swap(points_[size_t(j)], points_[size_t(Random(n))]);
}

// One attempt at a 2 x 2 object whose top-left cell is (x, y). The flag
// persists from attempt to attempt and from cell to cell.
bool Generator::TryObject(int32_t x, int32_t y, size_t first, bool roll, int32_t oneIn) {
    if (roll && Random(oneIn) == 0) objectFlag_ = true;
    const int32_t fill = layer_.FillId();
    if (Mask(x, y) != 0) objectFlag_ = false;
    if (t_[first + 1] != fill && Mask(x + 1, y) != 0) objectFlag_ = false;
    if (t_[first + 2] != fill && Mask(x, y + 1) != 0) objectFlag_ = false;
    if (t_[first + 3] != fill && Mask(x + 1, y + 1) != 0) objectFlag_ = false;
    if (!objectFlag_) return false;
    const Point cells[4] = {{x, y}, {x + 1, y}, {x, y + 1}, {x + 1, y + 1}};
    for (size_t k = 0; k < 4; ++k) {
        layer_.SetTile(cells[k].x, cells[k].y, t_[first + k]);
        SetMask(cells[k].x, cells[k].y, t_[first + k]);
    }
    return true;
}

void Generator::Upper(int32_t layoutKind) {
    layer_.Fill();
    if (layoutKind != TLcfMap::kLayoutOpenArea) return;
    for (const Point& p : points_) SetMask(p.x, p.y, 1);
    const int32_t top = map_.twoHighWalls ? 2 : 1;
    objectFlag_ = false;
    for (int32_t y = top; y <= h_ - 3; ++y)
        for (int32_t x = 1; x <= w_ - 3; ++x) {
            TryObject(x, y, kObject1, true, 32);
            TryObject(x, y, kObject2, map_.objectsSecondKind != 0, 64);
            TryObject(x, y, kObject3, map_.objectsThirdKind != 0, 128);
        }
}

void Generator::Lower(int32_t layoutKind) {
    std::fill(layer_.Cells(), layer_.Cells() + size_t(w_) * size_t(h_), t_[kRock]);
    switch (layoutKind) {
    case TLcfMap::kLayoutCorridors: Corridors(); break;
    case TLcfMap::kLayoutCaves: Caves(); break;
    case TLcfMap::kLayoutGridMaze: GridMaze(); break;
    case TLcfMap::kLayoutOpenArea: OpenArea(); break;
    default: break;
    }
    // Painting every cell with rock: since every cell holds rock, painting
    // them one by one ends where shaping each once from its neighbours does.
    layer_.ResolveEveryCell(t_[kRock]);
    if (map_.widePassages > 0) WidePassages();
    for (const Point& p : points_)
        for (int32_t dy = -1; dy <= 1; ++dy)
            for (int32_t dx = -1; dx <= 1; ++dx)
                if ((dx || dy) && Inside(p.x + dx, p.y + dy)) SetMask(p.x + dx, p.y + dy, t_[kFloor]);
    if (map_.wallOffBorder) BorderMask(0);
    for (const Point& p : points_) SetMask(p.x, p.y, t_[kFloor]);
    FloorVariants();
    layer_.PaintCells(mask_);
    Walls();
}

void Generator::Corridors() {
    if (points_.size() < 2) return;
    Point start = points_[0];
    for (size_t j = 0; j + 1 < points_.size(); ++j) {
        Point turn;
        Corridor(start, points_[j + 1], turn);
        start = turn;
    }
}

// A corridor of floor in the mask from `from` to `to`: one horizontal and
// one vertical leg; `turn` is where the next corridor starts.
void Generator::Corridor(Point from, Point to, Point& turn) {
    const int32_t x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    bool formA = x1 == x2 || y1 == y2 || Random(2) == 0;
    int32_t row, column;
    turn = to;
    if (formA) {
        row = x1 >= x2 ? y2 : y1;
        column = x1 >= x2 ? x1 : x2;
    } else {
        row = x1 >= x2 ? y1 : y2;
        column = x1 >= x2 ? x2 : x1;
    }
    for (int32_t x = std::min(x1, x2); x <= std::max(x1, x2); ++x) {
        SetMask(x, row, t_[kFloor]);
        if (formA && Random(16) == kTurnHit) turn = {x, row};
    }
    for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); ++y) SetMask(column, y, t_[kFloor]);
}

void Generator::Room(int32_t x, int32_t y, int32_t room) {
    const int32_t rw = map_.roomWidth / 2, rh = map_.roomHeight / 2;
    // Room sizes come from the file: arithmetic in 64 bits, clamped into the map.
    int64_t left = int64_t(x) - Random(2) - rw;
    int64_t right = int64_t(x) + Random(2) + rw;
    int64_t top = int64_t(y) - Random(2) - rh;
    int64_t bottom = int64_t(y) + Random(2) + rh;
    left = std::max<int64_t>(0, left);
    right = std::min<int64_t>(right, w_ - 1);
    top = std::max<int64_t>(0, top);
    bottom = std::min<int64_t>(bottom, h_ - 1);
    for (int64_t yy = top; yy <= bottom; ++yy)
        for (int64_t xx = left; xx <= right; ++xx) rooms_[Index(int32_t(xx), int32_t(yy))] = room;
}

void Generator::Caves() {
    rooms_.assign(mask_.size(), kNoRoom);
    for (size_t j = 0; j + 1 < points_.size(); ++j) {
        const Point a = points_[j], b = points_[j + 1];
        const int32_t room = int32_t(j);
        // Along row a.y to column b.x, then along that column to b; each leg
        // stops one cell short of its end.
        int32_t x = a.x, y = a.y;
        const int32_t sx = b.x > x ? 1 : -1, sy = b.y > y ? 1 : -1;
        for (; x != b.x; x += sx) Room(x, y, room);
        for (; y != b.y; y += sy) Room(x, y, room);
    }
    for (size_t j = 0; j < points_.size(); ++j) Room(points_[j].x, points_[j].y, int32_t(j));
    for (size_t i = 0; i < mask_.size(); ++i)
        if (rooms_[i] != kNoRoom) mask_[i] = t_[kFloor];
}

void Generator::BorderMask(int32_t v) {
    for (int32_t x = 0; x < w_; ++x) {
        SetMask(x, 0, v);
        SetMask(x, h_ - 1, v);
    }
    for (int32_t y = 0; y < h_; ++y) {
        SetMask(0, y, v);
        SetMask(w_ - 1, y, v);
    }
}

void Generator::GridMaze() {
    opened_.assign(mask_.size(), 0);
    BorderMask(t_[kFloor]);
    for (int32_t x = 0; x < w_; ++x) opened_[Index(x, 0)] = opened_[Index(x, h_ - 1)] = 1;
    for (int32_t y = 0; y < h_; ++y) opened_[Index(0, y)] = opened_[Index(w_ - 1, y)] = 1;
    const bool wide = map_.widePassages > 0;
    const int32_t d = map_.twoHighWalls ? (wide ? 6 : 8) : (wide ? 5 : 6);
    for (int32_t r = 1; r < h_ - 1; r += d) {
        Walk(1, r, kRight, d);
        Walk((w_ - 2) / 4 * 4 + 1, r, kLeft, d);
    }
    for (int32_t c = 1; c < w_ - 1; c += kHorizontalStep) {
        Walk(c, 1, kDown, d);
        Walk(c, (h_ - 2) / 4 * 4 + 1, kUp, d);
    }
    Corridors();
    BorderMask(0);
}

void Generator::Walk(int32_t x, int32_t y, int heading, int32_t verticalStep) {
    const int initial = heading;
    for (bool first = true;; first = false) {
        int pick = Random(8);
        if (pick >= 4) pick = initial;
        if (pick == (heading + 2) % 4) pick = (pick + 1) % 4;
        if (first && pick != initial) return;
        heading = pick;
        const int32_t steps = heading == kUp || heading == kDown ? verticalStep : kHorizontalStep;
        for (int32_t k = 0; k < steps; ++k) {
            if (!Inside(x, y) || opened_[Index(x, y)]) return;
            opened_[Index(x, y)] = 1;
            SetMask(x, y, t_[kFloor]);
            x += kHeadingX[heading];
            y += kHeadingY[heading];
        }
    }
}

void Generator::OpenArea() {
    for (int32_t y = map_.twoHighWalls ? 2 : 1; y <= h_ - 1; ++y)
        for (int32_t x = 1; x <= w_ - 1; ++x) SetMask(x, y, t_[kFloor]);
}

void Generator::WidePassages() {
    for (int32_t y = 1; y <= h_ - 1; ++y)
        for (int32_t x = 1; x <= w_ - 2; ++x)
            if (Mask(x + 1, y) != 0) SetMask(x, y, Mask(x + 1, y));
    for (int32_t y = 1; y <= h_ - 2; ++y)
        for (int32_t x = 1; x <= w_ - 1; ++x)
            if (Mask(x, y + 1) != 0) SetMask(x, y, Mask(x, y + 1));
}

void Generator::FloorVariants() {
    for (int16_t& m : mask_) {
        if (m != t_[kFloor]) continue;
        int32_t r = Random(16);  // rolled whatever the map enables
        if (r >= 1 && r <= 3 && map_.floorVariantA) m = t_[kFloorA];
        else if (r == 4 && map_.floorVariantB) m = t_[kFloorB];
    }
}

void Generator::Walls() {
    const bool twoHigh = map_.twoHighWalls != 0;
    for (int32_t y = 1; y <= h_ - 1; ++y)
        for (int32_t x = 0; x < w_; ++x) {
            if (Mask(x, y) == 0) continue;
            const int32_t above = Mask(x, y - 1);
            const int32_t twoAbove = MaskOr0(x, y - 2);
            if (above != 0) continue;
            int32_t wall = twoAbove != 0 ? t_[kFloor] : t_[kWall];
            bool hasUpper = false;
            int32_t upper = 0;
            if (twoHigh && y >= 2 && twoAbove == 0) {
                hasUpper = true;
                upper = t_[kUpperWall];
                if (y >= 3 && Mask(x, y - 3) != 0) wall = upper = t_[kFloor];
            }
            Paint(x, y - 1, wall);
            if (hasUpper) Paint(x, y - 2, upper);
        }
}

}  // namespace

void TLcfMapLayer::GenerateDungeon(int32_t mode, int32_t layoutKind, const TDungeonTiles& tiles,
                                   const TLcfMapTree* mapTree, const TLcfEvent& events, int32_t partyY,
                                   int32_t partyX) {
    if (!owner_ || width_ < kMinGeneratedWidth || height_ < kMinGeneratedHeight) return;
    Generator g(*this, *owner_, tiles);
    g.MakePoints(mapTree, events, partyY, partyX);
    if (mode == 1)
        g.Upper(layoutKind);
    else
        g.Lower(layoutKind);
}
