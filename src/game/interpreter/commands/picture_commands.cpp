// Commands that show, move and erase the pictures over the map.

#include <algorithm>

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/picture/picture.h"
#include "game/system/game_system.h"

namespace commands {

namespace {

// Picture p0, or null for an id outside 1-50 (the command is ignored).
TLcfgPictureItem* PictureOf(const TLcfEventScriptLine& line) {
    const int32_t id = line.GetParam(0);
    if (!GamePictures || id < 1 || id > TLcfgPicture::kCount) return nullptr;
    return &GamePictures->ItemById(id);
}

// p1 0: the place p2, p3; otherwise the values of variables p2 and p3.
void PlaceOf(const TLcfEventScriptLine& line, int32_t& x, int32_t& y) {
    x = line.GetParam(2);
    y = line.GetParam(3);
    if (line.GetParam(1) != 0) {
        x = GameSystem ? GameSystem->GetVariable(x) : 0;
        y = GameSystem ? GameSystem->GetVariable(y) : 0;
    }
}

// Lines written before the two halves could differ have no bottom
// transparency of their own: it follows the top one (p6).
int32_t BottomTransparency(const TLcfEventScriptLine& line, int32_t shortCount, int index) {
    return line.ParamCount() > shortCount ? line.GetParam(index) : line.GetParam(6);
}

VARNOW_COMMAND(ShowPicture) {
    (void)scripter;
    (void)frame;
    TLcfgPictureItem* picture = PictureOf(line);
    if (!picture) return;
    int32_t x = 0, y = 0;
    PlaceOf(line, x, y);
    picture->Show(line.text, x, y, line.GetParam(4) != 0, line.GetParam(5), line.GetParam(6),
                  BottomTransparency(line, 15, 14), line.GetParam(7) != 0, line.GetParam(8), line.GetParam(9),
                  line.GetParam(10), line.GetParam(11), line.GetParam(12), line.GetParam(13));
}

// Over p14 tenths; the script waits for it when p15 is set.
VARNOW_COMMAND(MovePicture) {
    (void)frame;
    TLcfgPictureItem* picture = PictureOf(line);
    if (!picture) return;
    int32_t x = 0, y = 0;
    PlaceOf(line, x, y);
    const int32_t frames = TenthsToFrames(line.GetParam(14));
    picture->Move(x, y, frames, line.GetParam(5), line.GetParam(6), BottomTransparency(line, 16, 16),
                  line.GetParam(8), line.GetParam(9), line.GetParam(10), line.GetParam(11), line.GetParam(12),
                  line.GetParam(13));
    if (line.GetParam(15) != 0) scripter.waitCounter = std::max(1, frames);
}

VARNOW_COMMAND(ErasePicture) {
    (void)scripter;
    (void)frame;
    if (TLcfgPictureItem* picture = PictureOf(line)) picture->Erase();
}

}  // namespace

void RegisterPictureCommands() {
    SetCommandHandler(11110, ShowPicture);
    SetCommandHandler(11120, MovePicture);
    SetCommandHandler(11130, ErasePicture);
}

}  // namespace commands
