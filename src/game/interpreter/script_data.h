#pragma once
// One frame of an interpreter's call stack: a copy of the script being run,
// the index of its next line, the map event that owns it, and one branch
// byte per indent level for the blocks opened in it.

#include <cstdint>
#include <vector>

#include "data/database/event_script.h"
#include "data/record/catalog.h"
#include "data/record/counted_array.h"

class TLcfgScriptData : public TCatalogItem {
public:
    // Indents beyond this never index branch bytes: a script whose indent
    // comes from a file cannot make a frame allocate without bound.
    static constexpr int32_t kMaxIndent = 4096;
    // Read for an indent outside the bytes: no case line matches it.
    static constexpr uint8_t kNoBranch = 255;

    explicit TLcfgScriptData(int32_t id = 0);
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // Generic read, then the packed script unpacked and the branch bytes
    // brought to their count.
    void LoadFromStream(ByteReader& r) override;
    // Script packed first, then the generic write.
    void SaveToStream(ByteWriter& w) override;

    // The line at the line index, or nullptr past the list (which runs as
    // the end of the list).
    const TLcfEventScriptLine* CurrentLine() const { return script.Lines(lineIndex); }

    // Grows the branch bytes to `n` (new ones 0); never past kMaxIndent + 1.
    void EnsureBranchBytes(int32_t n);
    uint8_t GetBranch(int32_t indent) const;
    // Ensures the byte and writes it; an indent outside 0..kMaxIndent is ignored.
    void SetBranch(int32_t indent, uint8_t value);
    int32_t BranchCount() const { return branch_.Length(); }

    // Unique over the process: tells a frame from a later one in the same
    // stack position.
    uint64_t Serial() const { return serial_; }

    TLcfEventScriptList script;
    int32_t lineIndex = 0;
    int32_t eventId = 0;
    uint8_t startedByKey = 0;

private:
    int32_t packedLength_ = 0;
    std::vector<uint8_t> packed_;
    TCountedArray<uint8_t> branch_;
    uint64_t serial_;
};

// The stack; the current frame is the last one.
class TLcfgScriptDataList : public TCatalogOf<TLcfgScriptData> {
public:
    // Strict lookup by list index: message 65281 when missing.
    TLcfgScriptData* GetFrame(int index) const { return GetStrict(index, 65281); }
    TLcfgScriptData* CurrentFrame() const { return Items(Count() - 1); }
    TLcfgScriptData* Push() { return Add(); }
    void Pop() {
        if (Count() > 0) Delete(Items(Count() - 1)->Id());
    }
    // Ids back to the stack positions 1..n (a save may hold any ids).
    void Renumber() {
        for (int i = 0; i < Count(); ++i) Items(i)->SetId(i + 1);
    }
};
