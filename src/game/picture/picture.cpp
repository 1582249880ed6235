#include "game/picture/picture.h"

#include <algorithm>
#include <cmath>

#include "data/clamp.h"
#include "data/errors.h"
#include "game/screen/game_screen.h"
#include "game/screen/round_even.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

TLcfgPicture* GamePictures = nullptr;

namespace {

std::unique_ptr<TSorvoSheet> MakeSheet() {
    auto sheet = std::make_unique<TSorvoSheet>();
    sheet->Transparent = true;
    return sheet;
}

// 255 at no transparency, 0 at 100 percent; values beyond 0..100 (from a
// script or a save) stay inside the blit's range.
int32_t OpacityOf(double transparency) { return std::clamp(RoundEven(255.0 - transparency * 255.0 / 100.0), 0, 255); }

// round(angle) mod 256 on the double, so a long-running turn never
// overflows an integer conversion.
uint8_t ByteAngle(double angle) {
    if (!std::isfinite(angle)) return 0;
    double r = std::fmod(std::nearbyint(angle), 256.0);
    if (r < 0) r += 256.0;
    return uint8_t(int32_t(r) & 255);
}

}  // namespace

TLcfgPictureItem::TLcfgPictureItem(int32_t id) : TCatalogItem(id), sheetA_(MakeSheet()), sheetB_(MakeSheet()) {}
TLcfgPictureItem::~TLcfgPictureItem() = default;

void TLcfgPictureItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&imageName, true); break;
    case 2: d.SetDouble(&startX, 0); break;
    case 3: d.SetDouble(&startY, 0); break;
    case 4: d.SetDouble(&currentX, 0); break;
    case 5: d.SetDouble(&currentY, 0); break;
    case 6: d.SetBoolean(&boundToMap, 0); break;
    case 7: d.SetDouble(&magnification, 100); break;
    case 8: d.SetDouble(&topTransparency, 0); break;
    case 9: d.SetBoolean(&usesTransparentColor, 0); break;
    case 11: d.SetDouble(&red, 100); break;
    case 12: d.SetDouble(&green, 100); break;
    case 13: d.SetDouble(&blue, 100); break;
    case 14: d.SetDouble(&saturation, 100); break;
    case 15: d.SetInteger(&effect, 0); break;
    case 16: d.SetDouble(&effectStrength, 0); break;
    case 18: d.SetDouble(&bottomTransparency, 0); break;
    case 31: d.SetDouble(&targetX, 0); break;
    case 32: d.SetDouble(&targetY, 0); break;
    case 33: d.SetInteger(&targetMagnification, 100); break;
    case 34: d.SetInteger(&targetTopTransparency, 0); break;
    case 35: d.SetInteger(&targetBottomTransparency, 0); break;
    case 41: d.SetInteger(&targetRed, 100); break;
    case 42: d.SetInteger(&targetGreen, 100); break;
    case 43: d.SetInteger(&targetBlue, 100); break;
    case 44: d.SetInteger(&targetSaturation, 100); break;
    case 46: d.SetInteger(&targetEffectStrength, 0); break;
    case 51: d.SetInteger(&framesLeft, 0); break;
    case 52: d.SetDouble(&angle, 0); break;
    case 53: d.SetInteger(&wavePhase, 0); break;
    default: break;
    }
}

void TLcfgPictureItem::LoadFromStream(ByteReader& r) {
    Clear();
    ReadFields(r);
    LoadImage();
}

void TLcfgPictureItem::Show(const std::string& name, double x, double y, bool bound, double magnification_,
                            double top, double bottom, bool transparentColor, double red_, double green_,
                            double blue_, double saturation_, int32_t effect_, double strength) {
    imageName = name;
    startX = currentX = targetX = x;
    startY = currentY = targetY = y;
    boundToMap = bound ? 1 : 0;
    magnification = magnification_;
    topTransparency = top;
    bottomTransparency = bottom;
    usesTransparentColor = transparentColor ? 1 : 0;
    red = red_;
    green = green_;
    blue = blue_;
    saturation = saturation_;
    effect = effect_;
    effectStrength = effect_ == kNone ? 0 : strength;
    targetMagnification = RoundEven(magnification);
    targetTopTransparency = RoundEven(topTransparency);
    targetBottomTransparency = RoundEven(bottomTransparency);
    targetRed = RoundEven(red);
    targetGreen = RoundEven(green);
    targetBlue = RoundEven(blue);
    targetSaturation = RoundEven(saturation);
    targetEffectStrength = RoundEven(effectStrength);
    framesLeft = 0;
    angle = 0;
    wavePhase = 0;
    LoadImage();
}

