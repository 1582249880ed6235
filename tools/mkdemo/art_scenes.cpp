// Full pictures: the title and game-over screens, the sky panorama, battle
// backdrops and a few pictures for events.

#include <cmath>

#include "art.h"
#include "rng.h"

namespace mkdemo {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Stars(Bitmap8& bmp, int count, int max_y, uint32_t seed) {
    ToolRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const int x = random.Below(bmp.width()), y = random.Below(max_y);
        bmp.Set(x, y, random.Below(4) == 0 ? kWhite : Shade(kIce, 11));
    }
}

// Rolling hills: a silhouette band whose top follows a sum of sines.
void Hills(Bitmap8& bmp, int base_y, double amplitude, double phase, Hue hue, int shade) {
    for (int x = 0; x < bmp.width(); ++x) {
        const double t = x / static_cast<double>(bmp.width()) * 2 * kPi;
        const int top = base_y - static_cast<int>(amplitude * (0.6 * std::sin(2 * t + phase) + 0.4 * std::sin(5 * t + 2 * phase)));
        for (int y = top; y < bmp.height(); ++y) bmp.Set(x, y, Shade(hue, shade + (y == top ? 2 : 0)));
    }
}

// Title text drawn large with a dark rim and a lighter top half.
void Title(Bitmap8& bmp, int y, const std::string& text, int scale, Hue hue) {
    const int x = (bmp.width() - Bitmap8::TextWidth(text, scale)) / 2;
    for (int dy = -1; dy <= 2; ++dy)
        for (int dx = -1; dx <= 1; ++dx) bmp.Text(x + dx * 2, y + dy * 2, text, kInk, scale);
    bmp.Text(x, y, text, Shade(hue, 9), scale);
    // Light the top rows of the letters.
    for (int j = y; j < y + 3 * scale; ++j)
        for (int i = x; i < x + Bitmap8::TextWidth(text, scale); ++i)
            if (bmp.Get(i, j) == Shade(hue, 9)) bmp.Set(i, j, Shade(hue, 12));
}

void LanternShape(Bitmap8& bmp, double cx, double cy, double size) {
    // Glow rings, the cage and the flame.
    for (int ring = 4; ring >= 1; --ring) bmp.Ellipse(cx, cy, size * (1 + ring * 0.35), size * (1 + ring * 0.35), Shade(kOrange, 3 + ring));
    bmp.Fill(static_cast<int>(cx - size * 0.6), static_cast<int>(cy - size * 1.3), static_cast<int>(size * 1.2), static_cast<int>(size * 0.3), Shade(kBrown, 3));
    bmp.Ellipse(cx, cy, size * 0.7, size, Shade(kYellow, 11));
    bmp.Ellipse(cx, cy + size * 0.2, size * 0.3, size * 0.5, kWhite);
    bmp.Fill(static_cast<int>(cx - size * 0.8), static_cast<int>(cy + size * 0.9), static_cast<int>(size * 1.6), static_cast<int>(size * 0.35), Shade(kBrown, 3));
    bmp.Line(static_cast<int>(cx), static_cast<int>(cy - size * 1.3), static_cast<int>(cx), static_cast<int>(cy - size * 2), Shade(kBrown, 3));
}

Bitmap8 TitleScreen() {
    Bitmap8 bmp(320, 240, Shade(kOrange, 10));
    bmp.Gradient(0, 0, 320, 150, kNavy, 2, 8);
    bmp.Gradient(0, 150, 320, 30, kOrange, 7, 10);
    Stars(bmp, 90, 110, 7);
    Hills(bmp, 172, 12, 0.4, kPurple, 3);
    Hills(bmp, 192, 10, 1.7, kForest, 3);
    Hills(bmp, 214, 7, 2.9, kForest, 2);
    // A little town on the far hill, windows lit.
    for (int i = 0; i < 7; ++i) {
        const int x = 190 + i * 14, h = 10 + (i * 7) % 9;
        bmp.Fill(x, 178 - h, 11, h + 6, Shade(kSlate, 2));
        bmp.Polygon({{x - 1.0, 178.0 - h}, {x + 12.0, 178.0 - h}, {x + 5.5, 171.0 - h}}, Shade(kSlate, 1));
        bmp.Fill(x + 4, 181 - h, 2, 2, Shade(kYellow, 12));
    }
    LanternShape(bmp, 160, 112, 9);
    Title(bmp, 26, "THE LANTERN", 4, kYellow);
    Title(bmp, 62, "OF VARROW", 3, kYellow);
    return bmp;
}

