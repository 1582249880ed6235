#include "graphics/system_graphic.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "data/clamp.h"
#include "graphics/graphics_files.h"
#include "graphics/symbol_glyphs.h"

namespace {

constexpr int kGlyph = platform::GlyphMask::kSize;
constexpr int kShadowX = 16, kShadowY = 32;
constexpr int kBackgroundColorX = 0, kBackgroundColorY = 32;
constexpr int kGaugeStripTop = 64;
constexpr int kGaugeStripOpacity = 96;

std::unique_ptr<TSorvoSheet> MakeSheet(int32_t width, int32_t height, bool transparent) {
    auto sheet = std::make_unique<TSorvoSheet>();
    sheet->SetSize(width, height);
    sheet->Transparent = transparent;
    return sheet;
}

uint8_t PixelAt(const TSorvoSheet& sheet, int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= sheet.Width() || y >= sheet.Height()) return 0;
    return sheet.ScanLine(int32_t(y))[x];
}

void PutPixel(TSorvoSheet& sheet, int64_t x, int64_t y, uint8_t index) {
    if (x < 0 || y < 0 || x >= sheet.Width() || y >= sheet.Height()) return;
    sheet.ScanLine(int32_t(y))[x] = index;
}

// Pieces of a border: 1..n between the two corners, n from the length.
int64_t MiddlePieces(int64_t length) {
    int64_t cells = (length + 7) / 8;
    return cells > 2 ? cells - 2 : 0;
}

// The first piece i >= 1 at origin + 8i that can reach into the sheet, so
// that a window far off to the left or top costs nothing.
int64_t FirstVisiblePiece(int64_t origin) { return std::max<int64_t>(1, (-origin - 8) / 8); }

void LoadSheet(TSorvoSheet& sheet, const char* folder, const std::string& name, int32_t offsetY = 0) {
    sheet.LoadFromFileAt(FindGraphicsFile(folder, name), 0, offsetY, true);
}

}  // namespace

TLcfSystemGraphic::TLcfSystemGraphic(TSorvoBoard& screenBoard)
    : board_(screenBoard),
      skin_(MakeSheet(kSkinWidth, kSkinHeight, false)),
      symbols_(MakeSheet(kSymbolSheetWidth, kSymbolSheetHeight, false)),
      system2_(MakeSheet(kSystem2Width, kSystem2Height, true)),
      gaugeStrip_(MakeSheet(kSystem2Width, 16, true)),
      frame_(MakeSheet(320, 240, true)) {
    gaugeStrip_->Opacity = kGaugeStripOpacity;
    std::vector<uint8_t> glyphs = SymbolGlyphPixels(1);
    for (int y = 0; y < kSymbolSheetHeight; ++y)
        std::copy_n(glyphs.data() + size_t(y) * kSymbolSheetWidth, kSymbolSheetWidth, symbols_->ScanLine(y));
}

void TLcfSystemGraphic::LoadImages(const std::string& skin, const std::string& system2, const std::string& frame) {
    LoadSheet(*skin_, "System", skin);
    LoadSheet(*system2_, "System2", system2);
    LoadSheet(*gaugeStrip_, "System2", system2, kGaugeStripTop);
    if (!frame.empty()) LoadSheet(*frame_, "Frame", frame);
}

void TLcfSystemGraphic::SetFont(int32_t fontId) {
    fontId_ = fontId;
    face_ = fontId == 0 ? platform::FontFace::Gothic : platform::FontFace::Mincho;
}

RgbTriple TLcfSystemGraphic::BackgroundColor() const {
    const PaletteEntry& e = skin_->Palette[PixelAt(*skin_, kBackgroundColorX, kBackgroundColorY)];
    return RgbTriple{e.Red, e.Green, e.Blue};
}

void TLcfSystemGraphic::DrawWindowSkin(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height) {
    DrawWindowBackground(sheet, x, y, width, height);
    DrawWindowFrame(sheet, x, y, width, height);
}

