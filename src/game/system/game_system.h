#pragma once
// The run-time system state of a game in progress: scene number, frame
// count, switches and variables, message options and face, the overrides
// that events put on the database's system settings, permissions, save
// counters and the battle wait mode. It is also the one way the game plays
// music and sounds, so the current music is always known. Saved as chunk
// 101 of the save file.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "data/database/audio_reference.h"
#include "data/database/system.h"
#include "data/record/catalog_base_item.h"
#include "data/record/counted_array.h"
#include "game/system/system_hooks.h"

class ISystemAudio;
class ISystemScreen;

// The twelve music records, by position (chunk 71 + position).
enum TLcfgMusicSlot : int {
    kGameMusicTitle, kGameMusicBattle, kGameMusicBattleEnd, kGameMusicInn,
    kGameMusicCurrent, kGameMusicBeforeBoarding, kGameMusicBeforeBattle, kGameMusicMemorized,
    kGameMusicVehicle1, kGameMusicVehicle2, kGameMusicVehicle3, kGameMusicGameOver,
    kGameMusicCount
};

// Scene numbers of the main loop.
enum TLcfgScene : uint8_t {
    kSceneField = 0, kSceneMenu = 1, kSceneBattle = 2, kSceneShop = 3, kSceneName = 4,
    kSceneSave = 5, kSceneTitle = 6, kSceneGameOver = 7, kSceneDebug = 8,
};

class TLcfgSystem : public TCatalogBaseItem {
public:
    // Switch and variable ids above this are ignored on write and read as
    // off / 0, so a script or save naming id 2 000 000 000 cannot make the
    // game allocate gigabytes.
    static constexpr int32_t kMaxSwitchId = 100000;
    static constexpr int32_t kMaxVariableId = 100000;
    static constexpr uint8_t kDatabaseTransition = 255;
    // No transition: callers test for exactly this.
    static constexpr int32_t kNoTransition = 20;

    // The audio and screen are borrowed; null ones are the game's own.
    TLcfgSystem(ISystemAudio* audio = nullptr, ISystemScreen* screen = nullptr);
    ~TLcfgSystem() override;
    TLcfgSystem(const TLcfgSystem&) = delete;
    TLcfgSystem& operator=(const TLcfgSystem&) = delete;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // A new game's values, then the skin reload, the system sounds and the face.
    void Clear() override;
    // The generic read (starting with Clear), then the skin reload, the
    // system sounds and the face.
    void LoadFromStream(ByteReader& r) override;

    // --- Switches and variables -------------------------------------------
    bool GetSwitch(int32_t id) const;
    void SetSwitch(int32_t id, bool value);
    int32_t SwitchCount() const { return switches_.Length(); }
    int32_t GetVariable(int32_t id) const;
    void SetVariable(int32_t id, int32_t value);
    int32_t VariableCount() const { return variables_.Length(); }

    // --- Overrides of the database's settings -----------------------------
    // Music kinds with a database counterpart (title, battle, battle end,
    // inn, vehicles, game over): the override when its name is not empty,
    // else the database's. Other kinds answer their own record.
    const TLcfMusic& Music(TLcfgMusicSlot slot) const;
    // Stores an override; one equal to the database's clears it. Kinds
    // without a database counterpart are simply written.
    void SetMusic(TLcfgMusicSlot slot, const TLcfMusic& music);
    // The raw record of a slot (current, memorized, before boarding...).
    TLcfMusic& MusicRecord(TLcfgMusicSlot slot) { return music_[size_t(slot)]; }

    // System sound 0..11 in the database's order.
    const TLcfSound& Sound(int index) const;
    // As SetMusic; for the cursor, decision, cancel and buzzer sounds the
    // old sound's kept slot is released first and the new one kept after.
    void SetSound(int index, const TLcfSound& sound);
    const TLcfSound& CursorSound() const { return Sound(kSoundCursor); }
    const TLcfSound& DecisionSound() const { return Sound(kSoundDecision); }
    const TLcfSound& CancelSound() const { return Sound(kSoundCancel); }
    const TLcfSound& BuzzerSound() const { return Sound(kSoundBuzzer); }

    // Transition 0..5 in the database's order (255 stored = the database's):
    // a type 0-19, or kNoTransition. The stored byte, the database's value
    // and a script's value all pass through TransitionType.
    int32_t Transition(int index) const;
    // A value outside 0-19 (negative ones and those beyond a byte included)
    // is stored as none: -1 must not truncate to 255 and so fall back to the
    // database's transition.
    void SetTransition(int index, int32_t value);
    // The transition a value stands for: 0-19 as it is, anything else none.
    static int32_t TransitionType(int64_t value) {
        return value >= 0 && value < kNoTransition ? int32_t(value) : kNoTransition;
    }

