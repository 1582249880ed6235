#pragma once
// The three vehicles: the boat (kind 1), the ship (2) and the airship (3).
// A vehicle stands where it was left, follows the party while ridden,
// crosses terrain by its own rules, and the airship rises, flies with a
// shadow and lands. Saved as chunks 105-107 of the save file.

#include "game/character/character.h"

class TLcfgShip : public TLcfgCharacter {
public:
    enum : int32_t { kBoat = 1, kShip = 2, kAirship = 3 };

    explicit TLcfgShip(int32_t kind);

    Kind CharacterKind() const override;
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    void LoadFromStream(ByteReader& r) override;

    void LoadSprite();
    std::string SpriteName() const;
    int32_t SpriteIndex() const;
    void SetSprite(const std::string& name, int32_t index);
    void ResetFacing();
    void ParkAt(const TLcfgCharacter& party);
    bool IsOnScreen() const override;
    bool Collides(const TLcfgCharacter& other, bool extra) const override;
    bool CanMoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) override;
    void AnimateStep() override;
    void UpdateMovement() override;
    void Draw(TSorvoBoard& board) override;

    int32_t Kind() const { return kind_; }
    bool OnPartyMap() const;

    int32_t ascent = 0;            // [106]
    int32_t descent = 0;           // [107]
    std::string spriteOverride;    // [111]
    int32_t spriteIndexOverride = 0;  // [112]

private:
    int32_t kind_;
    int32_t savedKind_ = 0;        // [101] as read; the creation kind stays
};

extern TLcfgShip* GameBoat;
extern TLcfgShip* GameShip;
extern TLcfgShip* GameAirship;
// 1 boat, 2 ship, 3 airship; null for anything else.
TLcfgShip* GameVehicle(int32_t kind);
