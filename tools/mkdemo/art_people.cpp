// Character sheets (288×256: eight characters, three walking patterns by
// four directions of 24×32), face sets (48×48 faces, four to a row) and the
// heroes' battle sheets (three 48×48 frames per pose row).

#include <cmath>

#include "art.h"

namespace mkdemo {
namespace {

enum class Hair { kShort, kLong, kBald, kSpiky, kBun };

struct Look {
    Hue skin;
    Hue hair;
    int hair_shade;
    Hair style;
    Hue outfit;
    Hue trim;
    bool beard = false;
    bool helmet = false;
    bool hat = false;      // a pointed hat
    bool robe = false;     // long garment hiding the legs
    bool small = false;    // a child
};

// The eight looks of each character sheet.
const Look kHeroLooks[8] = {
    {kSkin, kBrown, 5, Hair::kSpiky, kBlue, kRed},                              // Aren, swordsman
    {kSkin, kYellow, 10, Hair::kLong, kPurple, kYellow, false, false, true, true},  // Lysa, mage
    {kSkin, kRed, 5, Hair::kBald, kGray, kBrown, true},                         // Borin, warrior
    {kSkin, kForest, 8, Hair::kBun, kTeal, kIce, false, false, false, true},    // Mira, healer
    {kSkin, kGray, 11, Hair::kShort, kSlate, kGray, false, true},               // guard
    {kSkin, kBrown, 3, Hair::kShort, kGreen, kBrown},                           // farmer
    {kSkin, kOrange, 8, Hair::kLong, kPink, kIce, false, false, false, true},   // dancer
    {kSkin, kNavy, 4, Hair::kSpiky, kNavy, kGray},                              // thief
};

const Look kTownLooks[8] = {
    {kSkin, kIce, 13, Hair::kBald, kBrown, kSand, true, false, false, true},     // elder
    {kSkin, kBrown, 4, Hair::kShort, kSand, kGreen},                            // shopkeeper
    {kSkin, kRed, 6, Hair::kBun, kRed, kIce, false, false, false, true},         // innkeeper
    {kSkin, kYellow, 9, Hair::kSpiky, kOrange, kBlue, false, false, false, false, true},  // child
    {kSkin, kGray, 11, Hair::kShort, kSlate, kGray, false, true},               // guard
    {kSkin, kBrown, 6, Hair::kLong, kGreen, kSand, false, false, false, true},   // villager
    {kSkin, kPurple, 5, Hair::kShort, kPurple, kYellow, false, false, true, true},  // scholar
    {kSkin, kGray, 8, Hair::kBun, kBlue, kIce, false, false, false, true},       // grandmother
};

// One walking frame with its feet at the bottom of the 24×32 cell.
// Directions: 0 up, 1 right, 2 down, 3 left; patterns 0..2 (1 standing).
void Person(Bitmap8& bmp, int x0, int y0, const Look& look, int dir, int pattern) {
    Bitmap8 cell(24, 32);
    const int step = pattern == 0 ? -1 : pattern == 2 ? 1 : 0;
    const int bob = pattern == 1 ? 0 : 1;  // the body dips while stepping
    const int top = (look.small ? 6 : 0) + bob;
    const bool side = dir == 1 || dir == 3;

    // Legs and feet.
    if (!look.robe) {
        const int legs_y = 24 + (look.small ? 2 : 0);
        if (side) {
            cell.Fill(10 + step * 2, legs_y, 3, 7 - (look.small ? 1 : 0), Shade(kBrown, 3));
            cell.Fill(12 - step * 2, legs_y, 3, 7 - (look.small ? 1 : 0), Shade(kBrown, 4));
        } else {
            cell.Fill(8, legs_y + (step < 0 ? -1 : 0), 3, 7, Shade(kBrown, 3));
            cell.Fill(13, legs_y + (step > 0 ? -1 : 0), 3, 7, Shade(kBrown, 3));
        }
    } else {
        cell.Polygon({{7.0, 17.0 + top}, {17.0, 17.0 + top}, {19.0, 31.0}, {5.0, 31.0}}, Shade(look.outfit, 5));
        cell.Fill(8 + step, 30, 3, 2, Shade(kBrown, 3));
        cell.Fill(13 - step, 30, 3, 2, Shade(kBrown, 3));
    }

    // Body.
    const int body_top = 17 + top - (look.small ? 2 : 0);
    const int body_h = look.small ? 7 : 9;
    cell.Fill(7, body_top, 10, body_h, Shade(look.outfit, 7));
    cell.Fill(7, body_top, 10, 2, Shade(look.outfit, 9));
    cell.Fill(7, body_top + body_h - 2, 10, 1, Shade(look.trim, 7));  // belt
    if (side) cell.Fill(dir == 1 ? 7 : 15, body_top, 2, body_h, Shade(look.outfit, 5));

    // Arms swing against the legs.
    if (side) {
        cell.Fill(11 - step * 2, body_top + 1, 3, 6, Shade(look.outfit, 6));
        cell.Fill(11 - step * 2, body_top + 7, 3, 2, Shade(look.skin, 7));
    } else {
        cell.Fill(4, body_top + 1 + (step > 0 ? 1 : 0), 3, 6, Shade(look.outfit, 6));
        cell.Fill(17, body_top + 1 + (step < 0 ? 1 : 0), 3, 6, Shade(look.outfit, 6));
        cell.Fill(4, body_top + 7 + (step > 0 ? 1 : 0), 3, 2, Shade(look.skin, 7));
        cell.Fill(17, body_top + 7 + (step < 0 ? 1 : 0), 3, 2, Shade(look.skin, 7));
    }

    // Head.
    const double hx = 12, hy = 10.5 + top - (look.small ? 2 : 0);
    const double r = look.small ? 6 : 6.5;
    cell.ShadedEllipse(hx, hy, r, r, look.skin, 5, 10);
    const uint8_t hair = Shade(look.hair, look.hair_shade);
    const uint8_t hair_dark = Shade(look.hair, look.hair_shade - 2);
    if (look.style != Hair::kBald) {
        if (dir == 0) {
            cell.Ellipse(hx, hy, r + 0.5, r + 0.5, hair);
            cell.Ellipse(hx, hy + 2, r - 2, r - 3, hair_dark);
        } else {
            cell.Ellipse(hx, hy - 2.5, r + 0.5, r - 2.5, hair);
            if (side) cell.Ellipse(dir == 1 ? hx - 3 : hx + 3, hy, r - 2.5, r - 1, hair);
        }
        if (look.style == Hair::kLong) {
            // Long hair falls behind the head: framing the face from the
            // front, down the back from the side and from behind.
            const int left = static_cast<int>(hx - r), top = static_cast<int>(hy) - 1;
            if (dir == 2) {
                cell.Fill(left, top, 2, 9, hair);
                cell.Fill(static_cast<int>(hx + r) - 1, top, 2, 9, hair);
            } else if (side) {
                cell.Fill(left, top, 5, 10, hair);
            } else {
                cell.Fill(left, top, static_cast<int>(2 * r) + 1, 10, hair);
            }
        }
        if (look.style == Hair::kSpiky)
            for (int i = -2; i <= 2; ++i)
                cell.Polygon({{hx + 2.5 * i - 2, hy - 5}, {hx + 2.5 * i + 2, hy - 5}, {hx + 2.5 * i, hy - 9}}, hair);
        if (look.style == Hair::kBun) cell.Ellipse(hx, hy - r - 1, 3, 2.5, hair);
    }
    if (look.helmet) {
        cell.Ellipse(hx, hy - 2, r + 1, r - 1.5, Shade(kGray, 9));
        cell.Fill(static_cast<int>(hx - r - 1), static_cast<int>(hy - 1), static_cast<int>(2 * r + 3), 2, Shade(kGray, 6));
        cell.Fill(static_cast<int>(hx) - 1, static_cast<int>(hy - r - 3), 2, 3, Shade(kRed, 7));
    }
    if (look.hat)
        cell.Polygon({{hx - r - 2, hy - 4}, {hx + r + 2, hy - 4}, {hx + (dir == 1 ? -3 : dir == 3 ? 3 : 1), hy - r - 8}},
                     Shade(look.outfit, 5));
    // Face.
    if (dir != 0) {
        const uint8_t eye = kInk;
        const int ey = static_cast<int>(hy + 1);
        if (dir == 2) {
            cell.Fill(static_cast<int>(hx) - 4, ey, 2, 2, eye);
            cell.Fill(static_cast<int>(hx) + 2, ey, 2, 2, eye);
        } else {
            cell.Fill(static_cast<int>(hx) + (dir == 1 ? 3 : -4), ey, 2, 2, eye);
        }
        if (look.beard) {
            const int bx = dir == 2 ? static_cast<int>(hx) - 4 : static_cast<int>(hx) + (dir == 1 ? 0 : -5);
            cell.Fill(bx, ey + 3, dir == 2 ? 9 : 6, 4, hair);
        }
    }
    cell.Outline(0, 0, 24, 32, kInk);
    // Left is the mirror of right.
    if (dir == 3) cell.MirrorRect(0, 0, 24, 32);
    bmp.Blit(cell, 0, 0, 24, 32, x0, y0, true);
}

// Fills a character block (72×128 at character index c) by a frame painter.
template <typename Painter>
void Block(int c, Painter paint) {
    const int bx = (c % 4) * 72, by = (c / 4) * 128;
    for (int dir = 0; dir < 4; ++dir)
        for (int pattern = 0; pattern < 3; ++pattern) paint(bx + pattern * 24, by + dir * 32, dir, pattern);
}

Bitmap8 PeopleSheet(const Look (&looks)[8]) {
    Bitmap8 bmp(288, 256);
    for (int c = 0; c < 8; ++c)
        Block(c, [&](int x, int y, int dir, int pattern) {
            // The left facing is drawn as the right one and mirrored.
            Person(bmp, x, y, looks[c], dir == 3 ? 1 : dir, pattern);
            if (dir == 3) bmp.MirrorRect(x, y, 24, 32);
        });
    return bmp;
}

// Objects: a door opening (by direction row: shut, ajar, open, gone), a
// chest, the glowing save crystal, a lantern flame, a lever, a campfire, a
// stone statue and a sparkle.
void Door(Bitmap8& bmp, int x, int y, int stage) {
    if (stage >= 3) return;  // fully open: nothing
    const int w = 16 - stage * 6;
    bmp.Fill(x + 4, y + 12, 16, 20, Shade(kBrown, 2));
    bmp.Fill(x + 4, y + 12, w, 20, Shade(kBrown, 6));
    for (int i = 0; i < w; i += 4) bmp.Fill(x + 4 + i, y + 12, 1, 20, Shade(kBrown, 4));
    if (w > 8) bmp.Fill(x + 4 + w - 4, y + 22, 2, 2, Shade(kYellow, 11));
    bmp.FrameRect(x + 3, y + 11, 18, 21, kInk);
}

void Chest(Bitmap8& bmp, int x, int y, int stage) {
    bmp.Fill(x + 3, y + 18, 18, 12, Shade(kBrown, 6));
    bmp.Fill(x + 3, y + 23, 18, 2, Shade(kYellow, 9));
    if (stage == 0) {
        bmp.Fill(x + 3, y + 12, 18, 7, Shade(kBrown, 8));
        bmp.Fill(x + 11, y + 17, 3, 4, Shade(kYellow, 11));
    } else {
        bmp.Fill(x + 3, y + 8 + stage, 18, 5, Shade(kBrown, 9));
        bmp.Fill(x + 4, y + 18, 16, 3, kBlack);
        if (stage == 2) bmp.Ellipse(x + 12, y + 17, 3, 2, Shade(kYellow, 13));
    }
    bmp.Outline(x, y, 24, 32, kInk);
}

void Crystal(Bitmap8& bmp, int x, int y, int glow) {
    bmp.Ellipse(x + 12, y + 29, 8, 2.5, Shade(kSlate, 3));
    bmp.Polygon({{x + 12.0, y + 4.0 - glow}, {x + 19.0, y + 16.0}, {x + 12.0, y + 29.0}, {x + 5.0, y + 16.0}},
                Shade(kTeal, 8 + glow));
    bmp.Polygon({{x + 12.0, y + 4.0 - glow}, {x + 12.0, y + 29.0}, {x + 5.0, y + 16.0}}, Shade(kTeal, 10 + glow));
    bmp.Set(x + 9, y + 12, kWhite);
    bmp.Outline(x, y, 24, 32, Shade(kNavy, 3));
}

void Flame(Bitmap8& bmp, int x, int y, int phase, bool logs) {
    if (logs) {
        bmp.Fill(x + 4, y + 27, 16, 3, Shade(kBrown, 4));
        bmp.Line(x + 5, y + 30, x + 19, y + 25, Shade(kBrown, 6));
    }
    const double lean = (phase - 1) * 1.5;
    bmp.Polygon({{x + 6.0, y + 28.0}, {x + 18.0, y + 28.0}, {x + 12.0 + lean, y + 12.0 - phase}}, Shade(kOrange, 8));
    bmp.Polygon({{x + 9.0, y + 28.0}, {x + 15.0, y + 28.0}, {x + 12.0 - lean, y + 18.0}}, Shade(kYellow, 12));
}

void Lever(Bitmap8& bmp, int x, int y, int stage) {
    bmp.Fill(x + 6, y + 24, 12, 6, Shade(kGray, 5));
    const int tip = 6 + stage * 6;
    bmp.Line(x + 12, y + 25, x + tip, y + 14, Shade(kGray, 10));
    bmp.Line(x + 13, y + 25, x + tip + 1, y + 14, Shade(kGray, 8));
    bmp.Ellipse(x + tip + 0.5, y + 13, 2.5, 2.5, Shade(kRed, 8));
    bmp.Outline(x, y, 24, 32, kInk);
}

void Statue(Bitmap8& bmp, int x, int y, int dir) {
    Look stone{kGray, kGray, 7, Hair::kShort, kGray, kGray};
    stone.robe = true;
    Person(bmp, x, y, stone, dir == 3 ? 1 : dir, 1);
    if (dir == 3) bmp.MirrorRect(x, y, 24, 32);
}

void Sparkle(Bitmap8& bmp, int x, int y, int phase) {
    const int arm = 2 + phase * 2;
    bmp.Fill(x + 12 - arm, y + 18, 2 * arm, 1, Shade(kYellow, 12));
    bmp.Fill(x + 12, y + 18 - arm, 1, 2 * arm, Shade(kYellow, 12));
    bmp.Set(x + 12, y + 18, kWhite);
}

Bitmap8 ObjectSheet() {
    Bitmap8 bmp(288, 256);
    Block(0, [&](int x, int y, int dir, int pattern) { Door(bmp, x, y, pattern == 0 ? dir : std::min(3, dir)); });
    Block(1, [&](int x, int y, int dir, int) { Chest(bmp, x, y, std::min(dir, 2)); });
    Block(2, [&](int x, int y, int dir, int pattern) { Crystal(bmp, x, y, (pattern + dir) % 3); });
    Block(3, [&](int x, int y, int, int pattern) { Flame(bmp, x, y, pattern, false); });
    Block(4, [&](int x, int y, int dir, int) { Lever(bmp, x, y, std::min(dir, 2)); });
    Block(5, [&](int x, int y, int, int pattern) { Flame(bmp, x, y, pattern, true); });
    Block(6, [&](int x, int y, int dir, int) { Statue(bmp, x, y, dir); });
    Block(7, [&](int x, int y, int dir, int pattern) { Sparkle(bmp, x, y, (pattern + dir) % 3); });
    return bmp;
}

// Vehicles seen from above at a slant: a rowing boat, a sailing ship and an
// airship, rocking gently through the three patterns.
void Boat(Bitmap8& bmp, int x, int y, int dir, int pattern, int kind) {
    Bitmap8 cell(24, 32);
    const bool side = dir == 1 || dir == 3;
    const int rock = pattern - 1;
    const Hue hull = kind == 2 ? kRed : kBrown;
    if (side) {
        cell.Polygon({{1.0, 18.0 + rock}, {23.0, 18.0 - rock}, {19.0, 27.0}, {4.0, 27.0}}, Shade(hull, 6));
        cell.Fill(3, 18, 18, 2, Shade(hull, 9));
    } else {
        cell.Ellipse(12, 20, 8, 10, Shade(hull, 6));
        cell.Ellipse(12, 20, 5.5, 7.5, Shade(hull, 9));
    }
    if (kind >= 1) {
        // Mast and sail.
        cell.Fill(11, 2, 2, 18, Shade(kBrown, 3));
        if (side) cell.Polygon({{12.0, 3.0}, {12.0, 16.0}, {dir == 1 ? 21.0 + rock : 3.0 - rock, 14.0}}, Shade(kIce, 13));
        else cell.Fill(5, 5 + rock, 14, 9, Shade(kIce, 13));
    }
    if (kind == 2) {
        // The airship's balloon.
        cell.ShadedEllipse(12, 7, 11, 6.5, kYellow, 4, 11);
        cell.Fill(11, 12, 2, 6, Shade(kBrown, 3));
    }
    cell.Outline(0, 0, 24, 32, kInk);
    if (dir == 3) cell.MirrorRect(0, 0, 24, 32);
    bmp.Blit(cell, 0, 0, 24, 32, x, y, true);
}

Bitmap8 VehicleSheet() {
    Bitmap8 bmp(288, 256);
    for (int kind = 0; kind < 3; ++kind)
        Block(kind, [&](int x, int y, int dir, int pattern) { Boat(bmp, x, y, dir, pattern, kind); });
    return bmp;
}

// A 48×48 portrait; mood 0 calm, 1 smiling.
void Face(Bitmap8& bmp, int x0, int y0, const Look& look, int mood) {
    Bitmap8 cell(48, 48);
    // Shoulders.
    cell.Ellipse(24, 50, 19, 12, Shade(look.outfit, 7));
    cell.Ellipse(24, 40, 6, 3, Shade(look.trim, 8));
    const uint8_t hair = Shade(look.hair, look.hair_shade);
    if (look.style == Hair::kLong) cell.Fill(9, 18, 30, 24, Shade(look.hair, look.hair_shade - 1));
    cell.ShadedEllipse(24, 22, 13, 15, look.skin, 5, 10);
    // Hair on top.
    if (look.style != Hair::kBald) {
        cell.Polygon({{10, 20}, {12, 9}, {24, 5}, {36, 9}, {38, 20}, {31, 13}, {17, 13}}, hair);
        if (look.style == Hair::kSpiky)
            for (int i = 0; i < 5; ++i) cell.Polygon({{12.0 + 6 * i, 10}, {18.0 + 6 * i, 10}, {13.0 + 6 * i, 1}}, hair);
        if (look.style == Hair::kBun) cell.Ellipse(24, 5, 6, 4.5, hair);
    }
    if (look.helmet) {
        cell.Polygon({{9, 19}, {10, 9}, {24, 3}, {38, 9}, {39, 19}, {34, 15}, {14, 15}}, Shade(kGray, 9));
        cell.Fill(22, 0, 4, 5, Shade(kRed, 7));
    }
    if (look.hat) cell.Polygon({{6, 15}, {42, 15}, {27, 0}}, Shade(look.outfit, 5));
    // Eyes, brows, mouth.
    const int ey = 22;
    for (int side = -1; side <= 1; side += 2) {
        const int ex = 24 + side * 6;
        if (mood == 1) {
            cell.Line(ex - 2, ey + 1, ex, ey - 1, kInk);
            cell.Line(ex, ey - 1, ex + 2, ey + 1, kInk);
        } else {
            cell.Fill(ex - 1, ey - 2, 3, 4, kInk);
            cell.Set(ex, ey - 2, kWhite);
        }
        cell.Line(ex - 2, ey - 5, ex + 2, ey - 5 - (side < 0 ? 0 : 0), look.style == Hair::kBald ? Shade(look.skin, 4) : hair);
    }
    if (mood == 1) {
        cell.Line(20, 30, 24, 32, Shade(kRed, 5));
        cell.Line(24, 32, 28, 30, Shade(kRed, 5));
    } else {
        cell.Fill(22, 31, 5, 1, Shade(kRed, 5));
    }
    if (look.beard) cell.Polygon({{12, 27}, {36, 27}, {32, 40}, {24, 44}, {16, 40}}, hair);
    if (look.beard) cell.Fill(21, 31, 7, 1, Shade(look.hair, look.hair_shade - 3));
    cell.Outline(0, 0, 48, 48, kInk);
    bmp.Blit(cell, 0, 0, 48, 48, x0, y0, true);
}

Bitmap8 FaceSheet(const Look (&looks)[8]) {
    // Row 0 and 1: the first four looks calm and smiling; rows 2 and 3 the
    // other four.
    Bitmap8 bmp(192, 192);
    for (int i = 0; i < 8; ++i)
        for (int mood = 0; mood < 2; ++mood) {
            const int row = (i / 4) * 2 + mood;
            Face(bmp, 48 * (i % 4), 48 * row, looks[i], mood);
        }
    return bmp;
}


// --- battle sheets ------------------------------------------------------------
// A hero in battle is drawn on a 32×32 canvas facing right (the walking
// figure plus what the pose holds), then mirrored to face the enemies on the
// left and scaled by one and a half into its 48×48 frame.

// What each hero swings: a blade, a staff, an axe, a wand.
struct Weapon {
    uint8_t shaft;
    uint8_t head;
    int length;
    bool axe;
};
const Weapon kHeroWeapons[4] = {
    {Shade(kGray, 12), Shade(kGray, 12), 13, false},
    {Shade(kBrown, 7), Shade(kPurple, 11), 14, false},
    {Shade(kBrown, 6), Shade(kGray, 10), 12, true},
    {Shade(kIce, 11), Shade(kYellow, 12), 10, false},
};

constexpr int kCanvas = 32;
constexpr int kFigureX = 4;  // the 24-wide figure's place on the canvas

void Figure(Bitmap8& canvas, const Look& look, int dir, int pattern, int dx = 0, int dy = 0) {
    Bitmap8 cell(24, 32);
    Person(cell, 0, 0, look, dir == 3 ? 1 : dir, pattern);
    if (dir == 3) cell.MirrorRect(0, 0, 24, 32);
    canvas.Blit(cell, 0, 0, 24, 32, kFigureX + dx, dy, true);
}

// A weapon held at (x, y) pointing at `angle` (radians, 0 to the right,
// growing clockwise as screen y grows downward).
void Swing(Bitmap8& canvas, const Weapon& w, int x, int y, double angle) {
    const int ex = x + static_cast<int>(std::lround(std::cos(angle) * w.length));
    const int ey = y + static_cast<int>(std::lround(std::sin(angle) * w.length));
    canvas.Line(x, y, ex, ey, w.shaft);
    canvas.Line(x + 1, y, ex + 1, ey, w.shaft);
    if (w.axe) canvas.Ellipse(ex, ey, 3, 3, w.head);
    else canvas.Ellipse(ex, ey, 1.5, 1.5, w.head);
}

void Glints(Bitmap8& canvas, Hue hue, int frame) {
    const int spots[4][2] = {{3, 6}, {28, 4}, {2, 22}, {29, 20}};
    for (int i = 0; i < 4; ++i) {
        const int arm = 1 + (i + frame) % 3;
        const uint8_t c = (i + frame) % 2 ? Shade(hue, 12) : kWhite;
        canvas.Fill(spots[i][0] - arm, spots[i][1], 2 * arm + 1, 1, c);
        canvas.Fill(spots[i][0], spots[i][1] - arm, 1, 2 * arm + 1, c);
    }
}

// One frame of one pose (the battler set's entry `pose`) on a right-facing canvas.
Bitmap8 PoseCanvas(const Look& look, const Weapon& weapon, int pose, int frame) {
    Bitmap8 canvas(kCanvas, kCanvas);
    const int hand_x = kFigureX + 13, hand_y = 24;  // the front hand of the standing figure
    switch (pose) {
    case 1:
    case 2: {  // a swing from over the shoulder to the ground in front
        const int step = 3 * frame;
        const double angles[3] = {-2.3, -1.0, 0.45};
        const int hy = hand_y - (pose == 2 ? 1 : 3);
        Figure(canvas, look, 1, frame == 0 ? 1 : 2, step);
        if (frame > 0)  // the sweep's trail behind the weapon
            for (int i = 0; i < 8; ++i) {
                const double a = angles[frame] - 0.2 * (i + 1);
                canvas.Set(hand_x + step + static_cast<int>(std::lround(std::cos(a) * (weapon.length + 1))),
                           hy + static_cast<int>(std::lround(std::sin(a) * (weapon.length + 1))), Shade(kIce, 13 - i / 2));
            }
        Swing(canvas, weapon, hand_x + step, hy, angles[frame]);
        break;
    }
    case 3:  // casting: weapon raised, light gathering around
        Figure(canvas, look, 1, 1);
        Swing(canvas, weapon, hand_x, hand_y - 4, -1.3);
        Glints(canvas, look.trim, frame);
        break;
    case 4: {  // lying on the ground
        Bitmap8 cell(24, 32), lying(32, 24);
        Person(cell, 0, 0, look, 1, 1);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 24; ++x) lying.Set(31 - y, x, cell.Get(x, y));  // head to the left
        canvas.Blit(lying, 0, 0, 32, 24, 0, 14, true);
        break;
    }
    case 5: {  // knocked back, with a flash of the blow in front
        const int back[3] = {-3, -4, -2};
        Figure(canvas, look, 1, 1, back[frame]);
        if (frame < 2)
            for (int i = 0; i < 3; ++i) canvas.Line(27, 12 + 5 * i, 31, 10 + 6 * i, Shade(kRed, 11 - frame * 2));
        break;
    }
    case 6: {  // stunned: stars circling the head
        Figure(canvas, look, 1, 1, 0, 0);
        for (int i = 0; i < 3; ++i) {
            const double a = (i * 2.0 + frame * 0.7) * 3.14159265358979 / 3;
            canvas.Fill(16 + static_cast<int>(std::lround(std::cos(a) * 7)),
                        3 + static_cast<int>(std::lround(std::sin(a) * 2)), 2, 2, Shade(kYellow, 12));
        }
        break;
    }
    case 7:  // shield raised in front
        Figure(canvas, look, 1, 1, -1);
        canvas.ShadedEllipse(25, 19, 4, 7 - (frame == 1 ? 1 : 0), kSlate, 6, 12);
        canvas.Outline(19, 10, 13, 20, kInk);
        break;
    case 8:  // walking toward the enemies
        Figure(canvas, look, 1, frame);
        break;
    case 9:  // walking back
        Figure(canvas, look, 3, frame);
        break;
    case 10:  // turned to the front, weapon held high
        Figure(canvas, look, 2, 1, 0, frame == 1 ? -1 : 0);
        Swing(canvas, weapon, kFigureX + 20, 18 - (frame == 1 ? 1 : 0), -1.45);
        if (frame == 2) Glints(canvas, kYellow, 0);
        break;
    case 11:  // holding up a flask
        Figure(canvas, look, 1, 1);
        canvas.Fill(hand_x + 1, hand_y - 6 - frame, 4, 5, Shade(kRed, 9));
        canvas.Fill(hand_x + 2, hand_y - 8 - frame, 2, 2, Shade(kSand, 11));
        break;
    default:  // standing ready, weapon lowered in front
        Figure(canvas, look, 1, 1);
        Swing(canvas, weapon, hand_x, hand_y - 1, frame == 1 ? -0.55 : -0.6);
        break;
    }
    return canvas;
}

// A hero's sheet: 144 wide, one row of three 48×48 frames per pose.
Bitmap8 BattlerSheet(const Look& look, const Weapon& weapon) {
    Bitmap8 bmp(144, 48 * art::kBattlerRows);
    for (int pose = 0; pose < art::kBattlerRows; ++pose)
        for (int frame = 0; frame < 3; ++frame) {
            Bitmap8 canvas = PoseCanvas(look, weapon, pose, frame);
            canvas.MirrorRect(0, 0, kCanvas, kCanvas);
            // Nearest-neighbour scaling by 3/2 fills the 48×48 frame.
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) {
                    const uint8_t c = canvas.Get(x * 2 / 3, y * 2 / 3);
                    if (c != kClear) bmp.Set(48 * frame + x, 48 * pose + y, c);
                }
        }
    return bmp;
}

}  // namespace

std::vector<NamedImage> DrawCharacterSets() {
    std::vector<NamedImage> images;
    images.push_back({"CharSet", art::kHeroes, PeopleSheet(kHeroLooks)});
    images.push_back({"CharSet", art::kTownsfolk, PeopleSheet(kTownLooks)});
    images.push_back({"CharSet", art::kObjects, ObjectSheet()});
    images.push_back({"CharSet", art::kVehicles, VehicleSheet()});
    return images;
}

std::vector<NamedImage> DrawBattlers() {
    std::vector<NamedImage> images;
    for (int hero = 0; hero < 4; ++hero)
        images.push_back({"BattleCharSet", art::kBattlers[hero], BattlerSheet(kHeroLooks[hero], kHeroWeapons[hero])});
    return images;
}

std::vector<NamedImage> DrawFaces() {
    std::vector<NamedImage> images;
    images.push_back({"FaceSet", art::kHeroes, FaceSheet(kHeroLooks)});
    images.push_back({"FaceSet", art::kTownsfolk, FaceSheet(kTownLooks)});
    return images;
}

}  // namespace mkdemo
