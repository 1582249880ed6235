#include "game/screen/game_screen.h"

#include <algorithm>
#include <cmath>

#include "data/clamp.h"
#include "data/database/database.h"
#include "data/errors.h"
#include "data/random.h"
#include "game/screen/round_even.h"
#include "graphics/animation_graphic.h"
#include "media/board/angle_tables.h"
#include "media/sheet/sheet.h"

TLcfgScreen* GameScreen = nullptr;
IMapAnimationTargets* GameMapAnimationTargets = nullptr;

namespace {

constexpr std::array<int32_t, 3> kMistOpacity1{32, 64, 96};
constexpr std::array<int32_t, 3> kMistOpacity2{64, 80, 160};

// The particle sheet: a slanted streak (rows 0-23, one pixel at column
// 5 - row div 4) and a 2x2 dot (rows 24-25), colour 1 white.
std::unique_ptr<TSorvoSheet> MakeParticleSheet() {
    auto sheet = std::make_unique<TSorvoSheet>();
    sheet->Transparent = true;
    sheet->SetSize(6, 26);
    for (int32_t row = 0; row < 24; ++row) sheet->ScanLine(row)[5 - row / 4] = 1;
    for (int32_t row = 24; row < 26; ++row) sheet->ScanLine(row)[0] = sheet->ScanLine(row)[1] = 1;
    sheet->SetPaletteEntry(1, 255, 255, 255);
    sheet->UpdateColorTable();
    return sheet;
}

// The mist sheet: a 16x16 cell of random colours 1-3, and below it the four
// sand colours 4-7 in columns 0-3 of two rows.
std::unique_ptr<TSorvoSheet> MakeMistSheet() {
    auto sheet = std::make_unique<TSorvoSheet>();
    sheet->SetSize(16, 18);
    for (int32_t row = 0; row < 16; ++row)
        for (int32_t col = 0; col < 16; ++col) sheet->ScanLine(row)[col] = uint8_t(Random(3) + 1);
    for (int32_t row = 16; row < 18; ++row)
        for (int32_t col = 0; col < 4; ++col) sheet->ScanLine(row)[col] = uint8_t(4 + col);
    sheet->UpdateColorTable();
    return sheet;
}

}  // namespace

TLcfgScreen::TLcfgScreen()
    : particleSheet_(MakeParticleSheet()),
      mistSheet_(MakeMistSheet()),
      mistTiles_(std::make_unique<TSorvoSheet>()),
      animation_(std::make_unique<TLcfAnimationGraphic>()) {
    Clear();
}

TLcfgScreen::~TLcfgScreen() = default;

void TLcfgScreen::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: case 2: case 3: case 4: d.SetInteger(&toneTarget[size_t(id - 1)], 100); break;
    case 11: case 12: case 13: case 14: d.SetDouble(&tone[size_t(id - 11)], 100); break;
    case 15: d.SetInteger(&toneFrames, 0); break;
    case 20: d.SetInteger(&flashMode, 0); break;
    case 21: d.SetInteger(&flashRed, 0); break;
    case 22: d.SetInteger(&flashGreen, 0); break;
    case 23: d.SetInteger(&flashBlue, 0); break;
    case 24: d.SetDouble(&flashStrength, 0); break;
    case 25: d.SetInteger(&flashFrames, 0); break;
    case 30: d.SetInteger(&shakeMode, 0); break;
    case 31: d.SetInteger(&shakeStrength, 0); break;
    case 32: d.SetInteger(&shakeSpeed, 0); break;
    case 33: d.SetInteger(&shakeX, 0); break;
    case 34: d.SetInteger(&shakeY, 0); break;
    case 35: d.SetInteger(&shakeFrames, 0); break;
    case 41: d.SetInteger(&weatherX, 0); break;
    case 42: d.SetInteger(&weatherY, 0); break;
    case 43: d.SetInteger(&animationId, 0); break;
    case 44: d.SetInteger(&animationTarget, 0); break;
    case 45: d.SetInteger(&animationCounter, 0); break;
    case 46: d.SetBoolean(&animationRunning, 0); break;
    case 47: d.SetBoolean(&animationWholeMap, 0); break;
    case 48: d.SetInteger(&weatherKind, 0); break;
    case 49: d.SetInteger(&weatherStrength, 0); break;
    default: break;
    }
}

void TLcfgScreen::Clear() {
    TCatalogBaseItem::Clear();
    repeatStrength_ = repeatFrames_ = 0;
    for (int i = 1; i <= kParticles; ++i) {
        TLcfgWeatherParticle& p = particles_[size_t(i)];
        p = TLcfgWeatherParticle{};
        p.life = Random(40);
        p.x = Random(320);
        p.y = Random(160);
    }
    mistOpacity1_ = mistOpacity2_ = 0;
}

