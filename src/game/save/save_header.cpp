#include "game/save/save_header.h"

TLcfgSaveHeader* GameSaveHeader = nullptr;

void TLcfgSaveHeader::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
        case 1: d.SetDouble(&saveTime, 0); break;
        case 11: d.SetString(&leaderName, true); break;
        case 12: d.SetInteger(&leaderLevel, 0); break;
        case 13: d.SetInteger(&leaderHp, 0); break;
        default:
            // 21/22, 23/24, 25/26, 27/28: face name and index of members 1-4.
            if (id >= 21 && id <= 28) {
                size_t member = size_t(id - 21) / 2;
                if ((id - 21) % 2 == 0)
                    d.SetString(&faceNames_[member], true);
                else
                    d.SetInteger(&faceIndices_[member], 0);
            }
            break;
    }
}

std::string TLcfgSaveHeader::FaceName(int i) const {
    return i >= 0 && i < kMembers ? faceNames_[size_t(i)] : std::string();
}

int32_t TLcfgSaveHeader::FaceIndex(int i) const { return i >= 0 && i < kMembers ? faceIndices_[size_t(i)] : 0; }

void TLcfgSaveHeader::SetFace(int i, const std::string& name, int32_t index) {
    if (i < 0 || i >= kMembers) return;
    faceNames_[size_t(i)] = name;
    faceIndices_[size_t(i)] = index;
}