void TLcfSystemGraphic::DrawWindowBackground(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width,
                                             int32_t height) {
    if (width <= 0 || height <= 0) return;
    // Only the part of the window inside the sheet is visited.
    int64_t firstRow = std::max<int64_t>(0, -int64_t(y));
    int64_t lastRow = std::min<int64_t>(height, int64_t(sheet.Height()) - y);
    int64_t firstCol = std::max<int64_t>(0, -int64_t(x));
    int64_t lastCol = std::min<int64_t>(width, int64_t(sheet.Width()) - x);
    if (firstRow >= lastRow || firstCol >= lastCol) return;
    // Column map computed once per call.
    std::vector<uint8_t> columns(size_t(lastCol - firstCol));
    for (int64_t j = firstCol; j < lastCol; ++j)
        columns[size_t(j - firstCol)] = uint8_t(WindowBackgroundMode == 0 ? j * 32 / width : j % 32);
    // Rows from the same skin row are alike: each of the 32 is built pixel
    // by pixel once, and copied for the other rows that use it.
    const uint8_t* const map = columns.data();
    const size_t count = columns.size();
    std::array<int64_t, 32> builtAt;
    builtAt.fill(-1);
    for (int64_t i = firstRow; i < lastRow; ++i) {
        const int64_t sy = WindowBackgroundMode == 0 ? i * 32 / height : i % 32;
        uint8_t* dst = sheet.ScanLine(int32_t(y + i)) + x + firstCol;
        if (builtAt[size_t(sy)] >= 0) {
            std::memcpy(dst, sheet.ScanLine(int32_t(y + builtAt[size_t(sy)])) + x + firstCol, count);
            continue;
        }
        const uint8_t* src = skin_->ScanLine(int32_t(sy));
        for (size_t j = 0; j < count; ++j) dst[j] = src[map[j]];
        builtAt[size_t(sy)] = i;
    }
}

void TLcfSystemGraphic::DrawWindowFrame(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height) {
    DrawBorder(sheet, x, y, width, height, 32);
}

// The frame and the cursor share one layout: corners of 8x8 at the four
// corners of a 32x32 block at x `base`, and two alternating edge pieces.
void TLcfSystemGraphic::DrawBorder(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height,
                                   int32_t base) {
    if (width < 8 || height < 8) return;
    skin_->Transparent = true;
    auto piece = [&](int64_t dx, int64_t dy, int32_t sx, int32_t sy) {
        sheet.Draw(ClampToInt32(dx), ClampToInt32(dy), *skin_, RectOfSize(sx, sy, 8, 8));
    };
    int64_t right = int64_t(x) + width - 8, bottom = int64_t(y) + height - 8;
    int64_t across = MiddlePieces(width), down = MiddlePieces(height);
    for (int64_t i = FirstVisiblePiece(x); i <= across && x + 8 * i < sheet.Width(); ++i) {
        int32_t sx = base + (i % 2 ? 16 : 8);
        piece(x + 8 * i, y, sx, 0);
        piece(x + 8 * i, bottom, sx, 24);
    }
    for (int64_t i = FirstVisiblePiece(y); i <= down && y + 8 * i < sheet.Height(); ++i) {
        int32_t sy = i % 2 ? 16 : 8;
        piece(x, y + 8 * i, base, sy);
        piece(right, y + 8 * i, base + 24, sy);
    }
    piece(x, y, base, 0);
    piece(right, y, base + 24, 0);
    piece(x, bottom, base, 24);
    piece(right, bottom, base + 24, 24);
}

