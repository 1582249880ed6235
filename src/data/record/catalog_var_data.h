#pragma once
// The field descriptor: a record answers "what is chunk N?" by filling one of
// these in, and the generic reader and writer move the field from it.

#include <cstdint>
#include <string>
#include <vector>

class TCatalog;
class TCatalogBaseItem;

// How a field is stored. The numbers are the record format's own.
enum class TFieldKind : uint8_t {
    Integer = 0,     // 32-bit integer (or 16-bit unsigned, see IntegerWidth), counted var-int
    FixedBlock = 1,  // `size` raw bytes, taken only when the chunk has exactly that length
    VarBlock = 2,    // a heap block (std::vector<uint8_t>), any length
    String = 3,      // std::string, raw bytes
    List = 4,        // a TCatalog in its list form
    Record = 5,      // a TCatalogBaseItem, its chunks and terminator
    Byte = 6,        // one raw byte
    Double = 7,      // 8 raw bytes, IEEE 754 little-endian
    None = 8,        // not a field of this record: skipped
};

// Where an integer field lives in memory.
enum class TIntegerWidth : uint8_t { Int32, UInt16 };

struct TCatalogVarData {
    TFieldKind kind = TFieldKind::None;
    void* data = nullptr;
    int32_t size = 0;
    int32_t defaultInteger = 0;
    uint8_t defaultByte = 0;
    double defaultDouble = 0;
    bool omitEmpty = false;
    TIntegerWidth width = TIntegerWidth::Int32;

    void Reset() { kind = TFieldKind::None; }

    // Any kind; the default integer becomes the largest one, so an integer
    // described this way is always written.
    void SetData(TFieldKind k, void* d, int32_t s) {
        kind = k;
        data = d;
        size = s;
        defaultInteger = 2147483647;
        width = TIntegerWidth::Int32;
    }
    void SetInteger(int32_t* d, int32_t def) {
        kind = TFieldKind::Integer;
        data = d;
        defaultInteger = def;
        width = TIntegerWidth::Int32;
    }
    // An integer chunk held in 16 bits (stored values are truncated).
    void SetInteger16(uint16_t* d, int32_t def) {
        kind = TFieldKind::Integer;
        data = d;
        defaultInteger = def;
        width = TIntegerWidth::UInt16;
    }
    void SetBoolean(uint8_t* d, uint8_t def) {
        kind = TFieldKind::Byte;
        data = d;
        size = 1;
        defaultByte = def;
    }
    void SetDouble(double* d, double def) {
        kind = TFieldKind::Double;
        data = d;
        size = 8;
        defaultDouble = def;
    }
    void SetString(std::string* d, bool omit) {
        kind = TFieldKind::String;
        data = d;
        omitEmpty = omit;
    }
    // Shorthands for SetData.
    void SetFixed(void* d, int32_t s) { SetData(TFieldKind::FixedBlock, d, s); }
    void SetBlock(std::vector<uint8_t>* d) { SetData(TFieldKind::VarBlock, d, static_cast<int32_t>(d->size())); }
    void SetList(TCatalog* list) { SetData(TFieldKind::List, list, 0); }
    void SetRecord(TCatalogBaseItem* record) { SetData(TFieldKind::Record, record, 0); }
};