Bitmap8 GameOverScreen() {
    Bitmap8 bmp(320, 240);
    bmp.Gradient(0, 0, 320, 240, kSlate, 0, 3);
    // An extinguished lantern on the ground, a thin wisp of smoke.
    bmp.Ellipse(160, 176, 40, 6, Shade(kSlate, 1));
    bmp.Fill(146, 140, 28, 6, Shade(kBrown, 2));
    bmp.Ellipse(160, 158, 10, 14, Shade(kGray, 3));
    bmp.Fill(144, 170, 32, 5, Shade(kBrown, 2));
    for (int i = 0; i < 40; ++i) {
        const double t = i / 40.0;
        bmp.Set(160 + static_cast<int>(6 * std::sin(t * 3 * kPi)), 138 - i, Shade(kGray, 6 - static_cast<int>(t * 4)));
    }
    Title(bmp, 60, "GAME OVER", 4, kRed);
    return bmp;
}

// The sky panorama behind the field: repeats left to right and top to
// bottom, so it can scroll for ever.
Bitmap8 Sky() {
    Bitmap8 bmp(320, 240);
    for (int y = 0; y < 240; ++y) {
        // A gradient that returns to its start, for vertical looping.
        const double t = 0.5 - 0.5 * std::cos(y / 240.0 * 2 * kPi);
        const int shade = 8 + static_cast<int>(std::lround(t * 3));
        for (int x = 0; x < 320; ++x) bmp.Set(x, y, Shade(kBlue, shade));
    }
    ToolRandom random(42);
    for (int i = 0; i < 9; ++i) {
        const double cx = random.Below(320), cy = 20 + random.Below(200);
        for (int puff = 0; puff < 5; ++puff) {
            const double px = cx + (puff - 2) * 9, py = cy + ((puff % 2) ? -3 : 2);
            // Draw with wrap-around so the clouds cross the seams.
            for (int wx = -320; wx <= 320; wx += 320)
                for (int wy = -240; wy <= 240; wy += 240) bmp.Ellipse(px + wx, py + wy, 10, 6, Shade(kIce, 13));
        }
    }
    return bmp;
}

// The grass below the far hills, with its blades, shared by the field's
// backdrop and the near layer of the grass's layered one.
void GrassField(Bitmap8& bmp) {
    bmp.Gradient(0, 128, 320, 112, kGreen, 7, 5);
    Hills(bmp, 132, 4, 1.1, kGreen, 7);
    ToolRandom random(3);
    for (int i = 0; i < 120; ++i) {
        const int x = random.Below(320), y = 140 + random.Below(100);
        bmp.Line(x, y, x + 1, y - 3, Shade(kGreen, 10));
    }
}

Bitmap8 Grassland() {
    Bitmap8 bmp(320, 240);
    bmp.Gradient(0, 0, 320, 120, kBlue, 11, 8);
    // The far hills dip to y 128; the sky goes on behind them to the grass.
    bmp.Fill(0, 120, 320, 8, Shade(kBlue, 8));
    Hills(bmp, 118, 10, 0.3, kForest, 5);
    GrassField(bmp);
    return bmp;
}

// The far layer of the grass's battle backdrop: sky and clouds that loop
// horizontally as it scrolls.
Bitmap8 MeadowSky() {
    Bitmap8 bmp(320, 240);
    bmp.Gradient(0, 0, 320, 130, kBlue, 11, 8);
    bmp.Fill(0, 130, 320, 110, Shade(kBlue, 8));
    ToolRandom random(11);
    for (int i = 0; i < 7; ++i) {
        const double cx = random.Below(320), cy = 14 + random.Below(80);
        for (int puff = 0; puff < 4; ++puff)
            for (int wx = -320; wx <= 320; wx += 320)
                bmp.Ellipse(cx + (puff - 1.5) * 11 + wx, cy + ((puff % 2) ? -3 : 2), 12, 7, Shade(kIce, 13));
    }
    return bmp;
}

// The near layer: hills and grass, open above them so the sky shows.
Bitmap8 Meadow() {
    Bitmap8 bmp(320, 240);
    Hills(bmp, 112, 10, 0.3, kForest, 5);
    GrassField(bmp);
    return bmp;
}

