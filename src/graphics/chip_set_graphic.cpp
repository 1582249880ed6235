#include "graphics/chip_set_graphic.h"

#include "data/clamp.h"
#include "data/errors.h"
#include "graphics/chip_set_layout.h"
#include "graphics/graphics_files.h"

namespace {

TRect CellRect(ChipCell c, int32_t size) { return RectOfSize(c.column * 8, c.row * 8, size, size); }

}  // namespace

TLcfChipSetGraphic::TLcfChipSetGraphic() : sheet_(std::make_unique<TSorvoSheet>()) {
    sheet_->SetSize(kChipSetImageWidth, kChipSetImageHeight);
    ComputeChipFlags();
}

void TLcfChipSetGraphic::SetChipSet(const TLcfChipSetItem* chipSet) {
    chipSet_ = chipSet;
    LoadImage(chipSet_ ? chipSet_->imageName : std::string());
}

void TLcfChipSetGraphic::LoadImage(const std::string& name) {
    if (name == imageName_) return;
    imageName_ = name;
    sheet_->Clear();
    try {
        sheet_->LoadFromFile(FindGraphicsFile("ChipSet", name), true);
    } catch (...) {
        // The flags must describe the cleared sheet, not the previous image.
        ComputeChipFlags();
        throw;
    }
    ComputeChipFlags();
}

void TLcfChipSetGraphic::ComputeChipFlags() {
    const TSorvoSheet& s = *sheet_;
    bool water = s.IsSolid(RectOfSize(0, 0, 96, 64)) && s.IsSolid(RectOfSize(0, 64, 48, 64));
    for (int chip = 0; chip < 3; ++chip) solid_[size_t(chip)] = water;
    for (int chip = 3; chip < 6; ++chip) solid_[size_t(chip)] = s.IsSolid(RectOfSize(48 + 16 * (chip - 3), 64, 16, 64));
    for (int chip = 6; chip < 18; ++chip) {
        ChipCell base = AutoChipBaseCell(chip);
        solid_[size_t(chip)] = s.IsSolid(RectOfSize(base.column * 8, base.row * 8, 48, 64));
    }
    for (int chip = 18; chip < kLowerChipCount; ++chip) {
        TRect r = CellRect(LowerChipCell(chip), 16);
        solid_[size_t(chip)] = s.IsSolid(r);
        lowerBlank_[size_t(chip)] = s.IsBlank(r);
    }
    for (int chip = 0; chip < kUpperChipCount; ++chip) {
        TRect r = CellRect(UpperChipCell(chip), 16);
        upperBlank_[size_t(chip)] = s.IsBlank(r);
        upperSolid_[size_t(chip)] = s.IsSolid(r);
    }

    matching_.fill(0);
    for (int i = 6; i < 18; ++i) {
        ChipCell bi = AutoChipBaseCell(i);
        TRect continuation = RectOfSize(bi.column * 8 + 16, bi.row * 8, 16, 16);
        matching_[size_t(i)] = -1;
        for (int j = 6; j < 18; ++j)
            if (s.SameContent(CellRect(AutoChipBaseCell(j), 16), continuation)) {
                matching_[size_t(i)] = j;
                break;
            }
    }
}

void TLcfChipSetGraphic::DrawTile(TSorvoBoard& board, int32_t x, int32_t y, int32_t size, int32_t tileId,
                                  int32_t counter) {
    VARNOW_CHECK(tileId >= 0);
    VARNOW_CHECK(chipSet_ != nullptr);
    TilePieces p = PlanTile(tileId, counter, chipSet_->waterAnimationType, chipSet_->waterAnimationSpeed);
    if (p.kind == TilePieces::Kind::None) return;
    if (sheet_->Transparent && ((p.chip == TilePieces::Chip::Lower && lowerBlank_[size_t(p.chipIndex)]) ||
                                (p.chip == TilePieces::Chip::Upper && upperBlank_[size_t(p.chipIndex)])))
        return;
    // A chip without index 0 looks the same drawn opaque, and the opaque
    // blit skips the per-pixel key test.
    const bool keyed = sheet_->Transparent;
    bool solid = p.chip == TilePieces::Chip::Upper ? upperSolid_[size_t(p.chipIndex)] : solid_[size_t(p.chipIndex)];
    if (keyed && solid) sheet_->Transparent = false;
    const int32_t half = size / 2;
    if (p.kind == TilePieces::Kind::Cell) {
        const int32_t side = p.composed ? 2 * half : size;
        board.StretchDraw(RectOfSize(x, y, side, side), *sheet_, CellRect(p.cell, 16));
    } else {
        static constexpr int kOffsets[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
        for (int i = 0; i < 4; ++i)
            board.StretchDraw(RectOfSize(x + kOffsets[i][0] * half, y + kOffsets[i][1] * half, half, half), *sheet_,
                              CellRect(p.quarters.quarter[i], 8));
    }
    sheet_->Transparent = keyed;
}

bool TLcfChipSetGraphic::ChipFlag(int32_t tileId) const {
    int chip = ChipIndexForFlag(tileId);
    return chip >= 0 && solid_[size_t(chip)];
}

int32_t TLcfChipSetGraphic::MatchingAutoTile(int32_t chip) const {
    return chip >= 0 && chip < 18 ? matching_[size_t(chip)] : -1;
}

void TLcfChipSetGraphic::SetOpacityLevel(int32_t level) {
    sheet_->Opacity = ClampToInt32(Clamp<int64_t>(255 - 30 * int64_t(level), 0, 255));
}
