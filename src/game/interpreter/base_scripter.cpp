#include "game/interpreter/base_scripter.h"

#include "data/database/database.h"
#include "data/errors.h"
#include "game/interpreter/command_table.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"

TLcfgInterpreterHooks GameInterpreterHooks;

TLcfgBaseScripter::TLcfgBaseScripter() : alive_(std::make_shared<TLcfgBaseScripter*>(this)) {}

TLcfgBaseScripter::~TLcfgBaseScripter() = default;

void TLcfgBaseScripter::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetList(&frames); break;
    case 4: d.SetBoolean(&waitingForMessage, 0); break;
    case 11: d.SetBoolean(&battleResultCheck, 0); break;
    case 13: d.SetBoolean(&waitingForMovement, 0); break;
    case 21: d.SetBoolean(&waitingForKey, 0); break;
    case 22: d.SetBoolean(&keyVariableLow_, 0); break;
    case 23: d.SetBoolean(&acceptDirections, 0); break;
    case 24: d.SetBoolean(&acceptDecision, 0); break;
    case 25: d.SetBoolean(&acceptCancel, 0); break;
    case 26: d.SetBoolean(&acceptDigits, 0); break;
    case 27: d.SetBoolean(&acceptArithmetic, 0); break;
    case 28: d.SetBoolean(&acceptShift, 0); break;
    case kKeyVariableFullChunk: d.SetInteger(&keyVariableFull_, 0); break;
    case 31: d.SetInteger(&waitCounter, 0); break;
    case 32: d.SetInteger(&timeVariable, 0); break;
    case 35: d.SetBoolean(&acceptDown, 0); break;
    case 36: d.SetBoolean(&acceptLeft, 0); break;
    case 37: d.SetBoolean(&acceptRight, 0); break;
    case 38: d.SetBoolean(&acceptUp, 0); break;
    case 41: d.SetBoolean(&measureTime, 0); break;
    case 42: d.SetBoolean(&waitingForAnyKey, 0); break;
    }
}

void TLcfgBaseScripter::Clear() {
    TCatalogBaseItem::Clear();
    frames.Clear();
    battleResult.Reset();
    keyVariable = 0;
    timeCounter = 0;
}

void TLcfgBaseScripter::LoadFromStream(ByteReader& r) {
    Clear();
    ReadFields(r);
    // The full id wins over the low byte that older writers kept alone.
    keyVariable = keyVariableFull_ != 0 ? keyVariableFull_ : keyVariableLow_;
    if (waitCounter < 0) waitCounter = 0;
    // A stack deeper than calls can make comes from a damaged save: the
    // script is dropped rather than run.
    if (frames.Count() > kMaxDepth + 1) frames.Clear();
    frames.Renumber();
}

void TLcfgBaseScripter::SaveToStream(ByteWriter& w) {
    keyVariableLow_ = uint8_t(keyVariable & 0xFF);
    keyVariableFull_ = keyVariable;
    WriteFields(w);
}

void TLcfgBaseScripter::ClearWaits() {
    waitingForMessage = 0;
    waitingForMovement = 0;
    waitingForKey = 0;
    waitingForAnyKey = 0;
    measureTime = 0;
    timeCounter = 0;
    waitCounter = 0;
}

void TLcfgBaseScripter::EndScript() {
    if (frames.Count() == 1) {
        int32_t eventId = frames.CurrentFrame()->eventId;
        if (eventId != 0) {
            if (auto* map = Hooks().map; map && map->EventExists(eventId)) map->EndEventRun(eventId);
            if (GameSystem) GameSystem->ClearFace();
        }
    }
    frames.Pop();
    ClearWaits();
}

void TLcfgBaseScripter::Start(int32_t eventId, const TLcfEventScriptList& script, bool startedByKey) {
    Clear();
    TLcfgScriptData* frame = frames.Push();
    frame->script.Assign(script);
    frame->eventId = eventId;
    frame->startedByKey = startedByKey ? 1 : 0;
}

void TLcfgBaseScripter::CheckDepth() const {
    if (frames.Count() > kMaxDepth) throw Exception::FromId(65294);
}

