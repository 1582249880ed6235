#include "game/interpreter/script_data.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<uint64_t> nextSerial{1};
}

TLcfgScriptData::TLcfgScriptData(int32_t id) : TCatalogItem(id), serial_(nextSerial++) {}

void TLcfgScriptData::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetInteger(&packedLength_, 0); break;
    case 2: d.SetBlock(&packed_); break;
    case 11: d.SetInteger(&lineIndex, 0); break;
    case 12: d.SetInteger(&eventId, 0); break;
    case 13: d.SetBoolean(&startedByKey, 0); break;
    case 21: d.SetInteger(&branch_.count, 0); break;
    case 22: d.SetBlock(&branch_.bytes); break;
    }
}

void TLcfgScriptData::Clear() {
    TCatalogBaseItem::Clear();
    script.Clear();
    packed_.clear();
    branch_.Resize(0);
}

void TLcfgScriptData::LoadFromStream(ByteReader& r) {
    Clear();
    ReadFields(r);
    // The block as stored, whatever length chunk 1 claims.
    script.Load(packed_);
    packed_.clear();
    packed_.shrink_to_fit();
    branch_.Resize(std::clamp(branch_.count, 0, kMaxIndent + 1));
}

void TLcfgScriptData::SaveToStream(ByteWriter& w) {
    ByteWriter packed;
    script.SaveToStream(packed);
    packed_.assign(packed.Data().begin(), packed.Data().end());
    packedLength_ = static_cast<int32_t>(packed_.size());
    WriteFields(w);
    packed_.clear();
}

void TLcfgScriptData::EnsureBranchBytes(int32_t n) {
    n = std::min(n, kMaxIndent + 1);
    if (n > branch_.Length()) branch_.Resize(n);
}

uint8_t TLcfgScriptData::GetBranch(int32_t indent) const { return branch_.Get(indent, kNoBranch); }

void TLcfgScriptData::SetBranch(int32_t indent, uint8_t value) {
    if (indent < 0 || indent > kMaxIndent) return;
    EnsureBranchBytes(indent + 1);
    branch_.Set(indent, value);
}
