// The flow of a script: the end of the list, conditional branches, calls,
// labels, loops, erasing the running event, comments and the case lines of
// blocks.

#include <algorithm>

#include "data/errors.h"
#include "game/actors/player.h"
#include "game/character/character.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace commands {

namespace {

int32_t Variable(int32_t id) { return GameSystem ? GameSystem->GetVariable(id) : 0; }

// p2 0: value >= bound; 1: value <= bound; anything else is false.
bool AtLeastOrAtMost(int32_t value, int32_t mode, int32_t bound) {
    if (mode == 0) return value >= bound;
    if (mode == 1) return value <= bound;
    return false;
}

int32_t TimerSeconds(int which) {
    if (!GamePartyInfo) return 0;
    return which == 0 ? GamePartyInfo->Timer1Seconds() : GamePartyInfo->Timer2Seconds();
}

// The actor is looked up before the test, so a missing one raises even for
// the in-party test.
bool ActorCondition(const TLcfEventScriptLine& line) {
    const int32_t id = line.GetParam(1);
    if (!GamePlayers) throw Exception::FromId(65289);
    const TLcfgPlayerItem& actor = *GamePlayers->Get(id);
    const int32_t p3 = line.GetParam(3);
    switch (line.GetParam(2)) {
    case 0: return GamePartyInfo && GamePartyInfo->IsMember(id);
    case 1: return actor.GetName() == line.text;
    case 2: return actor.Level() >= p3;
    case 3: return actor.hp >= p3;
    case 4: return actor.KnowsSkill(p3);
    // An empty slot holds no item, so item 0 is never "equipped".
    case 5: return p3 != 0 && actor.IsEquipped(p3);
    case 6: return actor.HasCondition(p3);
    }
    return false;
}

bool Condition(TLcfgBaseScripter& scripter, const TLcfgScriptData& frame, const TLcfEventScriptLine& line) {
    const int32_t p1 = line.GetParam(1), p2 = line.GetParam(2);
    switch (line.GetParam(0)) {
    case 0: {
        if (p2 != 0 && p2 != 1) return false;
        const bool on = GameSystem && GameSystem->GetSwitch(p1);
        return p2 == 0 ? on : !on;
    }
    case 1: {
        const int32_t p3 = line.GetParam(3);
        const int32_t other = p2 == 0 ? p3 : p2 == 1 ? Variable(p3) : 0;
        return Compare(Variable(p1), line.GetParam(4), other);
    }
    case 2: return AtLeastOrAtMost(TimerSeconds(0), p2, p1);
    case 3: return AtLeastOrAtMost(GamePartyInfo ? GamePartyInfo->gold : 0, p2, p1);
    case 4: {
        const bool has = GamePartyInfo && GamePartyInfo->HasItem(p1);
        return p2 == 0 ? has : p2 == 1 ? !has : false;
    }
    case 5: return ActorCondition(line);
    case 6: {
        if (p2 < 0 || p2 > 3) return false;
        const TLcfgCharacter* c = scripter.ResolveCharacter(frame, p1);
        return c && c->facing == p2;
    }
    case 7: {
        IMapWorldHooks* map = GameInterpreterHooks.map;
        return map && p1 >= 0 && p1 <= 2 && map->VehicleAboard() == p1 + 1;
    }
    case 8: return frame.startedByKey != 0;
    case 9: return GameSystem && GameSystem->MusicLooped();
    case 10: return AtLeastOrAtMost(TimerSeconds(1), p2, p1);
    }
    return false;
}

}  // namespace

bool Compare(int32_t v, int32_t op, int32_t c) {
    switch (op) {
    case 0: return v == c;
    case 1: return v >= c;
    case 2: return v <= c;
    case 3: return v > c;
    case 4: return v < c;
    case 5: return v != c;
    }
    return false;
}

VARNOW_COMMAND(EndOfList) {
    (void)frame;
    (void)line;
    scripter.EndScript();
}

VARNOW_COMMAND(CallCommonEvent) {
    (void)frame;
    scripter.StartCommonEvent(line.GetParam(0));
}

void EnterBranch(TLcfgScriptData& frame, const TLcfEventScriptLine& line, bool result) {
    frame.EnsureBranchBytes(std::min(line.indent, TLcfgScriptData::kMaxIndent) + 1);
    frame.SetBranch(line.indent, result ? 0 : 1);
    if (frame.GetBranch(line.indent) != 0) {
        TLcfgBaseScripter::SkipToIndent(frame, line);
        return;
    }
    frame.SetBranch(line.indent, TLcfgScriptData::kNoBranch);
}

VARNOW_COMMAND(ConditionalBranch) { EnterBranch(frame, line, Condition(scripter, frame, line)); }

VARNOW_COMMAND(Label) {
    (void)scripter;
    (void)frame;
    (void)line;
}

// The first label of that number from the top; none: the next line runs.
VARNOW_COMMAND(JumpToLabel) {
    (void)scripter;
    const int at = frame.script.FirstLine(12110, line.GetParam(0));
    if (at >= 0) frame.lineIndex = at + 1;
}

VARNOW_COMMAND(LoopStart) {
    (void)scripter;
    (void)frame;
    (void)line;
}

// Back to the nearest loop start of the same indent before this line.
VARNOW_COMMAND(LoopEnd) {
    (void)scripter;
    (void)line;
    // The line runs at the index before the (already advanced) line index.
    const int at = frame.script.PreviousLineOfIndent(frame.lineIndex - 1, 12210);
    if (at >= 0) frame.lineIndex = at + 1;
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

// The running map event is erased; its script goes on.
VARNOW_COMMAND(EraseEvent) {
    (void)scripter;
    (void)line;
    if (frame.eventId == 0) return;
    if (IMapWorldHooks* map = GameInterpreterHooks.map) map->EraseEvent(frame.eventId);
}

// p0 0: common event p1 (frame event id 0); 1: page p2 of map event p1
// (10005 the current frame's event); 2: the event and page held in
// variables p1 and p2. A map event's frame carries that event's id.
VARNOW_COMMAND(CallEvent) {
    int32_t id = 0, page = 0;
    switch (line.GetParam(0)) {
    case 0: scripter.StartCommonEvent(line.GetParam(1)); return;
    case 1:
        id = line.GetParam(1);
        if (id == 10005) id = frame.eventId;
        page = line.GetParam(2);
        break;
    case 2:
        id = Variable(line.GetParam(1));
        page = Variable(line.GetParam(2));
        break;
    default: return;
    }
    IMapWorldHooks* map = GameInterpreterHooks.map;
    if (!map || !map->EventExists(id)) throw Exception::FromId(65281);
    const TLcfEventScriptList* script = map->EventPageScript(id, page);
    if (!script) throw Exception::FromId(65282);
    scripter.CallScript(*script, id);
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
