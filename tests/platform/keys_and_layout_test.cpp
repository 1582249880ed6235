// Key state shared by the backends, the scancode map, and where the logical
// screen lands on the output.
#include <gtest/gtest.h>

#include "platform/key_state.h"
#include "platform/screen_layout.h"
#include "platform/sdl/sdl_keys.h"

using namespace platform;

TEST(KeyState, TwoPhysicalKeysHoldOneKeyUntilBothAreUp) {
    KeyState k;
    k.Press(Key::Shift);  // left Shift
    k.Press(Key::Shift);  // right Shift
    k.Release(Key::Shift);
    EXPECT_TRUE(k.IsHeld(Key::Shift));
    k.Release(Key::Shift);
    EXPECT_FALSE(k.IsHeld(Key::Shift));
    k.Release(Key::Shift);  // an up without a down (held before focus)
    EXPECT_FALSE(k.IsHeld(Key::Shift));
}

TEST(KeyState, WentDownIsLatchedAndSurvivesFocusLoss) {
    KeyState k;
    k.Press(Key::Z);
    k.Release(Key::Z);
    k.Press(Key::X);
    k.ReleaseAll();
    EXPECT_FALSE(k.IsHeld(Key::X));
    EXPECT_TRUE(k.TakeWentDown(Key::Z));
    EXPECT_FALSE(k.TakeWentDown(Key::Z));
    EXPECT_TRUE(k.TakeWentDown(Key::X));
    EXPECT_FALSE(k.IsHeld(Key::Count));
    EXPECT_FALSE(k.TakeWentDown(Key::None));
}

TEST(KeyState, AKeyThatWentDownWithAltHeldCountsOnlyAfterItsRelease) {
    KeyState k;
    k.Press(Key::Alt);
    k.Press(Key::Enter);
    k.Press(Key::Shift);  // the modifiers stay as they are
    k.Release(Key::Alt);
    EXPECT_FALSE(k.IsHeld(Key::Enter));
    EXPECT_FALSE(k.TakeWentDown(Key::Enter));
    EXPECT_TRUE(k.IsHeld(Key::Shift));
    EXPECT_TRUE(k.TakeWentDown(Key::Shift));
    k.Release(Key::Enter);
    k.Press(Key::Enter);
    EXPECT_TRUE(k.IsHeld(Key::Enter));
    EXPECT_TRUE(k.TakeWentDown(Key::Enter));
    // Focus loss forgets it too.
    k.Press(Key::Alt);
    k.Press(Key::Z);
    k.ReleaseAll();
    k.Press(Key::Z);
    EXPECT_TRUE(k.IsHeld(Key::Z));
}

TEST(SdlKeys, ScancodesMapByPosition) {
    // SDL scancodes are USB usage ids.
    EXPECT_EQ(KeyFromSdlScancode(4), Key::A);
    EXPECT_EQ(KeyFromSdlScancode(29), Key::Z);
    EXPECT_EQ(KeyFromSdlScancode(30), Key::Num1);
    EXPECT_EQ(KeyFromSdlScancode(39), Key::Num0);
    EXPECT_EQ(KeyFromSdlScancode(40), Key::Enter);
    EXPECT_EQ(KeyFromSdlScancode(61), Key::F4);
    EXPECT_EQ(KeyFromSdlScancode(69), Key::F12);
    EXPECT_EQ(KeyFromSdlScancode(89), Key::Kp1);
    EXPECT_EQ(KeyFromSdlScancode(98), Key::Kp0);
    EXPECT_EQ(KeyFromSdlScancode(88), Key::KpEnter);
    EXPECT_EQ(KeyFromSdlScancode(225), Key::Shift);
    EXPECT_EQ(KeyFromSdlScancode(229), Key::Shift);
    EXPECT_EQ(KeyFromSdlScancode(226), Key::Alt);
    EXPECT_EQ(KeyFromSdlScancode(228), Key::Ctrl);
    EXPECT_EQ(KeyFromSdlScancode(0), Key::None);
    EXPECT_EQ(KeyFromSdlScancode(100000), Key::None);
}

TEST(ScreenLayout, WholeFactorCentredWithBorders) {
    ScreenLayout l = ComputeScreenLayout(1920, 1080, 640, 480);
    EXPECT_EQ(l.scale, 2);
    EXPECT_EQ(l.offsetX, 320);
    EXPECT_EQ(l.offsetY, 60);
    Rect centre = l.ToOutput(Rect{160, 120, 320, 240});
    EXPECT_EQ(centre.x, 640);
    EXPECT_EQ(centre.w, 640);
    int x, y;
    EXPECT_TRUE(OutputToLogical(l, 640, 480, 320 + 3, 60 + 5, x, y));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_FALSE(OutputToLogical(l, 640, 480, 319, 100, x, y));
    EXPECT_FALSE(OutputToLogical(l, 640, 480, 320 + 1280, 100, x, y));
    // A desktop smaller than the logical screen still gets factor 1.
    EXPECT_EQ(ComputeScreenLayout(600, 400, 640, 480).scale, 1);
    EXPECT_EQ(ComputeScreenLayout(320, 240, 320, 240).offsetX, 0);
}
