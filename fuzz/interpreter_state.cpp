// Loads a saved system state, map interpreter and common-event states from
// arbitrary bytes and runs the interpreters for a few frames. Saves are
// untrusted: line indexes, indents, branch-byte counts, switch and variable
// counts and packed scripts may hold anything, and nothing may crash, hang
// or allocate without bound.
//
// Input: two 16-bit little-endian lengths A and B, then A bytes of system
// state, B bytes of map interpreter, the rest common-event states.
#include <cstdint>
#include <span>
#include <string>

#include "data/errors.h"
#include "game/common_events/common_event_state.h"
#include "game/interpreter/scripter.h"
#include "game/system/game_system.h"
#include "game/system/system_hooks.h"

namespace {

template <class F>
void Guarded(F&& f) {
    try {
        f();
    } catch (const Exception&) {
        // A clear error is a good answer to a bad save.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    size_t a = data[0] | (size_t(data[1]) << 8);
    size_t b = data[2] | (size_t(data[3]) << 8);
    std::span<const uint8_t> rest(data + 4, size - 4);
    a = std::min(a, rest.size());
    b = std::min(b, rest.size() - a);

    TSilentSystemAudio audio;
    TSilentSystemScreen screen;
    TLcfgSystem system(&audio, &screen);
    GameSystem = &system;
    TLcfgScripter scripter;
    TLcfgCommonEvent common;

    Guarded([&] {
        ByteReader r(rest.subspan(0, a));
        system.LoadFromStream(r);
    });
    Guarded([&] {
        ByteReader r(rest.subspan(a, b));
        scripter.LoadFromStream(r);
    });
    Guarded([&] {
        ByteReader r(rest.subspan(a + b));
        common.LoadFromStream(r);
    });
    for (int frame = 0; frame < 4; ++frame) {
        Guarded([&] { scripter.Update(); });
        for (int i = 0; i < common.Count(); ++i) Guarded([&] { common.Items(i)->Scripter().Update(); });
    }
    Guarded([&] {
        ByteWriter w;
        system.SaveToStream(w);
        scripter.SaveToStream(w);
        common.SaveToStream(w);
    });
    GameSystem = nullptr;
    return 0;
}
