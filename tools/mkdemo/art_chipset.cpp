// The chip-set images (480×256): water, animated and terrain autotiles and
// the plain lower and upper tiles of the designs in tiles.cpp.

#include <algorithm>
#include <cmath>

#include "art.h"
#include "tiles.h"

namespace mkdemo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A repeatable hash of a pixel position, 0..255.
int Hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x & 15) * 374761393u + static_cast<uint32_t>(y & 15) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 255);
}

// Texture of a material at a pixel; repeats every 16 pixels so that the
// quarters of an autotile join without seams.
uint8_t Texture(Material m, int x, int y) {
    const int u = x & 15, v = y & 15;
    const int n = Hash(u, v, static_cast<int>(m) + 1);
    switch (m) {
        case Material::kGrass:
            if (n < 18) return Shade(kGreen, 9);
            return Shade(kGreen, n < 120 ? 6 : 7);
        case Material::kMeadow:
            if ((u == 3 && v == 4) || (u == 11 && v == 12)) return Shade(kPink, 11);
            if ((u == 12 && v == 3) || (u == 5 && v == 11)) return Shade(kYellow, 12);
            return Shade(kGreen, n < 100 ? 7 : 8);
        case Material::kDarkGrass:
            return Shade(kForest, n < 60 ? 5 : 6);
        case Material::kTallGrass: {
            const int blade = (u * 5 + v) % 4;
            return blade == 0 ? Shade(kGreen, 10) : Shade(kForest, n < 128 ? 7 : 8);
        }
        case Material::kRoad:
            if (n < 12) return Shade(kBrown, 6);
            return Shade(kSand, n < 120 ? 7 : 8);
        case Material::kSand:
            if (n < 14) return Shade(kSand, 6);
            return Shade(kSand, n < 128 ? 9 : 10);
        case Material::kSnow:
            return Shade(kIce, n < 40 ? 11 : 13);
        case Material::kPlaza: {
            const bool mortar = (v % 8 == 0) || ((u + (v / 8) * 4) % 8 == 0);
            return mortar ? Shade(kGray, 5) : Shade(kGray, n < 100 ? 8 : 9);
        }
        case Material::kSwamp: {
            if ((u - 4) * (u - 4) + (v - 5) * (v - 5) < 3 || (u - 12) * (u - 12) + (v - 11) * (v - 11) < 2)
                return Shade(kPurple, 9);
            return Shade(kForest, n < 100 ? 3 : 4);
        }
        case Material::kForest: {
            // Round tree crowns on a dark floor, two per tile.
            const double d1 = std::hypot(u - 4.5, v - 5.0), d2 = std::hypot(u - 11.5, v - 11.0);
            const double d3 = std::hypot(u - 12.0, v - 1.0), d4 = std::hypot(u - 2.5, v - 14.5);
            const double d = std::min({d1, d2, d3 + 1, d4 + 1});
            if (d < 4.3) return Shade(kForest, d < 2 && (u + v) % 3 == 0 ? 10 : (d < 3 ? 8 : 6));
            if (d < 5.2) return Shade(kForest, 3);
            return Shade(kForest, 4);
        }
        case Material::kHills: {
            const int top = 9 - static_cast<int>(std::lround(4 * std::sin((u + 0.5) * kPi / 16)));
            if (v == top) return Shade(kGreen, 10);
            if (v > top && v < 13) return Shade(kGreen, v < top + 2 ? 8 : 6);
            return Shade(kGreen, 7);
        }
        case Material::kMountain: {
            const int peak = std::abs(u - 8);
            if (v < 2 + peak && v >= peak) return Shade(kIce, 12);
            if (v >= 2 + peak) return Shade(kSlate, u < 8 ? 8 : 5);
            return Shade(kGreen, 6);
        }
        case Material::kWoodFloor: {
            if (v % 4 == 0) return Shade(kBrown, 4);
            if ((u + (v / 4) * 7) % 16 == 0) return Shade(kBrown, 5);
            return Shade(kBrown, n < 80 ? 7 : 8);
        }
        case Material::kStoneFloor:
            return (u % 8 == 0 || v % 8 == 0) ? Shade(kSlate, 4) : Shade(kSlate, n < 90 ? 7 : 8);
        case Material::kCarpet:
            return ((u + v) % 8 == 0) ? Shade(kYellow, 8) : Shade(kRed, n < 60 ? 5 : 6);
        case Material::kCaveFloor:
            if (n < 10) return Shade(kBrown, 7);
            return Shade(kBrown, n < 128 ? 4 : 5);
        case Material::kRock:
            if (n < 8) return Shade(kSlate, 4);
            return Shade(kSlate, n < 128 ? 1 : 2);
        case Material::kPit:
            return kBlack;
        case Material::kTiles:
            return ((u / 8 + v / 8) % 2) ? Shade(kTeal, 9) : Shade(kIce, 13);
        case Material::kMoss:
            return n < 100 ? Shade(kForest, 6) : Shade(kSlate, 6);
    }
    return kInk;
}

