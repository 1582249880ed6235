#include "data/record/catalog_base_item.h"

#include <algorithm>
#include <cstring>

#include "data/record/catalog.h"
#include "data/record/field_defaults.h"
#include "data/record/var_int.h"

namespace {

void StoreInteger(const TCatalogVarData& d, int32_t value) {
    if (d.width == TIntegerWidth::UInt16)
        *static_cast<uint16_t*>(d.data) = static_cast<uint16_t>(value);
    else
        *static_cast<int32_t*>(d.data) = value;
}

int32_t LoadInteger(const TCatalogVarData& d) {
    if (d.width == TIntegerWidth::UInt16) return *static_cast<const uint16_t*>(d.data);
    return *static_cast<const int32_t*>(d.data);
}

}  // namespace

void TCatalogBaseItem::Assign(TCatalogBaseItem& source) {
    Clear();
    ByteWriter scratch;
    source.SaveToStream(scratch);
    ByteReader r(scratch.Data());
    LoadFromStream(r);
}

void TCatalogBaseItem::LoadFromStream(ByteReader& r) {
    Clear();
    ReadFields(r);
}

void TCatalogBaseItem::SaveToStream(ByteWriter& w) { WriteFields(w); }

void TCatalogBaseItem::ReadFields(ByteReader& r) {
    TCatalogVarData d;
    for (;;) {
        int32_t id = ReadVarInt(r);
        if (id == 0) return;
        // A negative length is damage; one that reaches past the enclosing
        // data is cut at its end.
        size_t length = ReadVarLength(r);
        size_t cut = std::min(length, r.Remaining());
        size_t start = r.Position();
        d.Reset();
        DescribeField(id, d, true);
        switch (d.kind) {
        case TFieldKind::Integer:
            // The length is the value's byte count; it is not compared with
            // what the value takes.
            StoreInteger(d, ReadVarInt(r));
            break;
        case TFieldKind::FixedBlock:
        case TFieldKind::Byte:
        case TFieldKind::Double:
            if (length == static_cast<size_t>(d.size)) r.ReadBytes(d.data, length);
            break;
        case TFieldKind::VarBlock: {
            auto bytes = r.Take(cut);
            static_cast<std::vector<uint8_t>*>(d.data)->assign(bytes.begin(), bytes.end());
            break;
        }
        case TFieldKind::String:
            *static_cast<std::string*>(d.data) = r.ReadString(cut);
            break;
        case TFieldKind::List: {
            ByteReader chunk = r.Sub(cut);
            LoadNestedList(*static_cast<TCatalog*>(d.data), chunk);
            break;
        }
        case TFieldKind::Record: {
            ByteReader chunk = r.Sub(cut);
            LoadNestedRecord(*static_cast<TCatalogBaseItem*>(d.data), chunk);
            break;
        }
        case TFieldKind::None:
            break;
        }
        r.Seek(start + cut);
    }
}

void TCatalogBaseItem::WriteFields(ByteWriter& w) {
    TCatalogVarData d;
    ByteWriter scratch;
    for (int id = 1; id <= kMaxFieldId; ++id) {
        d.Reset();
        DescribeField(id, d, false);
        switch (d.kind) {
        case TFieldKind::None:
            break;
        case TFieldKind::Integer: {
            int32_t v = LoadInteger(d);
            if (v == d.defaultInteger) break;
            WriteVarInt(w, id);
            WriteVarInt(w, v, true);
            break;
        }
        case TFieldKind::Byte:
            if (*static_cast<const uint8_t*>(d.data) == d.defaultByte) break;
            WriteVarInt(w, id);
            WriteVarInt(w, 1);
            w.WriteU8(*static_cast<const uint8_t*>(d.data));
            break;
        case TFieldKind::Double: {
            double v;
            std::memcpy(&v, d.data, 8);
            if (v == d.defaultDouble) break;
            WriteVarInt(w, id);
            WriteVarInt(w, 8);
            w.WriteBytes(d.data, 8);
            break;
        }
        case TFieldKind::FixedBlock:
            WriteVarInt(w, id);
            WriteVarInt(w, d.size);
            w.WriteBytes(d.data, static_cast<size_t>(d.size));
            break;
        case TFieldKind::VarBlock: {
            // Never more than the block holds, whatever size was declared.
            const auto& block = *static_cast<const std::vector<uint8_t>*>(d.data);
            size_t n = std::min(block.size(), static_cast<size_t>(std::max(d.size, 0)));
            WriteVarInt(w, id);
            WriteVarInt(w, static_cast<int32_t>(n));
            w.WriteBytes(block.data(), n);
            break;
        }
        case TFieldKind::String: {
            const auto& s = *static_cast<const std::string*>(d.data);
            if (d.omitEmpty && s.empty()) break;
            WriteVarInt(w, id);
            WriteVarString(w, s);
            break;
        }
        case TFieldKind::List:
        case TFieldKind::Record:
            scratch.Clear();
            if (d.kind == TFieldKind::List)
                static_cast<TCatalog*>(d.data)->SaveToStream(scratch);
            else
                static_cast<TCatalogBaseItem*>(d.data)->SaveToStream(scratch);
            WriteVarInt(w, id);
            WriteVarInt(w, static_cast<int32_t>(scratch.Size()));
            w.WriteBytes(scratch.Data());
            break;
        }
    }
    WriteVarInt(w, 0);
}

void TCatalogBaseItem::SetOmittedFieldsToDefaults() { SetDescribedDefaults(*this); }

void LoadNestedList(TCatalog& list, ByteReader& chunk) {
    if (chunk.AtEnd())
        list.Clear();
    else
        list.LoadFromStream(chunk);
}

void LoadNestedRecord(TCatalogBaseItem& record, ByteReader& chunk) {
    if (chunk.AtEnd())
        record.Clear();
    else
        record.LoadFromStream(chunk);
}

void SkipRecord(ByteReader& r) {
    for (;;) {
        int32_t id = ReadVarInt(r);
        if (id == 0) return;
        size_t length = ReadVarLength(r);
        r.Skip(std::min(length, r.Remaining()));
    }
}
