#include "data/database/animation2.h"

#include "data/string_table.h"

namespace {

// String ids of the default names of poses 0..11.
constexpr int kFirstPoseNameId = 65268;
constexpr int kNamedPoses = 12;

}  // namespace

void TLcfBattleMyCharacterItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&image, true); break;
    case 3: d.SetInteger(&index, 0); break;
    case 4: d.SetInteger(&kind, kSpriteSheet); break;
    case 5: d.SetInteger(&animationId, 1); break;
    }
}

TLcfBattleMyCharacterItem* TLcfBattleMyCharacter::GetPose(int index) const {
    if (index < 0 || index >= kPoses) throw Exception::FromId(65265);
    return FindStrict(index + 1, 65265);
}

void TLcfCBAWeaponItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&image, true); break;
    case 3: d.SetInteger(&index, 0); break;
    }
}

void TLcfAnimation2Item::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetInteger(&reserved2, 20); break;
    case 10: d.SetList(&poses); break;
    case 11: d.SetList(&weapons); break;
    }
}

void TLcfAnimation2Item::Clear() {
    TCatalogItem::Clear();
    poses.SetCount(TLcfBattleMyCharacter::kPoses);
    for (int i = 0; i < kNamedPoses; ++i) poses.Items(i)->name = LoadStr(kFirstPoseNameId + i);
    weapons.SetCount(TLcfCBAWeapon::kWeapons);
}
