// The window base: the opening and closing animation, cursor rules by
// column count, and scrolling that draws only the row coming into view.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/headless/headless_platform.h"
#include "scenes/windows/window.h"

namespace {

// Records which items were drawn.
class TRecordingWindow : public TLcfWindow {
public:
    std::vector<int> drawn;
    void Step(int button) {
        input->Repeated = TMultiInput::Bit(button);
        Update();
        input->Repeated = 0;
        // Let a scroll finish.
        for (int i = 0; i < 4 && ScrollOffset() != 0; ++i) Update();
    }
    TMultiInput* input = nullptr;

protected:
    void DrawItem(int32_t, int32_t, int index) override { drawn.push_back(index); }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(std::make_unique<platform::HeadlessPlatform>());
        input_ = std::make_unique<TMultiInput>();
        saved_ = GameInput;
        GameInput = input_.get();
        w_.input = input_.get();
    }
    void TearDown() override {
        GameInput = saved_;
        input_.reset();
        platform::SetPlatform(nullptr);
    }
    // A one-column window with `rows` visible rows and `count` items.
    void Make(int rows, int count, int columns = 1) {
        w_.columns = columns;
        w_.Setup(0, 0, 160, 16 + rows * 16, false);
        w_.SetItemCount(count);
        w_.Refresh();
        w_.SetActive(true);
    }
    std::unique_ptr<TMultiInput> input_;
    TMultiInput* saved_ = nullptr;
    TRecordingWindow w_;
};

}  // namespace

TEST_F(WindowTest, OpensInSevenFramesAndClosesInSevenMore) {
    w_.Setup(0, 0, 100, 64, true);
    EXPECT_TRUE(w_.IsVisible());
    EXPECT_EQ(w_.OpenStep(), 1);
    EXPECT_FALSE(w_.IsOpen());
    for (int i = 0; i < 6; ++i) w_.Update();
    EXPECT_FALSE(w_.IsOpen());
    w_.Update();
    EXPECT_TRUE(w_.IsOpen());
    w_.Close();
    EXPECT_TRUE(w_.IsClosing());
    EXPECT_TRUE(w_.IsVisible());
    for (int i = 0; i < 6; ++i) w_.Update();
    EXPECT_TRUE(w_.IsVisible());
    w_.Update();
    EXPECT_FALSE(w_.IsVisible());
    EXPECT_FALSE(w_.IsClosing());
}

TEST_F(WindowTest, SetupCancelsACloseJustBegunAndNotAnimatedIsOpenAtOnce) {
    w_.Setup(0, 0, 100, 64, false);
    EXPECT_TRUE(w_.IsOpen());
    w_.Close();
    w_.Setup(0, 0, 100, 64, false);
    EXPECT_FALSE(w_.IsClosing());
    EXPECT_TRUE(w_.IsOpen());
    w_.CloseNow();
    EXPECT_FALSE(w_.IsVisible());
}

TEST_F(WindowTest, OneColumnWrapsWhenAllItemsFitAndStopsOtherwise) {
    Make(4, 4);
    w_.Step(TMultiInput::kUp);
    EXPECT_EQ(w_.Cursor(), 3);
    w_.Step(TMultiInput::kDown);
    EXPECT_EQ(w_.Cursor(), 0);

    Make(4, 5);
    w_.Step(TMultiInput::kUp);
    EXPECT_EQ(w_.Cursor(), 0);
    for (int i = 0; i < 6; ++i) w_.Step(TMultiInput::kDown);
    EXPECT_EQ(w_.Cursor(), 4);
    EXPECT_EQ(w_.TopRow(), 1);
}

