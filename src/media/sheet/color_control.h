#pragma once
// One of the two colour effects that hang on a sheet: a tone (percent per
// channel), a saturation (percent) and a flash (a 0..31 colour with a
// strength 0..32). The sheet combines both of its controls when it builds
// its colour table.

#include <cstdint>

class TSorvoSheet;

class TSorvoColorControl {
public:
    explicit TSorvoColorControl(TSorvoSheet* sheet) : Sheet(sheet) {}

    // Tone 100/100/100, saturation 100, flash 0/0/0 at strength 0.
    void Reset(bool refresh);
    // Each setter stores its values and, when something changed and
    // `refresh` is true, rebuilds the owning sheet's colour table.
    void SetTone(int32_t red, int32_t green, int32_t blue, int32_t saturation, bool refresh);
    void SetFlash(int32_t red, int32_t green, int32_t blue, int32_t strength, bool refresh);
    void SetColors(int32_t toneRed, int32_t toneGreen, int32_t toneBlue, int32_t saturation, int32_t flashRed,
                   int32_t flashGreen, int32_t flashBlue, int32_t flashStrength, bool refresh);

    TSorvoSheet* Sheet;  // not owned
    int32_t ToneRed = 100;
    int32_t ToneGreen = 100;
    int32_t ToneBlue = 100;
    int32_t Saturation = 100;
    int32_t FlashRed = 0;
    int32_t FlashGreen = 0;
    int32_t FlashBlue = 0;
    int32_t FlashStrength = 0;
};