TLcfgScriptData& TLcfgBaseScripter::CallScript(const TLcfEventScriptList& script, int32_t eventId,
                                                bool startedByKey) {
    CheckDepth();
    TLcfgScriptData* frame = frames.Push();
    frame->script.Assign(script);
    frame->eventId = eventId;
    frame->startedByKey = startedByKey ? 1 : 0;
    return *frame;
}

void TLcfgBaseScripter::StartCommonEvent(int32_t id) {
    CheckDepth();
    if (!DbCommonEvent) throw Exception::FromId(65280);
    CallScript(DbCommonEvent->FindCommonEvent(id)->script, 0);
}

bool TLcfgBaseScripter::MessageWindowVisible() const {
    auto* window = Hooks().messageWindow;
    return window && window->IsVisible();
}

bool TLcfgBaseScripter::ExecuteCommand() {
    TLcfgInterpreterHooks& hooks = Hooks();
    // 1. A battle started with "escape ends the event" that was escaped.
    if (battleResultCheck) {
        battleResultCheck = 0;
        auto kind = battleResult.Read();
        battleResult.Reset();
        if (kind && *kind == 1) {
            EndScript();
            return false;
        }
    }
    // 2. The inn's payment once its question has been answered.
    if (hooks.messageWindow && hooks.messageWindow->InnPending()) {
        if (hooks.messageWindow->IsVisible()) return false;
        hooks.messageWindow->ClearInnPending();
        if (hooks.messageWindow->InnAnswer() == 0) {
            if (hooks.party) hooks.party->LoseGold(hooks.messageWindow->InnPrice());
            if (hooks.field) hooks.field->InnRest();
        }
    }
    // 3. Waiting for every forced route of the map's events.
    if (waitingForMovement) {
        if (hooks.map && hooks.map->AnyForcedRoutePending()) return false;
        waitingForMovement = 0;
    }
    // 4. The key-input command's wait.
    if (waitingForKey) {
        if (MessageWindowVisible()) return false;
        int32_t key = DecodeKey(true);
        if (GameSystem) GameSystem->SetVariable(keyVariable, key);
        if (hooks.map) hooks.map->RefreshAll();
        // The decoded key ends the wait even when the variable id cannot
        // hold it (0, or beyond the cap), so such a script does not hang.
        if (key == 0) return false;
        waitingForKey = 0;
        if (measureTime && GameSystem) GameSystem->SetVariable(timeVariable, timeCounter / 6);
    }
    // 5. The wait command's "any key".
    if (waitingForAnyKey) {
        if (MessageWindowVisible()) return false;
        bool decision = hooks.input && hooks.input->IsPressed(TMultiInput::kDecision);
        if (!decision && DecodeKey(true) == 0) return false;
        waitingForAnyKey = 0;
    }
    // 6. The frame and its line. A line index outside the list (an empty
    // script, a script without its end line, a bad index in a save) runs
    // as the end of the list.
    TLcfgScriptData* frame = frames.CurrentFrame();
    if (!frame) return false;
    static const TLcfEventScriptLine kEndLine;
    const TLcfEventScriptLine* line = frame->CurrentLine();
    if (!line) {
        line = &kEndLine;
        frame->lineIndex = frame->script.Count();
    }
    const TLcfgCommandEntry& entry = CommandEntry(line->code);
    // 7. Lines held back while the message window is up.
    if (entry.gate != TLcfgCommandGate::None && hooks.messageWindow && hooks.messageWindow->IsVisible()) {
        if (entry.gate == TLcfgCommandGate::Window) return false;
        if (!(hooks.messageWindow->IsClosing() && hooks.messageWindow->HoldsOpenState())) return false;
    }
    // 8. Past the line, then its handler.
    ++frame->lineIndex;
    if (entry.handler) entry.handler(*this, *frame, *line);
    return true;
}

void TLcfgBaseScripter::SkipToIndent(TLcfgScriptData& frame, const TLcfEventScriptLine& line) {
    const int count = frame.script.Count();
    int32_t index = frame.lineIndex;
    if (index < 0) index = count;
    while (index < count && frame.script.Lines(index)->indent != line.indent) ++index;
    frame.lineIndex = index;
}