// What shows around a material where it meets other ground.
Material BaseOf(Material m, bool interior) {
    switch (m) {
        case Material::kRock:
        case Material::kPit:
        case Material::kMoss:
            return Material::kCaveFloor;
        case Material::kGrass:
            return Material::kGrass;
        default:
            return interior ? Material::kRock : Material::kGrass;
    }
}

// Signed distance from a point to a rounded box (negative inside).
double RoundedBox(double px, double py, double cx, double cy, double half_w, double half_h, double radius) {
    const double qx = std::fabs(px - cx) - (half_w - radius);
    const double qy = std::fabs(py - cy) - (half_h - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// Paints material where `sd` < -margin, an outline ring, and the base
// beyond.
uint8_t Edge(double sd, uint8_t inside, uint8_t outline, uint8_t outside, double margin = 3.0) {
    if (sd < -margin - 1.0) return inside;
    if (sd < -margin) return outline;
    return outside;
}

uint8_t OutlineOf(Material m) {
    switch (m) {
        case Material::kMountain: return Shade(kSlate, 3);
        case Material::kForest: return Shade(kForest, 2);
        case Material::kSnow: return Shade(kIce, 9);
        case Material::kSand: return Shade(kSand, 6);
        case Material::kRoad: return Shade(kBrown, 6);
        case Material::kPit: return Shade(kSlate, 1);
        case Material::kRock: return Shade(kSlate, 4);
        default: return Shade(kGray, 4);
    }
}

// One terrain autotile block (48×64) at (bx, by).
void TerrainBlock(Bitmap8& bmp, int bx, int by, Material m, bool interior) {
    const Material base = BaseOf(m, interior);
    const bool seamless = (m == base);
    const uint8_t outline = OutlineOf(m);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x) {
            const uint8_t in = Texture(m, x, y), out = Texture(base, x, y);
            uint8_t c = in;
            if (!seamless) {
                if (y < 16 && x < 16) {
                    c = Edge(RoundedBox(x + 0.5, y + 0.5, 8, 8, 8, 8, 5), in, outline, out);
                } else if (y < 16 && x >= 32) {
                    // Inner corners: the base shows in each corner.
                    const int u = x - 32, v = y;
                    const double cx = u < 8 ? 0 : 16, cy = v < 8 ? 0 : 16;
                    const double d = std::hypot(u + 0.5 - cx, v + 0.5 - cy);
                    c = d < 3.0 ? out : (d < 4.0 ? outline : in);
                } else if (y >= 16) {
                    c = Edge(RoundedBox(x + 0.5, y - 16 + 0.5, 24, 24, 24, 24, 6), in, outline, out);
                }
            }
            bmp.Set(bx + x, by + y, c);
        }
}

// Water at a pixel for an animation frame: ripples that drift with the
// frame and repeat every 16 pixels.
uint8_t Water(Hue hue, int shade, int frame, int x, int y) {
    const double wave = std::sin(2 * kPi * ((x & 15) + 4.0 * frame) / 16.0 + 2 * kPi * (y & 15) / 8.0) +
                        0.6 * std::sin(2 * kPi * ((y & 15) - 2.0 * frame) / 16.0);
    if (wave > 1.25) return Shade(hue, shade + 4);
    if (wave > 0.6) return Shade(hue, shade + 1);
    if (wave < -1.2) return Shade(hue, shade - 1);
    return Shade(hue, shade);
}

// Water border tiles: land around a water body.
enum class Border { kAll, kSides, kEnds, kCorners, kNone };

void WaterTile(Bitmap8& bmp, int x0, int y0, int frame, Border border, Hue hue, int shade, Material land) {
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
            double sd = -10;  // water everywhere by default
            switch (border) {
                case Border::kAll: sd = RoundedBox(u + 0.5, v + 0.5, 8, 8, 8, 8, 5); break;
                case Border::kSides: sd = std::fabs(u + 0.5 - 8) - 8; break;
                case Border::kEnds: sd = std::fabs(v + 0.5 - 8) - 8; break;
                case Border::kCorners: {
                    // Land only in small discs at the four corners.
                    const double cx = u < 8 ? 0 : 16, cy = v < 8 ? 0 : 16;
                    sd = -std::hypot(u + 0.5 - cx, v + 0.5 - cy);
                    break;
                }
                case Border::kNone: break;
            }
            const uint8_t c = Edge(sd, Water(hue, shade, frame, x0 + u, y0 + v), Shade(kIce, 12),
                                   Texture(land, x0 + u, y0 + v), 3.0);
            bmp.Set(x0 + u, y0 + v, c);
        }
}

