#include "data/database/vocabulary.h"

namespace {

constexpr int kShopFirst = 41, kShopStride = 13;
constexpr int kInnFirst = 80, kInnStride = 5;

}  // namespace

bool TLcfVocabulary::IsTermChunk(int id) {
    if (id >= 2 && id <= 39) return id != 3;  // 11..35 are kept but not shown
    switch (id) {
    case 92: case 93: case 95:
    case 101: case 102: case 103: case 104: case 105: case 106: case 107: case 108:
    case 110: case 112: case 114: case 115:
    case 146: case 147: case 148: case 151: case 152: case 153:
        return true;
    }
    return id >= 117 && id <= 140;
}

std::string* TLcfVocabulary::Slot(int id) {
    if (IsTermChunk(id)) return &terms_[static_cast<size_t>(id)];
    for (int k = 0; k < kShopSetCount; ++k) {
        int first = kShopFirst + kShopStride * k;
        if (id >= first && id < first + TLcfVocabularyShop::kCount)
            return &shops_[static_cast<size_t>(k)].texts[static_cast<size_t>(id - first)];
    }
    for (int k = 0; k < kInnSetCount; ++k) {
        int first = kInnFirst + kInnStride * k;
        if (id >= first && id < first + TLcfVocabularyInn::kCount)
            return &inns_[static_cast<size_t>(k)].texts[static_cast<size_t>(id - first)];
    }
    return nullptr;
}

void TLcfVocabulary::DescribeField(int id, TCatalogVarData& d, bool) {
    if (std::string* s = Slot(id)) d.SetString(s, false);
}

void TLcfVocabulary::Clear() {
    TCatalogBaseItem::Clear();
    for (auto& t : terms_) t.clear();
    for (auto& shop : shops_)
        for (auto& t : shop.texts) t.clear();
    for (auto& inn : inns_)
        for (auto& t : inn.texts) t.clear();
}

const std::string& TLcfVocabulary::Get(int id) const {
    static const std::string empty;
    std::string* s = const_cast<TLcfVocabulary*>(this)->Slot(id);
    return s ? *s : empty;
}

void TLcfVocabulary::Set(int id, const std::string& text) {
    if (std::string* s = Slot(id)) *s = text;
}

const TLcfVocabularyShop& TLcfVocabulary::GetShopTerms(int kind) const {
    return shops_[static_cast<size_t>(ValidShop(kind))];
}

const TLcfVocabularyInn& TLcfVocabulary::GetInnTerms(int kind) const {
    return inns_[static_cast<size_t>(ValidInn(kind))];
}
