#include "data/map/map_layer.h"

#include <algorithm>
#include <bit>

#include "data/map/map.h"

static_assert(std::endian::native == std::endian::little, "layer cells are kept in file byte order");

TLcfMapLayer::TLcfMapLayer(int16_t fillId, TLcfMap* owner) : fillId_(fillId), owner_(owner) { Reset(); }

namespace {

// Cells asked for lie a screen or so outside, so one addition or
// subtraction is the rule; a coordinate farther out (a script's value) is
// reduced by division rather than by a loop of billions of steps. An empty
// axis never wraps.
int32_t WrapCoordinate(int32_t v, int32_t size) {
    if (size <= 0) return v;
    if (v < 0 && v >= -size) return v + size;
    if (v >= size && v - size < size) return v - size;
    int64_t m = int64_t(v) % size;
    return int32_t(m < 0 ? m + size : m);
}

}  // namespace

bool TLcfMapLayer::Wrap(int32_t& x, int32_t& y) const {
    if (loopHorizontally) x = WrapCoordinate(x, width_);
    if (loopVertically) y = WrapCoordinate(y, height_);
    return x >= 0 && x < width_ && y >= 0 && y < height_;
}

int32_t TLcfMapLayer::GetTile(int32_t x, int32_t y) const {
    if (x >= 0 && x < width_ && y >= 0 && y < height_) return cells_[size_t(x) + size_t(y) * size_t(width_)];
    if (!Wrap(x, y)) return -1;
    return cells_[size_t(x) + size_t(y) * size_t(width_)];
}

void TLcfMapLayer::SetTile(int32_t x, int32_t y, int32_t id) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    cells_[size_t(x) + size_t(y) * size_t(width_)] = int16_t(id);
}

void TLcfMapLayer::Resize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    std::vector<int16_t> grid(size_t(width) * size_t(height), fillId_);
    int32_t keepW = std::min(width, width_), keepH = std::min(height, height_);
    for (int32_t y = 0; y < keepH; ++y)
        std::copy_n(cells_.begin() + std::ptrdiff_t(size_t(y) * size_t(width_)), keepW,
                    grid.begin() + std::ptrdiff_t(size_t(y) * size_t(width)));
    cells_ = std::move(grid);
    width_ = width;
    height_ = height;
}

void TLcfMapLayer::Fill() { std::fill(cells_.begin(), cells_.end(), fillId_); }

void TLcfMapLayer::Reset() {
    Resize(kDefaultWidth, kDefaultHeight);
    Fill();
}

int32_t TLcfMapLayer::MatchingAutoTile(int32_t chip) const {
    return owner_ ? owner_->ChipSetGraphic().MatchingAutoTile(chip) : -1;
}
