#include "data/database/move_route.h"

#include "data/record/var_int.h"

std::vector<TLcfMoveRouteItem> ParseMoveCommands(std::span<const uint8_t> bytes) {
    std::vector<TLcfMoveRouteItem> commands;
    ByteReader r(bytes);
    while (!r.AtEnd()) {
        TLcfMoveRouteItem c;
        c.code = ReadVarInt(r);
        switch (c.code) {
        case kMoveSwitchOn:
        case kMoveSwitchOff:
            c.switchId = ReadVarInt(r);
            break;
        case kMoveChangeGraphic:
            c.graphicName = ReadVarString(r);
            c.graphicIndex = ReadVarInt(r);
            break;
        case kMovePlaySound:
            c.soundName = ReadVarString(r);
            c.soundVolume = ReadVarInt(r);
            c.soundTempo = ReadVarInt(r);
            c.soundBalance = ReadVarInt(r);
            break;
        }
        commands.push_back(std::move(c));
    }
    return commands;
}

void PackMoveCommands(ByteWriter& w, const std::vector<TLcfMoveRouteItem>& commands) {
    for (const auto& c : commands) {
        WriteVarInt(w, c.code);
        switch (c.code) {
        case kMoveSwitchOn:
        case kMoveSwitchOff:
            WriteVarInt(w, c.switchId);
            break;
        case kMoveChangeGraphic:
            WriteVarString(w, c.graphicName);
            WriteVarInt(w, c.graphicIndex);
            break;
        case kMovePlaySound:
            WriteVarString(w, c.soundName);
            WriteVarInt(w, c.soundVolume);
            WriteVarInt(w, c.soundTempo);
            WriteVarInt(w, c.soundBalance);
            break;
        }
    }
}

void TLcfMoveRoute::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 11: d.SetInteger(&packedLength_, 0); break;
    case 12: d.SetBlock(&packed_); break;
    case 21: d.SetBoolean(&repeat, 1); break;
    case 22: d.SetBoolean(&skippable, 0); break;
    }
}

void TLcfMoveRoute::Clear() {
    TCatalogBaseItem::Clear();
    packed_.clear();
    commands_.clear();
}

void TLcfMoveRoute::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    // The block's own length counts, never the length chunk beside it.
    Parse();
}

void TLcfMoveRoute::SaveToStream(ByteWriter& w) {
    Pack();
    WriteFields(w);
}

const TLcfMoveRouteItem* TLcfMoveRoute::Commands(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &commands_[static_cast<size_t>(index)];
}

void TLcfMoveRoute::SetData(std::span<const uint8_t> bytes) {
    commands_.clear();
    packed_.assign(bytes.begin(), bytes.end());
    packedLength_ = static_cast<int32_t>(packed_.size());
    Parse();
}

bool TLcfMoveRoute::SameCommands(const TLcfMoveRoute& other) const {
    if (commands_.size() != other.commands_.size()) return false;
    for (size_t i = 0; i < commands_.size(); ++i)
        if (commands_[i].code != other.commands_[i].code) return false;
    return true;
}

void TLcfMoveRoute::Parse() { commands_ = ParseMoveCommands(packed_); }

void TLcfMoveRoute::Pack() {
    ByteWriter w;
    PackMoveCommands(w, commands_);
    packed_ = w.Take();
    packedLength_ = static_cast<int32_t>(packed_.size());
}
