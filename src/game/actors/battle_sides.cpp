#include "game/actors/battle_sides.h"

#include "game/actors/player.h"
#include "game/party/party_info.h"

namespace battle_sides {

int PartySize() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }

TLcfgPlayerItem* PartyMember(int index) {
    if (!GamePartyInfo || !GamePlayers || index < 0 || index >= PartySize()) return nullptr;
    return GamePlayers->Find(GamePartyInfo->MemberId(index));
}

int PartySlotOf(const TLcfgPlayerItem& actor) {
    for (int i = 0; i < PartySize(); ++i)
        if (PartyMember(i) == &actor) return i;
    return -1;
}

bool PartyHasLiving() {
    for (int i = 0; i < PartySize(); ++i)
        if (const TLcfgPlayerItem* a = PartyMember(i); a && a->IsAlive()) return true;
    return false;
}

bool PartyAnimationRunning() { return GamePlayers && GamePlayers->AnimationRunning(); }

bool TroopHasLiving() {
    for (int i = 0; i < TroopSize(); ++i)
        if (const TLcfgUnitItem* e = Enemy(i); e && e->IsAlive()) return true;
    return false;
}

}  // namespace battle_sides
