#pragma once
// All actors: one per database hero, in the party or not. Saved as chunk
// 108 of the save file.

#include "data/record/catalog.h"
#include "game/actors/player_item.h"

class TLcfgPlayer : public TCatalogOf<TLcfgPlayerItem> {
public:
    TLcfgPlayer() { Reset(); }
    // One actor per database hero, each cleared from the database.
    void Reset();
    // The saved actors, without those whose hero the database no longer
    // has, then every hero the save lacks, cleared from the database.
    void LoadFromStream(ByteReader& r) override;

    // Raise "Event script referenced a hero that does not exist." when
    // there is no such actor.
    TLcfgPlayerItem* ByIndex(int index) const { return GetStrict(index, 65289); }
    TLcfgPlayerItem* Get(int32_t id) const { return FindStrict(id, 65289); }
};

// The actors of the running game.
extern TLcfgPlayer* GamePlayers;
