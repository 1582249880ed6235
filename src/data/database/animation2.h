#pragma once
// Battler animation sets (database section 32): per set, the 32 poses of a
// hero's battle sprite and 32 weapon pictures.

#include <cstdint>
#include <string>

#include "data/record/catalog.h"

// One pose; its index is its id - 1.
class TLcfBattleMyCharacterItem : public TCatalogItem {
public:
    enum Kind : int32_t { kSpriteSheet = 0, kAnimation = 1 };

    explicit TLcfBattleMyCharacterItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    std::string image;  // battle sprite sheet
    int32_t index = 0;  // row in the sheet
    int32_t kind = kSpriteSheet;
    int32_t animationId = 1;  // battle animation of a kind-1 pose
};

class TLcfBattleMyCharacter : public TCatalogOf<TLcfBattleMyCharacterItem> {
public:
    static constexpr int kPoses = 32;
    // The pose of index 0..31 (id index + 1); raises when there is none.
    TLcfBattleMyCharacterItem* GetPose(int index) const;
};

// One weapon picture.
class TLcfCBAWeaponItem : public TCatalogItem {
public:
    explicit TLcfCBAWeaponItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    std::string image;  // weapon sheet
    int32_t index = 0;  // row in the sheet
};

class TLcfCBAWeapon : public TCatalogOf<TLcfCBAWeaponItem> {
public:
    static constexpr int kWeapons = 32;
    // The weapon picture at list index `index`; raises when there is none.
    TLcfCBAWeaponItem* GetWeaponAnimation(int index) const { return GetStrict(index, 65264); }
};

class TLcfAnimation2Item : public TCatalogItem {
public:
    explicit TLcfAnimation2Item(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // 32 poses (0..11 named from the string table, the rest unnamed) and 32
    // weapon entries.
    void Clear() override;

    int32_t reserved2 = 20;
    TLcfBattleMyCharacter poses;
    TLcfCBAWeapon weapons;
};

class TLcfAnimation2 : public TCatalogOf<TLcfAnimation2Item> {
public:
    TLcfAnimation2Item* GetAnimation2(int index) const { return GetStrict(index, 65309); }
    TLcfAnimation2Item* FindAnimation2(int32_t id) const { return FindStrict(id, 65309); }
};
