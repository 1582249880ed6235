#include "game/party/world_party_hooks.h"

#include "data/database/database.h"
#include "data/database/system.h"
#include "data/map/map.h"
#include "game/actors/player.h"
#include "game/party/party_info.h"
#include "game/walker/party.h"

bool TLcfgWorldParty::HasItem(int32_t itemId) const { return GamePartyInfo && GamePartyInfo->HasItem(itemId); }

bool TLcfgWorldParty::HasActor(int32_t actorId) const { return GamePartyInfo && GamePartyInfo->IsMember(actorId); }

int32_t TLcfgWorldParty::TimerSeconds(int timer) const {
    if (!GamePartyInfo) return 0;
    return timer == 1 ? GamePartyInfo->Timer1Seconds() : GamePartyInfo->Timer2Seconds();
}

bool TLcfgWorldParty::LeaderSprite(std::string& name, int32_t& index, bool& transparent) const {
    const TLcfgPlayerItem* leader = GamePartyInfo ? GamePartyInfo->Member(0) : nullptr;
    if (!leader) return false;
    name = leader->SpriteName();
    index = leader->SpriteIndex();
    transparent = leader->SpriteTransparency() != 0;
    return true;
}

bool TLcfgWorldParty::ApplyTerrainDamage(int32_t damage) {
    if (!GamePartyInfo || damage == 0) return false;
    bool damaged = false;
    for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) {
        TLcfgPlayerItem* member = GamePartyInfo->Member(i);
        if (!member) continue;
        if (damage < 0) {
            member->RecoverHp(damage == INT32_MIN ? INT32_MAX : -damage);
        } else if (!member->NoTerrainDamage()) {
            // Damage floors wear the party down but leave 1 HP: nothing
            // checks for a lost game between two steps.
            member->DamageHp(damage, false);
            damaged = true;
        }
    }
    return damaged;
}

void TLcfgWorldParty::CountStep() {
    if (!GamePartyInfo) return;
    GamePartyInfo->CountStep();
    for (int i = 0; i < GamePartyInfo->MemberCount(); ++i)
        if (TLcfgPlayerItem* member = GamePartyInfo->Member(i)) member->ApplyWalkingConditions();
}

void TLcfgWorldParty::LoseGold(int32_t amount) {
    if (GamePartyInfo) GamePartyInfo->LoseGold(amount);
}

bool TLcfgWorldParty::MapStampCurrent() const {
    return !GameParty || !GameMapUnit || GameParty->mapStamp == GameMapUnit->saveCounter;
}

bool TLcfgWorldParty::DatabaseStampCurrent() const {
    return !GameParty || !DbSystem || GameParty->databaseStamp == DbSystem->saveCounter;
}
