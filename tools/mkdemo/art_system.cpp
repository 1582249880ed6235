// The window skin (160×80) and the second system image (80×96).

#include "art.h"

namespace mkdemo {
namespace {

// A rounded frame ring `thickness` pixels wide around a w×h box, in
// colours from the outside in.
void FrameRing(Bitmap8& bmp, int x, int y, int w, int h, const std::vector<uint8_t>& rings) {
    for (size_t r = 0; r < rings.size(); ++r) {
        const int o = static_cast<int>(r);
        bmp.FrameRect(x + o, y + o, w - 2 * o, h - 2 * o, rings[r]);
    }
    // Round the outer corners off.
    bmp.Set(x, y, kClear);
    bmp.Set(x + w - 1, y, kClear);
    bmp.Set(x, y + h - 1, kClear);
    bmp.Set(x + w - 1, y + h - 1, kClear);
}

void Arrow(Bitmap8& bmp, int x, int y, bool up) {
    // A 9-wide triangle in a 16×8 cell, white with a dark rim.
    for (int row = 0; row < 5; ++row) {
        const int half = up ? row : 4 - row;
        const int yy = y + 1 + row;
        bmp.Fill(x + 8 - half - 1, yy, 2 * half + 2, 1, kInk);
    }
    for (int row = 0; row < 4; ++row) {
        const int half = up ? row : 3 - row;
        bmp.Fill(x + 8 - half, y + (up ? 2 : 1) + row, 2 * half, 1, Shade(kIce, 13));
    }
}

// A small 8×8 icon for the shop's comparison marks, row = mark: 0 the
// total rises (green arrow up), 1 equal (grey bars), 2 falls (red arrow
// down), 3 already equipped (a gold "E"); the step moves it a little for a
// gentle bounce.
void SmallIcon(Bitmap8& bmp, int x, int y, int kind, int step) {
    const int bob = (step == 1 || step == 3) ? 1 : (step == 2 ? 2 : 0);
    switch (kind) {
        case 0:
            for (int r = 0; r < 4; ++r) bmp.Fill(x + 3 - r, y + 1 + r - bob + 1, 2 * r + 2, 1, Shade(kGreen, 10));
            bmp.Fill(x + 2, y + 5 - bob + 1, 4, 2, Shade(kGreen, 8));
            break;
        case 1:
            bmp.Fill(x + 1, y + 2, 6, 1, Shade(kGray, 12 - bob));
            bmp.Fill(x + 1, y + 5, 6, 1, Shade(kGray, 12 - bob));
            break;
        case 2:
            bmp.Fill(x + 2, y + bob, 4, 2, Shade(kRed, 7));
            for (int r = 0; r < 4; ++r) bmp.Fill(x + r, y + 2 + r + bob, 8 - 2 * r, 1, Shade(kRed, 9));
            break;
        default: {
            const int top = y + 1 + bob / 2;
            const uint8_t gold = Shade(kYellow, 9 + bob);
            bmp.Fill(x + 2, top, 1, 6, gold);
            bmp.Fill(x + 2, top, 4, 1, gold);
            bmp.Fill(x + 2, top + 2, 3, 1, gold);
            bmp.Fill(x + 2, top + 5, 4, 1, gold);
            break;
        }
    }
}

// Text colour c: a 12×12 pattern at (2,4) inside its 16×16 cell, lighter at
// the top, like light falling on the letters.
void TextColour(Bitmap8& bmp, int c, Hue hue, int top, int bottom) {
    const int x = 16 * (c % 10), y = 48 + 16 * (c / 10);
    bmp.Fill(x, y, 16, 16, Shade(hue, (top + bottom) / 2));
    bmp.Gradient(x + 2, y + 4, 12, 12, hue, top, bottom);
}

Bitmap8 DrawSkin() {
    Bitmap8 bmp(160, 80);
    // Window background: deep blue, lighter at the top.
    bmp.Gradient(0, 0, 32, 32, kNavy, 6, 2);

    // Window frame with arrows inside its empty middle.
    FrameRing(bmp, 32, 0, 32, 32, {Shade(kSlate, 3), Shade(kIce, 12), Shade(kBlue, 9), Shade(kNavy, 4)});
    Arrow(bmp, 40, 8, true);
    Arrow(bmp, 40, 16, false);

    // Selection cursor, two frames: a bright rim and a see-through body
    // (every other pixel transparent).
    for (int frame = 0; frame < 2; ++frame) {
        const int x = 64 + 32 * frame;
        FrameRing(bmp, x, 0, 32, 32, {Shade(kIce, frame ? 14 : 12), Shade(kBlue, frame ? 11 : 9)});
        for (int j = 2; j < 30; ++j)
            for (int i = 2; i < 30; ++i)
                if ((i + j) % 2 == 0) bmp.Set(x + i, j, Shade(kBlue, frame ? 11 : 10));
    }

    // Small comparison icons, four kinds by four steps.
    for (int kind = 0; kind < 4; ++kind)
        for (int step = 0; step < 4; ++step) SmallIcon(bmp, 128 + 8 * step, 8 * kind, kind, step);

    // Row 32: background and shadow colour pixels, timer digits and colon,
    // and the vehicle shadow.
    bmp.Fill(0, 32, 16, 16, Shade(kNavy, 3));
    bmp.Set(0, 32, Shade(kNavy, 3));
    bmp.Fill(16, 32, 16, 16, kShadow);
    for (int d = 0; d < 10; ++d) {
        const std::string digit(1, static_cast<char>('0' + d));
        bmp.Text(32 + 8 * d + 2, 34, digit, kShadow, 1, 2);
        bmp.Text(32 + 8 * d + 1, 33, digit, kWhite, 1, 2);
    }
    bmp.Text(112 + 2, 34, ":", kShadow, 1, 2);
    bmp.Text(112 + 1, 33, ":", kWhite, 1, 2);
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 32; ++i) {
            const double nx = (i + 0.5 - 16) / 15.0, ny = (j + 0.5 - 8) / 6.0;
            if (nx * nx + ny * ny <= 1.0 && (i + j) % 2 == 0) bmp.Set(128 + i, 32 + j, kShadow);
        }

