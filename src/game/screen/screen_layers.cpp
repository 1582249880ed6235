#include "game/screen/screen_layers.h"

#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"

void ScrollScreenLayers(int32_t dx, int32_t dy) {
    if (dx > 0) {
        if (GamePanorama) GamePanorama->ScrollRight(dx);
        if (GamePictures) GamePictures->ScrollRight(dx);
        if (GameScreen) GameScreen->ScrollRight(dx);
    } else if (dx < 0) {
        const int32_t d = dx == INT32_MIN ? INT32_MAX : -dx;
        if (GamePanorama) GamePanorama->ScrollLeft(d);
        if (GamePictures) GamePictures->ScrollLeft(d);
        if (GameScreen) GameScreen->ScrollLeft(d);
    }
    if (dy > 0) {
        if (GamePanorama) GamePanorama->ScrollDown(dy);
        if (GamePictures) GamePictures->ScrollDown(dy);
        if (GameScreen) GameScreen->ScrollDown(dy);
    } else if (dy < 0) {
        const int32_t d = dy == INT32_MIN ? INT32_MAX : -dy;
        if (GamePanorama) GamePanorama->ScrollUp(d);
        if (GamePictures) GamePictures->ScrollUp(d);
        if (GameScreen) GameScreen->ScrollUp(d);
    }
}
