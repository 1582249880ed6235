#pragma once
// The live state of the map the party stands on: the view, the overrides
// that events put over the map file (encounter rate, chip set, panorama),
// the two tile-substitution tables and the run-time event list. It answers
// the questions of every walking character: is a cell inside, which tile
// lies there, may a side be crossed, who stands on the map. Saved as chunk
// 111 of the save file.
//
// Units: a tile is 16 pixels and 256 view units; the screen is 5120 x 3840.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "data/record/catalog_base_item.h"
#include "game/event/map_event.h"

class TLcfChipSetItem;
class TLcfgCharacter;
class TLcfChipSetGraphic;
class TLcfCharSetGraphic;

class TLcfgMap : public TCatalogBaseItem {
public:
    static constexpr int kSubstitutions = 144;
    static constexpr int32_t kScreenWidthUnits = 5120;
    static constexpr int32_t kScreenHeightUnits = 3840;

    TLcfgMap();

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // The defaults; the event list is left to Setup.
    void Clear() override;
    // The generic read, the chip set looked up again and the panorama
    // reconfigured (without reloading its image).
    void LoadFromStream(ByteReader& r) override;

    // Enters the party's map: loads and prepares it (see the .cpp). A map
    // animation on the old map's characters stops, except while a save is
    // loading: the save's own animation state then holds.
    void Setup(bool reset, bool fromSave = false);
    // Loads map `id` into GameMapUnit; the default reads the game's file.
    // Tests build maps in code instead.
    std::function<void(int32_t id)> MapLoader;

    // --- View -----------------------------------------------------------------
    void SetViewX(int64_t value);
    void SetViewY(int64_t value);
    bool ScrollUp(int32_t d);
    bool ScrollDown(int32_t d);
    bool ScrollLeft(int32_t d);
    bool ScrollRight(int32_t d);

    // --- Overrides ------------------------------------------------------------
    int32_t EncounterRate() const;
    void SetEncounterRate(int32_t steps) { encounterRateOverride = steps; }
    void SetPanorama(const std::string& name);
    void SetChipSet(int32_t id);
    bool PanoramaEnabled() const;
    std::string PanoramaName() const;
    bool PanoramaHLoop() const;
    bool PanoramaVLoop() const;
    bool PanoramaHScroll() const;
    int32_t PanoramaHSpeed() const;
    bool PanoramaVScroll() const;
    int32_t PanoramaVSpeed() const;
    const TLcfChipSetItem* ChipSet() const { return chipSet_; }
    TLcfChipSetGraphic& ChipSetGraphic();
    TLcfCharSetGraphic& CharSetGraphic();

    // --- Cells ------------------------------------------------------------------
    int32_t Width() const;
    int32_t Height() const;
    bool LoopsHorizontally() const;
    bool LoopsVertically() const;
    int32_t LowerTile(int32_t x, int32_t y) const;
    int32_t UpperTile(int32_t x, int32_t y) const;
    bool IsInside(int32_t x, int32_t y) const;
    int32_t WrapX(int32_t x) const;
    int32_t WrapY(int32_t y) const;
    int32_t EventAt(int32_t x, int32_t y) const;
    int32_t TileEventAt(int32_t x, int32_t y, int32_t excludedId) const;
    bool IsPassable(int32_t x, int32_t y, int32_t excludedId, int32_t side) const;
    uint8_t LowerFlags(int32_t tile) const;
    uint8_t UpperFlags(int32_t tile) const;
    int32_t CharacterCount() const;
    TLcfgCharacter* CharacterByIndex(int i) const;
    void ReplaceTile(int layer, int32_t oldChip, int32_t newChip);

    // --- The world's frame ------------------------------------------------------
    // Clears every character's updated flag, then updates them in order.
    void UpdateCharacters();

    // --- Saved fields -------------------------------------------------------------
    int32_t viewX = 0, viewY = 0;       // [1, 2]
    int32_t encounterRateOverride = -1; // [3]
    int32_t chipSetOverride = 0;        // [5]
    TLcfgEvent events;                  // [11]
    std::array<uint8_t, kSubstitutions> lowerSubstitution{};  // [21]
    std::array<uint8_t, kSubstitutions> upperSubstitution{};  // [22]
    std::string panoramaOverride;       // [32]
    uint8_t panoramaHLoop = 0, panoramaVLoop = 0, panoramaHScroll = 0;  // [33-35]
    int32_t panoramaHSpeed = 0;         // [36]
    uint8_t panoramaVScroll = 0;        // [37]
    int32_t panoramaVSpeed = 0;         // [38]

private:
    void LookUpChipSet();
    bool Scroll(int32_t dx, int32_t dy);

    const TLcfChipSetItem* chipSet_ = nullptr;
};

// The map of the running game.
extern TLcfgMap* GameMap;
