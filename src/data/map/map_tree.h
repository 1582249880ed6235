#pragma once
// The map tree, "Varnow.lmt": every map of the game with the settings of
// its place in the game, the tree order, the active map id and the start
// positions. One TLcfMapTree, GameMapTree, is loaded at start-up.
//
// File, in this order: the string "LcfMapTree"; the entries in list form;
// the tree order (a var-int count N, then N var-int map ids); the active map
// id (a var-int); the start positions record. Nothing follows.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/map/map_start_position.h"
#include "data/map/map_tree_item.h"

inline constexpr const char* kMapTreeFileName = "Varnow.lmt";
inline constexpr const char* kMapTreeMagic = "LcfMapTree";

class TLcfMapTree : public TCatalogOf<TLcfMapTreeItem> {
public:
    // Strict lookups: message 65286 when the entry is missing.
    TLcfMapTreeItem* GetMap(int index) const { return GetStrict(index, 65286); }
    TLcfMapTreeItem* FindMap(int32_t id) const { return FindStrict(id, 65286); }

    // Loads the tree file of the game folder (its name matched without
    // regard to case).
    void Load();
    void LoadFromFile(const std::string& path);
    // The whole file's form: the leading string (message 65295 when it is
    // not "LcfMapTree"), the entries, then the order (each id must name an
    // entry), the active id and the start positions.
    void LoadFromBytes(std::span<const uint8_t> bytes);
    // The whole file's form, string included (tools and tests write trees).
    void SaveTree(ByteWriter& w);

    // The entries in the file's tree order.
    const std::vector<TLcfMapTreeItem*>& Order() const { return order_; }
    void AppendToOrder(TLcfMapTreeItem* item) { order_.push_back(item); }

    int32_t activeMapId = 0;
    TLcfMapStartPosition startPosition;

private:
    std::vector<TLcfMapTreeItem*> order_;
};

// The game's map tree (made at start-up), or nullptr.
extern TLcfMapTree* GameMapTree;
