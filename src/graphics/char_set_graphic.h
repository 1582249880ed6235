#pragma once
// The character sheets a map needs, cached by file name, and the drawing of
// one 24x32 character frame from them.
//
// A sheet is 288x256: eight characters in two rows of four, each 72x128
// with three patterns across and four directions down. Loading a map clears
// the used marks, acquires the sheets of its events and purges the rest;
// while fewer than 20 are cached nothing is purged, so returning to a map
// loads nothing.
//
// DrawCharacter sets colour control 1's tone (grey or not) on every draw:
// callers put the screen tint on colour control 2.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/board/board.h"
#include "media/sheet/sheet.h"

class TLcfCharSetGraphic {
public:
    static constexpr int32_t kSheetWidth = 288;
    static constexpr int32_t kSheetHeight = 256;
    static constexpr int32_t kFrameWidth = 24;
    static constexpr int32_t kFrameHeight = 32;
    // PurgeUnused frees nothing while fewer sheets than this are cached.
    static constexpr size_t kKeepSheets = 20;

    TLcfCharSetGraphic() = default;
    ~TLcfCharSetGraphic() { Clear(); }
    TLcfCharSetGraphic(const TLcfCharSetGraphic&) = delete;
    TLcfCharSetGraphic& operator=(const TLcfCharSetGraphic&) = delete;

    // The index of a sheet by file name, loading it (folder "CharSet") when
    // it is not cached yet. A sheet that fails to load stays cached (cleared)
    // and the load error propagates.
    int32_t Acquire(const std::string& fileName, int32_t unused = 0);
    int32_t IndexOf(const std::string& fileName) const;
    TSorvoSheet& Sheets(int32_t index) { return *entries_[size_t(index)].sheet; }
    int32_t Count() const { return int32_t(entries_.size()); }
    const std::string& Name(int32_t index) const { return entries_[size_t(index)].name; }
    bool Used(int32_t index) const { return entries_[size_t(index)].used; }

    void MarkAllUnused();
    void PurgeUnused();
    void Clear();

    // Draws a frame with its bottom centre at (x, y). Pattern 3 is drawn as
    // pattern 1. Bush depth 1..3 draws the lower rows at half opacity; an
    // index, character (0..7), direction or pattern (0..3) out of range
    // draws nothing.
    void DrawCharacter(TSorvoBoard& board, int32_t x, int32_t y, int32_t sheetIndex, int32_t character,
                       int32_t direction, int32_t pattern, int32_t bushDepth, int32_t unused = 0);

    uint8_t Transparent = 0;    // copied into a sheet's transparent flag before each draw
    int32_t OpacityLevel = 0;   // frames drawn at opacity 255 - 30 x level
    uint8_t Grey = 0;           // non-zero: frames drawn at saturation 0

private:
    struct Entry {
        std::string name;
        std::unique_ptr<TSorvoSheet> sheet;
        bool used = false;
    };
    std::vector<Entry> entries_;
};
