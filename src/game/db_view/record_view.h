#pragma once
// Run-time views of database records. The game logic reads heroes, classes,
// items and skills through these small records: the database entry is
// written with its own writer and read back here through the generic reader,
// so a view sees exactly the stored fields (with the format's defaults for
// the ones left out) whatever class the table keeps its entries in.
//
// Views are cached per database record and rebuilt when the record's stream
// form changes, so a reloaded or edited database is always seen as it is.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "data/record/catalog_base_item.h"

// The stream form of a record.
std::vector<uint8_t> RecordBytes(TCatalogBaseItem& source);

template <class View>
class TLcfgViewCache {
public:
    // The view of `source`; `make` builds an empty view.
    template <class Make>
    const View& Get(TCatalogBaseItem& source, Make make) {
        std::vector<uint8_t> bytes = RecordBytes(source);
        Entry& e = entries_[&source];
        if (!e.view || e.bytes != bytes) {
            // Reloaded in place: a reference taken earlier stays valid.
            if (!e.view) e.view = make();
            ByteReader r(bytes);
            e.view->LoadFromStream(r);
            e.bytes = std::move(bytes);
        }
        return *e.view;
    }

private:
    struct Entry {
        std::vector<uint8_t> bytes;
        std::unique_ptr<View> view;
    };
    std::map<const void*, Entry> entries_;
};
