#pragma once
// The input form of the scene fuzz targets, shared with the seed writer
// (tools/make_fuzz_corpus): a small header, then edits of a database, then
// one key byte per frame.
//
// An edit sets one value of one record through the record's own field
// descriptions, so the fuzzer explores values rather than the file's
// framing: any integer, flag, string or block byte of any table, of one of
// its records' lists (troop members, monster actions, battle event pages,
// learnt skills...) or of a record in such an item (a battle event page's
// trigger), or appends a command to a troop's battle event page.
// A byte of an empty block (a flag set) grows the block to hold it first.
// The edited database is then saved and loaded back through the game file's
// reader, so it holds only what a game file could.
//
//   0, 1   frames to run, little-endian (1 + value % the target's maximum)
//   2-5    the target's own set-up bytes
//   6, 7   the number of edits, little-endian (as many as the input holds)
//   then   the edits, kEditSize bytes each (Edit below)
//   then   the keys, one byte per frame, repeating: bits 0-2 the direction
//          (0 none, 1 down, 2 left, 3 right, 4 up), bit 3 decision, bit 4
//          cancel, bit 5 shift

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "data/byte_reader.h"
#include "data/byte_writer.h"
#include "data/database/database.h"
#include "data/database/event_script.h"
#include "data/database/mon_group.h"
#include "data/record/catalog.h"
#include "data/record/catalog_base_item.h"
#include "data/record/catalog_var_data.h"
#include "data/record/var_int.h"
#include "game/interpreter/command_table.h"

namespace scene_input {

constexpr size_t kHeader = 8;
constexpr size_t kEditSize = 10;
// Records 1-32 of a table, items 1-32 of a record's list (the demo has
// thirty items).
constexpr int32_t kMaxRecord = 32;
// The table byte that appends a command line to a troop's page.
constexpr uint8_t kScriptLine = 0xFF;

struct Edit {
    uint8_t table = 0;     // index into the tables in section order, or kScriptLine
    uint8_t record = 0;    // record id - 1 (mod kMaxRecord)
    uint8_t field = 0;     // the record's field id
    uint8_t item = 0;      // for a list field: item id - 1 (mod kMaxRecord)
    uint8_t itemField = 0; // for a list or record field: the item's field id
    uint8_t extra = 0;     // for a record in a list's item: its field id;
                           // for a script line: indent and text
    int32_t value = 0;
};

inline Edit ReadEdit(const uint8_t* p) {
    Edit e{p[0], p[1], p[2], p[3], p[4], p[5], 0};
    e.value = int32_t(uint32_t(p[6]) | uint32_t(p[7]) << 8 | uint32_t(p[8]) << 16 | uint32_t(p[9]) << 24);
    return e;
}

inline void AppendEdit(std::vector<uint8_t>& out, const Edit& e) {
    const uint32_t v = uint32_t(e.value);
    for (uint8_t b : {e.table, e.record, e.field, e.item, e.itemField, e.extra, uint8_t(v), uint8_t(v >> 8),
                      uint8_t(v >> 16), uint8_t(v >> 24)})
        out.push_back(b);
}

// The number of edits the header names, as many as the input holds.
inline size_t EditCount(std::span<const uint8_t> data) {
    const size_t count = size_t(data[6]) | size_t(data[7]) << 8;
    return std::min(count, (data.size() - kHeader) / kEditSize);
}

inline std::vector<TLcfDataBase::Table> SortedTables(TLcfDataBase& db) {
    std::vector<TLcfDataBase::Table> tables = db.Tables();
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.section < b.section; });
    return tables;
}

// Sets the described field from an edit's value; false for kinds no edit
// reaches.
inline bool SetField(const TCatalogVarData& d, int32_t value) {
    switch (d.kind) {
        case TFieldKind::Integer:
            if (d.width == TIntegerWidth::UInt16)
                *static_cast<uint16_t*>(d.data) = uint16_t(value);
            else
                *static_cast<int32_t*>(d.data) = value;
            return true;
        case TFieldKind::Byte: *static_cast<uint8_t*>(d.data) = uint8_t(value); return true;
        case TFieldKind::String: {
            static const char* const kTexts[4] = {"", "A", "Zembra Zembra Zembra", "\x82\xa0"};
            *static_cast<std::string*>(d.data) = kTexts[uint32_t(value) % 4];
            return true;
        }
        case TFieldKind::FixedBlock:
            if (d.size <= 0) return false;
            static_cast<uint8_t*>(d.data)[(uint32_t(value) >> 8) % uint32_t(d.size)] = uint8_t(value);
            return true;
        case TFieldKind::VarBlock: {
            // An empty block (a flag set no record filled) first grows to
            // hold the byte the edit names, up to kMaxRecord bytes.
            auto& block = *static_cast<std::vector<uint8_t>*>(d.data);
            if (block.empty()) block.resize(((uint32_t(value) >> 8) % uint32_t(kMaxRecord)) + 1);
            block[(uint32_t(value) >> 8) % block.size()] = uint8_t(value);
            return true;
        }
        default: return false;
    }
}

