// The window base: the opening and closing animation, cursor rules by
// column count, and scrolling that draws only the row coming into view.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/system_graphic.h"
#include "media/board/board.h"
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

// Fills each item's cell with colour index + 1, so the window sheet tells
// which item shows on each pixel row.
class TColouredWindow : public TRecordingWindow {
public:
    void Compose() { ComposeScrolled(); }
    // The item on each 4-pixel band of the list area ('.' for none), as
    // shown now: composed while a scroll runs, as Draw does.
    std::string Bands() {
        if (ScrollOffset() != 0) Compose();
        std::string out;
        for (int32_t p = 0; p < VisibleRows() * rowHeight; p += 4) {
            uint8_t c = WindowSheet().ScanLine(topMargin + p)[20];
            out += c == 0 ? '.' : char('0' + (c - 1) % 10);
            if (p % 16 == 12 && p + 4 < VisibleRows() * rowHeight) out += ' ';
        }
        return out;
    }

protected:
    void DrawItem(int32_t x, int32_t y, int index) override {
        ItemSheet().FillRect(RectOfSize(x - 4, y, 100, rowHeight), uint8_t(index + 1));
    }
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

TEST_F(WindowTest, AScrollShowsTheOldListFirstAndSlidesTheNewRowInFromItsEdge) {
    TColouredWindow w;
    w.input = input_.get();
    w.Setup(0, 0, 160, 16 + 4 * 16, false);
    w.SetItemCount(12);
    w.Refresh();
    w.SetActive(true);
    EXPECT_EQ(w.Bands(), "0000 1111 2222 3333");
    for (int i = 0; i < 3; ++i) w.Step(TMultiInput::kDown);
    input_->Repeated = TMultiInput::Bit(TMultiInput::kDown);
    std::vector<std::string> down;
    w.Update();  // the cursor leaves the list: one row down
    input_->Repeated = 0;
    down.push_back(w.Bands());
    for (int i = 0; i < 4; ++i) {
        w.Update();
        down.push_back(w.Bands());
    }
    EXPECT_EQ(down, (std::vector<std::string>{"0000 1111 2222 3333", "0001 1112 2223 3334", "0011 1122 2233 3344",
                                              "0111 1222 2333 3444", "1111 2222 3333 4444"}));
    EXPECT_EQ(w.ScrollOffset(), 0);

    for (int i = 0; i < 3; ++i) w.Step(TMultiInput::kUp);  // cursor on row 1, the top
    input_->Repeated = TMultiInput::Bit(TMultiInput::kUp);
    std::vector<std::string> up;
    w.Update();
    input_->Repeated = 0;
    up.push_back(w.Bands());
    for (int i = 0; i < 4; ++i) {
        w.Update();
        up.push_back(w.Bands());
    }
    EXPECT_EQ(up, (std::vector<std::string>{"1111 2222 3333 4444", "0111 1222 2333 3444", "0011 1122 2233 3344",
                                            "0001 1112 2223 3334", "0000 1111 2222 3333"}));
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

TEST_F(WindowTest, SetCursorLeavesTheNewCellToTheBlink) {
    // A skin whose only drawn part is the cursor, so a cell changes only
    // when the cursor is drawn into it.
    TSorvoBoard board;
    board.SetSize(320, 240);
    TLcfSystemGraphic skin(board);
    skin.Skin().SetSize(160, 80);
    for (int y = 0; y < 32; ++y)
        for (int x = 64; x < 128; ++x) skin.Skin().ScanLine(y)[x] = 9;
    GameSystemGraphic = &skin;
    Make(4, 12);
    TSorvoSheet& sheet = w_.WindowSheet();
    auto cell = [&](int index) {
        TRect r = w_.GetCursorRect(index);
        std::vector<uint8_t> px;
        for (int32_t y = r.Top; y < r.Bottom; ++y)
            for (int32_t x = r.Left; x < r.Right; ++x) px.push_back(sheet.ScanLine(y)[x]);
        return px;
    };
    const std::vector<uint8_t> plain = cell(2);
    EXPECT_NE(cell(0), plain);  // activating draws the cursor at once
    for (int i = 0; i < 5; ++i) w_.Update();  // blink counter 5
    w_.SetCursor(2);
    EXPECT_EQ(cell(0), plain);  // the old cell loses its cursor
    int drawnAt = cell(2) != plain ? 0 : -1;
    for (int f = 1; f <= 10 && drawnAt < 0; ++f) {
        w_.Update();
        if (cell(2) != plain) drawnAt = f;
    }
    EXPECT_EQ(w_.Cursor(), 2);
    EXPECT_EQ(drawnAt, 6);  // when the blink counter reaches 10
    GameSystemGraphic = nullptr;
}
