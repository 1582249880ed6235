// The colour table of a sheet: every palette entry through saturation,
// tone, flash and brightness, on the screen's 5-6-5 precision. Every
// division truncates toward zero, as C++ division does.
#include <algorithm>
#include <cstdint>

#include "data/clamp.h"
#include "media/sheet/sheet.h"

namespace {

struct Rgb {
    int64_t r, g, b;
};

// Tone and brightness share one rule: below 100 scales toward 0, above 100
// moves toward the channel's maximum.
int64_t Scale(int64_t c, int64_t percent, int64_t maximum) {
    if (percent < 100) return c * percent / 100;
    if (percent > 100) return c + (maximum - c) * (percent - 100) / 100;
    return c;
}

Rgb Saturate(Rgb c, int64_t s) {
    // Green sits on a 6-bit scale, so it weighs twice as much as red here.
    const int64_t grey = (3 * c.r + 3 * c.g + c.b) / 10;
    if (s < 100) {
        return Rgb{((100 - s) * grey + s * c.r) / 100, ((100 - s) * 2 * grey + s * c.g) / 100,
                   ((100 - s) * grey + s * c.b) / 100};
    }
    if (s > 100) {
        const int64_t r2 = 3 * c.r - 2 * grey, g2 = 3 * c.g - 4 * grey, b2 = 3 * c.b - 2 * grey;
        return Rgb{Clamp<int64_t>(((200 - s) * c.r + (s - 100) * r2) / 100, 0, 31),
                   Clamp<int64_t>(((200 - s) * c.g + (s - 100) * g2) / 100, 0, 63),
                   Clamp<int64_t>(((200 - s) * c.b + (s - 100) * b2) / 100, 0, 31)};
    }
    return c;
}

// Flash colours and strengths are not range-checked by their setters. Past
// this bound every result saturates the same way once it is clamped to its
// channel, so inputs and results are held within it and no product can
// overflow.
constexpr int64_t kFlashLimit = int64_t(1) << 24;

int64_t Bounded(int64_t v) { return Clamp<int64_t>(v, -kFlashLimit, kFlashLimit); }

Rgb Flash(Rgb c, const TSorvoColorControl& control) {
    const int64_t a = Bounded(control.FlashStrength);
    if (a <= 0) return c;
    const int64_t red = Bounded(control.FlashRed), green = Bounded(control.FlashGreen), blue = Bounded(control.FlashBlue);
    return Rgb{Bounded((red * a + (32 - a) * c.r) / 32), Bounded((2 * green * a + (32 - a) * c.g) / 32),
               Bounded((blue * a + (32 - a) * c.b) / 32)};
}

int64_t Combine(int32_t first, int32_t second) {
    return Clamp<int64_t>(int64_t(first) + second - 100, 0, 200);
}

}  // namespace

void TSorvoSheet::UpdateColorTable() {
    const TSorvoColorControl& c1 = ColorControl1;
    const TSorvoColorControl& c2 = ColorControl2;
    const int64_t toneRed = Combine(c1.ToneRed, c2.ToneRed);
    const int64_t toneGreen = Combine(c1.ToneGreen, c2.ToneGreen);
    const int64_t toneBlue = Combine(c1.ToneBlue, c2.ToneBlue);
    const int64_t saturation = Combine(c1.Saturation, c2.Saturation);
    const int64_t brightness = Brightness;
    // Neutral controls leave every colour as it is: only the cut to 5-6-5.
    // Windows rebuild their tables this way whenever they are laid out.
    if (toneRed == 100 && toneGreen == 100 && toneBlue == 100 && saturation == 100 && c1.FlashStrength <= 0 &&
        c2.FlashStrength <= 0 && brightness == 100) {
        for (int i = 0; i < 256; ++i)
            ColorTable[i] = uint16_t((Palette[i].Red >> 3) << 11 | (Palette[i].Green >> 2) << 5 | Palette[i].Blue >> 3);
        return;
    }
    for (int i = 0; i < 256; ++i) {
        Rgb c{Palette[i].Red >> 3, Palette[i].Green >> 2, Palette[i].Blue >> 3};
        c = Saturate(c, saturation);
        c = Rgb{Scale(c.r, toneRed, 31), Scale(c.g, toneGreen, 63), Scale(c.b, toneBlue, 31)};
        c = Flash(c, c1);
        c = Flash(c, c2);
        c = Rgb{Scale(c.r, brightness, 31), Scale(c.g, brightness, 63), Scale(c.b, brightness, 31)};
        // Flash colours and brightness are not range-checked by their
        // setters; keep each channel in its own bits.
        const int64_t r = Clamp<int64_t>(c.r, 0, 31), g = Clamp<int64_t>(c.g, 0, 63), b = Clamp<int64_t>(c.b, 0, 31);
        ColorTable[i] = uint16_t(r * 2048 + g * 32 + b);
    }
}
