#include "data/database/job.h"

void TLcfJobItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (DescribeGrowth(id, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&reserved2, true); break;
    case 63: d.SetList(&skills); break;
    }
}

void TLcfJobItem::Clear() {
    TLcfGrowthItem::Clear();
    skills.Clear();
    ClearGrowth(kMenuSlots);
}
