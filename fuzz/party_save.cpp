// Fuzzes the actors' and the party's save chunks: any bytes must load or
// raise a read error; whatever loads must stay usable and write, read back
// and write again unchanged. The first byte picks the chunk.
#include <cstdint>
#include <cstdlib>

#include "data/database/database.h"
#include "game/actors/player.h"
#include "game/party/party_info.h"
#include "chunk_round_trip.h"

using fuzz_support::Load;
using fuzz_support::Save;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TLcfDataBase* db = [] {
        auto* d = new TLcfDataBase;
        DbStatus->SetCount(3);
        DbPlayer->SetCount(3);
        DbItem->SetCount(4);
        return d;
    }();
    (void)db;
    static TLcfgPlayer* players = GamePlayers = new TLcfgPlayer;
    static TLcfgPartyInfo* party = GamePartyInfo = new TLcfgPartyInfo;
    if (size == 0) return 0;
    bool actors = data[0] & 1;
    ByteReader r(data + 1, size - 1);
    try {
        if (actors) players->LoadFromStream(r);
        else party->LoadFromStream(r);
    } catch (const Exception&) {
        players->Reset();
        party->Reset();
        return 0;
    }
    for (int i = 0; i < players->Count(); ++i) {
        TLcfgPlayerItem* a = players->ByIndex(i);
        a->GainExp(1000, false);
        a->LoseExp(10);
        a->DamageHp(5, false);
        a->SortConditions();
        (void)a->EffectiveAttack();
        (void)a->BattleCommand(0);
    }
    party->TickTimers();
    (void)party->Exhaustion();
    (void)party->AverageAgility();
    if (actors) {
        std::vector<uint8_t> first = Save(*players);
        Load(*players, first);
        if (Save(*players) != first) std::abort();
    } else {
        std::vector<uint8_t> first = Save(*party);
        Load(*party, first);
        if (Save(*party) != first) std::abort();
    }
    return 0;
}
