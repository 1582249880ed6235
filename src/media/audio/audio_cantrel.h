#pragma once
// The audio front end: one process-wide engine owning the mixer (the sound
// device) and the three players, and the flat operations the game calls.
//
// Music goes to the player chosen by the file's content; every music
// command reaches all three players (only the one holding music sounds).
// Sounds play in 16 slots of the wave player. No flat operation raises:
// failures come back as false, and true and false are -1 and 0.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "media/audio/midi_player.h"
#include "media/audio/mp3_player.h"
#include "media/audio/wave_player.h"
#include "platform/audio/mixer.h"

class TAudioCantrel {
public:
    static constexpr int kSlots = 16;

    // Opens the sound device and creates the MP3 player (a failure there
    // leaves no MP3 player).
    TAudioCantrel();
    ~TAudioCantrel();
    TAudioCantrel(const TAudioCantrel&) = delete;
    TAudioCantrel& operator=(const TAudioCantrel&) = delete;

    bool OpenMidi();
    bool OpenWave();
    void CloseWave();
    bool PlayMusic(const std::string& fileName);
    void StopMusic();
    bool MusicPlaying() const;
    bool MusicLooped() const;
    int MusicPosition() const;
    void FadeInMusic(int ms);
    void FadeOutMusic(int ms);
    void SetMusicVolume(int value);
    void SetMusicTempo(int value);
    void SetMusicBalance(int value);
    bool PlaySound(const std::string& fileName, int volume, int tempo, int balance);
    void StopAllSounds();
    bool LockSound(const std::string& fileName);
    void UnlockSound(const std::string& fileName);

    platform::audio::Mixer& Mixer() { return mixer_; }
    TMidiPlayer* Midi() { return midi_.get(); }
    TWavePlayer* Wave() { return wave_.get(); }
    TMP3Player* MP3() { return mp3_.get(); }
    bool SlotLocked(int slot) const { return slotLocked_[size_t(slot)]; }
    int LastSlot() const { return lastSlot_; }

private:
    int ChooseFreeSlot();
    bool MidiReady();

    platform::audio::Mixer mixer_;
    std::unique_ptr<TMidiPlayer> midi_;
    std::unique_ptr<TWavePlayer> wave_;
    std::unique_ptr<TMP3Player> mp3_;
    std::array<bool, kSlots> slotLocked_{};
    int lastSlot_ = 0;
};

// The process-wide engine; null before CantrelInit and after CantrelDone.
extern TAudioCantrel* GameAudio;

// The absolute, normalised form of a file name, as slots compare them.
std::string ExpandFileName(const std::string& fileName);

int32_t CantrelInit();
int32_t CantrelDone();
int32_t CantrelOpenMidi();
int32_t CantrelOpenWave();
int32_t CantrelCloseWave();
int32_t CantrelPlayMusic(const char* fileName);
int32_t CantrelFadeInMusic(int32_t milliseconds);
int32_t CantrelFadeOutMusic(int32_t milliseconds);
int32_t CantrelSetMusicVolume(int32_t volume);
int32_t CantrelSetMusicTempo(int32_t tempo);
int32_t CantrelSetMusicBalance(int32_t balance);
int32_t CantrelStopMusic();
int32_t CantrelMusicPlaying();
int32_t CantrelMusicLooped();
int32_t CantrelPlaySound(const char* fileName, int32_t volume, int32_t tempo, int32_t balance);
int32_t CantrelStopAllSounds();
int32_t CantrelLockSound(const char* fileName);
int32_t CantrelUnlockSound(const char* fileName);
int32_t CantrelMusicPosition();
