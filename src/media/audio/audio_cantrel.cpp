#include "media/audio/audio_cantrel.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "platform/audio/midi_out.h"

TAudioCantrel* GameAudio = nullptr;

namespace {
constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
int32_t Result(bool ok) { return ok ? kTrue : kFalse; }
}  // namespace

std::string ExpandFileName(const std::string& fileName) {
    std::error_code ec;
    auto path = std::filesystem::absolute(std::filesystem::path(fileName), ec);
    if (ec) return fileName;
    return path.lexically_normal().string();
}

TAudioCantrel::TAudioCantrel() {
    mixer_.Open();
    try {
        mp3_ = std::make_unique<TMP3Player>(mixer_);
    } catch (const std::exception&) {
        mp3_.reset();
    }
}

TAudioCantrel::~TAudioCantrel() {
    mp3_.reset();
    midi_.reset();
    wave_.reset();
    mixer_.Close();
}

bool TAudioCantrel::OpenMidi() {
    if (!midi_) midi_ = std::make_unique<TMidiPlayer>(platform::audio::CreateSynthMidiOut(mixer_));
    return true;
}

bool TAudioCantrel::MidiReady() {
    if (!midi_) return false;
    // The synthesiser's sound font loads in the background from OpenMidi on;
    // the first MIDI music waits for it here, on the main thread. A font
    // that fails to load leaves no MIDI player, as if OpenMidi had failed.
    bool ready = false;
    try {
        ready = midi_->OutputReady();
    } catch (const std::exception&) {
        ready = false;
    }
    if (!ready) midi_.reset();
    return ready;
}

bool TAudioCantrel::OpenWave() {
    if (!wave_) {
        wave_ = std::make_unique<TWavePlayer>(mixer_);
        wave_->SetSoundCount(kSlots);
    }
    return true;
}

void TAudioCantrel::CloseWave() {
    wave_.reset();
    // The slots are gone with the player: so are their locks, or every
    // movie would strand locked, empty slots.
    slotLocked_.fill(false);
}

bool TAudioCantrel::PlayMusic(const std::string& name) {
    StopMusic();
    const std::string fileName = ExpandFileName(name);
    char magic[4];
    {
        std::ifstream in(fileName, std::ios::binary);
        if (!in || !in.read(magic, 4)) return false;
    }
    if (std::equal(magic, magic + 4, "MThd") && MidiReady()) {
        midi_->Load(fileName);
        midi_->Play();
        return true;
    }
    if (std::equal(magic, magic + 4, "RIFF") && wave_) {
        wave_->Music().Load(fileName);
        wave_->Music().Play(100, 100, 50, true);
        return true;
    }
    std::string ext = std::filesystem::path(fileName).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".mp3" && mp3_) {
        mp3_->Play(fileName);
        return true;
    }
    return false;
}

void TAudioCantrel::StopMusic() {
    if (mp3_) mp3_->Stop();
    if (wave_) wave_->Music().Stop();
    if (midi_) midi_->Stop();
}

bool TAudioCantrel::MusicPlaying() const {
    return (mp3_ && mp3_->Playing()) || (wave_ && wave_->Music().IsPlaying()) || (midi_ && midi_->Playing());
}

bool TAudioCantrel::MusicLooped() const { return (mp3_ && mp3_->Looped()) || (midi_ && midi_->Looped()); }

int TAudioCantrel::MusicPosition() const {
    if (midi_ && midi_->Playing()) return int(midi_->CurrentTick());
    if (wave_ && wave_->Music().IsPlaying()) return int(wave_->Music().Position());
    if (mp3_ && mp3_->Playing()) return int(mp3_->Position());
    return 0;
}

void TAudioCantrel::FadeInMusic(int ms) {
    if (mp3_) mp3_->FadeIn(ms);
    if (wave_) wave_->Music().FadeIn(ms);
    if (midi_) midi_->FadeIn(ms);
}

void TAudioCantrel::FadeOutMusic(int ms) {
    if (mp3_) mp3_->FadeOut(ms);
    if (wave_) wave_->Music().FadeOut(ms);
    if (midi_) midi_->FadeOut(ms);
}

void TAudioCantrel::SetMusicVolume(int value) {
    if (mp3_) mp3_->SetVolume(value);
    if (wave_) wave_->Music().SetVolume(-1, value);
    if (midi_) midi_->SetVolume(value);
}

void TAudioCantrel::SetMusicTempo(int value) {
    if (mp3_) mp3_->SetTempo(value);
    if (wave_) wave_->Music().SetTempo(-1, value);
    if (midi_) midi_->SetTempo(value);
}

void TAudioCantrel::SetMusicBalance(int value) {
    if (mp3_) mp3_->SetBalance(value);
    if (wave_) wave_->Music().SetBalance(-1, value);
    if (midi_) midi_->SetBalance(value);
}

int TAudioCantrel::ChooseFreeSlot() {
    for (int i = 0; i < kSlots; ++i)
        if (!slotLocked_[size_t(i)] && !wave_->Sound(i).IsPlaying()) {
            lastSlot_ = i;
            return i;
        }
    lastSlot_ = (lastSlot_ + 1) % kSlots;
    return lastSlot_;
}

