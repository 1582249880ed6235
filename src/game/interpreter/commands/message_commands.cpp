// Commands that talk to the player: messages, choices, number input and
// key input. The message box itself is behind the interpreter's hook.

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"

namespace commands {

namespace {

constexpr int32_t kMessageLine = 20110;
constexpr int32_t kChoices = 10140;
constexpr int32_t kChoiceCase = 20140;
constexpr int32_t kNumberInput = 10150;
constexpr int kMaxLines = 4;

// Opens the box for choices or a number input unless a message already
// holds it.
void OpenUnlessShown(IMessageWindowHooks& window) {
    if (window.IsVisible() && !window.IsClosing()) return;
    if (GameSystem) GameSystem->faceShown = 1;
    window.Open();
}

// The case lines of the choice block starting after `start`: bodies (deeper
// indents) are stepped over; the block ends at the first line of its indent
// that is not a case line, or at a shallower one.
template <typename F>
void ForEachCase(const TLcfgScriptData& frame, int32_t start, int32_t indent, F&& f) {
    for (int32_t i = start; i < frame.script.Count(); ++i) {
        const TLcfEventScriptLine* l = frame.script.Lines(i);
        if (!l || l->indent < indent) return;
        if (l->indent > indent) continue;
        if (l->code != kChoiceCase || !f(*l)) return;
    }
}

}  // namespace

VARNOW_COMMAND(ShowMessage) {
    IMessageWindowHooks* window = GameInterpreterHooks.messageWindow;
    if (GameSystem) GameSystem->faceShown = 1;
    if (window) {
        window->Open();
        window->AddLine(line.text);
    }
    while (const TLcfEventScriptLine* next = frame.CurrentLine()) {
        if (next->code != kMessageLine) break;
        if (window) window->AddLine(next->text);
        ++frame.lineIndex;
    }
    scripter.waitingForMessage = 1;
    if (!window) return;
    const TLcfEventScriptLine* next = frame.CurrentLine();
    if (!next) return;
    if (next->code == kChoices) {
        int count = 0;
        ForEachCase(frame, frame.lineIndex + 1, next->indent, [&](const TLcfEventScriptLine&) {
            ++count;
            return true;
        });
        if (next->GetParam(0) == 5) --count;  // the cancel case is not shown
        if (count + window->LineCount() <= kMaxLines) {
            ++frame.lineIndex;
            ShowChoices(scripter, frame, *next);
        }
    } else if (next->code == kNumberInput && window->LineCount() < kMaxLines) {
        ++frame.lineIndex;
        InputNumber(scripter, frame, *next);
    }
}

VARNOW_COMMAND(ShowChoices) {
    scripter.waitingForMessage = 1;
    IMessageWindowHooks* window = GameInterpreterHooks.messageWindow;
    if (!window) return;
    OpenUnlessShown(*window);
    window->SetCancelChoice(line.GetParam(0));
    ForEachCase(frame, frame.lineIndex, line.indent, [&](const TLcfEventScriptLine& c) {
        if (c.GetParam(0) > 3) return false;
        window->AddChoice(c.text);
        return true;
    });
    if (line.indent < 0 || line.indent > TLcfgScriptData::kMaxIndent) return;
    frame.EnsureBranchBytes(line.indent + 1);
    window->SetResultTarget(scripter.TargetOf(frame, line.indent));
}

VARNOW_COMMAND(InputNumber) {
    (void)frame;
    scripter.waitingForMessage = 1;
    IMessageWindowHooks* window = GameInterpreterHooks.messageWindow;
    if (!window) return;
    OpenUnlessShown(*window);
    window->SetNumberInput(line.GetParam(0), line.GetParam(1));
}

VARNOW_COMMAND(KeyInputProcessing) {
    (void)frame;
    auto flag = [&](int i) { return uint8_t(line.GetParam(i) != 0 ? 1 : 0); };
    const int n = line.ParamCount();
    scripter.keyVariable = line.GetParam(0);
    scripter.acceptDirections = flag(2);
    scripter.acceptDecision = flag(3);
    scripter.acceptCancel = flag(4);
    scripter.acceptDigits = scripter.acceptArithmetic = scripter.acceptShift = 0;
    scripter.acceptDown = scripter.acceptLeft = scripter.acceptRight = scripter.acceptUp = 0;
    scripter.timeVariable = 0;
    scripter.measureTime = 0;
    if (n > 10) {
        scripter.acceptDigits = flag(5);
        scripter.acceptArithmetic = flag(6);
        scripter.timeVariable = line.GetParam(7);
        scripter.measureTime = flag(8);
        scripter.acceptDirections = 0;
        scripter.acceptShift = flag(9);
        scripter.acceptDown = flag(10);
        scripter.acceptLeft = flag(11);
        scripter.acceptRight = flag(12);
        scripter.acceptUp = flag(13);
    } else if (n == 10) {
        scripter.acceptDirections = 0;
        scripter.acceptShift = flag(5);
        scripter.acceptDown = flag(6);
        scripter.acceptLeft = flag(7);
        scripter.acceptRight = flag(8);
        scripter.acceptUp = flag(9);
    } else if (n >= 6) {
        scripter.acceptDigits = flag(5);
        scripter.acceptArithmetic = flag(6);
        scripter.timeVariable = line.GetParam(7);
        scripter.measureTime = flag(8);
    }
    if (n > 5 && scripter.acceptDown && scripter.acceptLeft && scripter.acceptRight && scripter.acceptUp) {
        scripter.acceptDown = scripter.acceptLeft = scripter.acceptRight = scripter.acceptUp = 0;
        scripter.acceptDirections = 1;
    }
    if (scripter.measureTime) scripter.timeCounter = 0;
    if (line.GetParam(1) != 0) {
        scripter.waitingForKey = 1;
        if (TMultiInput* input = GameInterpreterHooks.input) input->Pressed = input->PolledPressed = 0;
    } else {
        if (GameSystem) GameSystem->SetVariable(scripter.keyVariable, scripter.DecodeKey(false));
        if (GameInterpreterHooks.map) GameInterpreterHooks.map->RefreshAll();
    }
}

}  // namespace commands
