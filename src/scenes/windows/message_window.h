#pragma once
// TLcfMessageWindow: the game's one message box. Scripts fill it with up to
// four lines, choices or a number input; it types them out with inline
// control codes, shows the speaker's face, waits for the decision key and
// writes the answer back into the script's branch byte. TLcfMessagePool is
// the queue of lines game logic leaves for it (level-ups, battle results).

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "game/interpreter/branch_target.h"
#include "game/interpreter/interpreter_hooks.h"
#include "scenes/windows/gold_window.h"
#include "scenes/windows/window.h"

class TLcfMessageWindow : public TLcfWindow, public IMessageWindowHooks {
public:
    static constexpr int kMaxLines = 4;
    static constexpr int kMaxDigits = 9;

    TLcfMessageWindow();

    // IMessageWindowHooks
    bool IsVisible() const override { return TLcfWindow::IsVisible(); }
    bool IsClosing() const override { return TLcfWindow::IsClosing(); }
    // Only a close just begun can be taken over: Setup cancels a close at
    // its first step, and a later one would hide the new message.
    bool HoldsOpenState() const override { return alreadyOpen && closeStep_ <= 1; }
    void Open() override;
    void Close() override;
    void CloseNow() override;
    void AddLine(const std::string& text) override;
    int LineCount() const override { return int(lines_.size()); }
    bool InnPending() const override { return innPending_; }
    void ClearInnPending() override { innPending_ = false; }
    int InnAnswer() const override { return innAnswer_; }
    int32_t InnPrice() const override { return innPrice; }
    void SetInnCheck(int32_t price) override {
        innCheck = true;
        innPrice = price;
    }
    void AnswerInn(int answer) override {
        innPending_ = true;
        innAnswer_ = answer;
    }

    void AddChoice(const std::string& text) override;
    void SetCancelChoice(int32_t choice) override { cancelChoice = choice; }
    void SetResultTarget(const TLcfgBranchTarget& target) override { resultTarget = target; }
    void SetNumberInput(int32_t digits, int32_t variableId) override {
        digitCount = digits;
        numberVariable = variableId;
    }
    // The one-line box of battle messages.
    void SetupBattleLine() override;
    void ShowGold();
    void Update() override;
    void Draw() override;

    // Line text after expansion, for tests and the battle box.
    const std::vector<std::string>& Lines() const { return lines_; }
    int CurrentLine() const { return currentLine_; }
    int32_t XOffset() const { return xOffset_; }
    int32_t Color() const { return color_; }
    int32_t Speed() const { return speed_; }
    int32_t Wait() const { return wait_; }
    int64_t NumberValue() const;
    int ChoiceCount() const { return choiceCount_; }
    // All lines typed.
    bool AllShown() const { return currentLine_ >= LineCount(); }
    TLcfGoldWindow& GoldWindow() { return gold_; }

    // Set by the interpreter right after Open.
    int32_t cancelChoice = 0;
    TLcfgBranchTarget resultTarget;
    int32_t digitCount = 0;
    int32_t numberVariable = 0;
    bool innCheck = false;
    int32_t innPrice = 0;
    // Set by Open, cleared by CloseNow and by the field while the box closes:
    // a new message then does not replay the opening animation.
    bool alreadyOpen = false;
    int32_t position = 2;
    // Test play: Shift types a whole line at once.
    bool testPlay = false;

private:
    void Clear();
    void HandleAnswer();
    void Finish(int answer);
    // "[n]" after the position: the last prefix that parsed, or -1.
    int32_t ParseBracket(const std::string& line, size_t& pos) const;
    bool FaceShown() const;
    bool FaceLeft() const;
    int32_t Digit(int i) const { return digits_[size_t(i)]; }

    TLcfGoldWindow gold_;
    std::vector<std::string> lines_;
    int currentLine_ = 0;
    size_t charPos_ = 0;
    int32_t xOffset_ = 0;
    int32_t color_ = 0;
    int32_t speed_ = 1;
    int32_t wait_ = 0;
    bool waitForKey_ = false;
    bool closeWithoutKey_ = false;
    bool instant_ = false;
    bool lineStarted_ = false;
    int choiceCount_ = 0;
    std::vector<int32_t> digits_;
    bool innPending_ = false;
    int innAnswer_ = -1;
};

class TLcfMessagePool : public IMessagePoolHooks {
public:
    void Add(const std::string& line) { lines_.push_back(line); }
    int Count() const { return int(lines_.size()); }
    std::string PopFirst();
    void Clear() { lines_.clear(); }

    bool HasLines() const override { return !lines_.empty(); }
    std::string TakeLine() override { return PopFirst(); }
    void AddLine(const std::string& text) override { Add(text); }

private:
    std::deque<std::string> lines_;
};

extern TLcfMessageWindow* GameMessageWindow;
extern TLcfMessagePool* GameMessagePool;
