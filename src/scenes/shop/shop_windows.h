#pragma once
// The shop's lists: the goods for sale with their prices, the party's
// inventory for selling, and the quantity picker. Each only draws and
// answers what is selected; the shop scene decides what a key does.

#include <cstdint>
#include <vector>

#include "scenes/windows/window.h"

// Prices as the shop deals in them: a negative buy price is free, and
// anything priced 0 or less cannot be sold.
int32_t ShopBuyPrice(int32_t itemId);
int32_t ShopSellPrice(int32_t itemId);
// Owning more than this many of an item refuses buying it.
constexpr int32_t kShopMostOwned = 98;

// The goods, one a row: name and price, greyed when the gold does not
// cover the price or the party already holds 99. A shop without goods
// shows one empty entry.
class TLcfShopBuyItemWindow : public TLcfWindow {
public:
    void SetupGoods(const std::vector<int32_t>* goods);
    // The item id at the cursor, 0 for the empty entry.
    int32_t SelectedItem() const;
    // Whether the selected item can be bought now (gold and room).
    bool CanBuySelected() const;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    int32_t ItemAt(int index) const;
    const std::vector<int32_t>* goods_ = nullptr;
};

// The inventory in two columns: name and count, greyed when unsellable.
class TLcfShopSellItemWindow : public TLcfWindow {
public:
    void SetupInventory();
    // The entry count changed (a sale emptied one): the cursor stays in
    // the list, at entry 0 when it is empty.
    void RefreshInventory();
    // The item id at the cursor, 0 when the inventory is empty.
    int32_t SelectedItem() const;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;
};

// How many to buy or sell: right and left step by 1, up and down by 10,
// kept within 1..the maximum.
class TLcfShopItemNumberWindow : public TLcfWindow {
public:
    void SetupBlank();
    // Starts at 1 for item `itemId`, `maximum` at most, at `unitPrice` each.
    void Begin(int32_t itemId, int32_t maximum, int32_t unitPrice);
    // Empties the window (after a deal).
    void Clear();
    void Update() override;
    int32_t Count() const { return count_; }
    int32_t Maximum() const { return maximum_; }
    // unitPrice x count, clamped into 32 bits.
    int32_t Total() const;
    void Refresh() override;

private:
    int32_t itemId_ = 0;
    int32_t count_ = 1;
    int32_t maximum_ = 1;
    int32_t unitPrice_ = 0;
    bool shown_ = false;
};