void WaterBlock(Bitmap8& bmp, bool shore_of_grass) {
    for (int frame = 0; frame < 3; ++frame) {
        const int x = 16 * frame;
        // Kind 0: shallow water with a sandy shore (rows 0..9), shared full
        // water, then the transition quarters and the deep sea (rows 10..15).
        WaterTile(bmp, x, 0, frame, Border::kAll, kBlue, 7, Material::kSand);
        WaterTile(bmp, x, 16, frame, Border::kSides, kBlue, 7, Material::kSand);
        WaterTile(bmp, x, 32, frame, Border::kEnds, kBlue, 7, Material::kSand);
        WaterTile(bmp, x, 48, frame, Border::kCorners, kBlue, 7, Material::kSand);
        WaterTile(bmp, x, 64, frame, Border::kNone, kBlue, 7, Material::kSand);
        WaterTile(bmp, x, 80, frame, Border::kNone, kBlue, 5, Material::kSand);
        WaterTile(bmp, x, 96, frame, Border::kNone, kNavy, 6, Material::kSand);
        WaterTile(bmp, x, 112, frame, Border::kNone, kNavy, 5, Material::kSand);
        // Kind 1: the same water meeting grass (or rock indoors).
        const Material land = shore_of_grass ? Material::kGrass : Material::kRock;
        WaterTile(bmp, 48 + x, 0, frame, Border::kAll, kBlue, 7, land);
        WaterTile(bmp, 48 + x, 16, frame, Border::kSides, kBlue, 7, land);
        WaterTile(bmp, 48 + x, 32, frame, Border::kEnds, kBlue, 7, land);
        WaterTile(bmp, 48 + x, 48, frame, Border::kCorners, kBlue, 7, land);
    }
}

// The three animated tiles, four frames each, stacked from y 64 at x 48,
// 64 and 80: a waterfall, bubbling lava and a pulsing crystal light.
void AnimatedTiles(Bitmap8& bmp) {
    for (int f = 0; f < 4; ++f) {
        const int y0 = 64 + 16 * f;
        for (int v = 0; v < 16; ++v)
            for (int u = 0; u < 16; ++u) {
                const int streak = Hash(u, (v - 4 * f) & 15, 77) % 5;
                bmp.Set(48 + u, y0 + v, streak == 0 ? Shade(kIce, 13) : Shade(kBlue, streak < 3 ? 8 : 10));
                const double bubble = std::sin((u + 0.5) * kPi / 4 + f * kPi / 2) * std::sin((v + 0.5) * kPi / 4);
                bmp.Set(64 + u, y0 + v, bubble > 0.6 ? Shade(kYellow, 11) : Shade(kOrange, bubble > 0 ? 7 : 5));
                const double d = std::hypot(u - 7.5, v - 7.5);
                const int glow = (f == 2 ? 3 : f % 2 == 1 ? 2 : 1);
                uint8_t c = Texture(Material::kStoneFloor, u, v);
                if (d < 2.5 + glow) c = Shade(kTeal, 8 + glow + (d < 2 ? 2 : 0));
                bmp.Set(80 + u, y0 + v, c);
            }
    }
}

// --- plain tiles -----------------------------------------------------------

