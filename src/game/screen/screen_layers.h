#pragma once
// The layers that move with the map view: the panorama, the map-bound
// pictures and the weather. The map world calls this when its view
// scrolls by (dx, dy) in 1/16 pixel; each layer that exists follows.

#include <cstdint>

void ScrollScreenLayers(int32_t dx, int32_t dy);
