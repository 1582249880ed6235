#pragma once
// Conditions (database section 18): the status effects of battlers.
// Condition 1 is the fallen state.

#include <cstdint>
#include <string>

#include "data/record/catalog.h"

class TLcfStatusItem : public TCatalogItem {
public:
    enum Restriction : uint8_t { kNone = 0, kCannotAct = 1, kAttacksEnemies = 2, kAttacksAllies = 3 };

    explicit TLcfStatusItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // The generic read; the fallen state's "already affected" and "each
    // turn" messages are then always emptied.
    void LoadFromStream(ByteReader& r) override;

    // Text colour of the name, kept to the skin's 0..19.
    int Colour() const;
    // Inflict chance by the target's rank 0..4 (A..E); 0 for any other rank.
    int32_t InflictChance(int rank) const { return rank >= 0 && rank < 5 ? inflictChance[rank] : 0; }

    uint8_t persistence = 0;  // 0 ends with the battle, 1 stays after it
    int32_t colour = 6;
    int32_t priority = 50;
    uint8_t restriction = kNone;
    int32_t inflictChance[5] = {100, 80, 60, 30, 0};
    int32_t minimumTurns = 0;
    int32_t recoveryChance = 0;
    int32_t recoveryByDamage = 0;
    int32_t parameterEffect = 0;  // 0 halves, 1 doubles
    uint8_t affectsAttack = 0, affectsDefense = 0, affectsSpirit = 0, affectsAgility = 0;
    int32_t hitRate = 100;
    uint8_t flagA = 0, flagB = 0, flagC = 0;
    int32_t reserved39 = 6;
    uint8_t blockPhysical = 0;
    int32_t physicalLimit = 0;
    uint8_t blockMagical = 0;
    int32_t magicalLimit = 0;
    int32_t hpDirection = 0, spDirection = 0;  // 0 loss, 1 gain
    std::string messageHero, messageEnemy, messageAlready, messageEachTurn, messageRecovery;
    int32_t battleHpPercent = 0, battleHpPoints = 0, mapHpPercent = 0, mapHpPoints = 0;
    int32_t battleSpPercent = 0, battleSpPoints = 0, mapSpPercent = 0, mapSpPoints = 0;
};

class TLcfStatus : public TCatalogOf<TLcfStatusItem> {
public:
    TLcfStatusItem* FindStatus(int32_t id) const { return FindStrict(id, 65291); }
};
