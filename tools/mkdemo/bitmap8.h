#pragma once
// An 8-bit palette image in memory with the few drawing operations the
// demo's art needs. Everything clips to the image.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "palette.h"

namespace mkdemo {

class Bitmap8 {
public:
    Bitmap8(int width, int height, uint8_t fill = kClear);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<uint8_t>& pixels() const { return pixels_; }
    const Palette& palette() const { return palette_; }

    uint8_t Get(int x, int y) const;
    void Set(int x, int y, uint8_t colour);
    void Fill(int x, int y, int w, int h, uint8_t colour);
    void FrameRect(int x, int y, int w, int h, uint8_t colour);
    void Line(int x0, int y0, int x1, int y1, uint8_t colour);
    // Filled ellipse around a (possibly half-pixel) centre.
    void Ellipse(double cx, double cy, double rx, double ry, uint8_t colour);
    // Filled ellipse lit from the upper left: shades of `hue` from
    // `dark` to `light` by how much each point faces the light.
    void ShadedEllipse(double cx, double cy, double rx, double ry, Hue hue, int dark, int light);
    // Filled polygon (even-odd rule over pixel centres).
    void Polygon(const std::vector<std::pair<double, double>>& points, uint8_t colour);
    // Vertical gradient over a rectangle through shades of a hue.
    void Gradient(int x, int y, int w, int h, Hue hue, int top_shade, int bottom_shade);
    // Sets `colour` on every transparent pixel of the rectangle that touches
    // a drawn pixel (four-neighbourhood) inside it: an outline around shapes.
    void Outline(int x, int y, int w, int h, uint8_t colour);
    // Copies a rectangle of `source`; with `keyed`, index 0 is skipped.
    void Blit(const Bitmap8& source, int sx, int sy, int w, int h, int dx, int dy, bool keyed = false);
    // Mirrors a rectangle left to right in place.
    void MirrorRect(int x, int y, int w, int h);
    // Replaces one colour by another inside a rectangle.
    void Replace(int x, int y, int w, int h, uint8_t from, uint8_t to);
    // Draws text in the built-in 5×7 capital font (letters, digits, a few
    // signs) with each font pixel `scale` pixels wide and tall.
    void Text(int x, int y, const std::string& text, uint8_t colour, int scale = 1, int scale_y = 0);
    static int TextWidth(const std::string& text, int scale = 1);

private:
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
    const Palette& palette_;
};

}  // namespace mkdemo
