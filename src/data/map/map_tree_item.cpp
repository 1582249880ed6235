#include "data/map/map_tree_item.h"

#include <bit>

static_assert(std::endian::native == std::endian::little, "the area rectangle is kept in file byte order");

void TLcfMapTreeItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetInteger(&parentId, 0); break;
    case 3: d.SetInteger(&treeValue3, 0); break;
    case 4: d.SetFixed(&kind, 1); break;
    case 5: d.SetInteger(&treeValue5, 0); break;
    case 6: d.SetInteger(&treeValue6, 0); break;
    case 7: d.SetBoolean(&treeValue7, 0); break;
    case 11: d.SetFixed(&musicKind, 1); break;
    case 12: d.SetRecord(&music); break;
    case 21: d.SetFixed(&backdropKind, 1); break;
    case 22: d.SetString(&backdropName, true); break;
    case 31: d.SetFixed(&teleport, 1); break;
    case 32: d.SetFixed(&escape, 1); break;
    case 33: d.SetFixed(&save, 1); break;
    case 41: d.SetList(&encounters); break;
    case 44: d.SetInteger(&encounterSteps, 25); break;
    case 51: d.SetFixed(area.data(), int32_t(sizeof area)); break;
    }
}

void TLcfMapTreeItem::Clear() {
    TCatalogItem::Clear();
    kind = 0;
    musicKind = kAsParent;
    music.Clear();
    backdropKind = kAsParent;
    teleport = escape = save = kAsParent;
    encounters.Clear();
    area.fill(0);
}
