#pragma once
// The small record at the front of every save file: when it was saved and
// who leads the party, so the title and the save/load slots can be listed
// without loading the game. Saved as chunk 100.

#include <array>
#include <cstdint>
#include <string>

#include "data/record/catalog_base_item.h"

class TLcfgSaveHeader : public TCatalogBaseItem {
public:
    static constexpr int kMembers = 4;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    // Face of party member i (0-3); any other i gives "" and 0.
    std::string FaceName(int i) const;
    int32_t FaceIndex(int i) const;
    void SetFace(int i, const std::string& name, int32_t index);

    // Local date and time of saving, in days since 30 December 1899 (0: none).
    double saveTime = 0;
    std::string leaderName;
    int32_t leaderLevel = 0;
    int32_t leaderHp = 0;

private:
    std::array<std::string, kMembers> faceNames_;
    std::array<int32_t, kMembers> faceIndices_{};
};

// The header of the running game (owned by GameSaveData).
extern TLcfgSaveHeader* GameSaveHeader;
