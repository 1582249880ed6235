#include "data/database/system.h"

void TLcfTestPlayerItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id >= 11 && id <= 15) return d.SetInteger16(&equipment[static_cast<size_t>(id - 11)], 0);
    switch (id) {
    case 1: d.SetInteger(&heroId, 1); break;
    case 2: d.SetInteger(&level, 1); break;
    }
}

void TLcfTestPlayerItem::Clear() {
    TCatalogItem::Clear();
    name.clear();
}

int32_t TLcfTestPlayerItem::GetEquipment(int slot) const {
    return slot >= 0 && slot < 5 ? equipment[static_cast<size_t>(slot)] : 0;
}

void TLcfSystem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id >= 31 && id <= 38) return d.SetRecord(&music[static_cast<size_t>(id - 31)]);
    if (id >= 41 && id <= 52) return d.SetRecord(&sounds[static_cast<size_t>(id - 41)]);
    if (id >= 61 && id <= 66) return d.SetFixed(&transitions[static_cast<size_t>(id - 61)], 1);
    switch (id) {
    case 10: d.SetInteger(&reserved10, 2000); break;
    case 11: d.SetString(&boatSheet, true); break;
    case 12: d.SetString(&shipSheet, true); break;
    case 13: d.SetString(&airshipSheet, true); break;
    case 14: d.SetInteger(&boatIndex, 0); break;
    case 15: d.SetInteger(&shipIndex, 0); break;
    case 16: d.SetInteger(&airshipIndex, 0); break;
    case 17: d.SetString(&titlePicture, true); break;
    case 18: d.SetString(&gameOverPicture, true); break;
    case 19: d.SetString(&systemSkin, true); break;
    case 20: d.SetString(&systemImage2, true); break;
    case 21: d.SetInteger(&party.count, 1); break;
    case 22: d.SetBlock(&party.bytes); break;
    case 26: d.SetInteger(&menuCommands.count, 1); break;
    case 27: d.SetBlock(&menuCommands.bytes); break;
    case 71: d.SetInteger(&windowBackgroundMode, 0); break;
    case 72: d.SetInteger(&font, 0); break;
    case 81: d.SetInteger(&reserved81, 1); break;
    case 82: d.SetFixed(&reserved82, 1); break;
    case 84: d.SetString(&battleTestBackdrop, true); break;
    case 85: d.SetList(&battleTestParty); break;
    case 91: d.SetInteger(&saveCounter, 0); break;
    case 94: d.SetInteger(&reserved94, 1); break;
    case 95: d.SetInteger(&reserved95, 0); break;
    case 96: d.SetInteger(&reserved96, 0); break;
    case 97: d.SetInteger(&equipByClass, 0); break;
    case 98: d.SetInteger(&reserved98, 0); break;
    case 99: d.SetInteger(&frameOverlay, 0); break;
    case 100: d.SetString(&frameImage, true); break;
    case 101: d.SetBoolean(&battlerMirroring, 0); break;
    }
}

void TLcfSystem::Clear() {
    TCatalogBaseItem::Clear();
    party.Resize(1, 1);
    // A database always carries the menu commands; without them the one
    // entry holds 0, which the menu skips.
    menuCommands.Resize(1, 0);
    for (auto& m : music) m.Clear();
    for (auto& s : sounds) s.Clear();
    transitions.fill(0);
    reserved82 = 1;
    battleTestParty.Clear();
}

void TLcfSystem::SaveToStream(ByteWriter& w) {
    // Wraps rather than overflowing on a counter taken from a file.
    saveCounter = static_cast<int32_t>(static_cast<uint32_t>(saveCounter) + 1u);
    WriteFields(w);
}