TEST_F(WindowTest, TwoColumnsMoveByRowAndStep) {
    Make(2, 5, 2);  // rows remain below the two visible ones
    w_.Step(TMultiInput::kRight);
    EXPECT_EQ(w_.Cursor(), 1);
    w_.Step(TMultiInput::kDown);
    EXPECT_EQ(w_.Cursor(), 3);
    w_.Step(TMultiInput::kDown);  // to the last item, not past the list
    EXPECT_EQ(w_.Cursor(), 4);
    w_.Step(TMultiInput::kDown);  // nothing below now
    EXPECT_EQ(w_.Cursor(), 4);
    w_.Step(TMultiInput::kUp);
    EXPECT_EQ(w_.Cursor(), 2);
    w_.Step(TMultiInput::kLeft);
    EXPECT_EQ(w_.Cursor(), 1);
    w_.Step(TMultiInput::kUp);  // first row: stays
    EXPECT_EQ(w_.Cursor(), 1);
}

TEST_F(WindowTest, ScrollingDrawsOnlyTheEnteringRows) {
    Make(4, 12);
    EXPECT_EQ(w_.drawn, (std::vector<int>{0, 1, 2, 3}));
    w_.drawn.clear();
    for (int i = 0; i < 9; ++i) w_.Step(TMultiInput::kDown);  // cursor 9: six rows down
    EXPECT_EQ(w_.Cursor(), 9);
    EXPECT_EQ(w_.TopRow(), 6);
    EXPECT_EQ(w_.drawn, (std::vector<int>{4, 5, 6, 7, 8, 9}));
    w_.drawn.clear();
    for (int i = 0; i < 9; ++i) w_.Step(TMultiInput::kUp);
    EXPECT_EQ(w_.TopRow(), 0);
    EXPECT_EQ(w_.drawn, (std::vector<int>{5, 4, 3, 2, 1, 0}));
}

TEST_F(WindowTest, ScrollOffsetStopsAtZeroWithFifteenPixelRows) {
    Make(4, 12);
    w_.rowHeight = 15;  // the compact battle layout
    for (int i = 0; i < 4; ++i) w_.Step(TMultiInput::kDown);
    EXPECT_EQ(w_.ScrollOffset(), 0);
    EXPECT_EQ(w_.TopRow(), 1);
}

TEST_F(WindowTest, SetCursorClampsAndMovesTheTopRow) {
    Make(4, 12);
    w_.SetCursor(20);
    EXPECT_EQ(w_.Cursor(), 11);
    EXPECT_EQ(w_.TopRow(), 8);
    w_.SetCursor(0);
    EXPECT_EQ(w_.TopRow(), 0);
    w_.SetItemCount(0);
    w_.SetCursor(0);
    EXPECT_EQ(w_.Cursor(), -1);  // an empty list shows no cursor
}

TEST_F(WindowTest, AnAnimatedWindowDrawsNothingBeforeItsFirstUpdateAndAllWhenOpen) {
    GameDraw = new TSorvoDraw();
    w_.Setup(40, 40, 100, 64, true);
    TSorvoSheet& sheet = w_.WindowSheet();
    sheet.SetPaletteEntry(5, 255, 0, 0);
    sheet.UpdateColorTable();
    sheet.FillRect(sheet.GetBoundsRect(), 5);
    TSorvoBoard& board = GameDraw->Board();
    board.Clear();
    w_.Draw();
    EXPECT_EQ(board.ScanLine(72)[90], 0);  // squashed to nothing
    for (int i = 0; i < 3; ++i) w_.Update();
    board.Clear();
    w_.Draw();
    EXPECT_NE(board.ScanLine(72)[90], 0);  // the middle rows show
    EXPECT_EQ(board.ScanLine(41)[90], 0);  // the top is still squashed
    for (int i = 0; i < 4; ++i) w_.Update();
    board.Clear();
    w_.Draw();
    EXPECT_NE(board.ScanLine(41)[90], 0);
    EXPECT_NE(board.ScanLine(103)[90], 0);
    EXPECT_EQ(board.ScanLine(104)[90], 0);
    delete GameDraw;
    GameDraw = nullptr;
}
