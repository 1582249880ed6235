#include "bitmap8.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace mkdemo {

namespace {

// 5×7 glyphs, one row per byte, bit 4 the leftmost column.
struct Glyph {
    char c;
    uint8_t rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}}, {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
    {'\'', {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}}, {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
};

const Glyph* FindGlyph(char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const Glyph& glyph : kFont)
        if (glyph.c == upper) return &glyph;
    return nullptr;
}

}  // namespace

Bitmap8::Bitmap8(int width, int height, uint8_t fill)
    : width_(width), height_(height), palette_(DemoPalette()) {
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) throw std::logic_error("bad bitmap size");
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

uint8_t Bitmap8::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kClear;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Bitmap8::Set(int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = colour;
}

void Bitmap8::Fill(int x, int y, int w, int h, uint8_t colour) {
    for (int j = std::max(0, y); j < std::min(height_, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(width_, x + w); ++i) Set(i, j, colour);
}

void Bitmap8::FrameRect(int x, int y, int w, int h, uint8_t colour) {
    Fill(x, y, w, 1, colour);
    Fill(x, y + h - 1, w, 1, colour);
    Fill(x, y, 1, h, colour);
    Fill(x + w - 1, y, 1, h, colour);
}

void Bitmap8::Line(int x0, int y0, int x1, int y1, uint8_t colour) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * error;
        if (e2 >= dy) { error += dy; x0 += sx; }
        if (e2 <= dx) { error += dx; y0 += sy; }
    }
}

void Bitmap8::Ellipse(double cx, double cy, double rx, double ry, uint8_t colour) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y)
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            const double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
            if (nx * nx + ny * ny <= 1.0) Set(x, y, colour);
        }
}

void Bitmap8::ShadedEllipse(double cx, double cy, double rx, double ry, Hue hue, int dark, int light) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y)
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            const double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
            const double r2 = nx * nx + ny * ny;
            if (r2 > 1.0) continue;
            const double nz = std::sqrt(1.0 - r2);
            // Light from the upper left, towards the viewer.
            const double lit = std::clamp(-0.5 * nx - 0.6 * ny + 0.62 * nz, 0.0, 1.0);
            const int shade = dark + static_cast<int>(std::lround(lit * (light - dark)));
            Set(x, y, Shade(hue, shade));
        }
}

void Bitmap8::Polygon(const std::vector<std::pair<double, double>>& points, uint8_t colour) {
    if (points.size() < 3) return;
    double top = points[0].second, bottom = top;
    for (const auto& p : points) {
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
    }
    for (int y = std::max(0, static_cast<int>(std::floor(top))); y <= std::min(height_ - 1, static_cast<int>(bottom));
         ++y) {
        const double py = y + 0.5;
        std::vector<double> crossings;
        for (size_t i = 0; i < points.size(); ++i) {
            const auto& a = points[i];
            const auto& b = points[(i + 1) % points.size()];
            if ((a.second <= py && b.second > py) || (b.second <= py && a.second > py))
                crossings.push_back(a.first + (py - a.second) / (b.second - a.second) * (b.first - a.first));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(crossings[i] - 0.5)); x + 0.5 <= crossings[i + 1]; ++x)
                Set(x, y, colour);
    }
}

void Bitmap8::Gradient(int x, int y, int w, int h, Hue hue, int top_shade, int bottom_shade) {
    for (int j = 0; j < h; ++j) {
        // Ordered dither between neighbouring shades keeps bands soft.
        const double exact = top_shade + (bottom_shade - top_shade) * (h > 1 ? j / double(h - 1) : 0.0);
        const int low = static_cast<int>(std::floor(exact));
        const double frac = exact - low;
        for (int i = 0; i < w; ++i) {
            static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
            const bool up = frac * 16 > kBayer[(y + j) & 3][(x + i) & 3];
            Set(x + i, y + j, Shade(hue, low + (up ? 1 : 0)));
        }
    }
}

void Bitmap8::Outline(int x, int y, int w, int h, uint8_t colour) {
    std::vector<std::pair<int, int>> marks;
    auto inside = [&](int i, int j) { return i >= x && j >= y && i < x + w && j < y + h; };
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            if (Get(i, j) != kClear) continue;
            const int nb[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& d : nb) {
                const int ni = i + d[0], nj = j + d[1];
                if (inside(ni, nj) && Get(ni, nj) != kClear && Get(ni, nj) != colour) {
                    marks.emplace_back(i, j);
                    break;
                }
            }
        }
    for (const auto& m : marks) Set(m.first, m.second, colour);
}

void Bitmap8::Blit(const Bitmap8& source, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const uint8_t c = source.Get(sx + i, sy + j);
            if (!keyed || c != kClear) Set(dx + i, dy + j, c);
        }
}

void Bitmap8::MirrorRect(int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
        for (int i = 0; i < w / 2; ++i) {
            const uint8_t a = Get(x + i, j), b = Get(x + w - 1 - i, j);
            Set(x + i, j, b);
            Set(x + w - 1 - i, j, a);
        }
}

void Bitmap8::Replace(int x, int y, int w, int h, uint8_t from, uint8_t to) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (Get(i, j) == from) Set(i, j, to);
}

void Bitmap8::Text(int x, int y, const std::string& text, uint8_t colour, int scale, int scale_y) {
    if (scale_y <= 0) scale_y = scale;
    for (char c : text) {
        if (const Glyph* glyph = FindGlyph(c))
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (glyph->rows[row] & (0x10 >> col)) Fill(x + col * scale, y + row * scale_y, scale, scale_y, colour);
        x += 6 * scale;
    }
}

int Bitmap8::TextWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

}  // namespace mkdemo
