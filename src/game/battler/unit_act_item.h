#pragma once
// One battler's queued action for its next turn.

#include <cstdint>

class TLcfgUnitActItem {
public:
    enum Kind : uint8_t { kBasic = 0, kSkill = 1, kTransform = 2, kItem = 3, kNone = 4, kChooseAtTurn = 5 };
    enum Basic : uint8_t {
        kAttack = 0, kDoubleAttack = 1, kDefend = 2, kObserve = 3, kCharge = 4,
        kSelfDestruct = 5, kEscape = 6, kDoNothing = 7, kChangeRow = 8,
    };
    // Absolute sides: party or troop, not relative to the battler.
    enum Target : uint8_t { kOneMember = 1, kParty = 2, kOneEnemy = 3, kTroop = 4 };

    void Reset() { *this = TLcfgUnitActItem(); }

    uint8_t kind = kNone;
    uint8_t basic = kAttack;
    int32_t skillId = 0;
    // The skill list's top row when the skill was chosen: the list opens
    // there again with the cursor on that skill.
    int32_t skillTopRow = 0;
    int32_t transformId = 0;
    int32_t itemId = 0;
    int32_t switchOnId = 0;
    int32_t switchOffId = 0;
    uint8_t targetKind = 0;
    int32_t targetIndex = 0;
};
