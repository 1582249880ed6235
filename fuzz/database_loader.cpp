// Fuzzes the database loader: any bytes must load or raise a read error,
// and whatever loads must write, read back and write again unchanged.
#include <cstdint>
#include <cstdlib>

#include "data/database/database.h"
#include "scene_input.h"

namespace {

void Load(const TLcfDataBase::Table& t, const std::vector<uint8_t>& bytes) {
    ByteReader r(bytes.data(), bytes.size());
    if (t.list)
        t.list->LoadFromStream(r);
    else
        t.record->LoadFromStream(r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TLcfDataBase* db = new TLcfDataBase;
    db->Reset();
    ByteReader r(data, size);
    try {
        db->LoadFromStream(r);
    } catch (const Exception&) {
        return 0;
    }
    for (const auto& t : db->Tables()) {
        std::vector<uint8_t> first = scene_input::TableBytes(t);
        Load(t, first);
        // The system writer raised its save counter once more; undo that.
        if (t.record == DbSystem) DbSystem->saveCounter = int32_t(uint32_t(DbSystem->saveCounter) - 1u);
        if (scene_input::TableBytes(t) != first) abort();
    }
    return 0;
}
