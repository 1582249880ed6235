// The message window driven through the interpreter: typing and control
// codes, choices and number input written back through the script's
// branch bytes, the inn check, merging a message with choices, and the
// key-input command's parameter layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "game/interpreter_fixture.h"
#include "game/party/party_info.h"
#include "graphics/graphics_test_util.h"
#include "graphics/system_graphic.h"
#include "platform/font/glyph_source.h"
#include "scenes/windows/message_window.h"

using lcf_builder::Script;

namespace {

constexpr int32_t kShowMessage = 10110, kMessageLine = 20110, kChoices = 10140, kChoiceCase = 20140,
                  kChoiceEnd = 20141, kNumber = 10150, kKeyInput = 11610, kPlaySound = 11550;

class MessageTest : public interp_test::InterpreterTest {
protected:
    MessageTest() {
        GameInput = input.get();
        system->scene = kSceneMenu;  // opens at once
        GameInterpreterHooks.messageWindow = &msg;
    }
    ~MessageTest() override { GameInput = nullptr; }
    // One frame of the window with these buttons newly pressed/repeated.
    void Frame(TMultiInput::ButtonSet pressed = 0) {
        input->Pressed = pressed;
        input->Repeated = pressed;
        msg.Update();
        input->Pressed = input->Repeated = 0;
    }
    void TypeAll() {
        for (int i = 0; i < 400 && !(msg.AllShown() && msg.Wait() == 0); ++i) Frame();
        Frame();
    }
    void RunUntilClosed() {
        for (int i = 0; i < 20 && msg.IsVisible(); ++i) Frame();
    }
    void Start(const Script& s) {
        scripter->Start(1, s.List());
        scripter->Update();
    }
    TLcfMessageWindow msg;
};

Script ChoiceScript(int32_t cancel, int options) {
    Script s;
    s.Line(kShowMessage, 0, "Which?");
    s.Line(kChoices, 0, "", {cancel});
    for (int i = 0; i < options; ++i) {
        s.Line(kChoiceCase, 0, "Option " + std::to_string(i), {i});
        s.Line(kPlaySound, 1, i == 1 ? "Chime" : "Cursor", {100, 100, 50});
        s.Line(0, 1);
    }
    if (cancel == 5) {
        s.Line(kChoiceCase, 0, "", {4});
        s.Line(kPlaySound, 1, "Buzzer", {100, 100, 50});
        s.Line(0, 1);
    }
    s.Line(kChoiceEnd, 0);
    s.Line(0);
    return s;
}

}  // namespace

TEST_F(MessageTest, AScriptMessageTypesWaitsForDecisionAndCloses) {
    Start(Script().Line(kShowMessage, 0, "Hello").Line(kMessageLine, 0, "there").Line(0));
    ASSERT_TRUE(msg.IsVisible());
    EXPECT_EQ(msg.Lines(), (std::vector<std::string>{"Hello", "there"}));
    Frame();
    EXPECT_EQ(msg.XOffset(), 12);  // speed 1: two single-byte characters a frame
    TypeAll();
    EXPECT_TRUE(msg.IsVisible());
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_TRUE(msg.IsOpen());  // waits for the key
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    EXPECT_TRUE(msg.IsClosing());
    RunUntilClosed();
    EXPECT_FALSE(msg.IsVisible());
    scripter->Update();
    EXPECT_FALSE(scripter->IsRunning());
}

TEST_F(MessageTest, ControlCodesColourSpeedVariablesAndCloseWithoutKey) {
    system->SetVariable(3, -12);
    msg.Open();
    msg.AddLine("\\C[25]a\\c[4]b\\S[0]c");
    msg.AddLine("\\V[3]\\v3x");
    msg.AddLine("\\S[99]");
    msg.AddLine("\\^");
    msg.AddLine("fifth");
    EXPECT_EQ(msg.LineCount(), 4);
    EXPECT_EQ(msg.Lines()[1], "-1203x");  // V without brackets reads -1 (0) and leaves "3x"
    Frame();
    EXPECT_EQ(msg.Color(), 0);  // C[25] ignored, typing went straight on
    Frame();
    EXPECT_EQ(msg.Color(), 4);
    TypeAll();
    EXPECT_EQ(msg.Speed(), 20);
    for (int i = 0; i < 10 && msg.IsVisible() && !msg.IsClosing(); ++i) Frame();
    EXPECT_TRUE(msg.IsClosing());  // ^ closes without a key
}

