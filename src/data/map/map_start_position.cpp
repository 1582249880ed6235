#include "data/map/map_start_position.h"

void TLcfMapStartPosition::DescribeField(int id, TCatalogVarData& d, bool) {
    int kind = id / 10, field = id % 10 - 1;
    if (id >= 1 && kind < kKinds && field >= 0 && field < 3) d.SetInteger(&positions[kind][field], 0);
}

