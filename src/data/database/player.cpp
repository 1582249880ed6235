#include "data/database/player.h"

#include "data/database/database.h"

void TLcfPlayerItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (DescribeGrowth(id, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&title, true); break;
    case 3: d.SetString(&sprite, true); break;
    case 4: d.SetInteger(&spriteIndex, 0); break;
    case 5: d.SetBoolean(&transparentSprite, 0); break;
    case 7: d.SetInteger(&initialLevel, 1); break;
    case 8: d.SetInteger(&finalLevel, 99); break;
    case 9: d.SetBoolean(&criticalHits, 1); break;
    case 10: d.SetInteger(&criticalRate, 30); break;
    case 15: d.SetString(&face, true); break;
    case 16: d.SetInteger(&faceIndex, 0); break;
    case 51: d.SetFixed(initialEquipment.data(), kEquipmentSlots * 2); break;
    case 56: d.SetInteger(&unarmedAnimation, 1); break;
    case 57: d.SetInteger(&jobClass, 0); break;
    case 58: d.SetInteger(&reserved58, 0); break;
    case 59: d.SetInteger(&battleX, 220); break;
    case 60: d.SetInteger(&battleY, 120); break;
    case 63: d.SetList(&skills); break;
    case 64: d.SetInteger(&reserved64, 0); break;
    case 66: d.SetBoolean(&reserved66, 0); break;
    case 67: d.SetString(&reserved67, true); break;
    }
}

void TLcfPlayerItem::Clear() {
    TLcfGrowthItem::Clear();
    initialEquipment.fill(0);
    skills.Clear();
    ClearGrowth(kCommandSlots);
}

int32_t TLcfPlayerItem::GetInitialEquipment(int slot) const {
    return slot >= 0 && slot < kEquipmentSlots ? initialEquipment[static_cast<size_t>(slot)] : 0;
}

void TLcfPlayerItem::SetInitialEquipment(int slot, int32_t itemId) {
    if (slot >= 0 && slot < kEquipmentSlots) initialEquipment[static_cast<size_t>(slot)] = static_cast<uint16_t>(itemId);
}

bool HeroExists(int32_t heroId) { return DbPlayer && DbPlayer->Find(heroId) != nullptr; }

int HeroCount() { return DbPlayer ? DbPlayer->Count() : 0; }
