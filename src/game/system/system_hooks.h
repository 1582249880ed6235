#pragma once
// What the run-time system state needs from the machine: the audio engine
// and the screen (skin, face sheet, frame clock). The game installs the real
// ones; tests install fakes that record the calls.

#include <cstdint>
#include <string>

class TLcfSystemGraphic;
class TSorvoSheet;

// Music and sounds by file path. Paths come from the asset lookup.
class ISystemAudio {
public:
    virtual ~ISystemAudio() = default;
    virtual void PlayMusic(const std::string& path, int32_t fadeInMs) = 0;
    virtual void StopMusic() = 0;
    virtual void FadeOutMusic(int32_t ms) = 0;
    virtual void SetMusicVolume(int32_t volume) = 0;
    virtual void SetMusicTempo(int32_t tempo) = 0;
    virtual void SetMusicBalance(int32_t balance) = 0;
    virtual void PlaySound(const std::string& path, int32_t volume, int32_t tempo, int32_t balance) = 0;
    virtual void StopAllSounds() = 0;
    // Keeps a sound loaded in a slot of its own, and lets it go again.
    virtual void LockSound(const std::string& path) = 0;
    virtual void UnlockSound(const std::string& path) = 0;
    // Is a slot marked locked that really holds this file's samples now?
    virtual bool SoundReallyLocked(const std::string& path) = 0;
    // Has the music reached its end or loop point at least once?
    virtual bool MusicLooped() { return false; }
    // MIDI ticks, or seconds for other music.
    virtual int32_t MusicPosition() { return 0; }
    // The wave player (wave music and every sound slot) lets the sound
    // device go for a movie, and takes it again with empty slots.
    virtual void CloseWave() {}
    virtual void OpenWave() {}
};

// The skin, the message face and the frame clock.
class ISystemScreen {
public:
    virtual ~ISystemScreen() = default;
    // Loads the skin images (frame empty = none), then the tiling and font.
    virtual void LoadSkin(const std::string& skin, const std::string& system2, const std::string& frame,
                          int32_t tiling, int32_t font) = 0;
    // Face cell `index` of the image `name` in "FaceSet" into the face
    // sheet, mirrored when asked; an empty name clears the sheet.
    virtual void LoadFace(const std::string& name, int32_t index, bool mirrored) = 0;
    // Restarts the screen object's frame schedule (after music starts).
    virtual void RestartFrameClock() = 0;
    // The 48x48 face sheet the message window draws, or null without one.
    virtual TSorvoSheet* Face() { return nullptr; }
    // Plays a movie file in a rectangle of the screen and returns when it
    // ends; raises when the file cannot be played.
    virtual void PlayMovie(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) {
        (void)path;
        (void)x;
        (void)y;
        (void)width;
        (void)height;
    }
};

// The audio front end's flat operations.
class TCantrelSystemAudio : public ISystemAudio {
public:
    void PlayMusic(const std::string& path, int32_t fadeInMs) override;
    void StopMusic() override;
    void FadeOutMusic(int32_t ms) override;
    void SetMusicVolume(int32_t volume) override;
    void SetMusicTempo(int32_t tempo) override;
    void SetMusicBalance(int32_t balance) override;
    void PlaySound(const std::string& path, int32_t volume, int32_t tempo, int32_t balance) override;
    void StopAllSounds() override;
    void LockSound(const std::string& path) override;
    void UnlockSound(const std::string& path) override;
    bool SoundReallyLocked(const std::string& path) override;
    bool MusicLooped() override;
    int32_t MusicPosition() override;
    void CloseWave() override;
    void OpenWave() override;
};

// The game's skin renderer and a 48x48 face sheet, and the screen object's
// frame clock. The skin is optional: without one only the face is kept.
class TGameSystemScreen : public ISystemScreen {
public:
    explicit TGameSystemScreen(TLcfSystemGraphic* skin);
    ~TGameSystemScreen() override;
    void LoadSkin(const std::string& skin, const std::string& system2, const std::string& frame, int32_t tiling,
                  int32_t font) override;
    void LoadFace(const std::string& name, int32_t index, bool mirrored) override;
    void RestartFrameClock() override;
    void PlayMovie(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) override;
    TSorvoSheet& FaceSheet() { return *face_; }
    TSorvoSheet* Face() override { return face_; }

private:
    TLcfSystemGraphic* skin_;
    TSorvoSheet* face_;
};

// Hooks that do nothing, for programs that run the state without a machine
// behind it (benchmarks, fuzz targets). Every sound counts as locked, so
// nothing is locked twice.
class TSilentSystemAudio : public ISystemAudio {
public:
    void PlayMusic(const std::string&, int32_t) override {}
    void StopMusic() override {}
    void FadeOutMusic(int32_t) override {}
    void SetMusicVolume(int32_t) override {}
    void SetMusicTempo(int32_t) override {}
    void SetMusicBalance(int32_t) override {}
    void PlaySound(const std::string&, int32_t, int32_t, int32_t) override {}
    void StopAllSounds() override {}
    void LockSound(const std::string&) override {}
    void UnlockSound(const std::string&) override {}
    bool SoundReallyLocked(const std::string&) override { return true; }
};

class TSilentSystemScreen : public ISystemScreen {
public:
    void LoadSkin(const std::string&, const std::string&, const std::string&, int32_t, int32_t) override {}
    void LoadFace(const std::string&, int32_t, bool) override {}
    void RestartFrameClock() override {}
};

// The face cell of `index` in an image of the given size: 48x48 cells, four
// to a row. An index outside the image is clipped to the nearest cell that
// lies inside it (cell 0 for a too-small image).
struct TFaceCell {
    int32_t x = 0, y = 0;
};
TFaceCell FaceCellOf(int32_t index, int32_t imageWidth, int32_t imageHeight);
