#include "data/database/ground.h"

#include <algorithm>

#include "data/random.h"

void TLcfGroundItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetInteger(&damage, 0); break;
    case 3: d.SetInteger(&encounterRate, 100); break;
    case 4: d.SetString(&backdrop, true); break;
    case 5: d.SetBoolean(&boatPassable, 0); break;
    case 6: d.SetBoolean(&shipPassable, 0); break;
    case 7: d.SetBoolean(&airshipPassable, 1); break;
    case 9: d.SetBoolean(&airshipLands, 1); break;
    case 11: d.SetFixed(&bushDepth, 1); break;
    case 15: d.SetRecord(&stepSound); break;
    case 16: d.SetBoolean(&soundOnDamageOnly, 0); break;
    case 17: d.SetInteger(&backdropKind, 0); break;
    case 21: d.SetString(&layer1Image, true); break;
    case 22: d.SetBoolean(&layer1ScrollH, 0); break;
    case 23: d.SetBoolean(&layer1ScrollV, 0); break;
    case 24: d.SetInteger(&layer1SpeedH, 0); break;
    case 25: d.SetInteger(&layer1SpeedV, 0); break;
    case 30: d.SetBoolean(&layer2Shown, 0); break;
    case 31: d.SetString(&layer2Image, true); break;
    case 32: d.SetBoolean(&layer2ScrollH, 0); break;
    case 33: d.SetBoolean(&layer2ScrollV, 0); break;
    case 34: d.SetInteger(&layer2SpeedH, 0); break;
    case 35: d.SetInteger(&layer2SpeedV, 0); break;
    case 40: d.SetInteger(&specialStarts, 0); break;
    case 41: d.SetInteger(&initiativeChance, 15); break;
    case 42: d.SetInteger(&backAttackChance, 10); break;
    case 43: d.SetInteger(&surroundChance, 10); break;
    case 44: d.SetInteger(&pincerChance, 5); break;
    case 45: d.SetInteger(&reserved45, 0); break;
    case 46: d.SetInteger(&gridTop, 120); break;
    case 47: d.SetInteger(&gridDepth, 392); break;
    case 48: d.SetInteger(&gridWidth, 16000); break;
    }
}

void TLcfGroundItem::Clear() {
    TCatalogItem::Clear();
    bushDepth = 0;
    stepSound.Clear();
}

int TLcfGroundItem::BushDepth() const { return std::min<int>(bushDepth, 3); }

int TLcfGroundItem::RollSpecialStart() const {
    const struct {
        int32_t bit, chance, kind;
    } tests[] = {
        {kInitiative, initiativeChance, 1},
        {kBackAttack, backAttackChance, 2},
        {kSurround, surroundChance, 3},
        {kPincer, pincerChance, 4},
    };
    for (const auto& t : tests)
        if ((specialStarts & t.bit) && Random(100) < t.chance) return t.kind;
    return 0;
}
