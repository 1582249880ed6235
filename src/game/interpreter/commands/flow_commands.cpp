// The flow of a script: the end of the list, calls, labels, loops, comments
// and the case lines of blocks.

#include <algorithm>

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"

namespace commands {

VARNOW_COMMAND(EndOfList) {
    (void)frame;
    (void)line;
    scripter.EndScript();
}

VARNOW_COMMAND(CallCommonEvent) {
    (void)frame;
    scripter.StartCommonEvent(line.GetParam(0));
}

VARNOW_COMMAND(Label) {
    (void)scripter;
    (void)frame;
    (void)line;
}

// The first label of that number from the top; none: the next line runs.
VARNOW_COMMAND(JumpToLabel) {
    (void)scripter;
    const int32_t label = line.GetParam(0);
    for (int i = 0; i < frame.script.Count(); ++i) {
        const TLcfEventScriptLine* l = frame.script.Lines(i);
        if (l->code == 12110 && l->GetParam(0) == label) {
            frame.lineIndex = i + 1;
            return;
        }
    }
}

VARNOW_COMMAND(LoopStart) {
    (void)scripter;
    (void)frame;
    (void)line;
}

// Back to the nearest loop start of the same indent before this line.
VARNOW_COMMAND(LoopEnd) {
    (void)scripter;
    for (int i = std::min(frame.lineIndex - 2, frame.script.Count() - 1); i >= 0; --i) {
        const TLcfEventScriptLine* l = frame.script.Lines(i);
        if (l->code == 12210 && l->indent == line.indent) {
            frame.lineIndex = i + 1;
            return;
        }
    }
}

// Past the first loop end that follows, whatever its indent; the end of the
// list stops the search and then runs.
VARNOW_COMMAND(BreakLoop) {
    (void)scripter;
    (void)line;
    const int count = frame.script.Count();
    for (int i = std::max(frame.lineIndex, 0); i < count; ++i) {
        const int32_t code = frame.script.Lines(i)->code;
        if (code == 22210) {
            frame.lineIndex = i + 1;
            return;
        }
        if (code == 0) {
            frame.lineIndex = i;
            return;
        }
    }
    frame.lineIndex = count;
}

VARNOW_COMMAND(EndEventProcessing) {
    (void)frame;
    (void)line;
    scripter.EndScript();
}

// Skips its continuation lines.
VARNOW_COMMAND(Comment) {
    (void)scripter;
    (void)line;
    const int count = frame.script.Count();
    int32_t i = frame.lineIndex;
    while (i >= 0 && i < count && frame.script.Lines(i)->code == 22410) ++i;
    frame.lineIndex = i;
}

#define VARNOW_CASE(name, value) \
    VARNOW_COMMAND(name) { \
        (void)scripter; \
        TLcfgBaseScripter::RunCase(frame, line, value); \
    }

VARNOW_CASE(ElseCase, 1)
VARNOW_CASE(BattleElseCase, 1)
VARNOW_CASE(VictoryCase, 0)
VARNOW_CASE(EscapeCase, 1)
VARNOW_CASE(DefeatCase, 2)
VARNOW_CASE(ShopDealCase, 0)
VARNOW_CASE(ShopNoDealCase, 1)
VARNOW_CASE(InnStayCase, 0)
VARNOW_CASE(InnNoStayCase, 1)

VARNOW_COMMAND(ChoiceCase) {
    (void)scripter;
    int32_t value = line.GetParam(0);
    // A case number outside a byte never matches.
    TLcfgBaseScripter::RunCase(frame, line, value >= 0 && value < 255 ? uint8_t(value) : 254);
}

}  // namespace commands