TEST_F(MessageTest, SpeedSlowsTypingAndInstantModeTypesALineAtOnce) {
    msg.Open();
    msg.AddLine("\\S[4]abcd");
    Frame();  // the speed code goes straight on to the first step
    EXPECT_EQ(msg.XOffset(), 6);  // one byte a step above speed 1
    Frame();
    Frame();
    EXPECT_EQ(msg.XOffset(), 6);  // waiting 1 x 4 div 2 frames
    Frame();
    EXPECT_EQ(msg.XOffset(), 12);
    msg.Open();
    msg.AddLine("\\>abcdefgh\\<ij");
    Frame();
    EXPECT_EQ(msg.XOffset(), 48);  // all of the instant part in one frame
}

TEST_F(MessageTest, APauseForAKeyFirstWaitsOutTheSpeed) {
    msg.Open();
    msg.AddLine("\\S[5]a\\!bc");
    for (int i = 0; i < 3; ++i) Frame();  // "a", then 1 x 5 div 2 frames
    EXPECT_EQ(msg.Wait(), 0);
    Frame();  // the pause's frame
    EXPECT_EQ(msg.Wait(), 4);
    Frame(TMultiInput::Bit(TMultiInput::kDecision));  // too early: not taken
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(msg.XOffset(), 6);  // still paused
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    EXPECT_EQ(msg.XOffset(), 12);
}

TEST_F(MessageTest, ADoubleByteCharacterWhoseTrailIsABackslashTypesWhole) {
    msg.Open();
    msg.AddLine(std::string("\x95\x5C") + "A");
    EXPECT_EQ(msg.Lines()[0], std::string("\x95\x5C") + "A");
    Frame();
    EXPECT_EQ(msg.XOffset(), 12);
    Frame();
    EXPECT_EQ(msg.XOffset(), 0);  // line done, nothing read as a code
    EXPECT_TRUE(msg.AllShown());
    // A line ending in a lead byte reads no byte past its end.
    msg.Open();
    msg.AddLine(std::string("ab\x95"));
    TypeAll();
    EXPECT_TRUE(msg.AllShown());
}

TEST_F(MessageTest, AChoiceGoesIntoTheBranchByteAndRunsItsCase) {
    Start(ChoiceScript(0, 2));
    EXPECT_EQ(msg.LineCount(), 3);
    EXPECT_EQ(msg.ChoiceCount(), 2);
    TypeAll();
    EXPECT_TRUE(msg.Active());
    Frame(TMultiInput::Bit(TMultiInput::kCancel));  // cancel refused
    EXPECT_TRUE(msg.Active());
    Frame(TMultiInput::Bit(TMultiInput::kDown));
    EXPECT_EQ(msg.Cursor(), 1);
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    RunUntilClosed();
    for (int i = 0; i < 5; ++i) scripter->Update();
    EXPECT_EQ(Sounds("Chime"), 1);
    EXPECT_EQ(Sounds("Cursor"), 1);  // the window's cursor move; case 0 did not run
}

TEST_F(MessageTest, CancelPicksItsOwnCaseAndMergingCountsAgainstFourLines) {
    // 1 + 2 shown (the cancel case is not): merged into the message.
    Start(ChoiceScript(5, 2));
    EXPECT_EQ(msg.LineCount(), 3);
    TypeAll();
    Frame(TMultiInput::Bit(TMultiInput::kCancel));
    RunUntilClosed();
    for (int i = 0; i < 5; ++i) scripter->Update();
    EXPECT_EQ(Sounds("Buzzer"), 1);
}

