#pragma once
// Monster groups (database section 15): troops with their members and
// screen positions, the terrains where they are met, and battle event pages
// with their trigger conditions and scripts.

#include <cstdint>
#include <string>

#include "data/database/event_page_base.h"
#include "data/database/flag_set.h"
#include "data/record/catalog.h"

// One member; its index is its id - 1.
class TLcfMonGroupMonsterItem : public TCatalogItem {
public:
    explicit TLcfMonGroupMonsterItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    int32_t monsterId = 1;
    int32_t x = 0, y = 0;  // centre of the picture
    uint8_t hidden = 0;    // absent until a script shows it
};

class TLcfMonGroupMonster : public TCatalogOf<TLcfMonGroupMonsterItem> {};

// Whether a turn count matches (a, b): a = 0 needs the count to equal b;
// otherwise the count is at least b and count mod a equals b mod a. Worked
// in 64 bits, so no pair from a file can trap.
bool BattleTurnMatches(int32_t count, int32_t a, int32_t b);

// The conditions of a battle event page.
class TLcfBattleEventTrigger : public TCatalogBaseItem {
public:
    // Condition flag bits; a page with none set never starts.
    enum Flag : uint16_t {
        kSwitchA = 1 << 0, kSwitchB = 1 << 1, kVariable = 1 << 2, kTurn = 1 << 3,
        kExhaustion = 1 << 4, kMonsterHp = 1 << 5, kHeroHp = 1 << 6, kMonsterTurn = 1 << 7,
        kHeroTurn = 1 << 8, kCommand = 1 << 9,
    };

    TLcfBattleEventTrigger() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    // The 16-bit little-endian flag block.
    uint16_t Flags() const { return uint16_t(flags[0] | (flags[1] << 8)); }
    void SetFlags(uint16_t f) {
        flags[0] = uint8_t(f);
        flags[1] = uint8_t(f >> 8);
    }
    bool Has(Flag f) const { return (Flags() & f) != 0; }

    uint8_t flags[2] = {};
    int32_t switchA = 1, switchB = 1;
    int32_t variableId = 1, variableValue = 0;
    int32_t turnA = 0, turnB = 0;
    int32_t exhaustionMin = 0, exhaustionMax = 100;
    int32_t monsterIndex = 0, monsterHpMin = 0, monsterHpMax = 100;
    int32_t heroId = 1, heroHpMin = 0, heroHpMax = 100;
    int32_t monsterTurnIndex = 0, monsterTurnA = 0, monsterTurnB = 0;
    int32_t heroTurnId = 1, heroTurnA = 0, heroTurnB = 0;
    int32_t commandHeroId = 1, commandId = 1;
};

// One battle event page; its id is the page number. The script chunk is
// parsed by its own length.
class TLcfBattleEventPageItem : public TLcfBaseEventPageItem {
public:
    explicit TLcfBattleEventPageItem(int32_t id = 0) : TLcfBaseEventPageItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Trigger defaults and the cleared script: one end line.
    void Clear() override;

    TLcfBattleEventTrigger trigger;
};

class TLcfBattleEventPage : public TCatalogOf<TLcfBattleEventPageItem> {};

class TLcfMonGroupItem : public TCatalogItem {
public:
    explicit TLcfMonGroupItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // No members and exactly one battle event page (page 1, all defaults).
    void Clear() override;

    // Whether the troop can be met on a terrain; 1 outside the stored range.
    uint8_t GetTerrainFlag(int32_t terrainId) const { return terrainSet.GetEntry(terrainId); }

    TLcfMonGroupMonster members;
    int32_t autoPlacement = 0;
    TLcfFlagSet terrainSet{1};
    uint8_t randomAppearance = 0;  // members after the first take part with chance 9 in 15
    TLcfBattleEventPage pages;
};

class TLcfMonGroup : public TCatalogOf<TLcfMonGroupItem> {
public:
    TLcfMonGroupItem* FindMonGroup(int32_t id) const { return FindStrict(id, 65287); }
};
