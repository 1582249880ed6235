#include "data/database/attrib.h"

namespace {

constexpr int32_t kDefaultRates[5] = {300, 200, 100, 50, 0};

}  // namespace

void TLcfAttribItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id >= 11 && id <= 15) return d.SetInteger(&rates[id - 11], kDefaultRates[id - 11]);
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetFixed(&kind, 1); break;
    }
}

void TLcfAttribItem::Clear() {
    TCatalogItem::Clear();
    kind = kPhysical;
}

int32_t TLcfAttribItem::GetRate(int rank) const { return rank >= 0 && rank < 5 ? rates[rank] : 0; }
