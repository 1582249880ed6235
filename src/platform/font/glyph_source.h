#pragma once
// The 12-pixel text font: a 12x12 ink mask for one character of the game's
// code page.
//
// Game text is bytes in the code page the game was written in, drawn six
// pixels per byte; a character of a double-byte code page takes twelve. The
// glyphs come from Debian's X11 bitmap fonts, all 12 pixels high:
//   xfonts-shinonome  Japanese (JIS X 0201 and 0208), Gothic and Mincho faces
//   xfonts-wqy        Chinese, simplified and traditional, and the symbols of
//                     Japanese code-page extensions (ISO 10646), one face
//   xfonts-baekmuk    Korean (KS X 1001): Gulim and Batang faces
//   xfonts-base       6x12 (ISO 10646) for single-byte text of every code page
// Nothing here exposes how they are read.
//
// Main thread only.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/code_page.h"

namespace platform {

enum class FontFace : uint8_t { Gothic = 0, Mincho = 1 };

// 12 rows of 12 columns; bit x of rows[y] is the pixel at column x, row y.
// The baseline is at row 10.
struct GlyphMask {
    static constexpr int kSize = 12;
    uint16_t rows[kSize] = {};

    bool Ink(int x, int y) const { return (rows[y] >> x) & 1u; }
    void Set(int x, int y) { rows[y] = uint16_t(rows[y] | (1u << x)); }
    bool Empty() const;
    bool operator==(const GlyphMask&) const = default;
};

// Shift-JIS pair to a JIS X 0208 code (row byte << 8 | cell byte, both
// 0x21..0x7E); 0 when the pair lies outside JIS X 0208's 94x94 square.
uint16_t ShiftJisToJis(uint8_t lead, uint8_t trail);

// The outline box drawn for a character no installed font has; `width` is 6
// or 12.
GlyphMask MissingGlyphBox(int width);

class GlyphSource {
public:
    // Fonts are opened when first needed. A missing font file raises an
    // Exception whose message names the file and the Debian package.
    explicit GlyphSource(int codePage, std::string fontFolder = DefaultFontFolder());
    ~GlyphSource();
    GlyphSource(const GlyphSource&) = delete;
    GlyphSource& operator=(const GlyphSource&) = delete;

    // The X11 font root; the fonts lie in its "misc" and "75dpi" folders.
    static std::string DefaultFontFolder();

    int CodePage() const;
    // Opens every font the code page needs now, so that a missing package is
    // reported at start-up rather than at the first line of text.
    void OpenFonts();
    bool IsLeadByte(uint8_t byte) const { return platform::IsLeadByte(CodePage(), byte); }

    // Renders a one-byte (count 1) or two-byte (count 2) character. A byte
    // below 0x20 is blank; a character no font has is a box.
    GlyphMask Render(FontFace face, const uint8_t* bytes, int count);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The process-wide source used by the text renderer: the game's code page
// (platform::CodePage) until SetTextCodePage chooses another.
GlyphSource& Glyphs();
void SetTextCodePage(int codePage);

}  // namespace platform
