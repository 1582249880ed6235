// Game text, tile ids, character-sheet arguments and animation cells all
// come from game files. This target draws whatever the bytes say, into
// small sheets and boards at positions that straddle their edges: nothing
// may be written or read out of bounds, and only the program's own errors
// (failed checks) may be raised.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/errors.h"
#include "graphics/animation_graphic.h"
#include "graphics/char_set_graphic.h"
#include "graphics/chip_set_graphic.h"
#include "graphics/chip_set_layout.h"
#include "graphics/system_graphic.h"

namespace {

int32_t Take(const uint8_t*& p, const uint8_t* end) {
    int32_t v = 0;
    for (int i = 0; i < 4 && p < end; ++i) v = int32_t(uint32_t(v) << 8 | *p++);
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    static TSorvoBoard board;
    static TSorvoSheet sheet;
    if (board.Width() == 0) {
        board.SetSize(40, 30);
        sheet.SetSize(37, 19);
    }
    static TLcfSystemGraphic skin(board);

    // Text at a position near the sheet, in any colour.
    int32_t x = Take(p, end) % 64 - 20, y = Take(p, end) % 32 - 14, color = Take(p, end);
    size_t textLength = size_t(Take(p, end)) % 64;
    if (textLength > size_t(end - p)) textLength = size_t(end - p);
    std::string text(reinterpret_cast<const char*>(p), textLength);
    p += textLength;
    skin.DrawText(sheet, x, y, text, color);
    skin.DrawWindowSkin(sheet, x, y, Take(p, end) % 80, Take(p, end) % 80);
    skin.DrawCursor(sheet, RectOfSize(x, y, Take(p, end) % 80, Take(p, end) % 80), Take(p, end));
    skin.DrawTimer(x, y, Take(p, end));
    skin.DrawGauge(x, y, Take(p, end), Take(p, end) % 200);
    skin.DrawBigDigits(x, y, Take(p, end));

    // Tile plans for any id and counter.
    try {
        PlanTile(Take(p, end), Take(p, end), Take(p, end), Take(p, end));
    } catch (const Exception&) {
    }
    try {
        ChipIndexForFlag(Take(p, end));
    } catch (const Exception&) {
    }

    // A character frame with any arguments (from an empty sheet).
    static TLcfCharSetGraphic chars;
    if (chars.Count() == 0) chars.Acquire("");
    chars.OpacityLevel = Take(p, end);
    chars.DrawCharacter(board, x, y, Take(p, end) % 3, Take(p, end), Take(p, end), Take(p, end), Take(p, end));

    // Animation tables and cells from any numbers.
    static TLcfAnimationItem view;
    view.frames.SetCount(Take(p, end) & 7);
    view.timings.Clear();
    while (p < end) {
        TLcfAnimationTimingItem* t = view.timings.Add();
        t->frame = Take(p, end);
        t->flashScope = uint8_t(Take(p, end) % 3);
        t->flashStrength = Take(p, end);
        t->shake = Take(p, end);
        if (view.FrameCount() > 0) {
            TLcfAnimationCellItem* c = view.frames.Items((t->frame & 7) % view.FrameCount())->cells.Add();
            c->pattern = Take(p, end);
            c->x = Take(p, end);
            c->y = Take(p, end);
            c->zoom = Take(p, end) % 1000;
            c->transparency = Take(p, end);
        }
    }
    static TLcfAnimationGraphic animation;
    animation.SetAnimation(&view, int32_t(size & 1), false);
    for (int32_t f = -1; f < view.FrameCount() + 11; ++f) {
        animation.TargetFlash(f);
        animation.FrameShake(f);
        animation.DrawFrame(board, x, y, f, (size & 2) != 0);
    }
    animation.FlashFrameCount();
    return 0;
}
