#include "media/sheet/color_control.h"

#include "media/sheet/sheet.h"

void TSorvoColorControl::Reset(bool refresh) {
    SetColors(100, 100, 100, 100, 0, 0, 0, 0, refresh);
}

void TSorvoColorControl::SetTone(int32_t red, int32_t green, int32_t blue, int32_t saturation, bool refresh) {
    SetColors(red, green, blue, saturation, FlashRed, FlashGreen, FlashBlue, FlashStrength, refresh);
}

void TSorvoColorControl::SetFlash(int32_t red, int32_t green, int32_t blue, int32_t strength, bool refresh) {
    SetColors(ToneRed, ToneGreen, ToneBlue, Saturation, red, green, blue, strength, refresh);
}

void TSorvoColorControl::SetColors(int32_t toneRed, int32_t toneGreen, int32_t toneBlue, int32_t saturation,
                                   int32_t flashRed, int32_t flashGreen, int32_t flashBlue, int32_t flashStrength,
                                   bool refresh) {
    if (toneRed == ToneRed && toneGreen == ToneGreen && toneBlue == ToneBlue && saturation == Saturation &&
        flashRed == FlashRed && flashGreen == FlashGreen && flashBlue == FlashBlue && flashStrength == FlashStrength)
        return;
    ToneRed = toneRed;
    ToneGreen = toneGreen;
    ToneBlue = toneBlue;
    Saturation = saturation;
    FlashRed = flashRed;
    FlashGreen = flashGreen;
    FlashBlue = flashBlue;
    FlashStrength = flashStrength;
    if (refresh && Sheet) Sheet->UpdateColorTable();
}
