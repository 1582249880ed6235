#pragma once
// The system skin: window backgrounds and frames, the selection cursor,
// scroll arrows, the timer, battle gauges and icons, large digits, the frame
// overlay, and all window text.
//
// Text is drawn 6 pixels per byte in a 12-pixel font, in one of 20 colours
// whose pixels come from the skin, with a one-pixel shadow; "$" and a letter
// draw one of the program's 52 symbol glyphs. Text and window pieces are
// drawn into 8-bit window sheets (which share the skin's palette); arrows,
// timer, gauges, icons and digits go straight onto the screen board.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "media/board/board.h"
#include "media/rect.h"
#include "media/sheet/sheet.h"
#include "platform/font/glyph_source.h"

struct RgbTriple {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const RgbTriple&) const = default;
};

class TLcfSystemGraphic {
public:
    // Skin layout, in pixels of the 160x80 skin image.
    static constexpr int kSkinWidth = 160;
    static constexpr int kSkinHeight = 80;
    static constexpr int kSystem2Width = 80;
    static constexpr int kSystem2Height = 96;
    static constexpr int kTextColorCount = 20;

    explicit TLcfSystemGraphic(TSorvoBoard& screenBoard);

    // Loads the skin ("System"), the second system image ("System2", also
    // rows 64..79 of it into the gauge strip) and, when `frame` is not
    // empty, the frame overlay ("Frame"). Load errors propagate.
    void LoadImages(const std::string& skin, const std::string& system2, const std::string& frame);
    // Font 0 is the Gothic face, any other Mincho.
    void SetFont(int32_t fontId);
    int32_t Font() const { return fontId_; }
    // 0 stretches the skin's 32x32 background over a window; any other value
    // tiles it.
    int32_t WindowBackgroundMode = 0;

    // The colour of skin pixel (0,32): the background of full-screen menus.
    RgbTriple BackgroundColor() const;

    void DrawWindowSkin(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height);
    void DrawWindowBackground(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height);
    void DrawWindowFrame(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height);
    void DrawCursor(TSorvoSheet& sheet, const TRect& rect, int32_t frame);
    // Draws text bytes of the game's code page at (x, y) in colour 0..19.
    // Returns the x after the last character.
    int32_t DrawText(TSorvoSheet& sheet, int32_t x, int32_t y, std::string_view text, int32_t color);

    void DrawUpArrow(int32_t x, int32_t y);
    void DrawDownArrow(int32_t x, int32_t y);
    void DrawSmallGlyph(int32_t x, int32_t y, int32_t step, int32_t kind);
    // The airship's shadow at opacity alpha div 4.
    void DrawPair16(int32_t x, int32_t y, int32_t alpha);
    // mm:ss of a frame count (60 frames a second); the colon blinks.
    void DrawTimer(int32_t x, int32_t y, int32_t frames);
    void DrawGauge(int32_t x, int32_t y, int32_t kind, int32_t fill);
    void DrawGaugeAlt(int32_t x, int32_t y, int32_t unused, int32_t fill);
    void DrawAnimIcon0(int32_t x, int32_t y, int32_t counter);
    void DrawAnimIcon1(int32_t x, int32_t y, int32_t counter);
    void DrawBigDigits(int32_t x, int32_t y, int32_t number);
    void DrawFrameOverlay();

    TSorvoSheet& Skin() { return *skin_; }
    TSorvoSheet& System2() { return *system2_; }
    TSorvoSheet& GaugeStrip() { return *gaugeStrip_; }
    TSorvoSheet& FrameSheet() { return *frame_; }
    const TSorvoSheet& SymbolSheet() const { return *symbols_; }

private:
    void DrawBorder(TSorvoSheet& sheet, int32_t x, int32_t y, int32_t width, int32_t height, int32_t base);
    void DrawSkinPiece(int32_t x, int32_t y, const TRect& source);
    void DrawGaugeFrom(TSorvoSheet& source, int32_t row, int32_t x, int32_t y, int32_t fill);
    void DrawAnimIcon(int32_t row, int32_t x, int32_t y, int32_t counter);
    platform::GlyphMask RenderUnit(std::string_view text, size_t pos, size_t length);

    TSorvoBoard& board_;
    std::unique_ptr<TSorvoSheet> skin_;
    std::unique_ptr<TSorvoSheet> symbols_;
    std::unique_ptr<TSorvoSheet> system2_;
    std::unique_ptr<TSorvoSheet> gaugeStrip_;
    std::unique_ptr<TSorvoSheet> frame_;
    int32_t fontId_ = 0;
    platform::FontFace face_ = platform::FontFace::Gothic;
};
