#include "game/db_view/record_view.h"

#include "data/byte_writer.h"

std::vector<uint8_t> RecordBytes(TCatalogBaseItem& source) {
    ByteWriter w;
    source.SaveToStream(w);
    return w.Take();
}
