#pragma once
// The player's character on the map: walks by the keys, starts events by
// touch and by the decision key (across counters), counts steps for random
// encounters, opens the menu, boards and leaves the vehicles, drags the view
// along and pans the screen. Saved as chunk 104 of the save file.

#include "game/character/character.h"

class TLcfgShip;

class TLcfgParty : public TLcfgCharacter {
public:
    static constexpr int32_t kPanX = 2304;  // 9 tiles from the view's left edge
    static constexpr int32_t kPanY = 1792;  // 7 tiles from its top edge

    TLcfgParty();

    Kind CharacterKind() const override { return kKindParty; }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // The read, the loaded fields kept in range, then the map set up.
    void LoadFromStream(ByteReader& r) override;
    // The stamps copied from the map file and the database first.
    void SaveToStream(ByteWriter& w) override;

    void SetPosition(int32_t map, int32_t x, int32_t y) override;
    bool CanMoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) override;
    bool Collides(const TLcfgCharacter& other, bool extra) const override;
    bool Move(int32_t d) override;
    void AdvanceMovement(int32_t n) override;
    void UpdateMovement() override;
    void SetGraphic(const std::string& name, int32_t index) override;
    bool Update() override;
    void Draw(TSorvoBoard& board) override;

    void ResetAnimation();
    void RefreshGraphic();
    bool CanLandAirship() const;
    bool UpdateAirship();
    void RollEncounter();
    void StartEncounter();
    bool BoardOrLeaveVehicle();
    void ForceLeaveVehicle();
    bool TriggerHere(int32_t trigger, bool byKey);
    bool TriggerInFront(int32_t trigger, bool byKey);
    void PanScreen(int32_t direction, int32_t tiles, int32_t speed);
    void ResetPan(int32_t speed);
    int32_t PanFramesLeft() const;
    void SetPanX(int32_t value) { panX = panTargetX = value; }
    void SetPanY(int32_t value) { panY = panTargetY = value; }
    // The vehicle being ridden (kinds 1-3), else null.
    TLcfgShip* Vehicle() const;
    bool InAirship() const { return riding && vehicleKind == 3; }

    uint8_t boarding = 0;          // [101]
    uint8_t riding = 0;            // [102]
    int32_t vehicleKind = 0;       // [103]
    uint8_t leaving = 0;           // [104]
    int32_t walkingSpeed = 4;      // [105]
    uint8_t menuRequested = 0;     // [108]
    uint8_t viewFollows = 1;       // [111]
    int32_t panX = kPanX, panY = kPanY;              // [112, 113]
    int32_t panTargetX = kPanX, panTargetY = kPanY;  // [114, 115]
    int32_t panSpeed = 16;         // [121]
    int32_t encounterSteps = 0;    // [124]
    uint8_t encounterPending = 0;  // [125]
    int32_t mapStamp = 0;          // [131]
    int32_t databaseStamp = 0;     // [132]

private:
    void ScrollWithStep(bool wasJump, int32_t n, int32_t jumpDx, int32_t jumpDy);
    void StepPan(int32_t& pan, int32_t target, bool horizontal);
    void ApplyMapTreeSettings();
};

// Pan speeds for 1..6 (kept inside the table).
int32_t PanSpeedOf(int32_t speed);

extern TLcfgParty* GameParty;
