#pragma once
// The battle interpreter: runs the battle event pages of the current troop
// during a battle. It keeps which pages have run in this turn; it is never
// saved and is cleared with the game.

#include <array>
#include <cstdint>

#include "game/interpreter/base_scripter.h"

class TLcfgBattleScripter : public TLcfgBaseScripter {
public:
    static constexpr int kPages = 100;

    TLcfgBattleScripter() { ClearPageFlags(); }
    // The base's clear, then every page flag.
    void Clear() override {
        TLcfgBaseScripter::Clear();
        ClearPageFlags();
    }
    void ClearPageFlags() { pageDone_.fill(0); }
    // Pages 1..100; others read as not done and are not stored.
    bool PageDone(int32_t page) const { return page >= 1 && page <= kPages && pageDone_[size_t(page - 1)] != 0; }
    void SetPageDone(int32_t page) {
        if (page >= 1 && page <= kPages) pageDone_[size_t(page - 1)] = 1;
    }

private:
    std::array<uint8_t, kPages> pageDone_{};
};

// The battle interpreter of the running game (made by the game-state
// container).
extern TLcfgBattleScripter* GameBattleScripter;
