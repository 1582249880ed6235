#pragma once
// Test-data builder for the record format. Builds chunk sequences, lists,
// database files and packed event scripts in memory, byte by byte, so tests
// can state exactly what a file holds (including damaged files), and writes
// whole records and tables with our own writer.
//
//   Bytes rec = Chunks().Int(1, 5).Str(2, "abc").Data(3, {1}).End();
//   Bytes list = List({{1, rec}, {2, Chunks().End()}});
//   Bytes db = DatabaseFile({{22, rec}, {23, list}});
//   Bytes script = Script().Line(10110, 0, "Hello").Line(0).Data();
//   Bytes file = SaveDatabase(db);             // every table, our writers
//   Bytes saved = SaveRecord(record);          // our writer
//   LoadRecord(record, saved);                 // our reader, must consume all

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "data/byte_reader.h"
#include "data/byte_writer.h"
#include "data/database/database.h"
#include "data/database/event_script.h"
#include "data/record/catalog.h"

namespace lcf_builder {

using Bytes = std::vector<uint8_t>;

Bytes VarInt(int32_t v);
Bytes VarString(const std::string& s);
Bytes Concat(std::initializer_list<Bytes> parts);
std::string ToString(const Bytes& b);
Bytes FromString(const std::string& s);

// One record's chunks, in the order they are added.
class Chunks {
public:
    // Integer chunk in the counted form the writer uses.
    Chunks& Int(int32_t id, int32_t value);
    Chunks& Str(int32_t id, const std::string& s);
    // Any bytes as the chunk data (fixed and variable blocks, nested data).
    Chunks& Data(int32_t id, const Bytes& data);
    // A chunk whose stated length differs from the data that follows.
    Chunks& RawLength(int32_t id, int32_t statedLength, const Bytes& data);
    // 16-bit little-endian values as a block.
    Chunks& U16Block(int32_t id, std::initializer_list<uint16_t> values);
    // Nested record (its chunks and terminator) as a chunk.
    Chunks& Record(int32_t id, const Chunks& nested) { return Data(id, nested.End()); }
    // The chunks followed by the terminator 0.
    Bytes End() const;
    // The chunks without the terminator.
    const Bytes& Body() const { return body_; }

private:
    Bytes body_;
};

// A list form: count, then id and record bytes per item, in the given order.
Bytes List(const std::vector<std::pair<int32_t, Bytes>>& items);

// "LcfDataBase" followed by the sections (id, length, bytes) in the given order.
Bytes DatabaseFile(const std::vector<std::pair<int32_t, Bytes>>& sections);

// A packed event script.
class Script {
public:
    Script& Line(int32_t code, int32_t indent = 0, const std::string& text = "",
                 std::initializer_list<int32_t> params = {});
    const Bytes& Data() const { return bytes_; }
    // The same lines as a script list (through our own parser).
    TLcfEventScriptList List() const;

private:
    Bytes bytes_;
};

// A database file written from the tables of `db` with our own writers,
// sections in ascending section id order. `skip` leaves sections out.
Bytes SaveDatabase(TLcfDataBase& db, std::initializer_list<int32_t> skip = {});
// Loads a database from bytes in memory (tables reset first).
void LoadDatabase(TLcfDataBase& db, const Bytes& bytes);

// Our writer's bytes for a record or list.
Bytes SaveRecord(TCatalogBaseItem& record);
Bytes SaveList(TCatalog& list);
// Our reader over the bytes; fails the current test unless every byte is used.
void LoadRecord(TCatalogBaseItem& record, const Bytes& bytes);
void LoadList(TCatalog& list, const Bytes& bytes);

}  // namespace lcf_builder
