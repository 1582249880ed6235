#include "data/database/event_script.h"

#include "data/record/var_int.h"

std::vector<TLcfEventScriptLine>& TLcfEventScriptList::Own() {
    if (!lines_)
        lines_ = std::make_shared<std::vector<TLcfEventScriptLine>>();
    else if (lines_.use_count() > 1)
        lines_ = std::make_shared<std::vector<TLcfEventScriptLine>>(*lines_);
    return *lines_;
}

void TLcfEventScriptList::LoadFromStream(ByteReader& r) {
    Clear();
    auto lines = std::make_shared<std::vector<TLcfEventScriptLine>>();
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
        lines->push_back(std::move(line));
    }
    if (!lines->empty()) lines_ = std::move(lines);
}

void TLcfEventScriptList::SaveToStream(ByteWriter& w) const {
    if (!lines_) return;
    for (const auto& line : *lines_) {
        WriteVarInt(w, line.code);
        WriteVarInt(w, line.indent);
        WriteVarString(w, line.text);
        WriteVarInt(w, line.ParamCount());
        for (int32_t p : line.Params()) WriteVarInt(w, p);
    }
}
