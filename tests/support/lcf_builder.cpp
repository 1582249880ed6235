#include "support/lcf_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "data/record/var_int.h"

namespace lcf_builder {

Bytes VarInt(int32_t v) {
    ByteWriter w;
    WriteVarInt(w, v);
    return w.Take();
}

Bytes VarString(const std::string& s) {
    ByteWriter w;
    WriteVarString(w, s);
    return w.Take();
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::string ToString(const Bytes& b) { return std::string(b.begin(), b.end()); }
Bytes FromString(const std::string& s) { return Bytes(s.begin(), s.end()); }

Chunks& Chunks::Int(int32_t id, int32_t value) {
    ByteWriter w;
    WriteVarInt(w, id);
    WriteVarInt(w, value, true);
    body_.insert(body_.end(), w.Bytes().begin(), w.Bytes().end());
    return *this;
}

Chunks& Chunks::Str(int32_t id, const std::string& s) { return Data(id, FromString(s)); }

Chunks& Chunks::Data(int32_t id, const Bytes& data) {
    return RawLength(id, static_cast<int32_t>(data.size()), data);
}

Chunks& Chunks::RawLength(int32_t id, int32_t statedLength, const Bytes& data) {
    ByteWriter w;
    WriteVarInt(w, id);
    WriteVarInt(w, statedLength);
    w.WriteBytes(data);
    body_.insert(body_.end(), w.Bytes().begin(), w.Bytes().end());
    return *this;
}

Chunks& Chunks::U16Block(int32_t id, std::initializer_list<uint16_t> values) {
    ByteWriter w;
    for (uint16_t v : values) w.WriteU16LE(v);
    return Data(id, w.Bytes());
}

Bytes Chunks::End() const {
    Bytes out = body_;
    out.push_back(0);
    return out;
}

Bytes List(const std::vector<std::pair<int32_t, Bytes>>& items) {
    ByteWriter w;
    WriteVarInt(w, static_cast<int32_t>(items.size()));
    for (const auto& [id, record] : items) {
        WriteVarInt(w, id);
        w.WriteBytes(record);
    }
    return w.Take();
}

Bytes DatabaseFile(const std::vector<std::pair<int32_t, Bytes>>& sections) {
    ByteWriter w;
    WriteVarString(w, "LcfDataBase");
    for (const auto& [id, data] : sections) {
        WriteVarInt(w, id);
        WriteVarInt(w, static_cast<int32_t>(data.size()));
        w.WriteBytes(data);
    }
    return w.Take();
}

Script& Script::Line(int32_t code, int32_t indent, const std::string& text, std::initializer_list<int32_t> params) {
    ByteWriter w;
    WriteVarInt(w, code);
    WriteVarInt(w, indent);
    WriteVarString(w, text);
    WriteVarInt(w, static_cast<int32_t>(params.size()));
    for (int32_t p : params) WriteVarInt(w, p);
    bytes_.insert(bytes_.end(), w.Bytes().begin(), w.Bytes().end());
    return *this;
}

TLcfEventScriptList Script::List() const {
    TLcfEventScriptList list;
    list.Load(bytes_);
    return list;
}

Bytes SaveDatabase(TLcfDataBase& db, std::initializer_list<int32_t> skip) {
    std::vector<TLcfDataBase::Table> tables = db.Tables();
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.section < b.section; });
    std::vector<std::pair<int32_t, Bytes>> sections;
    for (const auto& t : tables) {
        if (std::find(skip.begin(), skip.end(), t.section) != skip.end()) continue;
        sections.emplace_back(t.section, t.list ? SaveList(*t.list) : SaveRecord(*t.record));
    }
    return DatabaseFile(sections);
}

void LoadDatabase(TLcfDataBase& db, const Bytes& bytes) {
    db.Reset();
    ByteReader r(bytes.data(), bytes.size());
    db.LoadFromStream(r);
}

Bytes SaveRecord(TCatalogBaseItem& record) {
    ByteWriter w;
    record.SaveToStream(w);
    return w.Take();
}

Bytes SaveList(TCatalog& list) {
    ByteWriter w;
    list.SaveToStream(w);
    return w.Take();
}

void LoadRecord(TCatalogBaseItem& record, const Bytes& bytes) {
    ByteReader r(bytes.data(), bytes.size());
    record.LoadFromStream(r);
    EXPECT_TRUE(r.AtEnd()) << "record left " << r.Remaining() << " bytes unread";
}

void LoadList(TCatalog& list, const Bytes& bytes) {
    ByteReader r(bytes.data(), bytes.size());
    list.LoadFromStream(r);
    EXPECT_TRUE(r.AtEnd()) << "list left " << r.Remaining() << " bytes unread";
}

}  // namespace lcf_builder
