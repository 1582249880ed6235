#pragma once
// The battle settings record (database section 29): layout style, automatic
// placement, window options, what follows a defeat, and the battle commands
// that heroes and classes name by id. It also places heroes and enemies on
// the 320x240 battle screen.

#include <cstdint>
#include <string>

#include "data/record/catalog.h"

// One battle command; its id is the command id.
class TLcfBattleCMDItem : public TCatalogItem {
public:
    explicit TLcfBattleCMDItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    // The name is written even when empty.
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    int32_t kind = 0;  // what the command does
};

class TLcfBattleCMD : public TCatalogOf<TLcfBattleCMDItem> {
public:
    TLcfBattleCMDItem* GetCommand(int index) const { return GetStrict(index, 65266); }
    TLcfBattleCMDItem* FindCommand(int32_t id) const { return FindStrict(id, 65266); }
};

// Battle start kinds.
enum TLcfBattleStart : int32_t {
    kStartNormal = 0,
    kStartInitiative = 1,
    kStartBackAttack = 2,
    kStartSurround = 3,
    kStartPincer = 4,
};

class TLcfBattle : public TCatalogBaseItem {
public:
    TLcfBattle() { Clear(); }
    // Chunks 4 and 15 are one field: the later one read wins, and it is
    // written under both ids.
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Defaults, and exactly one battle command (id 1, no name, kind 0).
    void Clear() override;

    // Windows use 15-pixel lines only for exactly the value 1.
    bool CompactWindows() const { return compactWindows == 1; }

    // Placement on the battle screen. `kind` is the start kind, `layout` the
    // layout style, `terrain` the battle's terrain id (its grid, or a fixed
    // one below 1), `count` the number of members (taken as 1..8) and
    // `index` the member (from 0; 8 or more reads the tables' 0 entries).
    int HeroScreenX(int kind, int layout, int terrain, int count, int index, int offset) const;
    int HeroScreenY(int kind, int layout, int terrain, int count, int index) const;
    int MonsterScreenX(int kind, int layout, int terrain, int count, int index, int offset) const;
    int MonsterScreenY(int kind, int layout, int terrain, int count, int index) const;
    // 1 facing the other way, 0 not.
    static int MonsterFacing(int kind, int index);

    int32_t autoPlacement = 0;
    int32_t defeatContinues = 0;  // chunks 4 and 15
    int32_t reserved6 = 0;
    int32_t layoutStyle = 0;
    uint8_t reserved9 = 1;
    TLcfBattleCMD commands;
    int32_t defeatCommonEvent = 1;
    int32_t compactWindows = 0;
    uint8_t translucentWindows = 0;
    uint8_t defeatTeleport = 0;
    int32_t teleportMap = 1;
    int32_t teleportX = 0;
    int32_t teleportY = 0;
    int32_t teleportDirection = 0;
};