void TLcfgScreen::LoadFromStream(ByteReader& r) {
    Clear();
    ReadFields(r);
    // Values a script or another program may have stored out of range
    // would index past the weather tables.
    weatherKind = Clamp(weatherKind, 0, 4);
    weatherStrength = Clamp(weatherStrength, 0, 2);
    weatherX = int32_t(FloorMod(weatherX, 5120));
    weatherY = int32_t(FloorMod(weatherY, 2560));
    shakeX = Clamp(shakeX, -kShakeLimit, kShakeLimit);
    shakeY = Clamp(shakeY, -kShakeLimit, kShakeLimit);
    SetMistColors();
}

void TLcfgScreen::ApplyTone(TSorvoColorControl& control) const {
    control.SetColors(TintRed(), TintGreen(), TintBlue(), TintSaturation(), flashRed, flashGreen, flashBlue,
                      FlashStrength(), true);
}

int32_t TLcfgScreen::TintRed() const { return RoundEven(tone[0]); }
int32_t TLcfgScreen::TintGreen() const { return RoundEven(tone[1]); }
int32_t TLcfgScreen::TintBlue() const { return RoundEven(tone[2]); }
int32_t TLcfgScreen::TintSaturation() const { return RoundEven(tone[3]); }
int32_t TLcfgScreen::FlashStrength() const { return RoundEven(flashStrength); }

void TLcfgScreen::StartTint(int32_t red, int32_t green, int32_t blue, int32_t saturation, int32_t frames) {
    toneTarget = {red, green, blue, saturation};
    toneFrames = frames;
    if (frames == 0)
        for (size_t i = 0; i < 4; ++i) tone[i] = toneTarget[i];
}

void TLcfgScreen::StartFlash(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames,
                             int32_t mode) {
    flashRed = red;
    flashGreen = green;
    flashBlue = blue;
    flashStrength = strength;
    flashFrames = frames;
    flashMode = mode;
    repeatStrength_ = strength;
    repeatFrames_ = frames;
}

void TLcfgScreen::StopFlash() {
    flashMode = kFlashStopped;
    flashFrames = 0;
}

void TLcfgScreen::StartShake(int32_t strength, int32_t speed, int32_t frames, int32_t mode) {
    shakeStrength = strength;
    shakeSpeed = speed;
    shakeFrames = frames;
    shakeMode = mode;
}

// A mode-2 shake is refilled by Update, so this alone does not end it; the
// event command starts its endless shake in mode 1 with 65535 frames, which
// this does end.
void TLcfgScreen::StopShake() { shakeFrames = 0; }

void TLcfgScreen::SetWeather(int32_t kind, int32_t strength) {
    weatherKind = Clamp(kind, 0, 4);
    weatherStrength = Clamp(strength, 0, 2);
    SetMistColors();
}

void TLcfgScreen::SetMistColors() {
    TSorvoSheet& mist = *mistSheet_;
    if (weatherKind == kFog) {
        mist.SetPaletteEntry(1, 255, 255, 255);
        mist.SetPaletteEntry(2, 240, 240, 240);
        mist.SetPaletteEntry(3, 230, 230, 230);
    } else if (weatherKind == kSandstorm) {
        mist.SetPaletteEntry(1, 240, 240, 180);
        mist.SetPaletteEntry(2, 230, 230, 170);
        mist.SetPaletteEntry(3, 220, 220, 160);
        mist.SetPaletteEntry(4, 255, 255, 240);
        mist.SetPaletteEntry(5, 255, 255, 32);
        mist.SetPaletteEntry(6, 255, 180, 32);
        mist.SetPaletteEntry(7, 255, 32, 32);
    } else {
        return;
    }
    mist.UpdateColorTable();
    mistTiles_->Palette = mist.Palette;
    mistTiles_->UpdateColorTable();
    mistOpacity1_ = kMistOpacity1[size_t(weatherStrength)];
    mistOpacity2_ = kMistOpacity2[size_t(weatherStrength)];
}

void TLcfgScreen::ShowMapAnimation(int32_t id, int32_t mirrored, bool wholeMap, int32_t target) {
    animationId = id;
    animationTarget = target;
    animationCounter = 0;
    const TLcfAnimationItem* item = DbAnimation ? DbAnimation->FindAnimation(id) : nullptr;
    if (!item) throw Exception::FromId(65309);
    animation_->SetAnimation(item, mirrored, false);
    if (!GameMapAnimationTargets || !GameMapAnimationTargets->TargetExists(target))
        throw Exception::FromId(65281);
    animationRunning = 1;
    animationWholeMap = wholeMap ? 1 : 0;
}

void TLcfgScreen::ReloadMapAnimation() {
    if (!animationRunning || animationId <= 0) return;
    try {
        const TLcfAnimationItem* item = DbAnimation ? DbAnimation->FindAnimation(animationId) : nullptr;
        if (!item || !GameMapAnimationTargets || !GameMapAnimationTargets->TargetExists(animationTarget)) {
            StopMapAnimation();
            return;
        }
        animation_->SetAnimation(item, 0, false);
    } catch (const Exception&) {
        // The animation or its image went away with an edit of the game:
        // the save still loads, without the animation.
        StopMapAnimation();
    }
}

