#pragma once
// The party's members, inventory and timers as the map world and the
// interpreter ask for them, answered by the party information and the
// actors; and the stamps the interpreters check after a load, answered by
// the party's record.

#include "game/interpreter/interpreter_hooks.h"
#include "game/map/world_hooks.h"

class TLcfgWorldParty : public IWorldPartyHooks, public IPartyHooks {
public:
    // --- Map world ---------------------------------------------------------------
    bool HasItem(int32_t itemId) const override;
    bool HasActor(int32_t actorId) const override;
    int32_t TimerSeconds(int timer) const override;
    bool LeaderSprite(std::string& name, int32_t& index, bool& transparent) const override;
    bool ApplyTerrainDamage(int32_t damage) override;
    void CountStep() override;

    // --- Interpreter --------------------------------------------------------------
    void LoseGold(int32_t amount) override;
    bool MapStampCurrent() const override;
    bool DatabaseStampCurrent() const override;
};
