#pragma once
// The dispatch table: every command code of the event scripts routed to its
// handler. A routed code whose family is not built yet has no handler: the
// interpreter passes over it, and `UnhandledCommandCodes` lists it.

#include <cstdint>
#include <vector>

#include "data/database/event_script.h"

class TLcfgBaseScripter;
class TLcfgScriptData;

// Receives the frame with its line index already past the line; may move it.
using TLcfgCommandHandler = void (*)(TLcfgBaseScripter& scripter, TLcfgScriptData& frame,
                                     const TLcfEventScriptLine& line);

// Which lines the executor holds back while the message window is up.
enum class TLcfgCommandGate : uint8_t {
    None,
    // While visible, unless closing with its open state (a new message takes the box over).
    Message,
    // While visible at all (opening, open or closing).
    Window,
};

struct TLcfgCommandEntry {
    const char* name = nullptr;  // null: not a command (continuation and end lines)
    TLcfgCommandHandler handler = nullptr;
    TLcfgCommandGate gate = TLcfgCommandGate::None;
};

// The entry of a code; codes outside the table answer an empty entry.
const TLcfgCommandEntry& CommandEntry(int32_t code);
// Fills in a family's handler (later families register theirs here too).
void SetCommandHandler(int32_t code, TLcfgCommandHandler handler);
// Routed codes that still have no handler, ascending.
std::vector<int32_t> UnhandledCommandCodes();
// All routed codes, ascending.
std::vector<int32_t> RoutedCommandCodes();