void TLcfSystemGraphic::DrawCursor(TSorvoSheet& sheet, const TRect& rect, int32_t frame) {
    int64_t width = rect.Width(), height = rect.Height();
    if (width < 8 || height < 8) return;
    int32_t base = 64 + 32 * (frame != 0 ? 1 : 0);
    skin_->Transparent = true;
    int64_t across = MiddlePieces(width), down = MiddlePieces(height);
    for (int64_t i = FirstVisiblePiece(rect.Top); i <= down && rect.Top + 8 * i < sheet.Height(); ++i)
        for (int64_t j = FirstVisiblePiece(rect.Left); j <= across && rect.Left + 8 * j < sheet.Width(); ++j)
            sheet.Draw(ClampToInt32(rect.Left + 8 * j), ClampToInt32(rect.Top + 8 * i), *skin_,
                       RectOfSize(base + (j % 2 ? 16 : 8), i % 2 ? 16 : 8, 8, 8));
    DrawBorder(sheet, rect.Left, rect.Top, ClampToInt32(width), ClampToInt32(height), base);
}

platform::GlyphMask TLcfSystemGraphic::RenderUnit(std::string_view text, size_t pos, size_t length) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.data()) + pos;
    platform::GlyphMask mask;
    if (bytes[0] == '$' && length == 2 && IsAlpha(bytes[1])) {
        int column = 0, row = 0;
        SymbolGlyphCell(bytes[1], column, row);
        for (int i = 0; i < kGlyph; ++i)
            for (int j = 0; j < kGlyph; ++j)
                if (PixelAt(*symbols_, column * kGlyph + j, row * kGlyph + i)) mask.Set(j, i);
        return mask;
    }
    if (bytes[0] == '$') return platform::Glyphs().Render(face_, bytes, 1);  // "$", "$$"
    return platform::Glyphs().Render(face_, bytes, int(length));
}

int32_t TLcfSystemGraphic::DrawText(TSorvoSheet& sheet, int32_t x0, int32_t y, std::string_view text,
                                    int32_t color) {
    platform::GlyphSource& glyphs = platform::Glyphs();
    const uint8_t shadow = PixelAt(*skin_, kShadowX, kShadowY);
    // Colours past 19 wrap inside the skin; a negative one is taken as 0.
    if (color < 0) color = 0;
    const int32_t patternX = 16 * (color % 10) + 2;
    const int32_t patternY = 48 + 16 * ((color / 10) % 2) + 4;
    const int64_t limit = int64_t(sheet.Width()) - 6;

    int64_t x = x0;
    size_t pos = 0;
    while (pos < text.size()) {
        uint8_t b = uint8_t(text[pos]);
        if (b == 0x01) {  // half space
            x += 3;
            ++pos;
            continue;
        }
        size_t length = 1;
        bool blank = false;
        if (b == '$') {
            if (pos + 1 < text.size() && (IsAlpha(uint8_t(text[pos + 1])) || text[pos + 1] == '$')) length = 2;
        } else if (glyphs.IsLeadByte(b)) {
            // A lead byte with nothing after it is drawn as a blank.
            if (pos + 1 < text.size()) length = 2;
            else blank = true;
        }
        int64_t end = x + 6 * int64_t(length);
        bool punctuation = length == 2 && b == 0x81 && uint8_t(text[pos + 1]) >= 0x41 &&
                           uint8_t(text[pos + 1]) <= 0x44;
        if (!blank && (end < limit || (end == limit && punctuation))) {
            platform::GlyphMask mask = RenderUnit(text, pos, length);
            for (int i = 0; i < kGlyph; ++i)
                for (int j = 0; j < kGlyph; ++j) {
                    if (!mask.Ink(j, i)) continue;
                    if (shadow != 0) PutPixel(sheet, x + 1 + j, int64_t(y) + 3 + i, shadow);
                    PutPixel(sheet, x + j, int64_t(y) + 2 + i, PixelAt(*skin_, patternX + j, patternY + i));
                }
        }
        pos += length;
        x = end;
    }
    return ClampToInt32(x);
}

void TLcfSystemGraphic::DrawSkinPiece(int32_t x, int32_t y, const TRect& source) {
    skin_->Transparent = true;
    board_.Draw(x, y, *skin_, source);
}

void TLcfSystemGraphic::DrawUpArrow(int32_t x, int32_t y) { DrawSkinPiece(x, y, RectOfSize(40, 8, 16, 8)); }