void Roof(Bitmap8& bmp, int x, int y, int part, bool eave) {
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
            uint8_t c = (v % 4 == 3) ? Shade(kRed, 3) : Shade(kRed, ((u + (v / 4) * 3) % 6 == 0) ? 4 : 6);
            if (part == 0 && u < 2) c = Shade(kRed, 2);
            if (part == 2 && u > 13) c = Shade(kRed, 2);
            if (eave && v > 12) c = v == 15 ? kInk : Shade(kBrown, 4);
            bmp.Set(x + u, y + v, c);
        }
}

void WoodWall(Bitmap8& bmp, int x, int y, bool window) {
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u)
            bmp.Set(x + u, y + v, (u % 4 == 0) ? Shade(kBrown, 5) : Shade(kSand, v < 2 ? 6 : 8));
    if (window) {
        bmp.Fill(x + 4, y + 3, 8, 8, Shade(kBrown, 3));
        bmp.Fill(x + 5, y + 4, 6, 6, Shade(kYellow, 11));
        bmp.Fill(x + 7, y + 4, 2, 6, Shade(kBrown, 3));
        bmp.Fill(x + 5, y + 6, 6, 1, Shade(kBrown, 3));
    }
}

void Stairs(Bitmap8& bmp, int x, int y, bool down) {
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
            const int step = v / 4;
            const int shade = down ? 9 - 2 * step : 3 + 2 * step;
            bmp.Set(x + u, y + v, (v % 4 == 3) ? Shade(kSlate, 2) : Shade(kGray, shade));
        }
    bmp.Fill(x, y, 1, 16, Shade(kSlate, 3));
    bmp.Fill(x + 15, y, 1, 16, Shade(kSlate, 3));
}

void CaveWall(Bitmap8& bmp, int x, int y, bool top) {
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
            const int n = Hash(u, v, 91);
            uint8_t c = Shade(kBrown, n < 60 ? 3 : 4);
            if ((u + v * 3) % 11 == 0) c = Shade(kBrown, 2);
            if (top && v < 3) c = Shade(kBrown, 6);
            if (!top && v > 12) c = Shade(kBrown, 2);
            bmp.Set(x + u, y + v, c);
        }
}