void TLcfgPictureItem::Move(double x, double y, int32_t frames, int32_t magnification_, int32_t top,
                            int32_t bottom, int32_t red_, int32_t green_, int32_t blue_, int32_t saturation_,
                            int32_t effect_, int32_t strength) {
    if (boundToMap) {
        // The given place is on the screen as it stands now; the view may
        // have moved the picture since the last move began.
        startX = currentX;
        startY = currentY;
        targetX = x + (targetX - currentX);
        targetY = y + (targetY - currentY);
    } else {
        targetX = x;
        targetY = y;
    }
    targetMagnification = magnification_;
    targetTopTransparency = top;
    targetBottomTransparency = bottom;
    targetRed = red_;
    targetGreen = green_;
    targetBlue = blue_;
    targetSaturation = saturation_;
    const int32_t c = effect;
    if (effect_ == c && c != kNone) {
        targetEffectStrength = strength;
    } else if (c == kWave && effect_ == kNone) {
        targetEffectStrength = 0;  // the wave dies down
    } else if (c == kRotation && effect_ == kNone) {
        effect = kNone;  // the rotation winds down to a full turn in Update
    } else if (effect_ != kNone) {
        effect = effect_;
        effectStrength = strength;
        targetEffectStrength = strength;
    }
    framesLeft = frames;
}

void TLcfgPictureItem::Erase() {
    imageName.clear();
    sheetA_->SetSize(0, 0);
    sheetB_->SetSize(0, 0);
}

bool TLcfgPictureItem::HasImage() const { return !imageName.empty() && sheetA_->Width() > 0 && sheetA_->Height() > 0; }

void TLcfgPictureItem::LoadImage() {
    if (imageName.empty()) {
        sheetA_->SetSize(0, 0);
        sheetB_->SetSize(0, 0);
        return;
    }
    sheetA_->AutoSize = true;
    sheetA_->LoadFromFile(FindGraphicsFile("Picture", imageName), true);
    const int32_t w = sheetA_->Width(), h = sheetA_->Height();
    sheetB_->SetSize(w, h);
    std::copy(sheetA_->Pixels(), sheetA_->Pixels() + size_t(w) * size_t(h), sheetB_->Pixels());
    sheetB_->Palette = sheetA_->Palette;
    sheetB_->UpdateColorTable();
    sheetA_->Transparent = sheetB_->Transparent = usesTransparentColor != 0;
    if (usesTransparentColor) {
        sheetB_->FillRect(TRect(0, 0, w, h / 2), 0);
        sheetA_->FillRect(TRect(0, h / 2, w, h), 0);
    }
}

void TLcfgPictureItem::Update() {
    if (framesLeft > 0) --framesLeft;
    const double b = double(framesLeft) + 1.0;
    auto step = [b](double& current, double target) { current += (target - current) / b; };
    step(currentX, targetX);
    step(currentY, targetY);
    step(magnification, targetMagnification);
    step(topTransparency, targetTopTransparency);
    step(bottomTransparency, targetBottomTransparency);
    step(red, targetRed);
    step(green, targetGreen);
    step(blue, targetBlue);
    step(saturation, targetSaturation);
    switch (effect) {
    case kNone: {
        // A rotation switched off turns on until it completes its turn,
        // then rests at 0. The strength is tested truncated: a strength in
        // (-1, 1) turns nothing (and must not divide by zero).
        const double s = std::trunc(effectStrength);
        if (s != 0 && std::isfinite(s)) {
            const double perTurn = std::trunc(256.0 / s);
            if (perTurn < framesLeft || angle > 0) angle = std::fmod(angle, 256.0) + s;
            if (perTurn >= framesLeft && angle >= 256) angle = 0;
        }
        break;
    }
    case kRotation:
        step(effectStrength, targetEffectStrength);
        angle += effectStrength;
        break;
    case kWave:
        step(effectStrength, targetEffectStrength);
        wavePhase = wavePhase > INT32_MAX - 8 ? wavePhase % 256 + 8 : wavePhase + 8;
        break;
    default: break;
    }
}

