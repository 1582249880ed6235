#pragma once
// Clipping of a copy between two pixel areas: the source rectangle against
// the source size, then the destination against the destination size,
// moving the other position in step. Done in 64 bits, since positions and
// sizes come from game data.

#include <cstdint>

#include "media/rect.h"

struct CopyClip {
    int64_t srcX, srcY, dstX, dstY, width, height;
    bool Empty() const { return width <= 0 || height <= 0; }
};

inline void ClipAxis(int64_t& src, int64_t& dst, int64_t& size, int64_t srcLimit, int64_t dstLimit) {
    if (src < 0) {
        size += src;
        dst -= src;
        src = 0;
    }
    if (src + size > srcLimit) size = srcLimit - src;
    if (dst < 0) {
        size += dst;
        src -= dst;
        dst = 0;
    }
    if (dst + size > dstLimit) size = dstLimit - dst;
}

inline CopyClip ClipCopy(int64_t dstX, int64_t dstY, const TRect& sourceRect, int64_t srcWidth, int64_t srcHeight,
                         int64_t dstWidth, int64_t dstHeight) {
    CopyClip c{sourceRect.Left, sourceRect.Top, dstX, dstY, sourceRect.Width(), sourceRect.Height()};
    ClipAxis(c.srcX, c.dstX, c.width, srcWidth, dstWidth);
    ClipAxis(c.srcY, c.dstY, c.height, srcHeight, dstHeight);
    return c;
}
