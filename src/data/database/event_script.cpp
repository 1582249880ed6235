#include "data/database/event_script.h"

#include "data/record/var_int.h"

namespace {

uint64_t LineKey(int32_t code, int32_t param0) { return (uint64_t(uint32_t(code)) << 32) | uint32_t(param0); }

}  // namespace

std::vector<TLcfEventScriptLine>& TLcfEventScriptList::Own() {
    if (!lines_) {
        lines_ = std::make_shared<Storage>();
    } else if (lines_.use_count() > 1) {
        auto copy = std::make_shared<Storage>();
        copy->lines = lines_->lines;
        lines_ = std::move(copy);
    } else {
        lines_->firstLine.reset();
        lines_->previousOfIndent.clear();
    }
    return lines_->lines;
}

int TLcfEventScriptList::FirstLine(int32_t code, int32_t param0) const {
    if (!lines_) return -1;
    Storage& s = *lines_;
    if (!s.firstLine) {
        s.firstLine = std::make_unique<std::unordered_map<uint64_t, int>>();
        for (size_t i = 0; i < s.lines.size(); ++i)
            s.firstLine->emplace(LineKey(s.lines[i].code, s.lines[i].GetParam(0)), int(i));
    }
    auto it = s.firstLine->find(LineKey(code, param0));
    return it == s.firstLine->end() ? -1 : it->second;
}

int TLcfEventScriptList::PreviousLineOfIndent(int index, int32_t code) const {
    if (index < 0 || index >= Count()) return -1;
    Storage& s = *lines_;
    auto [it, made] = s.previousOfIndent.try_emplace(code);
    std::vector<int>& previous = it->second;
    if (made) {
        // One pass: the last line of the code seen at each indent.
        std::unordered_map<int32_t, int> lastAt;
        previous.resize(s.lines.size());
        for (size_t i = 0; i < s.lines.size(); ++i) {
            const TLcfEventScriptLine& line = s.lines[i];
            auto last = lastAt.find(line.indent);
            previous[i] = last == lastAt.end() ? -1 : last->second;
            if (line.code == code) lastAt[line.indent] = int(i);
        }
    }
    return previous[size_t(index)];
}

void TLcfEventScriptList::LoadFromStream(ByteReader& r) {
    Clear();
    auto storage = std::make_shared<Storage>();
    std::vector<TLcfEventScriptLine>& lines = storage->lines;
    while (!r.AtEnd()) {
        TLcfEventScriptLine line;
        line.code = ReadVarInt(r);
        line.indent = ReadVarInt(r);
        line.text = ReadVarString(r);
        size_t count = ReadVarLength(r);
        // Each parameter takes at least one byte.
        if (count > r.Remaining()) throw EReadError();
        line.SetParamCount(static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) line.SetParam(static_cast<int>(i), ReadVarInt(r));
        lines.push_back(std::move(line));
    }
    if (!lines.empty()) lines_ = std::move(storage);
}

void TLcfEventScriptList::SaveToStream(ByteWriter& w) const {
    if (!lines_) return;
    for (const auto& line : lines_->lines) {
        WriteVarInt(w, line.code);
        WriteVarInt(w, line.indent);
        WriteVarString(w, line.text);
        WriteVarInt(w, line.ParamCount());
        for (int32_t p : line.Params()) WriteVarInt(w, p);
    }
}
