// Cost of an actor's parameter reads (each reads its hero, class and
// equipment records through the record views) and of a level-up.
#include <benchmark/benchmark.h>

#include "data/database/database.h"
#include "game/actors/player.h"
#include "game/party/party_info.h"

namespace {

struct Game {
    Game() {
        DbPlayer->SetCount(4);
        DbItem->SetCount(50);
        DbStatus->SetCount(20);
        players = std::make_unique<TLcfgPlayer>();
        GamePlayers = players.get();
        party = std::make_unique<TLcfgPartyInfo>();
        GamePartyInfo = party.get();
        for (int id = 1; id <= 4; ++id) party->AddMember(id);
    }
    ~Game() {
        GamePartyInfo = nullptr;
        GamePlayers = nullptr;
    }
    TLcfDataBase db;
    std::unique_ptr<TLcfgPlayer> players;
    std::unique_ptr<TLcfgPartyInfo> party;
};

void BM_EffectiveAgilityOfTheParty(benchmark::State& state) {
    Game game;
    for (auto _ : state) benchmark::DoNotOptimize(game.party->AverageAgility());
}
BENCHMARK(BM_EffectiveAgilityOfTheParty);

void BM_MaxHp(benchmark::State& state) {
    Game game;
    TLcfgPlayerItem* a = game.players->Get(1);
    for (auto _ : state) benchmark::DoNotOptimize(a->MaxHP());
}
BENCHMARK(BM_MaxHp);

void BM_GainExpToLevel50(benchmark::State& state) {
    Game game;
    TLcfgPlayerItem* a = game.players->Get(1);
    for (auto _ : state) {
        a->LoseExp(9999999);
        a->GainExp(int32_t(a->ExpForLevel(50)), false);
    }
}
BENCHMARK(BM_GainExpToLevel50);

}  // namespace

BENCHMARK_MAIN();
