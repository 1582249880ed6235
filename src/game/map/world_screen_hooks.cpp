#include "game/map/world_screen_hooks.h"

#include "game/map/game_map.h"
#include "game/panorama/panorama.h"
#include "game/screen/screen_layers.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "graphics/system_graphic.h"

void TLcfgWorldScreen::ScrollLayers(int32_t dx, int32_t dy) { ScrollScreenLayers(dx, dy); }

namespace {

// Hands the map's effective panorama settings to the panorama.
void ConfigureFromMap(const TLcfgMap& m) {
    // Vertical before horizontal, as the panorama takes them; the map
    // passes follow on and no transparency.
    GamePanorama->Configure(m.PanoramaName(), m.PanoramaEnabled(), m.Height(), m.Width(), m.PanoramaVSpeed(),
                            m.PanoramaHSpeed(), true, false, m.LoopsVertically(), m.LoopsHorizontally(),
                            m.PanoramaVScroll(), m.PanoramaHScroll(), m.PanoramaVLoop(), m.PanoramaHLoop());
}

}  // namespace

void TLcfgWorldScreen::ConfigurePanorama(bool loadImage) {
    if (!GamePanorama || !GameMap) return;
    ConfigureFromMap(*GameMap);
    if (!loadImage) return;
    GamePanorama->LoadImage();
    // The looping axes start where the view stands (1/16 pixel of view is
    // 1/32 pixel of panorama: half speed); the others follow the map.
    GamePanorama->SetX(GameMap->viewX);
    GamePanorama->SetY(GameMap->viewY);
    GamePanorama->FollowMap();
}

void TLcfgWorldScreen::ChangePanorama(bool loadImage) {
    if (!GamePanorama || !GameMap) return;
    ConfigureFromMap(*GameMap);
    if (!loadImage) return;
    // Loading places the axes that follow the map; the looping ones stay
    // where they were, only wrapped into the new image's size.
    GamePanorama->LoadImage();
    GamePanorama->SetX(GamePanorama->X());
    GamePanorama->SetY(GamePanorama->Y());
}

void TLcfgWorldScreen::PanoramaFollowView() {
    if (GamePanorama) GamePanorama->FollowMap();
}

void TLcfgWorldScreen::FlashScreen(int32_t red, int32_t green, int32_t blue, int32_t strength, int32_t frames) {
    if (GameScreen) GameScreen->StartFlash(red, green, blue, strength, frames, TLcfgScreen::kFlashOnce);
}

int32_t TLcfgWorldScreen::ShakeOffset() const { return GameScreen ? GameScreen->shakeX : 0; }

void TLcfgWorldScreen::DrawAirshipShadow(TSorvoBoard&, int32_t x, int32_t y, int32_t value) {
    // The skin draws onto the screen board, which is the board the map
    // world draws on.
    if (skin_) skin_->DrawPair16(x, y, value);
}

void TLcfgWorldScreen::MapRebuilt() {
    if (GameScreen) GameScreen->MapRebuilt();
}

// --- Map animation targets ------------------------------------------------------

TLcfgCharacter* TLcfgMapAnimationTargets::Find(int32_t target) {
    switch (target) {
    case kParty: return GameParty;
    case kBoat: return GameBoat;
    case kShip: return GameShip;
    case kAirship: return GameAirship;
    default: return GameMap ? GameMap->events.Find(target) : nullptr;
    }
}

bool TLcfgMapAnimationTargets::TargetExists(int32_t target) const { return Find(target) != nullptr; }

bool TLcfgMapAnimationTargets::TargetScreenPosition(int32_t target, int32_t& x, int32_t& y) const {
    const TLcfgCharacter* c = Find(target);
    if (!c) return false;
    x = c->ScreenX();
    y = c->ScreenY();
    return true;
}

void TLcfgMapAnimationTargets::FlashTarget(int32_t target, int32_t red, int32_t green, int32_t blue,
                                           int32_t strength) {
    if (TLcfgCharacter* c = Find(target)) c->StartFlash(red, green, blue, strength, 0);
}
