#pragma once
// A record stored as a file of its own: the string "LcfMapUnit", then the
// record's chunks. Map files are "Map%.4d.lmu" in the game folder (the map
// id with at least four digits), found without regard to case.

#include <cstdint>
#include <span>
#include <string>

#include "data/record/catalog_base_item.h"

inline constexpr const char* kMapFileMagic = "LcfMapUnit";

// "Map0007.lmu" for 7, "Map12345.lmu" for 12345.
std::string MapFileName(int32_t id);

class TLcfBaseMapUnit : public TCatalogItem {
public:
    using TCatalogItem::TCatalogItem;

    // LoadFromFile of the map's file in the game folder, then the unit's id.
    void LoadById(int32_t id);
    // LoadFromBytes of the whole file. A missing file raises EFOpenError.
    void LoadFromFile(const std::string& path);
    // Clear, then the leading string (message 65295 when it is not
    // "LcfMapUnit") and the record.
    virtual void LoadFromBytes(std::span<const uint8_t> bytes);
    // Writes the string and the record (atomically: a temporary file renamed
    // over the old one). The running game never saves a map.
    virtual void SaveToFile(const std::string& path);
    // Sets the unit's id. Temporary copies of maps are never made, so there
    // is nothing to delete: removing files of predictable names in a shared
    // temporary folder could follow links planted there by other users.
    void DeleteTempCopy(int32_t id);
};