    // Twenty text colours.
    struct Colour {
        Hue hue;
        int top, bottom;
    };
    const Colour colours[20] = {
        {kIce, 14, 11},   {kBlue, 12, 9},   {kGreen, 12, 9},  {kGray, 10, 7},   {kYellow, 12, 8},
        {kRed, 10, 6},    {kOrange, 11, 7}, {kPink, 12, 9},   {kPurple, 11, 8}, {kTeal, 12, 8},
        {kSand, 13, 9},   {kIce, 12, 8},    {kBrown, 11, 7},  {kForest, 11, 7}, {kNavy, 12, 9},
        {kSlate, 12, 8},  {kSkin, 12, 8},   {kYellow, 10, 5}, {kRed, 7, 3},     {kGray, 5, 2},
    };
    for (int c = 0; c < 20; ++c) TextColour(bmp, c, colours[c].hue, colours[c].top, colours[c].bottom);
    return bmp;
}

// A gauge of kind k on row r: end caps, an empty body, a partly and a
// wholly filled piece, all 16×16 with the bar in rows 5..10.
void Gauge(Bitmap8& bmp, int row, Hue fill, Hue full) {
    const int top = row + 5, h = 6;
    // Left cap: rim on the left, top and bottom.
    bmp.Fill(11, top - 1, 5, h + 2, kInk);
    bmp.Fill(12, top, 4, h, Shade(kSlate, 2));
    // Body: rim top and bottom, dark inside.
    bmp.Fill(16, top - 1, 16, h + 2, kInk);
    bmp.Fill(16, top, 16, h, Shade(kSlate, 2));
    // Right cap.
    bmp.Fill(32, top - 1, 5, h + 2, kInk);
    bmp.Fill(32, top, 4, h, Shade(kSlate, 2));
    // Fills: lit from above.
    bmp.Gradient(48, top, 16, h, fill, 11, 6);
    bmp.Gradient(64, top, 16, h, full, 13, 8);
}

Bitmap8 DrawSystem2() {
    Bitmap8 bmp(80, 96);
    // Row 0: a pointer that bobs (three frames).
    for (int f = 0; f < 3; ++f) {
        const int x = 16 * f, y = f;
        for (int r = 0; r < 6; ++r) bmp.Fill(x + 3 + r, y + 4 + r, 10 - 2 * r, 1, Shade(kYellow, 11 - r / 2));
        bmp.Outline(x, 0, 16, 16, kInk);
    }
    // Row 16: a star that twinkles.
    for (int f = 0; f < 3; ++f) {
        const int x = 16 * f, y = 16;
        const int arm = 3 + f;
        bmp.Fill(x + 8 - arm, y + 7, 2 * arm, 2, Shade(kIce, 12));
        bmp.Fill(x + 7, y + 8 - arm, 2, 2 * arm, Shade(kIce, 12));
        bmp.Fill(x + 6, y + 6, 4, 4, kWhite);
    }
    Gauge(bmp, 32, kBlue, kYellow);   // kind 0: the battle turn gauge
    Gauge(bmp, 48, kGreen, kGreen);   // kind 1
    Gauge(bmp, 64, kPurple, kPink);   // kind 2, also the gauge strip
    for (int d = 0; d < 10; ++d) {
        const std::string digit(1, static_cast<char>('0' + d));
        bmp.Text(8 * d + 2, 82, digit, kInk, 1, 2);
        bmp.Text(8 * d + 1, 81, digit, Shade(kYellow, 12), 1, 2);
    }
    return bmp;
}

}  // namespace

std::vector<NamedImage> DrawSystemArt() {
    std::vector<NamedImage> images;
    images.push_back({"System", art::kSkin, DrawSkin()});
    images.push_back({"System2", art::kSystem2, DrawSystem2()});
    return images;
}

}  // namespace mkdemo