void TLcfSystemGraphic::DrawDownArrow(int32_t x, int32_t y) { DrawSkinPiece(x, y, RectOfSize(40, 16, 16, 8)); }

void TLcfSystemGraphic::DrawSmallGlyph(int32_t x, int32_t y, int32_t step, int32_t kind) {
    if (step < 0 || step > 3 || kind < 0 || kind > 3) return;
    DrawSkinPiece(x, y, RectOfSize(128 + 8 * step, 8 * kind, 8, 8));
}

void TLcfSystemGraphic::DrawPair16(int32_t x, int32_t y, int32_t alpha) {
    skin_->Opacity = Clamp(alpha / 4, 0, 255);
    DrawSkinPiece(x, y, RectOfSize(128, 32, 16, 16));
    DrawSkinPiece(x, y, RectOfSize(144, 32, 16, 16));
    skin_->Opacity = 255;
}

void TLcfSystemGraphic::DrawTimer(int32_t x, int32_t y, int32_t frames) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d", frames / 3600, (frames / 60) % 60);
    for (int i = 0; i < 5 && text[i] != '\0'; ++i) {
        if (i == 2 || text[i] < '0' || text[i] > '9') continue;
        DrawSkinPiece(x + 8 * i, y, RectOfSize(32 + 8 * (text[i] - '0'), 32, 8, 16));
    }
    if (frames % 60 >= 30) DrawSkinPiece(x + 16, y, RectOfSize(112, 32, 8, 16));
}

void TLcfSystemGraphic::DrawGaugeFrom(TSorvoSheet& source, int32_t row, int32_t x, int32_t y, int32_t fill) {
    source.Transparent = true;
    board_.Draw(ClampToInt32(int64_t(x) - 16), y, source, RectOfSize(0, row, 16, 16));
    board_.StretchDraw(RectOfSize(x, y, 25, 16), source, RectOfSize(16, row, 16, 16));
    board_.Draw(ClampToInt32(int64_t(x) + 25), y, source, RectOfSize(32, row, 16, 16));
    if (fill > 0)
        board_.StretchDraw(RectOfSize(x, y, fill, 16), source, RectOfSize(fill < 25 ? 48 : 64, row, 16, 16));
}

void TLcfSystemGraphic::DrawGauge(int32_t x, int32_t y, int32_t kind, int32_t fill) {
    DrawGaugeFrom(*system2_, ClampToInt32((int64_t(kind) + 2) * 16), x, y, fill);
}

void TLcfSystemGraphic::DrawGaugeAlt(int32_t x, int32_t y, int32_t, int32_t fill) {
    DrawGaugeFrom(*gaugeStrip_, 0, x, y, fill);
}

void TLcfSystemGraphic::DrawAnimIcon(int32_t row, int32_t x, int32_t y, int32_t counter) {
    static constexpr int kSteps[4] = {0, 1, 2, 1};
    int step = kSteps[((counter / 20) % 4 + 4) % 4];
    system2_->Transparent = true;
    board_.Draw(x, y, *system2_, RectOfSize(step * 16, row, 16, 16));
}

void TLcfSystemGraphic::DrawAnimIcon0(int32_t x, int32_t y, int32_t counter) { DrawAnimIcon(0, x, y, counter); }

void TLcfSystemGraphic::DrawAnimIcon1(int32_t x, int32_t y, int32_t counter) { DrawAnimIcon(16, x, y, counter); }

void TLcfSystemGraphic::DrawBigDigits(int32_t x, int32_t y, int32_t number) {
    std::string digits = std::to_string(number);
    system2_->Transparent = true;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') continue;
        board_.Draw(ClampToInt32(int64_t(x) + 8 * int64_t(i)), y, *system2_,
                    RectOfSize(8 * (digits[i] - '0'), 80, 8, 16));
    }
}

void TLcfSystemGraphic::DrawFrameOverlay() { board_.Draw(0, 0, *frame_, frame_->GetBoundsRect()); }
