#pragma once
// Records of the chunked format. A record class describes its fields
// (`DescribeField`); the one generic reader and writer here move every field,
// and clearing sets each field to the default its description gives, so a
// default is written in one place. A record's own `Clear` adds only what no
// description holds (lists, sets, blocks, fields always written, derived
// state).
//
// Stream form: chunks of (var-int id, var-int length, data), ids ascending
// when written, ended by a single var-int 0. Unknown ids are skipped by their
// length.

#include <cstdint>
#include <string>

#include "data/byte_reader.h"
#include "data/byte_writer.h"
#include "data/record/catalog_var_data.h"

class TCatalogBaseItem {
public:
    // The highest chunk id the writer visits.
    static constexpr int kMaxFieldId = 999;

    virtual ~TCatalogBaseItem() = default;

    // Fills `d` for chunk `id`, or leaves its kind None. `reading` is true
    // when the reader asks, so a record can prepare storage first.
    virtual void DescribeField(int id, TCatalogVarData& d, bool reading) = 0;
    // Every field back to its default: the base sets each field whose
    // description has a default (see SetOmittedFieldsToDefaults); an
    // override calls its base first, then resets the rest.
    virtual void Clear() { SetOmittedFieldsToDefaults(); }
    // Clear, then the source's stream form read back into this record.
    virtual void Assign(TCatalogBaseItem& source);
    // Clear, then the generic read. Reads stay inside `r`: a chunk or a nested
    // record never passes the data that encloses it.
    virtual void LoadFromStream(ByteReader& r);
    // The generic write.
    virtual void SaveToStream(ByteWriter& w);

protected:
    // The generic reader without the Clear, and the generic writer, for
    // records that override LoadFromStream/SaveToStream to add work.
    void ReadFields(ByteReader& r);
    void WriteFields(ByteWriter& w);
    // Every integer, byte, double and omit-empty string set to the value the
    // writer leaves out, so a chunk missing from the stream stands for it.
    // Integers described without a default of their own (always written)
    // keep what they hold. The generic part of Clear, and for records whose
    // Clear fills fields from elsewhere before the read. Which fields those
    // are is found once per record class (see field_defaults.h), so a record
    // describes them, with the same defaults, whatever it holds.
    void SetOmittedFieldsToDefaults();
};

// Loads a nested list or record from exactly the bytes of its chunk. A chunk
// of length 0 leaves it cleared (a list with no entries).
void LoadNestedList(TCatalog& list, ByteReader& chunk);
void LoadNestedRecord(TCatalogBaseItem& record, ByteReader& chunk);

// Skips one record's chunks up to and including its terminator.
void SkipRecord(ByteReader& r);

// A list item: a record with an id (its place in the list, from 1) and a
// name (which chunk holds it is up to each item class, chunk 1 as a rule).
class TCatalogItem : public TCatalogBaseItem {
public:
    explicit TCatalogItem(int32_t id = 0) : id_(id) {}
    int32_t Id() const { return id_; }
    virtual void SetId(int32_t id) { id_ = id; }

    std::string name;

private:
    int32_t id_;
};
