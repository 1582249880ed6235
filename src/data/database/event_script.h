#pragma once
// Event scripts: lines of commands and their packed stored form.
//
// Packed line: var-int code, var-int indent, string (length, bytes), var-int
// parameter count N, then N var-int parameters. No line count, no
// terminator: a packed script ends where its block ends.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/byte_reader.h"
#include "data/byte_writer.h"

class TLcfEventScriptLine {
public:
    TLcfEventScriptLine() = default;
    TLcfEventScriptLine(int32_t code, int32_t indent, std::string text = {}, std::vector<int32_t> params = {})
        : code(code), indent(indent), text(std::move(text)), params_(std::move(params)) {}

    int32_t ParamCount() const { return static_cast<int32_t>(params_.size()); }
    // The parameter, or 0 outside 0..count-1.
    int32_t GetParam(int index) const {
        return index >= 0 && index < ParamCount() ? params_[static_cast<size_t>(index)] : 0;
    }
    // Ignored outside the count.
    void SetParam(int index, int32_t value) {
        if (index >= 0 && index < ParamCount()) params_[static_cast<size_t>(index)] = value;
    }
    void SetParamCount(int n) { params_.resize(static_cast<size_t>(n < 0 ? 0 : n)); }
    const std::vector<int32_t>& Params() const { return params_; }

    int32_t code = 0;
    int32_t indent = 0;
    std::string text;

private:
    std::vector<int32_t> params_;
};

// The lines are shared between copies until one of them changes: every
// frame of an interpreter's call stack holds a copy of its script, and a
// chain of a thousand calls of one long script must not hold a thousand
// copies of its lines. The searches the interpreter repeats (labels, loop
// starts) are answered from indexes built once per shared script, so a long
// script from a file that jumps on every line costs no scan per jump.
class TLcfEventScriptList {
public:
    int Count() const { return lines_ ? static_cast<int>(lines_->lines.size()) : 0; }
    // The line at `index`, or nullptr outside the list.
    const TLcfEventScriptLine* Lines(int index) const {
        return index >= 0 && index < Count() ? &lines_->lines[static_cast<size_t>(index)] : nullptr;
    }
    void Add(TLcfEventScriptLine line) { Own().push_back(std::move(line)); }
    void Clear() { lines_.reset(); }
    // Clears, then parses lines until the end of the data. Every count and
    // length is checked against the bytes left before anything is sized.
    void LoadFromStream(ByteReader& r);
    void Load(std::span<const uint8_t> packed) {
        ByteReader r(packed);
        LoadFromStream(r);
    }
    void SaveToStream(ByteWriter& w) const;
    void Assign(const TLcfEventScriptList& other) { lines_ = other.lines_; }

    // The index of the first line with that code and first parameter, or -1.
    int FirstLine(int32_t code, int32_t param0) const;
    // The index of the nearest line before `index` with that code and the
    // indent of line `index`, or -1 (also for an index outside the list).
    int PreviousLineOfIndent(int index, int32_t code) const;

private:
    struct Storage {
        std::vector<TLcfEventScriptLine> lines;
        // Built on first use. Key: the code in the high half, the first
        // parameter in the low half.
        std::unique_ptr<std::unordered_map<uint64_t, int>> firstLine;
        // Per code searched: for each line, the nearest earlier line of that
        // code and the same indent, or -1.
        std::unordered_map<int32_t, std::vector<int>> previousOfIndent;
    };
    // The lines, made this list's own first when they are shared; the
    // indexes are dropped, as the lines may change.
    std::vector<TLcfEventScriptLine>& Own();

    std::shared_ptr<Storage> lines_;
};