void DrawLower(Bitmap8& bmp, int x, int y, Paint paint) {
    switch (paint) {
        case Paint::kGrassPlain:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kGrass, u, v));
            break;
        case Paint::kFlowers:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kGrass, u, v));
            for (int i = 0; i < 4; ++i) {
                const int fx = x + 2 + (i * 7) % 12, fy = y + 2 + (i * 5) % 12;
                const Hue hue = i % 2 ? kPink : kYellow;
                bmp.Fill(fx, fy, 3, 1, Shade(hue, 10));
                bmp.Fill(fx + 1, fy - 1, 1, 3, Shade(hue, 10));
                bmp.Set(fx + 1, fy, Shade(kOrange, 9));
            }
            break;
        case Paint::kStonePath:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kGrass, u, v));
            for (int i = 0; i < 4; ++i) bmp.ShadedEllipse(x + 4 + 8 * (i % 2), y + 4 + 8 * (i / 2), 3.5, 3, kGray, 6, 11);
            break;
        case Paint::kBridgeH:
        case Paint::kBridgeV:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) {
                    const int along = paint == Paint::kBridgeH ? u : v;
                    const int across = paint == Paint::kBridgeH ? v : u;
                    uint8_t c = (along % 4 == 0) ? Shade(kBrown, 4) : Shade(kBrown, 8);
                    if (across < 2 || across > 13) c = Shade(kBrown, 3);
                    bmp.Set(x + u, y + v, c);
                }
            break;
        case Paint::kCobble:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kPlaza, u, v));
            break;
        case Paint::kWoodWall: WoodWall(bmp, x, y, false); break;
        case Paint::kWoodWallWindow: WoodWall(bmp, x, y, true); break;
        case Paint::kDoorway:
            WoodWall(bmp, x, y, false);
            bmp.Fill(x + 3, y + 2, 10, 14, Shade(kBrown, 2));
            bmp.Fill(x + 4, y + 3, 8, 13, Shade(kBrown, 5));
            bmp.Set(x + 10, y + 9, Shade(kYellow, 11));
            break;
        case Paint::kRoofLeft: Roof(bmp, x, y, 0, false); break;
        case Paint::kRoofMid: Roof(bmp, x, y, 1, false); break;
        case Paint::kRoofRight: Roof(bmp, x, y, 2, false); break;
        case Paint::kRoofEaveLeft: Roof(bmp, x, y, 0, true); break;
        case Paint::kRoofEaveMid: Roof(bmp, x, y, 1, true); break;
        case Paint::kRoofEaveRight: Roof(bmp, x, y, 2, true); break;
        case Paint::kStoneWall:
        case Paint::kInnerWall:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) {
                    const bool mortar = (v % 5 == 4) || ((u + (v / 5) * 5) % 10 == 0);
                    const Hue hue = paint == Paint::kStoneWall ? kGray : kSand;
                    bmp.Set(x + u, y + v, mortar ? Shade(hue, 4) : Shade(hue, 7 + (Hash(u, v, 5) < 60 ? 1 : 0)));
                }
            if (paint == Paint::kInnerWall) bmp.Fill(x, y + 13, 16, 3, Shade(kBrown, 4));
            break;
        case Paint::kInnerWallTop:
            bmp.Fill(x, y, 16, 16, Shade(kBrown, 3));
            bmp.Fill(x, y + 14, 16, 2, Shade(kBrown, 6));
            break;
        case Paint::kCliff:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u)
                    bmp.Set(x + u, y + v, ((u * 3 + v) % 7 == 0) ? Shade(kBrown, 3) : Shade(kBrown, v < 3 ? 7 : 5));
            break;
        case Paint::kCaveMouth:
            DrawLower(bmp, x, y, Paint::kCliff);
            bmp.Ellipse(x + 8, y + 12, 6.5, 10, kBlack);
            break;
        case Paint::kStairsDown: Stairs(bmp, x, y, true); break;
        case Paint::kStairsUp: Stairs(bmp, x, y, false); break;
        case Paint::kWell:
            DrawLower(bmp, x, y, Paint::kGrassPlain);
            bmp.ShadedEllipse(x + 8, y + 8, 7, 7, kGray, 5, 11);
            bmp.Ellipse(x + 8, y + 8, 4, 4, Shade(kNavy, 3));
            break;
        case Paint::kWoodFloor:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kWoodFloor, u, v));
            break;
        case Paint::kStoneFloor:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kStoneFloor, u, v));
            break;
        case Paint::kCarpet:
        case Paint::kRug:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kCarpet, u, v));
            if (paint == Paint::kRug) bmp.FrameRect(x + 1, y + 1, 14, 14, Shade(kYellow, 9));
            break;
        case Paint::kCaveWall: CaveWall(bmp, x, y, false); break;
        case Paint::kCaveWallTop: CaveWall(bmp, x, y, true); break;
        case Paint::kCaveFloor:
        case Paint::kCaveFloorPebbles:
        case Paint::kCaveFloorCrack:
            for (int v = 0; v < 16; ++v)
                for (int u = 0; u < 16; ++u) bmp.Set(x + u, y + v, Texture(Material::kCaveFloor, u, v));
            if (paint == Paint::kCaveFloorPebbles) {
                bmp.ShadedEllipse(x + 4, y + 5, 2, 1.5, kGray, 4, 9);
                bmp.ShadedEllipse(x + 11, y + 11, 2.5, 2, kGray, 4, 9);
            }
            if (paint == Paint::kCaveFloorCrack) {
                bmp.Line(x + 2, y + 3, x + 7, y + 8, Shade(kBrown, 2));
                bmp.Line(x + 7, y + 8, x + 13, y + 10, Shade(kBrown, 2));
            }
            break;
        case Paint::kDarkness: bmp.Fill(x, y, 16, 16, kBlack); break;
        case Paint::kFireplace:
            DrawLower(bmp, x, y, Paint::kInnerWall);
            bmp.Fill(x + 2, y + 4, 12, 12, Shade(kGray, 4));
            bmp.Fill(x + 4, y + 7, 8, 9, kBlack);
            bmp.Ellipse(x + 8, y + 13, 3, 3, Shade(kOrange, 9));
            bmp.Ellipse(x + 8, y + 13, 1.5, 2, Shade(kYellow, 12));
            break;
        case Paint::kCrystalFloor:
            DrawLower(bmp, x, y, Paint::kCaveFloor);
            bmp.Polygon({{x + 8.0, y + 2.0}, {x + 12.0, y + 8.0}, {x + 8.0, y + 14.0}, {x + 4.0, y + 8.0}},
                        Shade(kTeal, 10));
            bmp.Polygon({{x + 8.0, y + 2.0}, {x + 8.0, y + 14.0}, {x + 4.0, y + 8.0}}, Shade(kTeal, 12));
            break;
        default:
            break;
    }
}

