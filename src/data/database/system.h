#pragma once
// The system record (database section 22): vehicle sprites, title and
// game-over pictures, skins, the initial party, the main-menu commands, the
// standard music and sounds, scene transitions, window options, the
// battle-test set-up and the frame overlay.

#include <array>
#include <cstdint>
#include <string>

#include "data/database/audio_reference.h"
#include "data/record/catalog.h"
#include "data/record/counted_array.h"

// One member of the battle-test party; its id is its place in the list.
class TLcfTestPlayerItem : public TCatalogItem {
public:
    explicit TLcfTestPlayerItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // Item id in equipment slot 0..4 (0 weapon, 1..4 armour); 0 outside.
    int32_t GetEquipment(int slot) const;

    int32_t heroId = 1;
    int32_t level = 1;
    std::array<uint16_t, 5> equipment{};  // held as 16 bits
};

class TLcfTestPlayer : public TCatalogOf<TLcfTestPlayerItem> {};

// Positions of the standard music records (chunks 31..38).
enum TLcfSystemMusic : int {
    kMusicTitle, kMusicBattle, kMusicVictory, kMusicInn,
    kMusicBoat, kMusicShip, kMusicAirship, kMusicGameOver,
    kSystemMusicCount
};

// Positions of the standard sounds (chunks 41..52).
enum TLcfSystemSound : int {
    kSoundCursor, kSoundDecision, kSoundCancel, kSoundBuzzer,
    kSoundBattleStart, kSoundEscape, kSoundEnemyAttack, kSoundEnemyDamaged,
    kSoundAllyDamaged, kSoundEvasion, kSoundEnemyDefeated, kSoundItemUse,
    kSystemSoundCount
};

// Positions of the scene transitions (chunks 61..66).
enum TLcfSystemTransition : int {
    kTransitionTeleportErase, kTransitionTeleportShow,
    kTransitionBattleStartErase, kTransitionBattleStartShow,
    kTransitionBattleEndErase, kTransitionBattleEndShow,
    kSystemTransitionCount
};

class TLcfSystem : public TCatalogBaseItem {
public:
    TLcfSystem() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // Raises the save counter, then writes: the file carries the raised value.
    void SaveToStream(ByteWriter& w) override;

    // Hero id of initial-party entry `index`; 0 outside the party.
    int32_t GetPartyMember(int index) const { return party.Get(index, 0); }
    int PartySize() const { return party.Length(); }
    // Menu command code at `index`; 0 outside the list.
    int32_t GetMenuCommand(int index) const { return menuCommands.Get(index, 0); }
    int MenuCommandCount() const { return menuCommands.Length(); }

    int32_t reserved10 = 2000;
    std::string boatSheet, shipSheet, airshipSheet;
    int32_t boatIndex = 0, shipIndex = 0, airshipIndex = 0;
    std::string titlePicture, gameOverPicture, systemSkin, systemImage2;
    TCountedArray<uint16_t> party;         // chunks 21/22
    TCountedArray<uint16_t> menuCommands;  // chunks 26/27
    std::array<TLcfMusic, kSystemMusicCount> music;
    std::array<TLcfSound, kSystemSoundCount> sounds;
    std::array<uint8_t, kSystemTransitionCount> transitions{};
    int32_t windowBackgroundMode = 0;  // 0 stretched, else tiled
    int32_t font = 0;
    int32_t reserved81 = 1;
    uint8_t reserved82 = 1;
    std::string battleTestBackdrop;
    TLcfTestPlayer battleTestParty;
    int32_t saveCounter = 0;
    int32_t reserved94 = 1, reserved95 = 0, reserved96 = 0;
    int32_t equipByClass = 0;
    int32_t reserved98 = 0;
    int32_t frameOverlay = 0;
    std::string frameImage;
    uint8_t battlerMirroring = 0;
};