void TLcfgScreen::StopMapAnimation() {
    animationRunning = 0;
    animationCounter = 0;
}

void TLcfgScreen::Update() {
    if (toneFrames > 0) --toneFrames;
    if (flashFrames > 0) --flashFrames;
    if (shakeFrames > 0) --shakeFrames;

    for (size_t i = 0; i < 4; ++i) tone[i] += (toneTarget[i] - tone[i]) / (double(toneFrames) + 1.0);

    flashStrength -= flashStrength / (double(flashFrames) + 1.0);
    if (flashFrames == 0 && flashMode == kFlashRepeat) {
        flashStrength = repeatStrength_;
        flashFrames = repeatFrames_;
    }

    if (shakeFrames > 0) {
        const int64_t turn = int64_t(shakeFrames) * (int64_t(shakeSpeed) + 2) * 4;
        const int64_t target = int64_t(std::trunc(TableSin(uint8_t(turn & 255)) * (2.0 * shakeStrength + 1.0)));
        const int64_t limit = int64_t(shakeStrength) * shakeSpeed / 4 + 1;
        const int64_t step = std::clamp<int64_t>(target - shakeX, -std::abs(limit), std::abs(limit));
        shakeX = int32_t(Clamp<int64_t>(int64_t(shakeX) + step, -kShakeLimit, kShakeLimit));
        shakeY = 0;
    } else if (shakeMode == kShakeUntilStopped) {
        shakeFrames = 65535;
    } else {
        shakeX = shakeY = 0;
    }

    if (animationRunning) {
        ++animationCounter;
        const TLcfAnimationItem* item = animation_->Animation();
        const int64_t frames = item ? item->FrameCount() : 0;
        if (animationCounter < frames * 2) {
            const int32_t frame = animationCounter / 2;
            const AnimationFlash screen = animation_->ScreenFlash(frame);
            StartFlash(screen.red, screen.green, screen.blue, screen.strength, 0, kFlashOnce);
            const AnimationFlash target = animation_->TargetFlash(frame);
            if (GameMapAnimationTargets && GameMapAnimationTargets->TargetExists(animationTarget))
                GameMapAnimationTargets->FlashTarget(animationTarget, target.red, target.green, target.blue,
                                                     target.strength);
            if (animationCounter % 2 == 1) animation_->PlayTimingSounds(frame);
        } else {
            StopMapAnimation();
        }
    }

    UpdateParticles();
}

void TLcfgScreen::UpdateParticles() {
    switch (weatherKind) {
    case kRain:
        for (int i = 1; i <= 100; ++i) {
            TLcfgWeatherParticle& p = particles_[size_t(i)];
            if (p.life > 0) {
                --p.life;
                p.x -= 1;
                p.y += 4;
            } else if (Random(10) == 0) {
                p.life = 12;
                p.x = Random(320);
                p.y = Random(160);
            }
        }
        break;
    case kSnow:
        for (int i = 1; i <= 100; ++i) {
            TLcfgWeatherParticle& p = particles_[size_t(i)];
            if (p.life > 0) {
                --p.life;
                p.x -= Random(2);
                p.y += Random(2) + 2;
            } else if (Random(20) == 0) {
                p.life = 30;
                p.x = Random(320);
                p.y = Random(160);
            }
        }
        break;
    case kSandstorm:
        for (int i = 3; i <= kParticles; ++i) {
            TLcfgWeatherParticle& p = particles_[size_t(i)];
            if (p.life > 0) {
                --p.life;
                p.accX += p.velX;
                p.accY += p.velY;
                p.x = ClampToInt32(int64_t(p.x) + int64_t(std::trunc(p.accX)));
                p.y = ClampToInt32(int64_t(p.y) + int64_t(std::trunc(p.accY)));
                p.opacity += 2;
            } else if (Random(10) == 0) {
                const double c = TableCos(uint8_t(Random(127) + 1));
                const double s = TableSin(uint8_t(Random(127) + 1));
                const int32_t r = Random(80) + 16;
                p.life = 80;
                p.x = 160 + int32_t(std::trunc(r * c * 2));
                p.y = int32_t(std::trunc(r * s));
                p.opacity = 180;
                p.accX = p.accY = 0;
                p.velX = 2 * c;
                p.velY = 2 * s;
            }
        }
        break;
    default: break;
    }
}

void TLcfgScreen::ScrollDown(int32_t d) { weatherY = int32_t(FloorMod(int64_t(weatherY) - d, 2560)); }
void TLcfgScreen::ScrollUp(int32_t d) { weatherY = int32_t(FloorMod(int64_t(weatherY) + d, 2560)); }
void TLcfgScreen::ScrollRight(int32_t d) { weatherX = int32_t(FloorMod(int64_t(weatherX) + d, 5120)); }
void TLcfgScreen::ScrollLeft(int32_t d) { weatherX = int32_t(FloorMod(int64_t(weatherX) - d, 5120)); }
