// Pictures: interpolated moves, the rotation winding down, top and bottom
// halves, map-bound scrolling, opacity limits and the saved list.
#include <gtest/gtest.h>

#include "data/byte_writer.h"
#include "data/record/var_int.h"
#include "effects_fixture.h"
#include "game/picture/picture.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

using namespace effects_test;

namespace {

struct PictureTest : EffectsFixture {
    TLcfgPicture pictures;
    PictureTest() { Image("ball", 40, 30); }
    TLcfgPictureItem& Show(int32_t id, bool bound = false, bool transparentColor = false, int32_t effect = 0,
                           double strength = 0) {
        TLcfgPictureItem& p = pictures.ItemById(id);
        p.Show("ball", 100, 80, bound, 100, 0, 0, transparentColor, 100, 100, 100, 100, effect, strength);
        return p;
    }
};

TEST_F(PictureTest, MoveOverZeroFramesLandsOnTheNextUpdate) {
    TLcfgPictureItem& p = Show(1);
    p.Move(200, 40, 0, 150, 30, 60, 50, 120, 80, 0, 0, 0);
    EXPECT_EQ(p.currentX, 100);
    p.Update();
    EXPECT_EQ(p.currentX, 200);
    EXPECT_EQ(p.currentY, 40);
    EXPECT_EQ(p.magnification, 150);
    EXPECT_EQ(p.topTransparency, 30);
    EXPECT_EQ(p.bottomTransparency, 60);
    EXPECT_EQ(p.red, 50);
    EXPECT_EQ(p.saturation, 0);
}

TEST_F(PictureTest, MoveOverFramesInterpolatesAndArrivesOnTheLast) {
    TLcfgPictureItem& p = Show(2);
    p.Move(200, 80, 4, 100, 0, 0, 100, 100, 100, 100, 0, 0);
    p.Update();
    EXPECT_DOUBLE_EQ(p.currentX, 125);
    p.Update();
    p.Update();
    EXPECT_LT(p.currentX, 200);
    p.Update();
    EXPECT_DOUBLE_EQ(p.currentX, 200);
}

TEST_F(PictureTest, RotationSwitchedOffCompletesItsTurnAndRests) {
    TLcfgPictureItem& p = Show(3, false, false, 1, 10);
    for (int i = 0; i < 10; ++i) p.Update();
    EXPECT_DOUBLE_EQ(p.angle, 100);
    p.Move(100, 80, 0, 100, 0, 0, 100, 100, 100, 100, 0, 0);
    EXPECT_EQ(p.effect, 0);
    int rested = -1;
    for (int i = 0; i < 40; ++i) {
        p.Update();
        ASSERT_LT(p.angle, 256);
        if (p.angle == 0 && rested < 0) rested = i;
    }
    EXPECT_EQ(rested, 15);  // 110, 120 ... 250, then 260 rests at 0
    EXPECT_EQ(p.angle, 0);

    // A strength in (-1, 1) truncates to 0 and turns nothing (no division
    // by zero), whatever the angle and frames left.
    p.effectStrength = 0.75;
    p.angle = 30;
    p.framesLeft = 5;
    p.Update();
    EXPECT_EQ(p.angle, 30);
    p.effectStrength = -0.5;
    p.Update();
    EXPECT_EQ(p.angle, 30);
}

TEST_F(PictureTest, TransparentColourSplitsTheImageIntoHalvesWithTheirOwnOpacity) {
    TLcfgPictureItem& p = Show(4, false, true);
    p.Move(100, 80, 0, 100, 50, 0, 100, 100, 100, 100, 0, 0);
    p.Update();
    EXPECT_EQ(p.SheetA().ScanLine(14)[3], RampAt(3, 14));
    EXPECT_EQ(p.SheetA().ScanLine(15)[3], 0);
    EXPECT_EQ(p.SheetB().ScanLine(14)[3], 0);
    EXPECT_EQ(p.SheetB().ScanLine(15)[3], RampAt(3, 15));

    TSorvoBoard board;
    board.SetSize(320, 240);
    p.Draw(board);
    EXPECT_EQ(p.SheetA().Opacity, 128);  // round(127.5), ties to even
    EXPECT_EQ(p.SheetB().Opacity, 255);
    // Centre (100, 80), 40x30: the bottom half is opaque, the top half mixed
    // with the black board.
    EXPECT_EQ(board.ScanLine(65 + 20)[80 + 5], p.SheetB().ColorTable[RampAt(5, 20)]);
    EXPECT_NE(board.ScanLine(65 + 2)[80 + 5], p.SheetA().ColorTable[RampAt(5, 2)]);
}

TEST_F(PictureTest, OpacityStaysInRangeForTransparenciesBeyondZeroToHundred) {
    TLcfgPictureItem& p = Show(5);
    TSorvoBoard board;
    board.SetSize(320, 240);
    p.topTransparency = 180;
    p.Draw(board);
    EXPECT_EQ(p.SheetA().Opacity, 0);
    p.topTransparency = -70;
    p.Draw(board);
    EXPECT_EQ(p.SheetA().Opacity, 255);
}

TEST_F(PictureTest, MapBoundPicturesMoveAgainstTheViewOthersStay) {
    TLcfgPictureItem& bound = Show(6, true);
    TLcfgPictureItem& fixed = Show(7, false);
    pictures.ScrollDown(24);  // 1.5 pixels
    pictures.ScrollRight(32);
    EXPECT_DOUBLE_EQ(bound.currentY, 78.5);
    EXPECT_DOUBLE_EQ(bound.targetY, 78.5);
    EXPECT_DOUBLE_EQ(bound.startX, 98);
    EXPECT_EQ(fixed.currentY, 80);
    // A move while the view has shifted a bound picture keeps the shift.
    bound.Move(150, 80, 2, 100, 0, 0, 100, 100, 100, 100, 0, 0);
    EXPECT_DOUBLE_EQ(bound.targetX, 150);
    pictures.ScrollLeft(16);
    bound.Update();
    bound.Update();
    EXPECT_DOUBLE_EQ(bound.currentX, 151);
}

TEST_F(PictureTest, EveryDrawKindStaysOnTheBoard) {
    TSorvoBoard board;
    board.SetSize(320, 240);
    TLcfgPictureItem& a = Show(8, false, true, 1, 7);
    TLcfgPictureItem& b = Show(9, false, false, 2, 5);
    TLcfgPictureItem& c = Show(10);
    a.magnification = 350;
    b.currentX = -30;
    c.currentY = 250;
    for (int i = 0; i < 50; ++i) {
        pictures.UpdateAll();
        pictures.DrawAll(board);
    }
    a.angle = 1e18;  // a long turn never overflows the angle
    a.Draw(board);
    pictures.EraseAll();
    EXPECT_FALSE(a.HasImage());
}

TEST_F(PictureTest, ASaveWithOnePictureStillGivesAllFifty) {
    Show(7, true, true, 2, 3).Move(10, 20, 30, 110, 20, 40, 90, 80, 70, 60, 2, 6);
    ByteWriter w;
    WriteVarInt(w, 1);
    WriteVarInt(w, 7);
    pictures.ItemById(7).SaveToStream(w);

    TLcfgPicture loaded;
    ByteReader r(w.Bytes());
    loaded.LoadFromStream(r);
    EXPECT_EQ(loaded.Count(), 50);
    const TLcfgPictureItem& p = loaded.ItemById(7);
    EXPECT_EQ(p.imageName, "ball");
    EXPECT_TRUE(p.HasImage());
    EXPECT_EQ(p.framesLeft, 30);
    EXPECT_EQ(p.targetEffectStrength, 6);
    EXPECT_EQ(p.targetSaturation, 60);
    EXPECT_EQ(p.boundToMap, 1);
    EXPECT_EQ(loaded.ItemById(1).imageName, "");

    // The whole list round-trips byte for byte.
    ByteWriter all;
    pictures.SaveToStream(all);
    ByteReader rall(all.Bytes());
    loaded.LoadFromStream(rall);
    ByteWriter again;
    loaded.SaveToStream(again);
    EXPECT_EQ(all.Bytes(), again.Bytes());

    // A damaged list fails and leaves fifty clear pictures.
    std::vector<uint8_t> cut(all.Bytes().begin(), all.Bytes().begin() + long(all.Bytes().size() / 2));
    ByteReader rcut(cut);
    EXPECT_THROW(loaded.LoadFromStream(rcut), Exception);
    EXPECT_EQ(loaded.Count(), 50);
    EXPECT_EQ(loaded.ItemById(7).imageName, "");
}

}  // namespace