void TLcfgPictureItem::Draw(TSorvoBoard& board) {
    if (!HasImage()) return;
    int32_t flashR = 0, flashG = 0, flashB = 0, flashS = 0, shakeX = 0, shakeY = 0;
    if (GameScreen) {
        flashR = GameScreen->flashRed;
        flashG = GameScreen->flashGreen;
        flashB = GameScreen->flashBlue;
        flashS = GameScreen->FlashStrength();
        shakeX = GameScreen->shakeX;
        shakeY = GameScreen->shakeY;
    }
    const int32_t r = RoundEven(red), g = RoundEven(green), bl = RoundEven(blue), sat = RoundEven(saturation);
    const int32_t x = ClampToScreen(int64_t(RoundEven(currentX)) + shakeX);
    const int32_t y = ClampToScreen(int64_t(RoundEven(currentY)) + shakeY);
    const double zoom = magnification / 100.0;
    const uint8_t turn = ByteAngle(angle);
    auto drawSheet = [&](TSorvoSheet& sheet, double transparency) {
        sheet.ColorControl1.SetColors(r, g, bl, sat, flashR, flashG, flashB, flashS, true);
        sheet.Opacity = OpacityOf(transparency);
        const TRect source = sheet.GetBoundsRect();
        const int32_t hw = sheet.Width() / 2, hh = sheet.Height() / 2;
        if (effect == kWave) {
            board.WaveDraw(x, y, sheet, source, hw, hh, RoundEven(effectStrength * 4), 32, wavePhase, zoom);
        } else if (effect == kRotation || (effect == kNone && turn != 0)) {
            board.RotateDraw(x, y, sheet, source, hw, hh, turn, zoom);
        } else {
            board.ZoomDraw(x, y, sheet, source, hw, hh, zoom);
        }
    };
    drawSheet(*sheetA_, topTransparency);
    if (usesTransparentColor) drawSheet(*sheetB_, bottomTransparency);
}

void TLcfgPictureItem::Shift(double dx, double dy) {
    startX += dx;
    startY += dy;
    currentX += dx;
    currentY += dy;
    targetX += dx;
    targetY += dy;
}

void TLcfgPicture::LoadFromStream(ByteReader& r) {
    try {
        TCatalog::LoadFromStream(r);
    } catch (const Exception&) {
        ClearPictures();
        throw;
    }
    for (int32_t id = 1; id <= kCount; ++id) GetOrCreate(id);
}

TLcfgPictureItem& TLcfgPicture::ItemById(int32_t id) const {
    TLcfgPictureItem* item = Find(id);
    VARNOW_CHECK(item != nullptr);
    return *item;
}

void TLcfgPicture::UpdateAll() {
    for (int32_t id = 1; id <= kCount; ++id) ItemById(id).Update();
}

void TLcfgPicture::DrawAll(TSorvoBoard& board) {
    for (int32_t id = 1; id <= kCount; ++id) ItemById(id).Draw(board);
}

void TLcfgPicture::EraseAll() {
    for (int32_t id = 1; id <= kCount; ++id) ItemById(id).Erase();
}

void TLcfgPicture::ShiftBound(double dx, double dy) {
    for (int32_t id = 1; id <= kCount; ++id) {
        TLcfgPictureItem& item = ItemById(id);
        if (item.boundToMap) item.Shift(dx, dy);
    }
}

void TLcfgPicture::ScrollUp(int32_t d) { ShiftBound(0, d / 16.0); }
void TLcfgPicture::ScrollDown(int32_t d) { ShiftBound(0, -d / 16.0); }
void TLcfgPicture::ScrollLeft(int32_t d) { ShiftBound(d / 16.0, 0); }
void TLcfgPicture::ScrollRight(int32_t d) { ShiftBound(-d / 16.0, 0); }
