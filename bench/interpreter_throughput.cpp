// Commands per second of the event interpreter on a long script of cheap
// commands (comments, labels, loop starts and allow-save switches), run by a
// parallel process in frames of 10000 commands.
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

void BM_InterpreterCommands(benchmark::State& state) {
    TSilentSystemAudio audio;
    TSilentSystemScreen screen;
    TLcfgSystem system(&audio, &screen);
    GameSystem = &system;
    const TLcfEventScriptList script = CheapScript(100000);
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
BENCHMARK(BM_InterpreterCommands);

}  // namespace
