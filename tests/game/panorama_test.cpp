// The panorama: automatic scrolling, the half-speed loop, following the view
// to the image's far edge, and cutting pieces that wrap (negative columns,
// images smaller than a piece).
#include <gtest/gtest.h>

#include "effects_fixture.h"
#include "game/panorama/panorama.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

using namespace effects_test;

namespace {

struct PanoramaTest : EffectsFixture {
    TLcfgPanorama p;
    void Setup(const std::string& name, int32_t mapW, int32_t mapH, bool hLoop, bool vLoop, bool hAuto, int32_t hSpeed,
               bool vAuto = false, int32_t vSpeed = 0) {
        p.Configure(name, true, mapH, mapW, vSpeed, hSpeed, true, false, false, false, vAuto, hAuto, vLoop, hLoop);
        p.LoadImage();
    }
};

TEST_F(PanoramaTest, AutoScrollStepsByPowersOfTwoAndWrapsBothWays) {
    Setup("", 20, 15, true, true, true, -3, true, 3);
    ASSERT_EQ(p.Width(), 16);
    EXPECT_EQ(p.X(), 0);
    EXPECT_EQ(p.Y(), 0);
    p.AutoScroll();
    EXPECT_EQ(p.X(), 8);  // speed -3: 2^3 thirty-seconds of a pixel a frame
    // Speed 3 scrolls the other way and wraps below zero into the image.
    EXPECT_EQ(p.Y(), 16 * 32 - 8);
    p.AutoScroll();
    EXPECT_EQ(p.X(), 16);
    EXPECT_EQ(p.Y(), 16 * 32 - 16);
}

TEST_F(PanoramaTest, LoopingPanoramaMovesAtHalfTheMapSpeed) {
    Image("sky", 64, 48);
    Setup("sky", 20, 15, true, true, false, 0);
    p.ScrollRight(32);  // the view moved 2 pixels
    EXPECT_EQ(p.X(), 32);  // the panorama 1 pixel
    p.ScrollLeft(64);
    EXPECT_EQ(p.X(), 64 * 32 - 32);  // wrapped, never negative
    p.ScrollUp(16);
    EXPECT_EQ(p.Y(), 48 * 32 - 16);
    p.ScrollDown(16 + 48 * 32 * 3);
    EXPECT_EQ(p.Y(), 0);
}

TEST_F(PanoramaTest, FollowingPanoramaShowsItsFarEdgeAtTheMapsFarEdge) {
    Image("wide", 640, 480);
    int32_t viewX = 0, viewY = 0;
    p.ViewX = [&] { return viewX; };
    p.ViewY = [&] { return viewY; };
    Setup("wide", 40, 30, false, false, false, 0);
    EXPECT_EQ(p.X(), 0);
    viewX = (40 - 20) * 256;
    viewY = (30 - 15) * 256;
    p.ScrollRight(16);  // a non-looping axis follows the view
    p.ScrollDown(16);
    EXPECT_EQ(p.X(), 320 * 32);
    EXPECT_EQ(p.Y(), 240 * 32);

    TSorvoBoard board;
    board.SetSize(320, 240);
    p.DrawTile(board, 304, 224, 0, 0);  // the bottom-right cell of the screen
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(board.ScanLine(224 + y)[304 + x], p.Sheet().ColorTable[RampAt(624 + x, 464 + y)]);
}

TEST_F(PanoramaTest, SmallImageMarginsRepeatTheImage) {
    Image("tiny", 5, 3);
    Setup("tiny", 20, 15, true, true, false, 0);
    ASSERT_EQ(p.Sheet().Width(), 21);
    ASSERT_EQ(p.Sheet().Height(), 19);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 21; ++x) ASSERT_EQ(p.Sheet().ScanLine(y)[x], RampAt(x % 5, y % 3)) << x << "," << y;
}

TEST_F(PanoramaTest, PiecesLeftOfAndAboveTheScreenWrapIntoTheImage) {
    Image("tiny", 5, 3);
    Setup("tiny", 20, 15, true, true, false, 0);
    TSorvoBoard board;
    board.SetSize(320, 240);
    // Column and row -1, and a shake that pushes further out: every source
    // index stays inside the sheet (ASan watches) and the visible part of
    // the piece is the image repeated.
    p.DrawTile(board, -16, -16, 0, 7);
    p.DrawTile(board, 0, -16, 3, 9);
    p.DrawTile(board, -8, 0, -5, 20);
    // Cell (-8, 0) with shake (20, -5): source column (0 + 5 - 8 - 20) mod 5
    // = 2, row (0 + 3 + 0 + 5) mod 3 = 2.
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(board.ScanLine(0)[x], p.Sheet().ColorTable[RampAt((2 + 8 + x) % 5, 2)]);

    TLcfgPanorama blank;
    blank.Configure("", true, 15, 20, 0, 0, true, false, false, false, false, false, false, false);
    blank.LoadImage();
    EXPECT_EQ(blank.Width(), 16);
    EXPECT_EQ(blank.Sheet().Width(), 32);
    blank.DrawTile(board, -16, -16, -3, -3);
}

TEST_F(PanoramaTest, DisabledPanoramaHasNoSizeAndDrawsNothing) {
    p.Configure("sky", false, 15, 20, 0, 0, true, false, false, false, false, false, false, false);
    p.LoadImage();
    EXPECT_EQ(p.Width(), 0);
    TSorvoBoard board;
    board.SetSize(32, 32);
    p.DrawTile(board, 0, 0, 0, 0);
    p.SetX(-40);
    EXPECT_EQ(p.X(), 0);
    EXPECT_EQ(board.ScanLine(0)[0], 0);
}

}  // namespace
