// A whole frame composed the way the field scene will: the panorama behind
// every cell, pictures over it, rain and a tint, saved as PNG to look at.
#include <gtest/gtest.h>

#include "effects_fixture.h"
#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "graphics/graphics_test_util.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

using namespace effects_test;

namespace {

// A sky that brightens downward with a few darker bands, and a striped
// ball with the transparent colour around it.
void SaveSky(const std::filesystem::path& path) {
    TSorvoPng png;
    png.SetFormat(160, 120, 8);
    for (int i = 0; i < 256; ++i) png.Palette[size_t(i)] = PaletteEntry{uint8_t(40 + i / 2), uint8_t(60 + i / 2), 200, 0};
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) png.Row(y)[x] = uint8_t(1 + y * 2 - ((x / 20 + y / 30) % 2) * 20);
    png.SaveToFile(path.string());
}

void SaveBall(const std::filesystem::path& path) {
    TSorvoPng png;
    png.SetFormat(48, 48, 8);
    png.Palette[1] = PaletteEntry{240, 200, 40, 0};
    png.Palette[2] = PaletteEntry{200, 40, 40, 0};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const int dx = x - 24, dy = y - 24;
            png.Row(y)[x] = dx * dx + dy * dy > 22 * 22 ? 0 : uint8_t(1 + (y / 6) % 2);
        }
    png.SaveToFile(path.string());
}

TEST_F(EffectsFixture, ComposedFrameWithPanoramaPicturesRainAndTint) {
    SaveSky(dir / "sky.png");
    SaveBall(dir / "ball.png");
    TLcfgPanorama panorama;
    TLcfgPicture pictures;
    TLcfgScreen screen;
    GameScreen = &screen;
    panorama.Configure("sky", true, 15, 20, 0, -2, true, false, false, false, false, true, false, true);
    panorama.LoadImage();
    pictures.ItemById(1).Show("ball", 80, 120, false, 150, 0, 0, true, 100, 100, 100, 100, 1, 12);
    pictures.ItemById(2).Show("ball", 240, 120, false, 200, 0, 30, true, 100, 60, 60, 100, 2, 4);
    screen.SetWeather(TLcfgScreen::kRain, 2);
    screen.StartTint(140, 80, 60, 100, 0);

    TSorvoBoard board;
    board.SetSize(320, 240);
    for (int frame = 0; frame < 40; ++frame) {
        screen.Update();
        pictures.UpdateAll();
        panorama.AutoScroll();
        panorama.Sheet().ColorControl1.SetTone(screen.TintRed(), screen.TintGreen(), screen.TintBlue(),
                                               screen.TintSaturation(), true);
        for (int y = 0; y < 240; y += 16)
            for (int x = 0; x < 320; x += 16) panorama.DrawTile(board, x, y, screen.shakeY, screen.shakeX);
        pictures.DrawAll(board);
        screen.DrawEffects(board);
    }
    GameScreen = nullptr;
    const std::string path = graphics_test::SaveBoardPng(board, "effects_frame.png");
    EXPECT_FALSE(path.empty());
    // The tint reached the panorama: red kept, blue cut.
    const uint16_t c = board.ScanLine(2)[2];
    EXPECT_NE(c, 0);
}

}  // namespace
