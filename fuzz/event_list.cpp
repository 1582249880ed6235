// Fuzzes the map events' list form (events, pages, start conditions, move
// routes, scripts): any bytes load or raise a read error, and what loads
// writes, reads back and writes again unchanged.
#include <cstdint>
#include <cstdlib>

#include "data/database/event.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TLcfEvent events;
    ByteReader r(data, size);
    try {
        events.LoadFromStream(r);
    } catch (const Exception&) {
        return 0;
    }
    ByteWriter first;
    events.SaveToStream(first);
    TLcfEvent back;
    ByteReader again(first.Data());
    back.LoadFromStream(again);
    ByteWriter second;
    back.SaveToStream(second);
    if (first.Bytes() != second.Bytes()) abort();
    return 0;
}
