#pragma once
// The battle interpreter: runs the battle event pages of the current troop
// during a battle. It keeps which pages have run since the last queued
// turn; it is never saved and is cleared with the game.

#include <cstdint>
#include <set>

#include "game/interpreter/base_scripter.h"

class TLcfgUnitItem;
class TLcfBattleEventTrigger;

class TLcfgBattleScripter : public TLcfgBaseScripter {
public:
    // When the battle scene asks for a page: before a battler's turn, after
    // an enemy's turn, at the start of the battle.
    enum Trigger : int { kBeforeTurn = 1, kAfterEnemyTurn = 2, kBattleStart = 3 };

    TLcfgBattleScripter() = default;
    // The base's clear, then every page flag.
    void Clear() override {
        TLcfgBaseScripter::Clear();
        ClearPageFlags();
    }
    // The base's end, then the input's key repeat starts afresh, so a key
    // held through the event does not run on in the battle's menus.
    void EndScript() override;

    // Called by Clear and whenever a battler's turn is queued.
    void ClearPageFlags() { pageDone_.clear(); }
    // Flags are kept by page id, so any id a troop file holds has its own.
    bool PageDone(int32_t page) const { return pageDone_.count(page) != 0; }
    void SetPageDone(int32_t page) { pageDone_.insert(page); }

    // Tests the pages of troop `troopId` in order and starts the first one
    // whose conditions all hold (see the .cpp); true when one started.
    // `battler` is the one whose turn it is, or null.
    bool FindTriggeredPage(int32_t troopId, int trigger, TLcfgUnitItem* battler);
    // Whether a page's conditions hold now (the trigger kind aside).
    static bool ConditionsHold(const TLcfBattleEventTrigger& t, const TLcfgUnitItem* battler);

    // Once per battle frame while the battle's events are enabled.
    void Update();

private:
    std::set<int32_t> pageDone_;
};

// The battle interpreter of the running game (made by the game-state
// container).
extern TLcfgBattleScripter* GameBattleScripter;