// The command codes a script line edit picks from.
inline const std::vector<int32_t>& Codes() {
    static const std::vector<int32_t> codes = RoutedCommandCodes();
    return codes;
}

// Applies the edits; script lines gather in `pages` (troop, page) until
// FinishScripts writes them.
struct Editor {
    explicit Editor(TLcfDataBase& database) : db(database), tables(SortedTables(database)) {}

    void Apply(const Edit& e) {
        if (e.table == kScriptLine) {
            AddLine(e);
            return;
        }
        if (tables.empty()) return;
        const TLcfDataBase::Table& t = tables[e.table % tables.size()];
        TCatalogBaseItem* record = t.record;
        if (t.list) record = t.list->GetOrCreate(1 + e.record % kMaxRecord);
        TCatalogVarData d;
        record->DescribeField(e.field, d, true);
        TCatalogBaseItem* inner = nullptr;
        if (d.kind == TFieldKind::List)
            inner = static_cast<TCatalog*>(d.data)->GetOrCreate(1 + e.item % kMaxRecord);
        else if (d.kind == TFieldKind::Record)
            inner = static_cast<TCatalogBaseItem*>(d.data);
        if (inner) {
            d.Reset();
            inner->DescribeField(e.itemField, d, true);
            // A record inside a list's item (a battle event page's trigger):
            // `extra` names its field.
            if (d.kind == TFieldKind::Record) {
                TCatalogBaseItem* nested = static_cast<TCatalogBaseItem*>(d.data);
                d.Reset();
                nested->DescribeField(e.extra, d, true);
            }
        }
        SetField(d, e.value);
    }

    void AddLine(const Edit& e) {
        if (!DbMonGroup || Codes().empty()) return;
        TLcfMonGroupItem* troop = DbMonGroup->GetOrCreate(1 + e.record % kMaxRecord);
        TLcfBattleEventPageItem* page = troop->pages.GetOrCreate(1 + e.item % 4);
        const int32_t code = Codes()[(uint32_t(e.field) | uint32_t(e.itemField) << 8) % Codes().size()];
        const int32_t small = e.value & 0xff;
        std::vector<int32_t> params = {small % 8, e.value >> 8 & 0xff, e.value, e.extra, e.itemField % 16, small};
        lines.push_back({page, TLcfEventScriptLine(code, e.extra % 3, e.extra & 0x80 ? "A" : "", params)});
    }

    // Every page given lines ends with an end line.
    void FinishScripts() {
        std::vector<TLcfBattleEventPageItem*> done;
        for (auto& [page, line] : lines) {
            if (std::find(done.begin(), done.end(), page) == done.end()) {
                page->script.Clear();
                done.push_back(page);
            }
            page->script.Add(line);
        }
        for (TLcfBattleEventPageItem* page : done) page->script.Add(TLcfEventScriptLine(0, 0));
        lines.clear();
    }

    TLcfDataBase& db;
    std::vector<TLcfDataBase::Table> tables;
    std::vector<std::pair<TLcfBattleEventPageItem*, TLcfEventScriptLine>> lines;
};

// One table in its file form, without its section header.
inline std::vector<uint8_t> TableBytes(const TLcfDataBase::Table& t) {
    ByteWriter body;
    if (t.list)
        t.list->SaveToStream(body);
    else
        t.record->SaveToStream(body);
    return body.Take();
}

// The database in its file form, and back: what a game file could hold.
// `body` gives a table's bytes (index in section order).
template <class Body>
inline std::vector<uint8_t> DatabaseBytes(TLcfDataBase& db, Body body) {
    ByteWriter w;
    WriteVarString(w, kDatabaseMagic);
    const std::vector<TLcfDataBase::Table> tables = SortedTables(db);
    for (size_t index = 0; index < tables.size(); ++index) {
        const std::vector<uint8_t>& bytes = body(index, tables[index]);
        WriteVarInt(w, tables[index].section);
        WriteVarInt(w, int32_t(bytes.size()));
        w.WriteBytes(bytes);
    }
    return w.Take();
}

// The raw edits of an input that reach each table (index in section order;
// script lines reach the troops): from the same base, a table's file form
// depends on these alone.
inline std::vector<std::string> EditsByTable(TLcfDataBase& db, std::span<const uint8_t> data) {
    const std::vector<TLcfDataBase::Table> tables = SortedTables(db);
    std::vector<std::string> edits(tables.size());
    if (tables.empty()) return edits;
    size_t troops = 0;
    while (troops < tables.size() && tables[troops].list != static_cast<TCatalog*>(DbMonGroup)) ++troops;
    const size_t count = EditCount(data);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = data.data() + kHeader + i * kEditSize;
        const size_t index = p[0] == kScriptLine ? troops : p[0] % tables.size();
        if (index < tables.size()) edits[index].append(reinterpret_cast<const char*>(p), kEditSize);
    }
    return edits;
}

