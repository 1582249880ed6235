#include "data/database/animation.h"

#include "data/clamp.h"

void TLcfAnimationCellItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetBoolean(&visible, 1); break;
    case 2: d.SetInteger(&pattern, 0); break;
    case 3: d.SetInteger(&x, 0); break;
    case 4: d.SetInteger(&y, 0); break;
    case 5: d.SetInteger(&zoom, 100); break;
    case 6: d.SetInteger(&red, 100); break;
    case 7: d.SetInteger(&green, 100); break;
    case 8: d.SetInteger(&blue, 100); break;
    case 9: d.SetInteger(&saturation, 100); break;
    case 10: d.SetInteger(&transparency, 0); break;
    }
}

int TLcfAnimationCellItem::Opacity() const {
    // A transparency from a file can be anything: 64 bits, then into range.
    int64_t opacity = (100 - int64_t(transparency)) * 255 / 100;
    return static_cast<int>(Clamp<int64_t>(opacity, 0, 255));
}

void TLcfAnimationPatternItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id == 1) d.SetList(&cells);
}

void TLcfAnimationTimingItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetInteger(&frame, 0); break;
    case 2: d.SetRecord(&sound); break;
    case 3: d.SetFixed(&flashScope, 1); break;
    case 4: d.SetInteger(&flashRed, 31); break;
    case 5: d.SetInteger(&flashGreen, 31); break;
    case 6: d.SetInteger(&flashBlue, 31); break;
    case 7: d.SetInteger(&flashStrength, 31); break;
    case 8: d.SetInteger(&shake, 0); break;
    }
}

void TLcfAnimationTimingItem::Clear() {
    TCatalogItem::Clear();
    sound.Clear();
    flashScope = kNone;
}

void TLcfAnimationItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&image, true); break;
    case 3: d.SetBoolean(&large, 0); break;
    case 6: d.SetList(&timings); break;
    case 9: d.SetFixed(&scope, 1); break;
    case 10: d.SetFixed(&position, 1); break;
    case 12: d.SetList(&frames); break;
    }
}

void TLcfAnimationItem::Clear() {
    TCatalogItem::Clear();
    timings.Clear();
    scope = 0;
    position = kBottom;
    frames.SetCount(kDefaultFrames);
}
