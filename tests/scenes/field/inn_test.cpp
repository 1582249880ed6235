// The inn command with the real message box: the price line and its
// choices, a free inn that rests without asking, too little gold, and the
// stay and leave cases with the payment.
#include <gtest/gtest.h>

#include "data/database/vocabulary.h"
#include "game/interpreter_fixture.h"
#include "game/party/party_info.h"
#include "scenes/windows/message_window.h"

using lcf_builder::Script;

namespace {

constexpr int32_t kInn = 10730, kStay = 20730, kNoStay = 20731, kInnEnd = 20732, kSwitches = 10210;
constexpr int kStaySwitch = 1, kNoStaySwitch = 2;

class InnTest : public interp_test::InterpreterTest {
protected:
    InnTest() {
        GameInput = input.get();
        system->scene = kSceneField;
        GameInterpreterHooks.messageWindow = &msg;
        GamePartyInfo = &partyInfo;
        TLcfVocabularyInn& terms = DbVocabulary->InnTerms(0);
        terms.texts = {"A bed costs", " a night.", "Stay?", "Yes", "No"};
        DbVocabulary->InnTerms(1).texts = {"Rest for", "?", "", "Rest", "Go"};
        DbVocabulary->Set(TLcfVocabulary::kCurrency, "G");
    }
    ~InnTest() override {
        GamePartyInfo = nullptr;
        GameInput = nullptr;
    }
    void Frame(TMultiInput::ButtonSet pressed = 0) {
        input->Pressed = input->Repeated = pressed;
        msg.Update();
        input->Pressed = input->Repeated = 0;
    }
    // Runs an inn line with its two cases; the script stops at the box.
    void RunInn(int32_t set, int32_t price) {
        Script s;
        s.Line(kInn, 0, "", {set, price});
        s.Line(kStay, 0).Line(kSwitches, 1, "", {0, kStaySwitch, kStaySwitch, 0}).Line(0, 1);
        s.Line(kNoStay, 0).Line(kSwitches, 1, "", {0, kNoStaySwitch, kNoStaySwitch, 0}).Line(0, 1);
        s.Line(kInnEnd, 0).Line(0);
        scripter->Start(1, s.List());
        scripter->Update();
    }
    void TypeAll() {
        for (int i = 0; i < 400 && !(msg.AllShown() && msg.Wait() == 0); ++i) Frame();
        Frame();
    }
    void Answer(TMultiInput::ButtonSet key) {
        Frame(key);
        for (int i = 0; i < 20 && msg.IsVisible(); ++i) Frame();
        scripter->Update();
    }
    TLcfMessageWindow msg;
    TLcfgPartyInfo partyInfo;
};

constexpr auto kDecision = TMultiInput::Bit(TMultiInput::kDecision);
constexpr auto kCancel = TMultiInput::Bit(TMultiInput::kCancel);
constexpr auto kDown = TMultiInput::Bit(TMultiInput::kDown);

}  // namespace

TEST_F(InnTest, AFreeInnRestsAtOnceWithoutAQuestionAndRunsTheStayCase) {
    party.gold = 30;
    RunInn(1, 0);
    EXPECT_FALSE(msg.IsVisible());
    EXPECT_EQ(party.rests, 1);
    EXPECT_EQ(party.gold, 30);
    EXPECT_TRUE(system->GetSwitch(kStaySwitch));
    EXPECT_FALSE(system->GetSwitch(kNoStaySwitch));
    // A negative price is a free inn too, not a payment to the party.
    system->SetSwitch(kStaySwitch, false);
    RunInn(1, -50);
    EXPECT_EQ(party.rests, 2);
    EXPECT_EQ(party.gold, 30);
    EXPECT_TRUE(system->GetSwitch(kStaySwitch));
}

TEST_F(InnTest, ThePriceLineAndStayingPaysAndRests) {
    partyInfo.gold = 100;
    party.gold = 100;
    RunInn(0, 40);
    ASSERT_TRUE(msg.IsVisible());
    EXPECT_TRUE(system->faceShown);
    ASSERT_EQ(msg.LineCount(), 4);
    EXPECT_TRUE(msg.GoldWindow().IsVisible());
    // "\$" opens the gold window; byte 1 is the narrow blank.
    EXPECT_EQ(msg.Lines()[0], "\\$A bed costs\x01" "40G a night.");
    EXPECT_EQ(msg.Lines()[1], "Stay?");
    EXPECT_EQ(msg.ChoiceCount(), 2);
    EXPECT_EQ(msg.cancelChoice, 2);
    EXPECT_TRUE(msg.innCheck);
    EXPECT_EQ(msg.innPrice, 40);
    TypeAll();
    Answer(kDecision);
    EXPECT_EQ(party.gold, 60);
    EXPECT_EQ(party.rests, 1);
    EXPECT_TRUE(system->GetSwitch(kStaySwitch));
}

TEST_F(InnTest, TooLittleGoldGreysTheStayChoiceWhichCannotBeConfirmed) {
    partyInfo.gold = 10;
    party.gold = 10;
    RunInn(1, 40);  // no third greeting: the question is one line
    ASSERT_EQ(msg.LineCount(), 3);
    EXPECT_EQ(msg.Lines()[1], "  \\C[3]Rest");
    EXPECT_EQ(msg.Lines()[2], "  \\C[0]Go");
    TypeAll();
    Frame(kDecision);
    EXPECT_EQ(Sounds("Buzzer"), 1);
    EXPECT_TRUE(msg.IsVisible());
    Answer(kCancel);  // cancel takes the second choice
    EXPECT_EQ(party.gold, 10);
    EXPECT_EQ(party.rests, 0);
    EXPECT_TRUE(system->GetSwitch(kNoStaySwitch));
    EXPECT_FALSE(system->GetSwitch(kStaySwitch));

    // With enough gold the same choice reads in colour 0; leaving is free.
    partyInfo.gold = party.gold = 500;
    system->SetSwitch(kNoStaySwitch, false);
    RunInn(1, 40);
    EXPECT_EQ(msg.Lines()[1], "  \\C[0]Rest");
    TypeAll();
    Frame(kDown);
    Answer(kDecision);
    EXPECT_EQ(party.gold, 500);
    EXPECT_TRUE(system->GetSwitch(kNoStaySwitch));
}