// Upper tiles are drawn over a transparent cell.
void Tree(Bitmap8& bmp, int x, int y) {
    bmp.ShadedEllipse(x + 8, y + 9, 8, 7.5, kForest, 3, 11);
    bmp.Outline(x, y, 16, 16, Shade(kForest, 1));
}

void DrawUpper(Bitmap8& bmp, int x, int y, Paint paint) {
    switch (paint) {
        case Paint::kTreeTop: Tree(bmp, x, y); break;
        case Paint::kTreeTrunk:
            bmp.ShadedEllipse(x + 8, y + 2, 8, 6, kForest, 3, 9);
            bmp.Fill(x + 6, y + 6, 4, 9, Shade(kBrown, 5));
            bmp.Fill(x + 6, y + 6, 1, 9, Shade(kBrown, 8));
            bmp.Ellipse(x + 8, y + 15, 5, 1.2, Shade(kForest, 3));
            break;
        case Paint::kBush:
            bmp.ShadedEllipse(x + 8, y + 9, 7, 6, kGreen, 3, 10);
            bmp.Outline(x, y, 16, 16, Shade(kForest, 1));
            break;
        case Paint::kSignpost:
            bmp.Fill(x + 7, y + 8, 2, 8, Shade(kBrown, 4));
            bmp.Fill(x + 2, y + 2, 12, 7, Shade(kBrown, 8));
            bmp.FrameRect(x + 2, y + 2, 12, 7, Shade(kBrown, 3));
            bmp.Fill(x + 4, y + 4, 8, 1, Shade(kBrown, 4));
            bmp.Fill(x + 4, y + 6, 6, 1, Shade(kBrown, 4));
            break;
        case Paint::kBarrel:
            bmp.ShadedEllipse(x + 8, y + 9, 6, 6.5, kBrown, 3, 9);
            bmp.Fill(x + 2, y + 6, 12, 1, Shade(kGray, 5));
            bmp.Fill(x + 2, y + 12, 12, 1, Shade(kGray, 5));
            bmp.Ellipse(x + 8, y + 4, 5, 2, Shade(kBrown, 6));
            break;
        case Paint::kCrate:
            bmp.Fill(x + 2, y + 3, 12, 12, Shade(kSand, 7));
            bmp.FrameRect(x + 2, y + 3, 12, 12, Shade(kBrown, 4));
            bmp.Line(x + 2, y + 3, x + 13, y + 14, Shade(kBrown, 5));
            bmp.Line(x + 13, y + 3, x + 2, y + 14, Shade(kBrown, 5));
            break;
        case Paint::kPot:
            bmp.ShadedEllipse(x + 8, y + 10, 5.5, 5, kOrange, 3, 9);
            bmp.Fill(x + 5, y + 3, 6, 3, Shade(kOrange, 5));
            bmp.Fill(x + 6, y + 3, 4, 1, Shade(kBrown, 2));
            break;
        case Paint::kLampPost:
            bmp.Fill(x + 7, y + 5, 2, 11, Shade(kSlate, 3));
            bmp.Fill(x + 5, y + 14, 6, 2, Shade(kSlate, 3));
            bmp.Ellipse(x + 8, y + 3, 3, 3, Shade(kYellow, 12));
            break;
        case Paint::kLantern:
            bmp.Ellipse(x + 8, y + 8, 5, 5, Shade(kYellow, 12));
            bmp.Ellipse(x + 8, y + 8, 2.5, 2.5, kWhite);
            break;
        case Paint::kFenceH:
            bmp.Fill(x, y + 6, 16, 2, Shade(kBrown, 7));
            bmp.Fill(x, y + 11, 16, 2, Shade(kBrown, 7));
            bmp.Fill(x + 2, y + 4, 2, 11, Shade(kBrown, 5));
            bmp.Fill(x + 12, y + 4, 2, 11, Shade(kBrown, 5));
            break;
        case Paint::kFenceV:
            bmp.Fill(x + 7, y, 2, 16, Shade(kBrown, 7));
            bmp.Fill(x + 6, y + 2, 4, 3, Shade(kBrown, 5));
            bmp.Fill(x + 6, y + 10, 4, 3, Shade(kBrown, 5));
            break;
        case Paint::kRock:
            bmp.ShadedEllipse(x + 8, y + 10, 7, 5.5, kGray, 3, 11);
            bmp.Outline(x, y, 16, 16, kInk);
            break;
        case Paint::kStump:
            bmp.Fill(x + 3, y + 7, 10, 8, Shade(kBrown, 5));
            bmp.Ellipse(x + 8, y + 7, 5, 2.5, Shade(kSand, 9));
            bmp.Ellipse(x + 8, y + 7, 2, 1, Shade(kBrown, 6));
            break;
        case Paint::kHay:
            bmp.ShadedEllipse(x + 8, y + 9, 7, 6, kYellow, 4, 11);
            break;
        case Paint::kCounterTop:
            bmp.Fill(x, y + 2, 16, 13, Shade(kBrown, 6));
            bmp.Fill(x, y + 2, 16, 4, Shade(kBrown, 9));
            bmp.Fill(x, y + 14, 16, 1, Shade(kBrown, 3));
            break;
        case Paint::kTable:
            bmp.Fill(x + 1, y + 3, 14, 8, Shade(kBrown, 8));
            bmp.Fill(x + 1, y + 11, 14, 2, Shade(kBrown, 5));
            bmp.Fill(x + 2, y + 13, 2, 3, Shade(kBrown, 4));
            bmp.Fill(x + 12, y + 13, 2, 3, Shade(kBrown, 4));
            break;
        case Paint::kChair:
            bmp.Fill(x + 4, y + 2, 8, 6, Shade(kBrown, 6));
            bmp.Fill(x + 4, y + 8, 8, 3, Shade(kBrown, 8));
            bmp.Fill(x + 4, y + 11, 2, 4, Shade(kBrown, 4));
            bmp.Fill(x + 10, y + 11, 2, 4, Shade(kBrown, 4));
            break;
        case Paint::kBedTop:
            bmp.Fill(x + 1, y + 2, 14, 14, Shade(kBrown, 5));
            bmp.Fill(x + 2, y + 4, 12, 6, Shade(kIce, 13));
            bmp.Fill(x + 2, y + 10, 12, 6, Shade(kBlue, 8));
            break;
        case Paint::kBedBottom:
            bmp.Fill(x + 1, y, 14, 14, Shade(kBrown, 5));
            bmp.Fill(x + 2, y, 12, 12, Shade(kBlue, 8));
            bmp.Fill(x + 2, y + 11, 12, 1, Shade(kBlue, 5));
            break;
        case Paint::kShelf:
            bmp.Fill(x + 1, y, 14, 16, Shade(kBrown, 4));
            for (int row = 0; row < 3; ++row)
                for (int book = 0; book < 5; ++book)
                    bmp.Fill(x + 2 + book * 2 + (book > 2 ? 1 : 0), y + 1 + row * 5, 2, 4,
                             Shade(static_cast<Hue>((book + row) % 4 == 0 ? kRed : (book + row) % 4 == 1 ? kBlue
                                                    : (book + row) % 4 == 2 ? kGreen : kYellow), 7));
            break;
        case Paint::kPlant:
            bmp.Fill(x + 5, y + 10, 6, 6, Shade(kOrange, 5));
            bmp.ShadedEllipse(x + 8, y + 6, 6, 5, kGreen, 4, 10);
            break;
        case Paint::kBoulderTL: case Paint::kBoulderTR: case Paint::kBoulderBL: case Paint::kBoulderBR: {
            // One 32×32 boulder split into four tiles.
            const int qx = (paint == Paint::kBoulderTR || paint == Paint::kBoulderBR) ? 16 : 0;
            const int qy = (paint == Paint::kBoulderBL || paint == Paint::kBoulderBR) ? 16 : 0;
            Bitmap8 big(32, 32);
            big.ShadedEllipse(16, 17, 15, 13, kGray, 2, 11);
            big.Outline(0, 0, 32, 32, kInk);
            bmp.Blit(big, qx, qy, 16, 16, x, y, true);
            break;
        }
        case Paint::kCrystalTL: case Paint::kCrystalTR: case Paint::kCrystalBL: case Paint::kCrystalBR: {
            const int qx = (paint == Paint::kCrystalTR || paint == Paint::kCrystalBR) ? 16 : 0;
            const int qy = (paint == Paint::kCrystalBL || paint == Paint::kCrystalBR) ? 16 : 0;
            Bitmap8 big(32, 32);
            big.Polygon({{16, 1}, {23, 12}, {20, 31}, {12, 31}, {9, 12}}, Shade(kTeal, 8));
            big.Polygon({{16, 1}, {16, 31}, {12, 31}, {9, 12}}, Shade(kTeal, 11));
            big.Polygon({{6, 14}, {10, 20}, {9, 31}, {4, 31}, {3, 20}}, Shade(kPurple, 9));
            big.Polygon({{26, 12}, {30, 20}, {28, 31}, {23, 31}, {22, 20}}, Shade(kTeal, 9));
            big.Outline(0, 0, 32, 32, kInk);
            bmp.Blit(big, qx, qy, 16, 16, x, y, true);
            break;
        }
        case Paint::kPillarTL: case Paint::kPillarTR: case Paint::kPillarBL: case Paint::kPillarBR: {
            const int qx = (paint == Paint::kPillarTR || paint == Paint::kPillarBR) ? 16 : 0;
            const int qy = (paint == Paint::kPillarBL || paint == Paint::kPillarBR) ? 16 : 0;
            Bitmap8 big(32, 32);
            big.Fill(8, 4, 16, 26, Shade(kSand, 9));
            big.Fill(8, 4, 4, 26, Shade(kSand, 12));
            big.Fill(20, 4, 4, 26, Shade(kSand, 6));
            big.Fill(5, 1, 22, 4, Shade(kSand, 8));
            big.Fill(5, 28, 22, 4, Shade(kSand, 7));
            big.Outline(0, 0, 32, 32, kInk);
            bmp.Blit(big, qx, qy, 16, 16, x, y, true);
            break;
        }
        case Paint::kWindowSill:
            bmp.Fill(x + 2, y + 2, 12, 10, Shade(kBrown, 4));
            bmp.Fill(x + 3, y + 3, 10, 8, Shade(kIce, 11));
            bmp.Fill(x + 7, y + 3, 2, 8, Shade(kBrown, 4));
            break;
        default:
            break;
    }
}

