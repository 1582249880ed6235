#include "platform/screen_layout.h"

#include <algorithm>

namespace platform {

ScreenLayout ComputeScreenLayout(int outputWidth, int outputHeight, int logicalWidth, int logicalHeight) {
    ScreenLayout layout;
    if (logicalWidth <= 0 || logicalHeight <= 0) return layout;
    layout.scale = std::max(1, std::min(outputWidth / logicalWidth, outputHeight / logicalHeight));
    layout.offsetX = (outputWidth - logicalWidth * layout.scale) / 2;
    layout.offsetY = (outputHeight - logicalHeight * layout.scale) / 2;
    return layout;
}

bool OutputToLogical(const ScreenLayout& layout, int logicalWidth, int logicalHeight, int ox, int oy, int& lx,
                     int& ly) {
    int dx = ox - layout.offsetX, dy = oy - layout.offsetY;
    if (dx < 0 || dy < 0) return false;
    int x = dx / layout.scale, y = dy / layout.scale;
    if (x >= logicalWidth || y >= logicalHeight) return false;
    lx = x;
    ly = y;
    return true;
}

}  // namespace platform
