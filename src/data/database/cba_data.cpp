#include "data/database/cba_data.h"

#include <algorithm>

void TLcfCBADataItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 2: d.SetInteger(&setting2, 0); break;
    case 3: d.SetInteger(&displayKind, 0); break;
    case 4: d.SetInteger(&weaponStrip, 0); break;
    case 5: d.SetInteger(&motion, kNoMotion); break;
    case 6: d.SetInteger(&afterImage, 0); break;
    case 7: d.SetInteger(&swingCount, 0); break;
    case 8: d.SetBoolean(&ranged, 0); break;
    case 9: d.SetInteger(&projectileStrip, 0); break;
    case 12: d.SetInteger(&projectileSpeed, 0); break;
    case 13: d.SetInteger(&setting13, 1); break;
    case 14: d.SetInteger(&skillPose, 3); break;
    }
}

int TLcfCBADataItem::ProjectileSpeed() const { return std::clamp(projectileSpeed, 0, 2); }
