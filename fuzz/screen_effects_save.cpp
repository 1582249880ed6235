// Fuzzes the screen effects' and the pictures' save chunks: any bytes must
// load or raise a read error, and whatever loads must update and draw for a
// while without leaving the board or its sheets, then write, read back and
// write again unchanged. The first byte picks the chunk.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "data/errors.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "media/image/png.h"
#include "chunk_round_trip.h"

namespace {

using fuzz_support::Load;
using fuzz_support::Save;

// Every picture name finds one small image with the transparent colour.
void PointPicturesAtOneImage() {
    static const std::string path = [] {
        const std::filesystem::path p = std::filesystem::temp_directory_path() / "varnow_fuzz_picture.png";
        TSorvoPng png;
        png.SetFormat(9, 7, 8);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) png.Row(y)[x] = uint8_t((x + y) % 3);
        png.SaveToFile(p.string());
        return p.string();
    }();
    SetGraphicsFileFinder([](const std::string&, const std::string& name) { return name.empty() ? std::string() : path; });
}

template <class T, class Run>
void Exercise(T& t, const std::vector<uint8_t>& bytes, Run run) {
    try {
        Load(t, bytes);
    } catch (const Exception&) {
        return;
    }
    run();
    std::vector<uint8_t> once = Save(t);
    Load(t, once);
    if (Save(t) != once) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TSorvoBoard* board = [] {
        auto* b = new TSorvoBoard;
        b->SetSize(320, 240);
        PointPicturesAtOneImage();
        return b;
    }();
    static TLcfgScreen* screen = GameScreen = new TLcfgScreen;
    static TLcfgPicture* pictures = GamePictures = new TLcfgPicture;
    if (size == 0) return 0;
    const std::vector<uint8_t> bytes(data + 1, data + size);
    if (data[0] & 1) {
        Exercise(*screen, bytes, [] {
            for (int i = 0; i < 4; ++i) {
                screen->Update();
                screen->DrawEffects(*board);
                screen->DrawMapAnimation(*board);
                screen->ScrollRight(40);
                screen->ScrollUp(24);
            }
        });
    } else {
        Exercise(*pictures, bytes, [] {
            for (int i = 0; i < 3; ++i) {
                pictures->UpdateAll();
                pictures->DrawAll(*board);
                pictures->ScrollDown(16);
            }
        });
    }
    return 0;
}