TEST_F(MessageTest, ChoicesThatDoNotFitComeInABoxOfTheirOwn) {
    Script two = Script().Line(kShowMessage, 0, "a").Line(kMessageLine, 0, "b");
    two.Line(kChoices, 0, "", {5}).Line(kChoiceCase, 0, "x", {0}).Line(0, 1).Line(kChoiceCase, 0, "y", {1});
    two.Line(0, 1).Line(kChoiceCase, 0, "", {4}).Line(0, 1).Line(kChoiceEnd, 0).Line(0);
    Start(two);
    EXPECT_EQ(msg.LineCount(), 4);  // 2 + 2

    Script three = Script().Line(kShowMessage, 0, "a").Line(kMessageLine, 0, "b").Line(kMessageLine, 0, "c");
    three.Line(kChoices, 0, "", {5}).Line(kChoiceCase, 0, "x", {0}).Line(0, 1).Line(kChoiceCase, 0, "y", {1});
    three.Line(0, 1).Line(kChoiceCase, 0, "", {4}).Line(0, 1).Line(kChoiceEnd, 0).Line(0);
    msg.CloseNow();
    Start(three);
    EXPECT_EQ(msg.LineCount(), 3);  // the choices wait for the box
    EXPECT_EQ(msg.ChoiceCount(), 0);
}

TEST_F(MessageTest, NumberInputDigitsWrapAndTheValueGoesToTheVariable) {
    Start(Script().Line(kNumber, 0, "", {3, 7}).Line(0));
    ASSERT_TRUE(msg.IsVisible());
    Frame();  // sets up the input
    EXPECT_TRUE(msg.Active());
    EXPECT_EQ(msg.NumberValue(), 0);
    Frame(TMultiInput::Bit(TMultiInput::kUp));
    EXPECT_EQ(msg.NumberValue(), 100);
    Frame(TMultiInput::Bit(TMultiInput::kRight));
    Frame(TMultiInput::Bit(TMultiInput::kDown));
    EXPECT_EQ(msg.NumberValue(), 190);
    msg.Draw();  // digits drawn without a screen do no harm
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    EXPECT_EQ(system->GetVariable(7), 190);
    EXPECT_TRUE(msg.IsClosing());
}

TEST_F(MessageTest, TheInnCheckBuzzesWithTooLittleGold) {
    TLcfgPartyInfo partyInfo;
    GamePartyInfo = &partyInfo;
    partyInfo.gold = 10;
    msg.Open();
    msg.AddChoice("Stay");
    msg.AddChoice("Leave");
    msg.innCheck = true;
    msg.innPrice = 50;
    TypeAll();
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    EXPECT_EQ(Sounds("Buzzer"), 1);
    EXPECT_FALSE(msg.IsClosing());
    Frame(TMultiInput::Bit(TMultiInput::kDown));
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    EXPECT_TRUE(msg.IsClosing());
    EXPECT_TRUE(msg.InnPending());
    EXPECT_EQ(msg.InnAnswer(), 1);
    GamePartyInfo = nullptr;
}

TEST_F(MessageTest, KeyInputLayoutsFollowTheParameterCount) {
    // Ten parameters: shift and the single directions from p5-p9, no digits.
    Start(Script().Line(kKeyInput, 0, "", {5, 1, 1, 1, 1, 1, 1, 0, 0, 1}).Line(0));
    EXPECT_EQ(scripter->waitingForKey, 1);
    EXPECT_EQ(scripter->acceptDirections, 0);
    EXPECT_EQ(scripter->acceptShift, 1);
    EXPECT_EQ(scripter->acceptDown, 1);
    EXPECT_EQ(scripter->acceptUp, 1);
    EXPECT_EQ(scripter->acceptDigits, 0);
    // Eleven: digits, arithmetic, time; all four directions become the group.
    scripter->Clear();
    Start(Script().Line(kKeyInput, 0, "", {5, 0, 0, 1, 1, 1, 1, 9, 1, 0, 1, 1, 1, 1}).Line(0));
    EXPECT_EQ(scripter->acceptDigits, 1);
    EXPECT_EQ(scripter->acceptArithmetic, 1);
    EXPECT_EQ(scripter->timeVariable, 9);
    EXPECT_EQ(scripter->measureTime, 1);
    EXPECT_EQ(scripter->acceptDirections, 1);
    EXPECT_EQ(scripter->acceptDown, 0);
    EXPECT_EQ(scripter->waitingForKey, 0);
    EXPECT_EQ(system->GetVariable(5), 0);  // nothing held
}

