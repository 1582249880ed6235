#pragma once
// The owner of every run-time game object: it makes them in a fixed order,
// resets them for a new game, and moves them to and from the save files
// "Save%.2d.lsd".
//
// File form: the string "LcfSaveData" (length-prefixed), then chunks 100 to
// 114 (id, byte length, body), one per object, and nothing after the last.
// Readers accept the chunks in any order and skip ids they do not know.
//
// Saving never harms the old file: the new one is written to a temporary
// file beside it and renamed over it. Loading checks the whole file's
// chunk structure before it touches the game, and a file that fails part
// way leaves a cleanly reset game. Loading the party's chunk sets its map
// up from the map file; a save that puts the party on no map is damaged.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "data/record/catalog_base_item.h"
#include "game/save/save_header.h"

class TLcfgMap;
class TLcfgParty;
class TLcfgScreen;

// Where a new game starts (the map tree's start position).
struct TPartyStart {
    int32_t mapId = 0, x = 0, y = 0;
};

class TGameSystemScreen;
class TLcfgCommonEvent;
class TLcfgPlayer;
class TLcfgMonster;
class TLcfgBattleScripter;
class TLcfSystemGraphic;

class TLcfgSaveData {
public:
    static constexpr int kFirstChunk = 100;
    static constexpr int kLastChunk = 114;
    static constexpr int kSlotCount = 15;

    // The skin is the one the system state reloads (null: none).
    explicit TLcfgSaveData(TLcfSystemGraphic* skin = nullptr);
    ~TLcfgSaveData();
    TLcfgSaveData(const TLcfgSaveData&) = delete;
    TLcfgSaveData& operator=(const TLcfgSaveData&) = delete;

    // Every object back to its new-game state, in creation order.
    void Reset();
    // Reset, then the party to the start position: through the field
    // scene's transfer when there is one, else placed at once. Either sets
    // the map up from its file and plays its music. Raises message 65308
    // when the game has none.
    void NewGame();
    // false when the slot's file is missing (nothing changed) or damaged
    // (the game is left reset; *error says why).
    bool Load(int slot, std::string* error = nullptr);
    // Reads only the header of the slot into GameSaveHeader (cleared first);
    // false when missing or unreadable. The running game is not touched.
    bool LoadHeader(int slot);
    // Writes the slot; false (with *error) when it could not be written, and
    // the old file is then as it was.
    bool Save(int slot, std::string* error = nullptr);

    // The whole file in memory, and back.
    std::vector<uint8_t> SaveToBytes();
    // Throws EReadError on a bad file.
    void LoadFromBytes(std::span<const uint8_t> bytes, bool headerOnly);

    // The object that owns chunk id (100-114), or null.
    TCatalogBaseItem* ChunkOwner(int id);

    TLcfgParty& Party() { return *party_; }
    TLcfgMap& Map() { return *map_; }

    // The start position source (the map tree); tests and start-up set it.
    std::function<TPartyStart()> StartPosition;
    // After chunk 103 (weather colours) and after the last chunk (map
    // animation): the screen effects' reload hooks.
    std::function<void()> AfterPicturesLoaded;
    std::function<void()> AfterLoad;

private:
    void RefillHeader();
    bool headerOnly_ = false;
    std::unique_ptr<TGameSystemScreen> systemScreen_;
    std::unique_ptr<TLcfgCommonEvent> commonEvents_;
    std::unique_ptr<TLcfgPlayer> players_;
    std::unique_ptr<TLcfgSaveHeader> header_;
    // The troop and the battle interpreter: made and reset here, never saved.
    std::unique_ptr<TLcfgMonster> monsters_;
    std::unique_ptr<TLcfgBattleScripter> battleScripter_;
    TLcfgParty* party_ = nullptr;
    TLcfgMap* map_ = nullptr;
    TLcfgScreen* screen_ = nullptr;
    // Chunks 101-114 in creation order.
    std::array<std::unique_ptr<TCatalogBaseItem>, 14> owners_;
};

// "Save%.2d.lsd" in the save folder: the game folder, or, when it cannot be
// written, a folder named like the game's under the documents folder
// (created with its parents when missing).
std::string SlotFileName(int slot);

extern TLcfgSaveData* GameSaveData;
