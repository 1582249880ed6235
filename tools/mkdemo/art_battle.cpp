// Enemy pictures and battle animation sheets (96×96 cells, five columns).

#include <cmath>

#include "art.h"
#include "rng.h"

namespace mkdemo {
namespace {

constexpr double kPi = 3.14159265358979323846;

Bitmap8 Slime() {
    Bitmap8 bmp(48, 40);
    bmp.ShadedEllipse(24, 26, 20, 14, kGreen, 3, 12);
    bmp.Fill(4, 26, 40, 12, kClear);
    bmp.ShadedEllipse(24, 28, 21, 10, kGreen, 3, 10);
    bmp.Ellipse(17, 24, 3, 4, kInk);
    bmp.Ellipse(31, 24, 3, 4, kInk);
    bmp.Set(16, 22, kWhite);
    bmp.Set(30, 22, kWhite);
    bmp.Ellipse(13, 17, 3, 2, Shade(kGreen, 13));
    bmp.Outline(0, 0, 48, 40, kInk);
    return bmp;
}

Bitmap8 Bat() {
    Bitmap8 bmp(64, 40);
    for (int side = -1; side <= 1; side += 2) {
        std::vector<std::pair<double, double>> wing = {{32.0 + side * 6, 14}, {32.0 + side * 30, 6}, {32.0 + side * 26, 22},
                                                       {32.0 + side * 18, 18}, {32.0 + side * 12, 28}};
        bmp.Polygon(wing, Shade(kPurple, 5));
    }
    bmp.ShadedEllipse(32, 20, 8, 10, kPurple, 3, 9);
    bmp.Polygon({{26, 12}, {28, 4}, {30, 11}}, Shade(kPurple, 6));
    bmp.Polygon({{34, 11}, {36, 4}, {38, 12}}, Shade(kPurple, 6));
    bmp.Fill(28, 17, 2, 2, Shade(kYellow, 12));
    bmp.Fill(34, 17, 2, 2, Shade(kYellow, 12));
    bmp.Outline(0, 0, 64, 40, kInk);
    return bmp;
}

Bitmap8 Wolf() {
    Bitmap8 bmp(72, 56);
    bmp.ShadedEllipse(38, 30, 22, 12, kGray, 3, 10);                       // body
    bmp.Polygon({{56, 28}, {70, 18}, {68, 24}}, Shade(kGray, 6));          // tail
    for (int leg = 0; leg < 4; ++leg) bmp.Fill(22 + leg * 10, 36, 5, 17, Shade(kGray, 5 + leg % 2));
    bmp.ShadedEllipse(16, 22, 11, 9, kGray, 4, 11);                        // head
    bmp.Polygon({{6, 22}, {0, 28}, {10, 29}}, Shade(kGray, 8));            // snout
    bmp.Polygon({{12, 15}, {14, 4}, {19, 14}}, Shade(kGray, 6));           // ear
    bmp.Fill(12, 19, 3, 2, Shade(kRed, 9));
    bmp.Outline(0, 0, 72, 56, kInk);
    return bmp;
}

Bitmap8 Goblin() {
    Bitmap8 bmp(48, 64);
    bmp.Fill(17, 44, 5, 18, Shade(kBrown, 4));
    bmp.Fill(27, 44, 5, 18, Shade(kBrown, 4));
    bmp.ShadedEllipse(24, 36, 11, 12, kBrown, 4, 9);                       // tunic
    bmp.ShadedEllipse(24, 18, 11, 11, kGreen, 3, 10);                      // head
    bmp.Polygon({{13, 16}, {1, 10}, {13, 21}}, Shade(kGreen, 7));          // ears
    bmp.Polygon({{35, 16}, {47, 10}, {35, 21}}, Shade(kGreen, 7));
    bmp.Fill(18, 16, 3, 3, Shade(kYellow, 12));
    bmp.Fill(27, 16, 3, 3, Shade(kYellow, 12));
    bmp.Fill(20, 24, 8, 2, kInk);
    bmp.Line(38, 50, 44, 28, Shade(kBrown, 6));                            // club
    bmp.ShadedEllipse(44, 28, 4, 6, kBrown, 4, 9);
    bmp.Outline(0, 0, 48, 64, kInk);
    return bmp;
}

Bitmap8 Mushroom() {
    Bitmap8 bmp(48, 56);
    bmp.ShadedEllipse(24, 42, 10, 12, kSand, 6, 12);
    bmp.ShadedEllipse(24, 22, 22, 15, kRed, 3, 10);
    bmp.Fill(2, 26, 44, 12, kClear);
    bmp.ShadedEllipse(24, 42, 10, 12, kSand, 6, 12);
    bmp.Ellipse(14, 14, 4, 3, kWhite);
    bmp.Ellipse(30, 10, 3, 2.5, kWhite);
    bmp.Ellipse(36, 20, 3, 2, kWhite);
    bmp.Fill(19, 40, 3, 4, kInk);
    bmp.Fill(26, 40, 3, 4, kInk);
    bmp.Outline(0, 0, 48, 56, kInk);
    return bmp;
}

Bitmap8 Skeleton() {
    Bitmap8 bmp(48, 72);
    const uint8_t bone = Shade(kSand, 12);
    bmp.ShadedEllipse(24, 13, 10, 11, kSand, 8, 13);
    bmp.Ellipse(20, 13, 3, 3.5, kInk);
    bmp.Ellipse(28, 13, 3, 3.5, kInk);
    bmp.Fill(21, 20, 7, 2, kInk);
    bmp.Fill(23, 24, 3, 26, bone);                                        // spine
    for (int rib = 0; rib < 4; ++rib) bmp.Fill(15, 28 + rib * 5, 19, 2, bone);
    bmp.Line(15, 28, 6, 44, bone);
    bmp.Line(33, 28, 42, 44, bone);
    bmp.Line(42, 44, 44, 24, Shade(kGray, 10));                            // sword
    bmp.Fill(17, 50, 15, 4, bone);
    bmp.Fill(18, 54, 3, 17, bone);
    bmp.Fill(28, 54, 3, 17, bone);
    bmp.Outline(0, 0, 48, 72, kInk);
    return bmp;
}

Bitmap8 Wisp() {
    Bitmap8 bmp(40, 48);
    bmp.Polygon({{20, 2}, {32, 26}, {28, 40}, {12, 40}, {8, 26}}, Shade(kBlue, 7));
    bmp.ShadedEllipse(20, 32, 12, 12, kBlue, 6, 12);
    bmp.ShadedEllipse(20, 32, 6, 7, kIce, 10, 14);
    bmp.Fill(16, 30, 2, 3, kInk);
    bmp.Fill(23, 30, 2, 3, kInk);
    return bmp;
}

Bitmap8 Snake() {
    Bitmap8 bmp(64, 48);
    for (int i = 0; i < 48; ++i) {
        const double t = i / 47.0;
        const double x = 8 + t * 44, y = 34 + 7 * std::sin(t * 2.5 * kPi);
        bmp.ShadedEllipse(x, y, 6, 6, kYellow, 4, 10);
    }
    bmp.ShadedEllipse(54, 18, 8, 7, kYellow, 5, 11);
    bmp.Fill(54, 15, 3, 2, kInk);
    bmp.Line(62, 21, 63, 24, Shade(kRed, 7));
    bmp.Outline(0, 0, 64, 48, kInk);
    return bmp;
}

Bitmap8 Golem() {
    Bitmap8 bmp(96, 96);
    bmp.ShadedEllipse(48, 50, 28, 26, kSlate, 3, 11);                     // torso
    bmp.ShadedEllipse(48, 18, 13, 12, kSlate, 4, 11);                     // head
    bmp.ShadedEllipse(16, 52, 11, 18, kSlate, 3, 10);                     // arms
    bmp.ShadedEllipse(80, 52, 11, 18, kSlate, 3, 10);
    bmp.Fill(30, 72, 14, 22, Shade(kSlate, 5));
    bmp.Fill(52, 72, 14, 22, Shade(kSlate, 4));
    bmp.Fill(41, 15, 4, 4, Shade(kTeal, 12));
    bmp.Fill(51, 15, 4, 4, Shade(kTeal, 12));
    bmp.Ellipse(48, 48, 6, 6, Shade(kTeal, 10));                           // core
    bmp.Line(36, 36, 44, 60, Shade(kSlate, 2));
    bmp.Outline(0, 0, 96, 96, kInk);
    return bmp;
}

Bitmap8 Wyrm() {
    Bitmap8 bmp(128, 112);
    bmp.Polygon({{60, 40}, {126, 4}, {112, 40}, {124, 56}, {70, 56}}, Shade(kRed, 4));   // wing
    bmp.ShadedEllipse(64, 70, 36, 26, kRed, 3, 10);                                     // body
    bmp.Polygon({{92, 84}, {127, 100}, {94, 96}}, Shade(kRed, 5));                      // tail
    bmp.ShadedEllipse(28, 38, 18, 14, kRed, 4, 11);                                     // head
    bmp.Polygon({{14, 38}, {0, 48}, {20, 50}}, Shade(kRed, 8));                        // snout
    bmp.Polygon({{26, 25}, {30, 6}, {36, 26}}, Shade(kSand, 11));                      // horns
    bmp.Polygon({{36, 27}, {44, 10}, {44, 30}}, Shade(kSand, 11));
    bmp.Fill(22, 34, 4, 3, Shade(kYellow, 12));
    bmp.ShadedEllipse(64, 76, 20, 14, kOrange, 6, 11);                                  // belly
    bmp.Fill(44, 92, 10, 18, Shade(kRed, 4));
    bmp.Fill(74, 92, 10, 18, Shade(kRed, 4));
    bmp.Outline(0, 0, 128, 112, kInk);
    return bmp;
}

// --- battle animations ------------------------------------------------------

// A sheet of `cells` 96×96 cells in five columns, each drawn by `paint`
// with the cell's centre and its step 0..cells-1.
template <typename Painter>
Bitmap8 Sheet(int cells, Painter paint) {
    const int rows = (cells + 4) / 5;
    Bitmap8 bmp(480, 96 * rows);
    for (int n = 0; n < cells; ++n) paint(bmp, 96 * (n % 5) + 48.0, 96 * (n / 5) + 48.0, n, cells);
    return bmp;
}

void Slash(Bitmap8& bmp, double cx, double cy, int n, int count) {
    // A bright crescent sweeping from the upper right to the lower left.
    const double sweep = (n + 1) / static_cast<double>(count);
    for (int i = 0; i < 60; ++i) {
        const double a = -0.25 * kPi + sweep * 1.5 * kPi * (i / 60.0);
        const double r = 34;
        const double x = cx + r * std::cos(a), y = cy + r * std::sin(a) * 0.8;
        const double width = 1 + 3 * std::sin(i / 60.0 * kPi);
        bmp.Ellipse(x, y, width, width, i > 45 ? kWhite : Shade(kIce, 12));
    }
}

void Impact(Bitmap8& bmp, double cx, double cy, int n, int count) {
    const double size = 10 + 30 * n / static_cast<double>(count - 1);
    const int fade = count - 1 - n;
    for (int ray = 0; ray < 8; ++ray) {
        const double a = ray * kPi / 4 + 0.2;
        bmp.Polygon({{cx + std::cos(a + 0.2) * size * 0.3, cy + std::sin(a + 0.2) * size * 0.3},
                     {cx + std::cos(a) * size, cy + std::sin(a) * size},
                     {cx + std::cos(a - 0.2) * size * 0.3, cy + std::sin(a - 0.2) * size * 0.3}},
                    Shade(kYellow, 8 + fade));
    }
    bmp.Ellipse(cx, cy, size * 0.35, size * 0.35, fade > 1 ? kWhite : Shade(kYellow, 12));
}

void Flame(Bitmap8& bmp, double cx, double cy, int n, int count) {
    ToolRandom random(static_cast<uint32_t>(100 + n));
    const double grow = std::sin((n + 1) / static_cast<double>(count + 1) * kPi);
    for (int i = 0; i < 14; ++i) {
        const double x = cx + random.Signed() * 26 * grow, base = cy + 30;
        const double h = (20 + random.Below(30)) * grow;
        bmp.Polygon({{x - 8 * grow, base}, {x + 8 * grow, base}, {x + random.Signed() * 4, base - h}},
                    Shade(i % 3 == 0 ? kYellow : kOrange, 8 + i % 4));
    }
    bmp.Ellipse(cx, cy + 26, 30 * grow, 8 * grow, Shade(kRed, 7));
}

void Sparkles(Bitmap8& bmp, double cx, double cy, int n, int count) {
    ToolRandom random(55);
    for (int i = 0; i < 12; ++i) {
        const double x = cx + random.Signed() * 36;
        const double y = cy + 36 - (random.Below(20) + n * 70.0 / count);
        const int arm = 2 + (i + n) % 3;
        const uint8_t c = (i % 2) ? Shade(kGreen, 12) : kWhite;
        bmp.Fill(static_cast<int>(x) - arm, static_cast<int>(y), 2 * arm + 1, 1, c);
        bmp.Fill(static_cast<int>(x), static_cast<int>(y) - arm, 1, 2 * arm + 1, c);
    }
}

void Frost(Bitmap8& bmp, double cx, double cy, int n, int count) {
    const double size = 8 + 32 * n / static_cast<double>(count - 1);
    for (int shard = 0; shard < 6; ++shard) {
        const double a = shard * kPi / 3;
        bmp.Polygon({{cx + std::cos(a + 0.35) * size * 0.25, cy + std::sin(a + 0.35) * size * 0.25},
                     {cx + std::cos(a) * size, cy + std::sin(a) * size},
                     {cx + std::cos(a - 0.35) * size * 0.25, cy + std::sin(a - 0.35) * size * 0.25}},
                    Shade(kIce, 10 + shard % 3));
    }
    bmp.Ellipse(cx, cy, size * 0.2, size * 0.2, kWhite);
}

void Bolt(Bitmap8& bmp, double cx, double cy, int n, int) {
    ToolRandom random(static_cast<uint32_t>(200 + n));
    double x = cx + random.Signed() * 10, y = cy - 48;
    while (y < cy + 40) {
        const double nx = cx + random.Signed() * 16, ny = y + 8 + random.Below(6);
        bmp.Line(static_cast<int>(x), static_cast<int>(y), static_cast<int>(nx), static_cast<int>(ny), kWhite);
        bmp.Line(static_cast<int>(x) + 1, static_cast<int>(y), static_cast<int>(nx) + 1, static_cast<int>(ny),
                 Shade(kYellow, 11));
        x = nx;
        y = ny;
    }
    if (n % 2 == 0) bmp.Ellipse(cx, cy + 40, 16, 5, Shade(kYellow, 12));
}

}  // namespace

std::vector<NamedImage> DrawMonsters() {
    std::vector<NamedImage> images;
    images.push_back({"Monster", "Slime", Slime()});
    images.push_back({"Monster", "Bat", Bat()});
    images.push_back({"Monster", "Wolf", Wolf()});
    images.push_back({"Monster", "Goblin", Goblin()});
    images.push_back({"Monster", "Mushroom", Mushroom()});
    images.push_back({"Monster", "Skeleton", Skeleton()});
    images.push_back({"Monster", "Wisp", Wisp()});
    images.push_back({"Monster", "Snake", Snake()});
    images.push_back({"Monster", "Golem", Golem()});
    images.push_back({"Monster", "Wyrm", Wyrm()});
    return images;
}

std::vector<NamedImage> DrawBattleAnimations() {
    std::vector<NamedImage> images;
    images.push_back({"Battle", "Slash", Sheet(5, Slash)});
    images.push_back({"Battle", "Impact", Sheet(5, Impact)});
    images.push_back({"Battle", "Flame", Sheet(8, Flame)});
    images.push_back({"Battle", "Sparkle", Sheet(5, Sparkles)});
    images.push_back({"Battle", "Frost", Sheet(5, Frost)});
    images.push_back({"Battle", "Bolt", Sheet(4, Bolt)});
    return images;
}

std::vector<NamedImage> DrawAllArt() {
    std::vector<NamedImage> all;
    for (auto family : {DrawSystemArt, DrawChipSets, DrawCharacterSets, DrawFaces, DrawBattlers, DrawScenes,
                        DrawMonsters, DrawBattleAnimations})
        for (NamedImage& image : family()) all.push_back(std::move(image));
    return all;
}

}  // namespace mkdemo
