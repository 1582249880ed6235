#pragma once
// Terrain (database section 16): walking damage, encounters, vehicles,
// bushes, the battle backdrop, special battle starts and the battle grid.

#include <cstdint>
#include <string>

#include "data/database/audio_reference.h"
#include "data/record/catalog.h"

class TLcfGroundItem : public TCatalogItem {
public:
    // Bits of the field of special battle starts.
    enum SpecialStart : int32_t { kInitiative = 1, kBackAttack = 2, kSurround = 4, kPincer = 8 };

    explicit TLcfGroundItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    // Bush depth kept to 0..3 for the character drawing.
    int BushDepth() const;
    // The start kind of a battle begun here: the initiative, back-attack,
    // surround and pincer tests in that order, each drawing Random(100) only
    // when its bit is set; the first success decides, none gives 0.
    int RollSpecialStart() const;

    int32_t damage = 0;  // per step: positive HP lost, negative HP gained
    int32_t encounterRate = 100;
    std::string backdrop;
    uint8_t boatPassable = 0, shipPassable = 0, airshipPassable = 1, airshipLands = 1;
    uint8_t bushDepth = 0;
    TLcfSound stepSound;
    uint8_t soundOnDamageOnly = 0;
    int32_t backdropKind = 0;  // 0 the image, else the two layers
    std::string layer1Image;
    uint8_t layer1ScrollH = 0, layer1ScrollV = 0;
    int32_t layer1SpeedH = 0, layer1SpeedV = 0;
    uint8_t layer2Shown = 0;
    std::string layer2Image;
    uint8_t layer2ScrollH = 0, layer2ScrollV = 0;
    int32_t layer2SpeedH = 0, layer2SpeedV = 0;
    int32_t specialStarts = 0;
    int32_t initiativeChance = 15, backAttackChance = 10, surroundChance = 10, pincerChance = 5;
    int32_t reserved45 = 0;
    int32_t gridTop = 120, gridDepth = 392, gridWidth = 16000;
};

class TLcfGround : public TCatalogOf<TLcfGroundItem> {
public:
    TLcfGroundItem* FindGround(int32_t id) const { return FindStrict(id, 65283); }
};