bool TAudioCantrel::PlaySound(const std::string& name, int volume, int tempo, int balance) {
    if (!wave_) return false;
    const std::string fileName = ExpandFileName(name);
    int slot = -1;
    for (int i = 0; i < kSlots && slot < 0; ++i)
        if (wave_->Sound(i).Loaded() && wave_->Sound(i).FileName() == fileName) slot = i;
    if (slot < 0) {
        slot = ChooseFreeSlot();
        wave_->Sound(slot).Load(fileName);
    }
    wave_->Sound(slot).Play(volume, tempo, balance, false);
    return true;
}

void TAudioCantrel::StopAllSounds() {
    if (!wave_) return;
    for (int i = 0; i < kSlots; ++i) wave_->Sound(i).Stop();
}

bool TAudioCantrel::LockSound(const std::string& name) {
    if (!wave_) return true;
    const std::string fileName = ExpandFileName(name);
    // Locking a sound that a locked slot already holds takes no further slot.
    for (int i = 0; i < kSlots; ++i)
        if (slotLocked_[size_t(i)] && wave_->Sound(i).Loaded() && wave_->Sound(i).FileName() == fileName) return true;
    int slot = ChooseFreeSlot();
    wave_->Sound(slot).Load(fileName);
    slotLocked_[size_t(slot)] = true;
    return true;
}

void TAudioCantrel::UnlockSound(const std::string& name) {
    if (!wave_) return;
    const std::string fileName = ExpandFileName(name);
    for (int i = 0; i < kSlots; ++i)
        if (slotLocked_[size_t(i)] && wave_->Sound(i).FileName() == fileName) {
            slotLocked_[size_t(i)] = false;
            return;
        }
}

// --- The flat operations -------------------------------------------------

namespace {
// Runs an operation on the engine; any error gives false.
template <typename F>
int32_t Guard(F&& f) {
    if (!GameAudio) return kFalse;
    try {
        return f(*GameAudio);
    } catch (const std::exception&) {
        return kFalse;
    }
}
std::string Name(const char* fileName) { return fileName ? std::string(fileName) : std::string(); }
}  // namespace

int32_t CantrelInit() {
    if (GameAudio) return kFalse;
    try {
        GameAudio = new TAudioCantrel();
    } catch (const std::exception&) {
        GameAudio = nullptr;
        return kFalse;
    }
    return kTrue;
}

int32_t CantrelDone() {
    if (!GameAudio) return kFalse;
    delete GameAudio;
    GameAudio = nullptr;
    return kTrue;
}

int32_t CantrelOpenMidi() {
    return Guard([](TAudioCantrel& a) { return Result(a.OpenMidi()); });
}
int32_t CantrelOpenWave() {
    return Guard([](TAudioCantrel& a) { return Result(a.OpenWave()); });
}
int32_t CantrelCloseWave() {
    return Guard([](TAudioCantrel& a) {
        a.CloseWave();
        return kTrue;
    });
}
int32_t CantrelPlayMusic(const char* fileName) {
    return Guard([&](TAudioCantrel& a) { return Result(a.PlayMusic(Name(fileName))); });
}
int32_t CantrelFadeInMusic(int32_t ms) {
    return Guard([&](TAudioCantrel& a) {
        a.FadeInMusic(ms);
        return kTrue;
    });
}
int32_t CantrelFadeOutMusic(int32_t ms) {
    return Guard([&](TAudioCantrel& a) {
        a.FadeOutMusic(ms);
        return kTrue;
    });
}
int32_t CantrelSetMusicVolume(int32_t volume) {
    return Guard([&](TAudioCantrel& a) {
        a.SetMusicVolume(volume);
        return kTrue;
    });
}
int32_t CantrelSetMusicTempo(int32_t tempo) {
    return Guard([&](TAudioCantrel& a) {
        a.SetMusicTempo(tempo);
        return kTrue;
    });
}
int32_t CantrelSetMusicBalance(int32_t balance) {
    return Guard([&](TAudioCantrel& a) {
        a.SetMusicBalance(balance);
        return kTrue;
    });
}
int32_t CantrelStopMusic() {
    return Guard([](TAudioCantrel& a) {
        a.StopMusic();
        return kTrue;
    });
}
int32_t CantrelMusicPlaying() {
    return Guard([](TAudioCantrel& a) { return Result(a.MusicPlaying()); });
}
int32_t CantrelMusicLooped() {
    return Guard([](TAudioCantrel& a) { return Result(a.MusicLooped()); });
}
int32_t CantrelPlaySound(const char* fileName, int32_t volume, int32_t tempo, int32_t balance) {
    return Guard([&](TAudioCantrel& a) { return Result(a.PlaySound(Name(fileName), volume, tempo, balance)); });
}
int32_t CantrelStopAllSounds() {
    return Guard([](TAudioCantrel& a) {
        a.StopAllSounds();
        return kTrue;
    });
}
int32_t CantrelLockSound(const char* fileName) {
    return Guard([&](TAudioCantrel& a) { return Result(a.LockSound(Name(fileName))); });
}
int32_t CantrelUnlockSound(const char* fileName) {
    return Guard([&](TAudioCantrel& a) {
        a.UnlockSound(Name(fileName));
        return kTrue;
    });
}
int32_t CantrelMusicPosition() {
    return Guard([](TAudioCantrel& a) { return int32_t(a.MusicPosition()); });
}