Bitmap8 Cave() {
    Bitmap8 bmp(320, 240);
    bmp.Gradient(0, 0, 320, 240, kBrown, 1, 4);
    ToolRandom random(5);
    // Stalactites and a glowing crystal vein.
    for (int i = 0; i < 14; ++i) {
        const double x = random.Below(320), len = 20 + random.Below(50);
        bmp.Polygon({{x - 8, 0}, {x + 8, 0}, {x, len}}, Shade(kBrown, 3));
    }
    for (int i = 0; i < 10; ++i) {
        const double x = random.Below(320), h = 15 + random.Below(30);
        bmp.Polygon({{x - 9, 240}, {x + 9, 240}, {x, 240 - h}}, Shade(kBrown, 2));
    }
    for (int i = 0; i < 12; ++i) {
        const double x = 20 + i * 25, y = 150 + 20 * std::sin(i);
        bmp.Polygon({{x, y - 10}, {x + 5, y}, {x, y + 8}, {x - 5, y}}, Shade(kTeal, 9));
    }
    bmp.Gradient(0, 160, 320, 80, kBrown, 3, 5);
    return bmp;
}

Bitmap8 Street() {
    Bitmap8 bmp(320, 240);
    bmp.Gradient(0, 0, 320, 110, kOrange, 10, 8);
    // The sky behind the gaps between the houses, down to the street.
    bmp.Fill(0, 110, 320, 20, Shade(kOrange, 8));
    for (int i = 0; i < 6; ++i) {
        const int x = i * 56 - 10, h = 50 + (i * 17) % 30;
        bmp.Fill(x, 110 - h, 48, h + 20, Shade(kSand, 7));
        bmp.Polygon({{x - 4.0, 110.0 - h}, {x + 52.0, 110.0 - h}, {x + 24.0, 80.0 - h}}, Shade(kRed, 5));
        bmp.Fill(x + 8, 120 - h, 10, 12, Shade(kYellow, 11));
        bmp.Fill(x + 30, 120 - h, 10, 12, Shade(kYellow, 11));
    }
    bmp.Gradient(0, 130, 320, 110, kGray, 8, 6);
    for (int y = 130; y < 240; y += 10)
        for (int x = (y / 10) % 2 * 10; x < 320; x += 20) bmp.FrameRect(x, y, 20, 10, Shade(kGray, 5));
    return bmp;
}

// Pictures for events: a map of the region, the lantern, a letter.
Bitmap8 MapPicture() {
    Bitmap8 bmp(160, 120);
    bmp.Fill(4, 4, 152, 112, Shade(kSand, 11));
    bmp.FrameRect(4, 4, 152, 112, Shade(kBrown, 5));
    bmp.Ellipse(110, 70, 30, 22, Shade(kBlue, 10));  // the lake
    bmp.Polygon({{20, 40}, {35, 20}, {50, 40}}, Shade(kBrown, 6));  // mountains
    bmp.Polygon({{40, 40}, {55, 15}, {70, 40}}, Shade(kBrown, 6));
    bmp.FrameRect(30, 80, 14, 10, Shade(kRed, 6));  // the town
    bmp.Line(44, 85, 90, 60, Shade(kBrown, 4));
    bmp.Text(70, 96, "VARROW", Shade(kBrown, 3));
    bmp.Line(120, 30, 130, 40, Shade(kRed, 7));  // X marks the cave
    bmp.Line(130, 30, 120, 40, Shade(kRed, 7));
    return bmp;
}

Bitmap8 LanternPicture() {
    Bitmap8 bmp(96, 96);
    LanternShape(bmp, 48, 52, 14);
    return bmp;
}

Bitmap8 LetterPicture() {
    Bitmap8 bmp(128, 96);
    bmp.Fill(8, 8, 112, 80, Shade(kSand, 12));
    bmp.FrameRect(8, 8, 112, 80, Shade(kSand, 6));
    for (int line = 0; line < 6; ++line) bmp.Fill(18, 22 + line * 10, 92 - (line == 5 ? 40 : 0), 1, Shade(kSlate, 5));
    bmp.Ellipse(100, 72, 7, 7, Shade(kRed, 6));
    return bmp;
}

}  // namespace

std::vector<NamedImage> DrawScenes() {
    std::vector<NamedImage> images;
    images.push_back({"Title", art::kTitle, TitleScreen()});
    images.push_back({"GameOver", art::kGameOver, GameOverScreen()});
    images.push_back({"Panorama", art::kSky, Sky()});
    images.push_back({"Backdrop", art::kGrassland, Grassland()});
    images.push_back({"Backdrop", art::kCave, Cave()});
    images.push_back({"Backdrop", art::kStreet, Street()});
    images.push_back({"Frame", art::kMeadowSky, MeadowSky()});
    images.push_back({"Frame", art::kMeadow, Meadow()});
    images.push_back({"Picture", art::kMap, MapPicture()});
    images.push_back({"Picture", art::kLanternPicture, LanternPicture()});
    images.push_back({"Picture", art::kLetter, LetterPicture()});
    return images;
}

}  // namespace mkdemo
