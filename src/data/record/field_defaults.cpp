#include "data/record/field_defaults.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/record/catalog_base_item.h"

namespace {

// The largest integer marks an integer described without a default: it is
// always written and keeps what it holds.
constexpr int32_t kNoDefault = 2147483647;

bool HasOwnDefault(const TCatalogVarData& d) {
    switch (d.kind) {
    case TFieldKind::Integer: return d.defaultInteger != kNoDefault;
    case TFieldKind::Byte:
    case TFieldKind::Double: return true;
    case TFieldKind::String: return d.omitEmpty;
    default: return false;
    }
}

size_t FieldBytes(const TCatalogVarData& d) {
    switch (d.kind) {
    case TFieldKind::Integer: return d.width == TIntegerWidth::UInt16 ? 2 : 4;
    case TFieldKind::Byte: return 1;
    case TFieldKind::Double: return 8;
    default: return sizeof(std::string);
    }
}

template <class V>
struct Placed {
    ptrdiff_t offset;  // from the start of the object
    V value;
};

struct ClassFields {
    // The chunk ids of the fields with a default of their own.
    std::vector<int> ids;
    // True when every such field lies inside the object, so the places
    // below hold for every object of the class; otherwise each field is
    // described again when cleared.
    bool atOffsets = false;
    // Whether the class's size was noted; if not, how many sizes had been,
    // so that a size noted later is taken up.
    bool sizeKnown = false;
    unsigned sizesNoted = 0;
    std::vector<Placed<int32_t>> integers;
    std::vector<Placed<uint16_t>> shorts;
    std::vector<Placed<uint8_t>> bytes;
    std::vector<Placed<double>> doubles;
    std::vector<ptrdiff_t> strings;
};

void StoreDefault(const TCatalogVarData& d) {
    switch (d.kind) {
    case TFieldKind::Integer:
        if (d.width == TIntegerWidth::UInt16)
            *static_cast<uint16_t*>(d.data) = static_cast<uint16_t>(d.defaultInteger);
        else
            *static_cast<int32_t*>(d.data) = d.defaultInteger;
        break;
    case TFieldKind::Byte: *static_cast<uint8_t*>(d.data) = d.defaultByte; break;
    case TFieldKind::Double: std::memcpy(d.data, &d.defaultDouble, 8); break;
    default: static_cast<std::string*>(d.data)->clear(); break;
    }
}

void Place(ClassFields& fields, const TCatalogVarData& d, ptrdiff_t offset) {
    switch (d.kind) {
    case TFieldKind::Integer:
        if (d.width == TIntegerWidth::UInt16)
            fields.shorts.push_back({offset, static_cast<uint16_t>(d.defaultInteger)});
        else
            fields.integers.push_back({offset, d.defaultInteger});
        break;
    case TFieldKind::Byte: fields.bytes.push_back({offset, d.defaultByte}); break;
    case TFieldKind::Double: fields.doubles.push_back({offset, d.defaultDouble}); break;
    default: fields.strings.push_back(offset); break;
    }
}

std::mutex sizesLock;
std::atomic<unsigned> noteCount{0};
std::unordered_map<const std::type_info*, size_t>& Sizes() {
    static std::unordered_map<const std::type_info*, size_t> sizes;
    return sizes;
}

size_t NotedSize(const std::type_info* type) {
    std::lock_guard<std::mutex> hold(sizesLock);
    auto at = Sizes().find(type);
    return at == Sizes().end() ? 0 : at->second;
}

ClassFields Discover(TCatalogBaseItem& record, const std::type_info* type) {
    ClassFields found;
    found.sizesNoted = noteCount.load();
    const size_t size = NotedSize(type);
    found.sizeKnown = size > 0;
    const char* start = static_cast<const char*>(dynamic_cast<const void*>(&record));
    found.atOffsets = size > 0;
    TCatalogVarData d;
    for (int id = 1; id <= TCatalogBaseItem::kMaxFieldId; ++id) {
        d.Reset();
        record.DescribeField(id, d, false);
        if (!HasOwnDefault(d)) continue;
        found.ids.push_back(id);
        const char* at = static_cast<const char*>(d.data);
        if (size > 0 && at >= start && at + FieldBytes(d) <= start + size)
            Place(found, d, at - start);
        else
            found.atOffsets = false;
    }
    return found;
}

// The fields of `record`'s class, found the first time the class is
// cleared on a thread (and again once its size is noted). The last class
// asked is remembered, as lists clear one class in a row.
const ClassFields& FieldsOf(TCatalogBaseItem& record) {
    thread_local std::unordered_map<const std::type_info*, ClassFields> byClass;
    thread_local const std::type_info* lastClass = nullptr;
    thread_local ClassFields* lastFields = nullptr;
    const std::type_info* type = &typeid(record);
    ClassFields* fields = lastFields;
    if (type != lastClass) {
        auto at = byClass.find(type);
        if (at == byClass.end()) at = byClass.emplace(type, Discover(record, type)).first;
        lastClass = type;
        lastFields = fields = &at->second;
    }
    if (!fields->sizeKnown && fields->sizesNoted != noteCount.load(std::memory_order_relaxed))
        *fields = Discover(record, type);
    return *fields;
}

}  // namespace

void NoteRecordSize(const std::type_info& type, size_t size) {
    std::lock_guard<std::mutex> hold(sizesLock);
    if (Sizes().emplace(&type, size).second) ++noteCount;
}

void SetDescribedDefaults(TCatalogBaseItem& record) {
    const ClassFields& fields = FieldsOf(record);
    if (fields.atOffsets) {
        char* start = static_cast<char*>(dynamic_cast<void*>(&record));
        for (const auto& f : fields.integers) std::memcpy(start + f.offset, &f.value, sizeof f.value);
        for (const auto& f : fields.shorts) std::memcpy(start + f.offset, &f.value, sizeof f.value);
        for (const auto& f : fields.bytes) start[f.offset] = static_cast<char>(f.value);
        for (const auto& f : fields.doubles) std::memcpy(start + f.offset, &f.value, sizeof f.value);
        for (ptrdiff_t offset : fields.strings) reinterpret_cast<std::string*>(start + offset)->clear();
        return;
    }
    TCatalogVarData d;
    for (int id : fields.ids) {
        d.Reset();
        record.DescribeField(id, d, false);
        if (HasOwnDefault(d)) StoreDefault(d);
    }
}
