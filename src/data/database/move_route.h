#pragma once
// Move routes: a character's list of movement commands, stored as a record
// with the route's flags and a packed block of commands.
//
// Packed command: var-int code; codes 32/33 then the switch id; code 34 the
// graphic name and index; code 35 the sound name, volume, tempo and balance;
// other codes nothing. No count, no terminator: the block's end ends it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/record/catalog_base_item.h"

enum : int32_t {
    kMoveSwitchOn = 32,
    kMoveSwitchOff = 33,
    kMoveChangeGraphic = 34,
    kMovePlaySound = 35,
};

struct TLcfMoveRouteItem {
    int32_t code = 0;
    int32_t switchId = 0;
    std::string graphicName;
    int32_t graphicIndex = 0;
    std::string soundName;
    int32_t soundVolume = 0;
    int32_t soundTempo = 0;
    int32_t soundBalance = 0;
};

class TLcfMoveRoute : public TCatalogBaseItem {
public:
    TLcfMoveRoute() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;

    int Count() const { return static_cast<int>(commands_.size()); }
    // The command at a list index, or nullptr outside.
    const TLcfMoveRouteItem* Commands(int index) const;
    void Add(const TLcfMoveRouteItem& command) { commands_.push_back(command); }
    // Drops all commands, takes the bytes as the packed block and parses it.
    void SetData(std::span<const uint8_t> bytes);
    // Same number of commands with the same code at every position.
    bool SameCommands(const TLcfMoveRoute& other) const;

    uint8_t repeat = 1;
    uint8_t skippable = 0;

private:
    void Parse();
    void Pack();

    int32_t packedLength_ = 0;
    std::vector<uint8_t> packed_;
    std::vector<TLcfMoveRouteItem> commands_;
};

// Shared with scripts that carry routes in their parameters.
std::vector<TLcfMoveRouteItem> ParseMoveCommands(std::span<const uint8_t> bytes);
void PackMoveCommands(ByteWriter& w, const std::vector<TLcfMoveRouteItem>& commands);
