#pragma once
// The map world's effects answered by the real objects: the layers that
// scroll with the view (panorama, pictures, weather), the panorama's
// settings from the map, the screen's flash and shake, the airship shadow
// from the system skin; and the characters a battle animation on the map
// plays on, found by id in the party, the vehicles and the map's events.

#include "game/map/world_hooks.h"
#include "game/screen/game_screen.h"

class TLcfgCharacter;
class TLcfSystemGraphic;

class TLcfgWorldScreen : public IWorldScreenHooks {
public:
    // The skin draws the airship shadow (null: no shadow).
    explicit TLcfgWorldScreen(TLcfSystemGraphic* skin = nullptr) : skin_(skin) {}
    void ScrollLayers(int32_t dx, int32_t dy) override;
    void ConfigurePanorama(bool loadImage) override;
    void ChangePanorama(bool loadImage) override;
    void PanoramaFollowView() override;
    void FlashScreen(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames) override;
    int32_t ShakeOffset() const override;
    void DrawAirshipShadow(TSorvoBoard& board, int32_t x, int32_t y, int32_t value) override;
    void MapRebuilt() override;

private:
    TLcfSystemGraphic* skin_;
};

class TLcfgMapAnimationTargets : public IMapAnimationTargets {
public:
    bool TargetExists(int32_t target) const override;
    bool TargetScreenPosition(int32_t target, int32_t& x, int32_t& y) const override;
    void FlashTarget(int32_t target, int32_t red, int32_t green, int32_t blue, int32_t strength) override;

    // The character behind a target id, or null.
    static TLcfgCharacter* Find(int32_t target);
};
