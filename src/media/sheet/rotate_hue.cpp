// Hue rotation of a sheet's palette through hue, saturation and value, in
// whole degrees. Entry 0 (the transparent colour) is left alone.
#include <algorithm>
#include <cmath>

#include "media/sheet/sheet.h"

namespace {

// Rounds to the nearest integer, ties to even (the default rounding mode).
double RoundEven(double v) {
    return std::nearbyint(v);
}

uint8_t ToByte(double v) {
    return uint8_t(std::clamp(RoundEven(v), 0.0, 255.0));
}

void RotateEntry(PaletteEntry& e, int32_t degrees) {
    const int red = e.Red, green = e.Green, blue = e.Blue;
    const int maxC = std::max({red, green, blue});
    const int minC = std::min({red, green, blue});
    const int value = maxC;
    const int sat = maxC == 0 ? 0 : (maxC - minC) * 255 / maxC;
    if (sat == 0) {
        e.Red = e.Green = e.Blue = uint8_t(value);
        return;
    }
    const double delta = maxC - minC;
    double hue;
    if (red == maxC) {
        hue = 60.0 * (green - blue) / delta;
    } else if (green == maxC) {
        hue = 60.0 * (2.0 + (blue - red) / delta);
    } else {
        hue = 60.0 * (4.0 + (red - green) / delta);
    }
    if (hue < 0) hue += 360.0;

    // Negative sums wrap into 0..359 as well.
    int64_t turned = int64_t(RoundEven(hue + double(degrees))) % 360;
    if (turned < 0) turned += 360;

    const double v = value;
    const double m = v * sat / 255.0;
    const double lo = v - m;
    const int sector = int(turned / 60);
    const double fraction = turned / 60.0 - sector;
    const double x = RoundEven(fraction * m);
    double r, g, b;
    switch (sector) {
        case 0:
            r = v, g = lo + x, b = lo;
            break;
        case 1:
            r = v - x, g = v, b = lo;
            break;
        case 2:
            r = lo, g = v, b = lo + x;
            break;
        case 3:
            r = lo, g = v - x, b = v;
            break;
        case 4:
            r = lo + x, g = lo, b = v;
            break;
        default:
            r = v, g = lo, b = v - x;
            break;
    }
    e.Red = ToByte(r);
    e.Green = ToByte(g);
    e.Blue = ToByte(b);
}

}  // namespace

void TSorvoSheet::RotateHue(int32_t degrees) {
    if (degrees != 0) {
        for (int i = 1; i < 256; ++i) RotateEntry(Palette[i], degrees);
    }
    UpdateColorTable();
}