void TLcfgBaseScripter::RunCase(TLcfgScriptData& frame, const TLcfEventScriptLine& line, uint8_t value) {
    if (line.indent >= 0 && line.indent <= TLcfgScriptData::kMaxIndent && frame.GetBranch(line.indent) == value) {
        frame.SetBranch(line.indent, TLcfgScriptData::kNoBranch);
        return;
    }
    SkipToIndent(frame, line);
}

int32_t TLcfgBaseScripter::DecodeKey(bool edge) const {
    const TMultiInput* input = Hooks().input;
    if (!input) return 0;
    const TMultiInput::ButtonSet set = edge ? input->Pressed : input->Held;
    auto down = [set](int button) { return (set & TMultiInput::Bit(button)) != 0; };
    if (acceptUp && down(TMultiInput::kUp)) return 4;
    if (acceptRight && down(TMultiInput::kRight)) return 3;
    if (acceptLeft && down(TMultiInput::kLeft)) return 2;
    if (acceptDown && down(TMultiInput::kDown)) return 1;
    if (acceptShift && down(TMultiInput::kShift)) return 7;
    if (acceptArithmetic)
        for (int b = TMultiInput::kDecimalPoint; b >= TMultiInput::kPlus; --b)
            if (down(b)) return b;  // codes 20-24 are the buttons' numbers
    if (acceptDigits)
        for (int b = TMultiInput::kDigit0 + 9; b >= TMultiInput::kDigit0; --b)
            if (down(b)) return b;  // codes 10-19 likewise
    if (acceptCancel && down(TMultiInput::kCancel)) return 6;
    if (acceptDecision && down(TMultiInput::kDecision)) return 5;
    if (acceptDirections) {
        if (edge) {
            if (down(TMultiInput::kUp)) return 4;
            if (down(TMultiInput::kRight)) return 3;
            if (down(TMultiInput::kLeft)) return 2;
            if (down(TMultiInput::kDown)) return 1;
        } else if (input->Direction != 0) {
            return input->Direction / 2;
        }
    }
    return 0;
}

TLcfgCharacter* TLcfgBaseScripter::ResolveCharacter(const TLcfgScriptData& frame, int32_t reference) const {
    IMapWorldHooks* map = Hooks().map;
    if (!map) return nullptr;
    switch (reference) {
    case 10001: return map->PartyCharacter();
    case 10002: return map->VehicleCharacter(1);
    case 10003: return map->VehicleCharacter(2);
    case 10004: return map->VehicleCharacter(3);
    case 10005: reference = frame.eventId; break;
    }
    TLcfgCharacter* character = map->EventCharacter(reference);
    if (!character) throw Exception::FromId(65281);
    return character;
}

TLcfgScriptData* TLcfgBaseScripter::FindFrame(uint64_t serial) const {
    for (int i = frames.Count() - 1; i >= 0; --i)
        if (frames.Items(i)->Serial() == serial) return frames.Items(i);
    return nullptr;
}

// --- Result targets ---------------------------------------------------------------

TLcfgBranchTarget::TLcfgBranchTarget(TLcfgBaseScripter& scripter, const TLcfgScriptData& frame, int32_t indent)
    : scripter_(scripter.AliveToken()), serial_(frame.Serial()), indent_(indent) {}

TLcfgScriptData* TLcfgBranchTarget::Frame() const {
    if (serial_ == 0) return nullptr;
    auto alive = scripter_.lock();
    if (!alive) return nullptr;
    return (*alive)->FindFrame(serial_);
}

bool TLcfgBranchTarget::Write(uint8_t value) const {
    TLcfgScriptData* frame = Frame();
    if (!frame || indent_ < 0 || indent_ > TLcfgScriptData::kMaxIndent) return false;
    frame->SetBranch(indent_, value);
    return true;
}

std::optional<uint8_t> TLcfgBranchTarget::Read() const {
    TLcfgScriptData* frame = Frame();
    if (!frame) return std::nullopt;
    return frame->GetBranch(indent_);
}
