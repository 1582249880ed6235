#include "data/database/status.h"

#include <algorithm>

namespace {

constexpr int32_t kDefaultInflict[5] = {100, 80, 60, 30, 0};

}  // namespace

void TLcfStatusItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id >= 11 && id <= 15) return d.SetInteger(&inflictChance[id - 11], kDefaultInflict[id - 11]);
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetFixed(&persistence, 1); break;
    case 3: d.SetInteger(&colour, 6); break;
    case 4: d.SetInteger(&priority, 50); break;
    case 5: d.SetFixed(&restriction, 1); break;
    case 21: d.SetInteger(&minimumTurns, 0); break;
    case 22: d.SetInteger(&recoveryChance, 0); break;
    case 23: d.SetInteger(&recoveryByDamage, 0); break;
    case 30: d.SetInteger(&parameterEffect, 0); break;
    case 31: d.SetBoolean(&affectsAttack, 0); break;
    case 32: d.SetBoolean(&affectsDefense, 0); break;
    case 33: d.SetBoolean(&affectsSpirit, 0); break;
    case 34: d.SetBoolean(&affectsAgility, 0); break;
    case 35: d.SetInteger(&hitRate, 100); break;
    case 36: d.SetBoolean(&flagA, 0); break;
    case 37: d.SetBoolean(&flagB, 0); break;
    case 38: d.SetBoolean(&flagC, 0); break;
    case 39: d.SetInteger(&reserved39, 6); break;
    case 41: d.SetBoolean(&blockPhysical, 0); break;
    case 42: d.SetInteger(&physicalLimit, 0); break;
    case 43: d.SetBoolean(&blockMagical, 0); break;
    case 44: d.SetInteger(&magicalLimit, 0); break;
    case 45: d.SetInteger(&hpDirection, 0); break;
    case 46: d.SetInteger(&spDirection, 0); break;
    case 51: d.SetString(&messageHero, true); break;
    case 52: d.SetString(&messageEnemy, true); break;
    case 53: d.SetString(&messageAlready, true); break;
    case 54: d.SetString(&messageEachTurn, true); break;
    case 55: d.SetString(&messageRecovery, true); break;
    case 61: d.SetInteger(&battleHpPercent, 0); break;
    case 62: d.SetInteger(&battleHpPoints, 0); break;
    case 63: d.SetInteger(&mapHpPercent, 0); break;
    case 64: d.SetInteger(&mapHpPoints, 0); break;
    case 65: d.SetInteger(&battleSpPercent, 0); break;
    case 66: d.SetInteger(&battleSpPoints, 0); break;
    case 67: d.SetInteger(&mapSpPercent, 0); break;
    case 68: d.SetInteger(&mapSpPoints, 0); break;
    }
}

void TLcfStatusItem::Clear() {
    TCatalogItem::Clear();
    persistence = 0;
    restriction = kNone;
}

void TLcfStatusItem::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    if (Id() == 1) {
        messageAlready.clear();
        messageEachTurn.clear();
    }
}

int TLcfStatusItem::Colour() const { return std::clamp(colour, 0, 19); }