    // Effective system graphic: the override while its name is not empty.
    std::string SystemGraphicName() const;
    int32_t WindowTiling() const;
    int32_t MessageFont() const;
    // Stores all three as the override when any differs from the
    // database's, else clears it; then reloads the skin.
    void SetSystemGraphic(const std::string& name, int32_t tiling, int32_t font);

    // --- Music and sound --------------------------------------------------
    void PlayMusic(const TLcfMusic& music, bool force = false);
    void FadeOutMusic(int32_t milliseconds);
    void StopMusic();
    void PlaySound(const TLcfSound& sound);
    // The file of a tune ("Music": mid, wav, mp3) or a sound ("Sound": wav);
    // empty when no file answers the name or it is "(OFF)".
    static std::string MusicPath(const std::string& name);
    static std::string SoundPath(const std::string& name);
    void StopAllSounds();
    // The current music has reached its end or loop point at least once.
    bool MusicLooped() const { return audio_->MusicLooped(); }
    // Where the music is: MIDI ticks, or seconds for other music.
    int32_t MusicPosition() const { return audio_->MusicPosition(); }
    // Keeps the effective cursor, decision, cancel and buzzer sounds loaded.
    void PreloadSystemSounds();
    // Releases every sound this state keeps loaded (before the audio goes).
    void ReleaseSystemSounds();
    // Plays the movie `name` from "Movie" in a rectangle of the screen and
    // returns when it ends. The wave player gives the sound device up for
    // it: wave music starts again from the beginning afterwards, MIDI and
    // MP3 music play on. The wave player and the kept system sounds come
    // back even when the movie fails, and the failure passes on.
    void PlayMovie(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height);

    // --- Face ---------------------------------------------------------------
    // The face sheet of the screen object, or null without one.
    TSorvoSheet* FaceSheet() const { return screen_ ? screen_->Face() : nullptr; }
    void LoadFace();
    bool HasFace() const { return !faceName.empty() && faceShown != 0; }
    // Face name cleared and the sheet with it.
    void ClearFace();

    // Skin from the effective system graphic and the database's images.
    void ReloadSkin();

    // --- Fields -------------------------------------------------------------
    uint8_t scene = kSceneField;
    int32_t frameCount = 0;
    int32_t messageTransparent = 0;
    int32_t messagePosition = 2;
    uint8_t messageAvoidsParty = 1;
    uint8_t eventsMoveDuringMessages = 0;
    std::string faceName;
    int32_t faceIndex = 0;
    int32_t faceRight = 0;
    uint8_t faceMirrored = 0;
    uint8_t faceShown = 0;
    uint8_t musicFaded = 0;
    uint8_t teleportAllowed = 1, escapeAllowed = 1, saveAllowed = 1, mainMenuAllowed = 1;
    std::string mapBattleBackground;
    int32_t mapBattleTerrain = 0;  // not saved; pairs with the map battle background
    int32_t saveCount = 0;
    int32_t lastSaveSlot = 1;
    uint8_t battleWaitMode = 0;

private:
    void ResetFields();
    const TLcfSystem& Db() const;
    // Lock counting per file, so two system sounds sharing one file keep it
    // locked until both let go.
    void HoldSound(int role, const std::string& path);
    void ReleaseSound(int role);

    ISystemAudio* audio_;
    ISystemScreen* screen_;
    // Owned when none was given; freed also when the constructor throws (a
    // skin that will not load).
    std::unique_ptr<ISystemAudio> ownAudio_;
    std::unique_ptr<ISystemScreen> ownScreen_;

    std::string graphicName_;
    int32_t graphicTiling_ = 0;
    int32_t graphicFont_ = 0;
    TCountedArray<uint8_t> switches_;
    TCountedArray<int32_t> variables_;
    std::array<TLcfMusic, kGameMusicCount> music_;
    std::array<TLcfSound, kSystemSoundCount> sounds_;
    std::array<uint8_t, kSystemTransitionCount> transitions_{};

    // File each of the four menu sounds keeps locked, and holders per file.
    std::array<std::string, 4> heldSound_;
    std::map<std::string, int> soundHolders_;
};

// The system state of the running game.
extern TLcfgSystem* GameSystem;
