#pragma once
// The effects that lie over the whole picture: the screen tone with its
// fade, the screen flash (once or repeating), the horizontal shake, the four
// weather kinds (rain, snow, fog, sandstorm) with their particles and mist
// layers, and a battle animation shown on the map. Advanced once per frame;
// the drawing code asks it for the tone, the flash and the shake offset.

#include <array>
#include <cstdint>
#include <memory>

#include "data/record/catalog_base_item.h"
#include "media/rect.h"

class TSorvoBoard;
class TSorvoSheet;
class TSorvoColorControl;
class TLcfAnimationGraphic;

// Who a battle animation on the map plays on: 10001 the party, 10002-10004
// the boat, ship and airship, anything else a map event by id. The map
// world answers; targets are looked up by id at each use, so nothing points
// into a map that has been rebuilt.
class IMapAnimationTargets {
public:
    static constexpr int32_t kParty = 10001;
    static constexpr int32_t kBoat = 10002;
    static constexpr int32_t kShip = 10003;
    static constexpr int32_t kAirship = 10004;

    virtual ~IMapAnimationTargets() = default;
    virtual bool TargetExists(int32_t target) const = 0;
    // The character's screen position (its feet); false when it is gone.
    virtual bool TargetScreenPosition(int32_t target, int32_t& x, int32_t& y) const = 0;
    // The character's sprite flash.
    virtual void FlashTarget(int32_t target, int32_t red, int32_t green, int32_t blue, int32_t strength) = 0;
};

extern IMapAnimationTargets* GameMapAnimationTargets;

struct TLcfgWeatherParticle {
    int32_t life = 0, x = 0, y = 0, opacity = 0;
    double accX = 0, accY = 0, velX = 0, velY = 0;
};

class TLcfgScreen : public TCatalogBaseItem {
public:
    enum Weather : int32_t { kNoWeather = 0, kRain = 1, kSnow = 2, kFog = 3, kSandstorm = 4 };
    enum FlashMode : int32_t { kFlashOnce = 0, kFlashRepeat = 1, kFlashStopped = 2 };
    static constexpr int32_t kShakeUntilStopped = 2;
    // The shake offset is kept within this distance, far past the screen,
    // so that adding it to any screen position stays in range.
    static constexpr int32_t kShakeLimit = 1000000;
    static constexpr int kParticles = 255;

    TLcfgScreen();
    ~TLcfgScreen() override;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // The generic read, then the weather kept in range and the mist colours
    // set again.
    void LoadFromStream(ByteReader& r) override;

    // The tint and the flash onto one colour control of a sheet (the
    // sheets of the map and its characters take them).
    void ApplyTone(TSorvoColorControl& control) const;

    // Current values rounded to the nearest integer, ties to even.
    int32_t TintRed() const;
    int32_t TintGreen() const;
    int32_t TintBlue() const;
    int32_t TintSaturation() const;
    int32_t FlashStrength() const;

    void StartTint(int32_t red, int32_t green, int32_t blue, int32_t saturation, int32_t frames);
    void StartFlash(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames, int32_t mode);
    void StopFlash();
    void StartShake(int32_t strength, int32_t speed, int32_t frames, int32_t mode);
    void StopShake();
    // Kind 0-4 and strength 0-2 (anything beyond is brought into range).
    void SetWeather(int32_t kind, int32_t strength);

    // Raises message 65281 when the target does not exist.
    void ShowMapAnimation(int32_t animationId, int32_t mirrored, bool wholeMap, int32_t target);
    // After loading a save: the running animation loaded again. When its
    // target or the animation itself has gone (the game was edited since),
    // the animation stops instead of making the save unloadable.
    void ReloadMapAnimation();
    void StopMapAnimation();
    // The map was built anew (a teleport, a menu's teleport, a load): an
    // animation on the old map's characters ends.
    void MapRebuilt() { StopMapAnimation(); }

    void Update();
    void DrawEffects(TSorvoBoard& board);
    void DrawMapAnimation(TSorvoBoard& board);

    // The view scrolled by d (1/16 pixel): the weather layer moves with it.
    void ScrollDown(int32_t d);
    void ScrollUp(int32_t d);
    void ScrollRight(int32_t d);
    void ScrollLeft(int32_t d);

    TLcfgWeatherParticle& Particle(int index) { return particles_[size_t(index)]; }
    TSorvoSheet& ParticleSheet() { return *particleSheet_; }
    TSorvoSheet& MistSheet() { return *mistSheet_; }
    TLcfAnimationGraphic& AnimationGraphic() { return *animation_; }

    // Saved fields, by chunk.
    std::array<int32_t, 4> toneTarget{100, 100, 100, 100};  // [1-4] red, green, blue, saturation
    std::array<double, 4> tone{100, 100, 100, 100};          // [11-14]
    int32_t toneFrames = 0;                                  // [15]
    int32_t flashMode = 0;                                   // [20]
    int32_t flashRed = 0, flashGreen = 0, flashBlue = 0;     // [21-23]
    double flashStrength = 0;                                // [24]
    int32_t flashFrames = 0;                                 // [25]
    int32_t shakeMode = 0;                                   // [30]
    int32_t shakeStrength = 0, shakeSpeed = 0;               // [31, 32]
    int32_t shakeX = 0, shakeY = 0;                          // [33, 34]
    int32_t shakeFrames = 0;                                 // [35]
    int32_t weatherX = 0, weatherY = 0;                      // [41, 42] 1/16 px
    int32_t animationId = 0, animationTarget = 0;            // [43, 44]
    int32_t animationCounter = 0;                            // [45]
    uint8_t animationRunning = 0, animationWholeMap = 0;     // [46, 47]
    int32_t weatherKind = 0, weatherStrength = 0;            // [48, 49]

private:
    void SetMistColors();
    void UpdateParticles();
    void DrawParticles(TSorvoBoard& board);
    void DrawMist(TSorvoBoard& board);
    void DrawSand(TSorvoBoard& board);
    // One mist layer: the mist cell repeated from (originX, originY) over
    // the rectangle it covers, drawn as one blit of the tiled sheet.
    void DrawMistLayer(TSorvoBoard& board, const TRect& covered, int32_t originX, int32_t originY, int32_t opacity);

    int32_t repeatStrength_ = 0, repeatFrames_ = 0;
    std::array<TLcfgWeatherParticle, kParticles + 1> particles_{};  // 1-based
    int32_t mistOpacity1_ = 0, mistOpacity2_ = 0;
    int32_t mistCounter1_ = 0, mistCounter2_ = 0;
    std::unique_ptr<TSorvoSheet> particleSheet_;
    std::unique_ptr<TSorvoSheet> mistSheet_;
    // The mist cell repeated over a board and a cell more, with the mist
    // sheet's colours: a layer is one blit instead of hundreds.
    std::unique_ptr<TSorvoSheet> mistTiles_;
    std::unique_ptr<TLcfAnimationGraphic> animation_;
};

extern TLcfgScreen* GameScreen;
