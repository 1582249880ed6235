#include "data/map/encount.h"

void TLcfEncountItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id == 1) d.SetInteger(&troopId, 1);
}
