// Commands per second of the event interpreter, run by a parallel process in
// frames of 10000 commands: a long script of cheap commands (comments,
// labels, loop starts and allow-save switches), and one of variable
// operations (constants, variable operands, random ranges, products,
// division and remainder, a switch toggle, a conditional branch).
#include <benchmark/benchmark.h>

#include <memory>

#include "data/database/event_script.h"
#include "game/interpreter/regular_scripter.h"
#include "game/system/game_system.h"
#include "game/system/system_hooks.h"

namespace {

TLcfEventScriptList CheapScript(int lines) {
    TLcfEventScriptList script;
    for (int i = 0; i < lines; ++i) {
        switch (i % 4) {
        case 0: script.Add(TLcfEventScriptLine(12410, 0, "a comment")); break;
        case 1: script.Add(TLcfEventScriptLine(12110, 0, "", {i})); break;
        case 2: script.Add(TLcfEventScriptLine(12210, 0)); break;
        case 3: script.Add(TLcfEventScriptLine(11930, 0, "", {1})); break;
        }
    }
    script.Add(TLcfEventScriptLine(0, 0));
    return script;
}

TLcfEventScriptList VariableScript(int lines) {
    TLcfEventScriptList script;
    for (int i = 0; i < lines; ++i) {
        const int32_t v = 1 + i % 50;
        switch (i % 8) {
        case 0: script.Add(TLcfEventScriptLine(10220, 0, "", {0, v, 0, 0, 0, i, 0})); break;
        case 1: script.Add(TLcfEventScriptLine(10220, 0, "", {0, v, 0, 1, 1, v + 1, 0})); break;
        case 2: script.Add(TLcfEventScriptLine(10220, 0, "", {0, v, 0, 3, 0, 3, 0})); break;
        case 3: script.Add(TLcfEventScriptLine(10220, 0, "", {0, v, 0, 4, 1, v + 2, 0})); break;
        case 4: script.Add(TLcfEventScriptLine(10220, 0, "", {0, v, 0, 5, 0, 1000, 0})); break;
        case 5: script.Add(TLcfEventScriptLine(10220, 0, "", {0, v, 0, 1, 3, -50, 50})); break;
        case 6: script.Add(TLcfEventScriptLine(10210, 0, "", {0, v, 0, 2})); break;
        case 7: script.Add(TLcfEventScriptLine(12010, 0, "", {1, v, 0, 0, 1})); break;
        }
    }
    script.Add(TLcfEventScriptLine(0, 0));
    return script;
}

void RunScript(benchmark::State& state, const TLcfEventScriptList& script) {
    TSilentSystemAudio audio;
    TSilentSystemScreen screen;
    TLcfgSystem system(&audio, &screen);
    GameSystem = &system;
    TLcfgRegularScripter scripter;
    scripter.Start(0, script);
    int64_t commands = 0;
    for (auto _ : state) {
        int32_t before = scripter.CurrentFrame()->lineIndex;
        scripter.Update();
        int32_t after = scripter.CurrentFrame()->lineIndex;
        commands += after > before ? after - before : after + (script.Count() - before);
    }
    GameSystem = nullptr;
    state.counters["commands/s"] = benchmark::Counter(double(commands), benchmark::Counter::kIsRate);
}

void BM_InterpreterCommands(benchmark::State& state) { RunScript(state, CheapScript(100000)); }
BENCHMARK(BM_InterpreterCommands);

void BM_InterpreterVariableCommands(benchmark::State& state) { RunScript(state, VariableScript(100000)); }
BENCHMARK(BM_InterpreterVariableCommands);

}  // namespace
