#include "game/actors/player.h"

#include "data/record/var_int.h"
#include "data/database/database.h"
#include "game/battle/side_animation.h"

TLcfgPlayer* GamePlayers = nullptr;

TLcfgPlayer::TLcfgPlayer() : animation_(std::make_unique<TLcfgSideAnimation>()) { Reset(); }

TLcfgPlayer::~TLcfgPlayer() = default;

void TLcfgPlayer::Reset() {
    SetCount(HeroCount());
    if (animation_) animation_->Reset();
}

void TLcfgPlayer::LoadFromStream(ByteReader& r) {
    Clear();
    int heroes = HeroCount();
    try {
        int32_t count = ReadVarInt(r);
        for (int32_t i = 0; i < count; ++i) {
            int32_t id = ReadVarInt(r);
            // An actor whose hero the database no longer has is dropped.
            if (id >= 1 && id <= heroes) GetOrCreate(id)->LoadFromStream(r);
            else SkipRecord(r);
        }
    } catch (const Exception&) {
        Reset();
        throw;
    }
    for (int32_t id = 1; id <= heroes; ++id) GetOrCreate(id);
}