// Renders a message with a face on the left and two choices, in English and
// in Japanese, to PNG files beside the test programs for the eye.
TEST_F(MessageTest, RendersAMessageWithAFaceAndChoicesToPng) {
    if (!std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/misc/shnmk12.pcf.gz"))
        GTEST_SKIP() << "X11 bitmap fonts not installed";
    TSorvoBoard board;
    board.SetSize(320, 240);
    TLcfSystemGraphic skin(board);
    TSorvoSheet& s = skin.Skin();
    s.SetSize(160, 80);
    for (int i = 0; i < 32; ++i) s.SetPaletteEntry(16 + i, 0, uint8_t(16 + i * 2), uint8_t(64 + i * 4));
    s.SetPaletteEntry(1, 230, 230, 240);
    s.SetPaletteEntry(3, 20, 20, 30);
    s.SetPaletteEntry(4, 255, 255, 255);
    s.SetPaletteEntry(5, 255, 220, 90);
    s.SetPaletteEntry(8, 250, 250, 120);
    s.UpdateColorTable();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) s.ScanLine(y)[x] = uint8_t(16 + y);
    for (int base : {32, 64, 96}) {
        uint8_t light = base == 32 ? 1 : 8;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                s.ScanLine(y)[base + x] = (x < 2 || x >= 30 || y < 2 || y >= 30) ? light : 0;
    }
    s.ScanLine(32)[16] = 3;
    for (int c = 0; c < 20; ++c)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) s.ScanLine(48 + 16 * (c / 10) + y)[16 * (c % 10) + x] = c % 2 ? 5 : 4;
    GameSystemGraphic = &skin;
    screen.face.SetSize(48, 48);
    screen.face.SetPaletteEntry(1, 200, 120, 60);
    screen.face.SetPaletteEntry(2, 40, 40, 40);
    screen.face.UpdateColorTable();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) screen.face.ScanLine(y)[x] = ((x - 24) * (x - 24) + (y - 24) * (y - 24) < 400) ? 1 : 2;
    system->faceName = "Hero";
    system->faceShown = 1;
    system->faceRight = 0;
    struct Page {
        const char* file;
        std::string line, a, b;
    };
    const Page pages[] = {
        {"message_face_choice_en.png", "\\C[1]Hero\\C[0]: Shall we rest here?", "Yes, rest", "No, go on"},
        {"message_face_choice_ja.png", "\x82\xB1\x82\xB1\x82\xC5\x8B\x78\x82\xDE\x82\xA9\x81\x48",
         "\x82\xCD\x82\xA2", "\x82\xA2\x82\xA2\x82\xA6"},
    };
    for (const Page& p : pages) {
        board.Clear();
        msg.CloseNow();
        msg.Open();
        msg.AddLine(p.line);
        msg.AddChoice(p.a);
        msg.AddChoice(p.b);
        TypeAll();
        ASSERT_TRUE(msg.Active());
        board.Draw(msg.X(), msg.Y(), msg.WindowSheet(), msg.WindowSheet().GetBoundsRect());
        board.Draw(msg.X() + 16, msg.Y() + 16, screen.face, screen.face.GetBoundsRect());
        std::string path = graphics_test::SaveBoardPng(board, p.file);
        EXPECT_TRUE(std::filesystem::exists(path));
        // Text lies right of the face (x >= 80) and the cursor row is inside.
        EXPECT_FALSE(msg.WindowSheet().IsBlank(RectOfSize(80, 8, 100, 16)));
    }
    GameSystemGraphic = nullptr;
}

TEST_F(MessageTest, ANewMessageTakesOverABoxWhoseCloseHasJustBegun) {
    system->scene = kSceneField;
    msg.Open();
    msg.AddLine("one");
    for (int i = 0; i < 7; ++i) Frame();  // opened
    TypeAll();
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    ASSERT_TRUE(msg.IsClosing());
    EXPECT_TRUE(msg.HoldsOpenState());
    msg.Open();  // no replayed opening, the close is cancelled
    msg.AddLine("two");
    EXPECT_FALSE(msg.IsClosing());
    EXPECT_TRUE(msg.IsOpen());
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    TypeAll();
    Frame(TMultiInput::Bit(TMultiInput::kDecision));
    Frame();
    EXPECT_FALSE(msg.HoldsOpenState());  // past the first closing step
}