Bitmap8 DrawChipSet(const ChipSetDesign& design) {
    Bitmap8 bmp(480, 256);
    const bool interior = !design.shore_of_grass;
    WaterBlock(bmp, design.shore_of_grass);
    AnimatedTiles(bmp);
    static const int kBase[12][2] = {{0, 16}, {6, 16}, {0, 24}, {6, 24}, {12, 0}, {18, 0},
                                     {12, 8}, {18, 8}, {12, 16}, {18, 16}, {12, 24}, {18, 24}};
    for (size_t n = 0; n < design.terrain.size() && n < 12; ++n)
        TerrainBlock(bmp, kBase[n][0] * 8, kBase[n][1] * 8, design.terrain[n].material, interior);
    for (size_t k = 0; k < design.lower.size() && k < 144; ++k) {
        const int i = static_cast<int>(k);
        DrawLower(bmp, 192 + 96 * (i / 96) + 16 * (i % 6), 16 * ((i % 96) / 6), design.lower[k].paint);
    }
    for (size_t j = 0; j < design.upper.size() && j < 144; ++j) {
        const int i = static_cast<int>(j);
        DrawUpper(bmp, 288 + 96 * ((i + 48) / 96) + 16 * (i % 6), 16 * (((i + 48) % 96) / 6), design.upper[j].paint);
    }
    return bmp;
}

}  // namespace

std::vector<NamedImage> DrawChipSets() {
    std::vector<NamedImage> images;
    images.push_back({"ChipSet", OutdoorChipSet().image, DrawChipSet(OutdoorChipSet())});
    images.push_back({"ChipSet", InteriorChipSet().image, DrawChipSet(InteriorChipSet())});
    return images;
}

}  // namespace mkdemo