// The edits of the input, applied; answers where the keys start.
inline size_t ApplyEdits(TLcfDataBase& db, std::span<const uint8_t> data) {
    const size_t count = EditCount(data);
    Editor editor(db);
    for (size_t i = 0; i < count; ++i) editor.Apply(ReadEdit(data.data() + kHeader + i * kEditSize));
    editor.FinishScripts();
    return kHeader + count * kEditSize;
}

// Seeds: edits that give every integer, flag and small block byte of `record`
// (and of the items of its lists) the value it has, for records read from
// a game (table index `table`, record id `id`).
inline void EncodeRecord(std::vector<uint8_t>& out, size_t& count, uint8_t table, int32_t id,
                         TCatalogBaseItem& record) {
    auto emit = [&](const TCatalogVarData& d, Edit e) {
        switch (d.kind) {
            case TFieldKind::Integer:
                e.value = d.width == TIntegerWidth::UInt16 ? *static_cast<uint16_t*>(d.data)
                                                           : *static_cast<int32_t*>(d.data);
                if (e.value == d.defaultInteger) return;
                break;
            case TFieldKind::Byte:
                e.value = *static_cast<uint8_t*>(d.data);
                if (e.value == d.defaultByte) return;
                break;
            case TFieldKind::FixedBlock:
                // Small blocks (a hero's battle commands), a byte an edit.
                if (d.size <= 0 || d.size > kMaxRecord) return;
                for (int32_t at = 0; at < d.size; ++at) {
                    e.value = at << 8 | static_cast<uint8_t*>(d.data)[at];
                    AppendEdit(out, e);
                    ++count;
                }
                return;
            case TFieldKind::VarBlock: {
                // Flag sets (the conditions and attributes of a skill, an
                // item, a monster's ranks) that hold a flag: the last byte
                // first, so that an empty block grows to the whole length.
                const auto& block = *static_cast<std::vector<uint8_t>*>(d.data);
                if (block.size() > size_t(kMaxRecord) ||
                    std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0; }))
                    return;
                for (size_t at = block.size(); at-- > 0;) {
                    e.value = int32_t(at << 8 | block[at]);
                    AppendEdit(out, e);
                    ++count;
                }
                return;
            }
            default: return;
        }
        AppendEdit(out, e);
        ++count;
    };
    for (int field = 1; field < 256; ++field) {
        TCatalogVarData d;
        record.DescribeField(field, d, false);
        Edit e{table, uint8_t(id - 1), uint8_t(field), 0, 0, 0, 0};
        if (d.kind == TFieldKind::List) {
            auto* list = static_cast<TCatalog*>(d.data);
            for (int i = 0; i < list->Count() && list->Items(i)->Id() <= kMaxRecord; ++i)
                for (int inner = 1; inner < 256; ++inner) {
                    TCatalogVarData di;
                    list->Items(i)->DescribeField(inner, di, false);
                    e.item = uint8_t(list->Items(i)->Id() - 1);
                    e.itemField = uint8_t(inner);
                    e.extra = 0;
                    if (di.kind != TFieldKind::Record) {
                        emit(di, e);
                        continue;
                    }
                    auto* nested = static_cast<TCatalogBaseItem*>(di.data);
                    for (int field = 1; field < 256; ++field) {
                        TCatalogVarData dn;
                        nested->DescribeField(field, dn, false);
                        e.extra = uint8_t(field);
                        emit(dn, e);
                    }
                }
        } else {
            emit(d, e);
        }
    }
}

// Seeds: a troop page's script as script line edits (the codes the editor
// picks from; parameters beyond what an edit carries are lost).
inline void EncodeScript(std::vector<uint8_t>& out, size_t& count, int32_t troopId, int32_t pageId,
                         const TLcfEventScriptList& script) {
    for (int i = 0; i < script.Count(); ++i) {
        const TLcfEventScriptLine& line = *script.Lines(i);
        const auto it = std::find(Codes().begin(), Codes().end(), line.code);
        if (line.code == 0 || it == Codes().end()) continue;
        const uint32_t index = uint32_t(it - Codes().begin());
        Edit e{kScriptLine, uint8_t(troopId - 1), uint8_t(index), uint8_t(pageId - 1), uint8_t(index >> 8),
               uint8_t(line.indent % 3), 0};
        e.value = int32_t(uint32_t(line.GetParam(0) & 7) | uint32_t(line.GetParam(1) & 0xff) << 8);
        AppendEdit(out, e);
        ++count;
    }
}

// The header of a seed; the edit count goes in when the edits are known.
inline std::vector<uint8_t> Header(uint16_t frames, std::array<uint8_t, 4> setup) {
    return {uint8_t(frames), uint8_t(frames >> 8), setup[0], setup[1], setup[2], setup[3], 0, 0};
}
inline void SetEditCount(std::vector<uint8_t>& seed, size_t count) {
    seed[6] = uint8_t(count);
    seed[7] = uint8_t(count >> 8);
}

}  // namespace scene_input
