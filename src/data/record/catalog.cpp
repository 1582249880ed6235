#include "data/record/catalog.h"

#include <algorithm>
#include <unordered_map>

#include "data/record/var_int.h"

TCatalogItem* TCatalog::Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

TCatalogItem* TCatalog::Find(int32_t id) const {
    if (items_.empty() || items_.back()->Id() < id) return nullptr;
    if (id >= 1 && id <= Count() && items_[static_cast<size_t>(id - 1)]->Id() == id)
        return items_[static_cast<size_t>(id - 1)].get();
    for (const auto& item : items_)
        if (item->Id() == id) return item.get();
    return nullptr;
}

TCatalogItem* TCatalog::GetOrCreate(int32_t id) {
    if (!items_.empty() && items_.back()->Id() >= id) {
        // Items are in ascending order: the first item with an id not below
        // `id` is the one (the same answer a search from the front gives, in
        // logarithmic time, so hostile descending ids cannot stall a load).
        auto at = std::lower_bound(items_.begin(), items_.end(), id,
                                   [](const std::unique_ptr<TCatalogItem>& item, int32_t v) { return item->Id() < v; });
        if ((*at)->Id() == id) return at->get();
        return items_.insert(at, CreateItem(id))->get();
    }
    items_.push_back(CreateItem(id));
    return items_.back().get();
}

TCatalogItem* TCatalog::Add() {
    int32_t id = items_.empty() ? 1 : items_.back()->Id() + 1;
    items_.push_back(CreateItem(id));
    return items_.back().get();
}

void TCatalog::Delete(int32_t id) {
    auto at = std::find_if(items_.begin(), items_.end(), [id](const auto& item) { return item->Id() == id; });
    if (at == items_.end()) return;
    at = items_.erase(at);
    for (; at != items_.end(); ++at) (*at)->SetId((*at)->Id() - 1);
}

void TCatalog::Remove(int32_t id) {
    auto at = std::find_if(items_.begin(), items_.end(), [id](const auto& item) { return item->Id() == id; });
    if (at != items_.end()) items_.erase(at);
}

void TCatalog::RemoveIdsBelow(int32_t id) {
    auto end = std::lower_bound(items_.begin(), items_.end(), id,
                                [](const std::unique_ptr<TCatalogItem>& item, int32_t v) { return item->Id() < v; });
    items_.erase(items_.begin(), end);
}

void TCatalog::SetCount(int n) {
    Clear();
    for (int id = 1; id <= n; ++id) GetOrCreate(id);
}

void TCatalog::Assign(TCatalog& source) {
    Clear();
    for (int i = 0; i < source.Count(); ++i) {
        TCatalogItem* from = source.Items(i);
        GetOrCreate(from->Id())->Assign(*from);
    }
}

void TCatalog::LoadItemFromStream(int index, ByteReader& r) {
    if (TCatalogItem* item = Items(index)) item->LoadFromStream(r);
}

void TCatalog::SaveItemToStream(int index, ByteWriter& w) {
    if (TCatalogItem* item = Items(index)) item->SaveToStream(w);
}

void TCatalog::LoadFromStream(ByteReader& r) {
    Clear();
    try {
        // A negative count reads no items, as a loop to a negative bound
        // would; every item takes at least two bytes, so a count larger than
        // the data fails at its end.
        int32_t count = ReadVarInt(r);
        // Each new id is appended and the list sorted once at the end:
        // inserting in place moves every later item, which on a long list
        // in descending order takes minutes. A repeated id loads into the
        // item it made.
        std::unordered_map<int32_t, TCatalogItem*> byId;
        for (int32_t i = 0; i < count; ++i) {
            int32_t id = ReadVarInt(r);
            auto [at, made] = byId.try_emplace(id, nullptr);
            if (made) {
                items_.push_back(CreateItem(id));
                at->second = items_.back().get();
            }
            at->second->LoadFromStream(r);
        }
        auto byAscendingId = [](const std::unique_ptr<TCatalogItem>& a, const std::unique_ptr<TCatalogItem>& b) {
            return a->Id() < b->Id();
        };
        if (!std::is_sorted(items_.begin(), items_.end(), byAscendingId))
            std::sort(items_.begin(), items_.end(), byAscendingId);
    } catch (const Exception&) {
        Clear();
        throw;
    }
}

void TCatalog::SaveToStream(ByteWriter& w) {
    WriteVarInt(w, Count());
    for (const auto& item : items_) {
        WriteVarInt(w, item->Id());
        item->SaveToStream(w);
    }
}
