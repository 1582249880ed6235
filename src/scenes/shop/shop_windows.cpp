#include "scenes/shop/shop_windows.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/vocabulary.h"
#include "game/party/party_info.h"
#include "media/input/multi_input.h"
#include "scenes/system_sounds.h"

namespace {

const TLcfItemItem* Item(int32_t id) { return DbItem && id > 0 ? DbItem->Find(id) : nullptr; }

std::string ItemName(int32_t id) {
    const TLcfItemItem* item = Item(id);
    return item ? item->name : std::string();
}

int32_t Owned(int32_t id) { return GamePartyInfo ? GamePartyInfo->ItemCount(id) : 0; }
int32_t Gold() { return GamePartyInfo ? GamePartyInfo->gold : 0; }

std::string Format(const char* format, int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<long long>(value));
    return text;
}

}  // namespace

int32_t ShopBuyPrice(int32_t itemId) {
    const TLcfItemItem* item = Item(itemId);
    return item ? std::max<int32_t>(item->price, 0) : 0;
}

int32_t ShopSellPrice(int32_t itemId) {
    const TLcfItemItem* item = Item(itemId);
    return item && item->price > 0 ? item->price : 0;
}

// --- Buy list -----------------------------------------------------------------

void TLcfShopBuyItemWindow::SetupGoods(const std::vector<int32_t>* goods) {
    goods_ = goods;
    columns = 1;
    Setup(0, 32, 184, 128, false);
    itemCount_ = std::max<int>(1, goods_ ? int(goods_->size()) : 0);
    Refresh();
}

int32_t TLcfShopBuyItemWindow::ItemAt(int index) const {
    if (!goods_ || index < 0 || index >= int(goods_->size())) return 0;
    return (*goods_)[size_t(index)];
}

int32_t TLcfShopBuyItemWindow::SelectedItem() const { return Item(ItemAt(cursor_)) ? ItemAt(cursor_) : 0; }

bool TLcfShopBuyItemWindow::CanBuySelected() const {
    const int32_t id = SelectedItem();
    return id != 0 && Gold() >= ShopBuyPrice(id) && Owned(id) <= kShopMostOwned;
}

void TLcfShopBuyItemWindow::DrawItem(int32_t x, int32_t y, int index) {
    const int32_t id = ItemAt(index);
    const TLcfItemItem* item = Item(id);
    if (!item) return;
    const int32_t price = ShopBuyPrice(id);
    const int32_t colour = Gold() < price || Owned(id) > kShopMostOwned ? 3 : 0;
    DrawText(x, y, item->name, colour);
    DrawText(x + 132, y, Format("%6lld", price), colour);
}

// --- Sell list ----------------------------------------------------------------

void TLcfShopSellItemWindow::SetupInventory() {
    columns = 2;
    Setup(0, 32, 320, 128, false);
    RefreshInventory();
}

void TLcfShopSellItemWindow::RefreshInventory() {
    itemCount_ = GamePartyInfo ? GamePartyInfo->ItemEntryCount() : 0;
    // An empty inventory keeps the cursor on entry 0: nothing is selected
    // there, and a decision on it buzzes.
    if (cursor_ >= itemCount_) cursor_ = std::max(0, itemCount_ - 1);
    if (cursor_ < 0) cursor_ = 0;
    if (topRow_ * columns > cursor_) topRow_ = cursor_ / columns;
    Refresh();
    DrawCursorCell(cursor_, true);
}

int32_t TLcfShopSellItemWindow::SelectedItem() const {
    if (!GamePartyInfo || cursor_ < 0 || cursor_ >= GamePartyInfo->ItemEntryCount()) return 0;
    return GamePartyInfo->ItemIdAt(cursor_);
}

void TLcfShopSellItemWindow::DrawItem(int32_t x, int32_t y, int index) {
    if (!GamePartyInfo || index >= GamePartyInfo->ItemEntryCount()) return;
    const int32_t id = GamePartyInfo->ItemIdAt(index);
    const int32_t colour = ShopSellPrice(id) > 0 ? 0 : 3;
    DrawText(x, y, ItemName(id), colour);
    DrawText(x + 120, y, Format("x %2lld", GamePartyInfo->ItemCountAt(index)), colour);
}

// --- Quantity -----------------------------------------------------------------

void TLcfShopItemNumberWindow::SetupBlank() {
    columns = 1;
    Setup(0, 32, 184, 128, false);
    shown_ = false;
    itemId_ = 0;
}

void TLcfShopItemNumberWindow::Begin(int32_t itemId, int32_t maximum, int32_t unitPrice) {
    itemId_ = itemId;
    maximum_ = maximum;
    unitPrice_ = unitPrice;
    count_ = 1;
    shown_ = true;
    leftMargin = 158;
    topMargin = 40;
    itemWidth = 12;
    itemCount_ = 1;
    customInput = true;
    cursor_ = 0;
    Refresh();
    SetActive(true);
}

void TLcfShopItemNumberWindow::Clear() {
    shown_ = false;
    SetCursorVisible(false);
    Refresh();
}

int32_t TLcfShopItemNumberWindow::Total() const {
    const int64_t total = int64_t(unitPrice_) * count_;
    return int32_t(std::clamp<int64_t>(total, 0, std::numeric_limits<int32_t>::max()));
}

void TLcfShopItemNumberWindow::Refresh() {
    TLcfWindow::Refresh();
    if (!shown_ || !IsVisible()) return;
    const std::string currency = DbVocabulary ? DbVocabulary->Get(TLcfVocabulary::kCurrency) : std::string();
    const int32_t l = int32_t(currency.size());
    DrawText(8, 40, ItemName(itemId_), 0);
    DrawText(140, 40, "x ", 0);
    DrawText(158, 40, Format("%2lld", count_), 0);
    DrawText(128 - 6 * l, 72, Format("%8lld", Total()), 0);
    DrawText(176 - 6 * l, 72, currency, 1);
    DrawCursorCell(0, true);
}

void TLcfShopItemNumberWindow::Update() {
    TLcfWindow::Update();
    if (!shown_ || !active_ || !IsOpen() || !GameInput) return;
    const TMultiInput& in = *GameInput;
    int64_t count = count_;
    if (in.IsRepeated(TMultiInput::kRight)) count += 1;
    if (in.IsRepeated(TMultiInput::kLeft)) count -= 1;
    if (in.IsRepeated(TMultiInput::kUp)) count += 10;
    if (in.IsRepeated(TMultiInput::kDown)) count -= 10;
    // The maximum first, then at least 1: a maximum of 0 still shows 1.
    count = std::max<int64_t>(std::min<int64_t>(count, maximum_), 1);
    if (count == count_) return;
    count_ = int32_t(count);
    PlaySystemSound(kSystemSoundCursor);
    Refresh();
}
