#pragma once
// Lists of records with integer ids.
//
// Items stay in ascending id order and are owned by the list. Stream form:
// var-int count, then per item its var-int id and its record.

#include <cstdint>
#include <memory>
#include <typeinfo>
#include <vector>

#include "data/errors.h"
#include "data/record/catalog_base_item.h"
#include "data/record/field_defaults.h"

class TCatalog {
public:
    virtual ~TCatalog() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    // The item at a list index from 0, or nullptr outside the list.
    TCatalogItem* Items(int index) const;
    // The item with that id, or nullptr. Dense ids hit index id - 1 at once.
    TCatalogItem* Find(int32_t id) const;
    // The item with that id, made and inserted in order when missing.
    TCatalogItem* GetOrCreate(int32_t id);
    // Appends an item with the last id + 1 (1 for an empty list).
    TCatalogItem* Add();
    // Removes the first item with that id and renumbers the ones after it
    // down by one, so ids stay dense.
    void Delete(int32_t id);
    // Removes the first item with that id; the other ids stay as they are.
    void Remove(int32_t id);
    // Removes every item with a smaller id, in one go.
    void RemoveIdsBelow(int32_t id);
    void Clear() { items_.clear(); }
    // Clear, then items 1..n.
    void SetCount(int n);
    // Clear, then each source item copied into the item of the same id.
    virtual void Assign(TCatalog& source);

    virtual void LoadItemFromStream(int index, ByteReader& r);
    virtual void SaveItemToStream(int index, ByteWriter& w);
    // Clear, then the list form. On failure the list is left empty.
    virtual void LoadFromStream(ByteReader& r);
    virtual void SaveToStream(ByteWriter& w);

protected:
    virtual std::unique_ptr<TCatalogItem> CreateItem(int32_t id) const = 0;

private:
    std::vector<std::unique_ptr<TCatalogItem>> items_;
};

// A list of one item class, with typed access and the strict lookups that
// raise the table's message when the entry is missing.
template <class T>
class TCatalogOf : public TCatalog {
public:
    T* Items(int index) const { return static_cast<T*>(TCatalog::Items(index)); }
    T* Find(int32_t id) const { return static_cast<T*>(TCatalog::Find(id)); }
    T* GetOrCreate(int32_t id) { return static_cast<T*>(TCatalog::GetOrCreate(id)); }
    T* Add() { return static_cast<T*>(TCatalog::Add()); }

    T* GetStrict(int index, int messageId) const {
        T* item = Items(index);
        if (!item) throw Exception::FromId(messageId);
        return item;
    }
    T* FindStrict(int32_t id, int messageId) const {
        T* item = Find(id);
        if (!item) throw Exception::FromId(messageId);
        return item;
    }

protected:
    std::unique_ptr<TCatalogItem> CreateItem(int32_t id) const override {
        // Once, before the first item's constructor clears it.
        static const bool noted = (NoteRecordSize(typeid(T), sizeof(T)), true);
        (void)noted;
        return std::make_unique<T>(id);
    }
};
