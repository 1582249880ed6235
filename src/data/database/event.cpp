#include "data/database/event.h"

void TLcfEventCondition::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetFixed(&flags, 1); break;
    case 2: d.SetInteger(&switchA, 1); break;
    case 3: d.SetInteger(&switchB, 1); break;
    case 4: d.SetInteger(&variableId, 1); break;
    case 5: d.SetInteger(&variableValue, 0); break;
    case 6: d.SetInteger(&itemId, 1); break;
    // Absent reads as 1, so 1 is also what the writer leaves out: a
    // condition written and read back keeps its hero.
    case 7: d.SetInteger(&heroId, 1); break;
    case 8: d.SetInteger(&timer1Seconds, 0); break;
    case 9: d.SetInteger(&timer2Seconds, 0); break;
    case 10: d.SetInteger(&compare, kGreaterOrEqual); break;
    }
}

void TLcfEventCondition::Clear() {
    TCatalogBaseItem::Clear();
    flags = 0;
}

void TLcfEventPageItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (DescribeScript(id, 51, 52, d)) return;
    switch (id) {
    case 2: d.SetRecord(&condition); break;
    case 21: d.SetString(&sheetName, true); break;
    case 22: d.SetInteger(&sheetIndex, 0); break;
    case 23: d.SetFixed(&direction, 1); break;
    case 24: d.SetInteger(&pattern, 1); break;
    case 25: d.SetFixed(&semiTransparent, 1); break;
    case 31: d.SetFixed(&moveType, 1); break;
    case 32: d.SetInteger(&moveFrequency, 3); break;
    case 33: d.SetFixed(&trigger, 1); break;
    case 34: d.SetFixed(&layer, 1); break;
    case 35: d.SetFixed(&overlapForbidden, 1); break;
    case 36: d.SetFixed(&animationType, 1); break;
    case 37: d.SetInteger(&moveSpeed, 3); break;
    case 41: d.SetRecord(&moveRoute); break;
    }
}

void TLcfEventPageItem::Clear() {
    TLcfBaseEventPageItem::Clear();
    condition.Clear();
    direction = 2;
    semiTransparent = 0;
    moveType = 0;
    trigger = 0;
    layer = 0;
    overlapForbidden = 0;
    animationType = 0;
    moveRoute.Clear();
    ClearScript();
}

void TLcfEventItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetInteger(&x, 0); break;
    case 3: d.SetInteger(&y, 0); break;
    case 5: d.SetList(&pages); break;
    }
}

void TLcfEventItem::Clear() {
    TCatalogItem::Clear();
    pages.SetCount(1);
}
