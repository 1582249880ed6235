#pragma once
// Where the logical screen (320x240 or 640x480) lands in a window or on the
// desktop: scaled by the largest whole factor that fits (at least 1),
// centred, the rest black. Whole factors keep every pixel the same size.

#include "platform/platform.h"

namespace platform {

struct ScreenLayout {
    int scale = 1;
    int offsetX = 0, offsetY = 0;  // output pixel of the logical (0,0)

    // A rectangle of the logical screen in output pixels.
    Rect ToOutput(Rect logical) const {
        return Rect{offsetX + logical.x * scale, offsetY + logical.y * scale, logical.w * scale, logical.h * scale};
    }
};

ScreenLayout ComputeScreenLayout(int outputWidth, int outputHeight, int logicalWidth, int logicalHeight);

// An output pixel back to the logical screen; false outside it.
bool OutputToLogical(const ScreenLayout& layout, int logicalWidth, int logicalHeight, int ox, int oy, int& lx,
                     int& ly);

}  // namespace platform
