// Loads arbitrary bytes as a save file, whole and header only. A damaged
// save must end in a read error and a reset game, never a crash or a huge
// allocation; what loads must save again.
#include <cstdint>
#include <span>

#include "data/errors.h"
#include "game/save/save_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TLcfgSaveData* saveData = new TLcfgSaveData();
    std::span<const uint8_t> bytes(data, size);
    try {
        saveData->LoadFromBytes(bytes, true);
    } catch (const Exception&) {
    }
    try {
        saveData->LoadFromBytes(bytes, false);
        saveData->SaveToBytes();
    } catch (const Exception&) {
        saveData->Reset();
    }
    return 0;
}
