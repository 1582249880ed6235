#include "game/system/game_system.h"

#include <algorithm>

#include "data/asset_lookup.h"
#include "data/database/database.h"
#include "data/folders.h"
#include "game/system/system_hooks.h"

TLcfgSystem* GameSystem = nullptr;

namespace {

// Database music record standing behind each override slot; -1 for the
// slots that are the state's own (current, before boarding and so on).
constexpr std::array<int, kGameMusicCount> kDbMusicOf = {
    kMusicTitle, kMusicBattle, kMusicVictory, kMusicInn, -1, -1, -1, -1,
    kMusicBoat, kMusicShip, kMusicAirship, kMusicGameOver,
};

bool IsOverrideSlot(int slot) { return kDbMusicOf[size_t(slot)] >= 0; }

}  // namespace

TLcfgSystem::TLcfgSystem(ISystemAudio* audio, ISystemScreen* screen) : audio_(audio), screen_(screen) {
    if (!audio_) {
        ownAudio_ = std::make_unique<TCantrelSystemAudio>();
        audio_ = ownAudio_.get();
    }
    if (!screen_) {
        ownScreen_ = std::make_unique<TGameSystemScreen>(nullptr);
        screen_ = ownScreen_.get();
    }
    Clear();
}

TLcfgSystem::~TLcfgSystem() {
    ReleaseSystemSounds();
}

const TLcfSystem& TLcfgSystem::Db() const {
    static const TLcfSystem kBlank;
    return DbSystem ? *DbSystem : kBlank;
}

void TLcfgSystem::DescribeField(int id, TCatalogVarData& d, bool reading) {
    switch (id) {
    case 1: d.SetFixed(&scene, 1); return;
    case 11: d.SetInteger(&frameCount, 0); return;
    case 21: d.SetString(&graphicName_, true); return;
    case 22: d.SetInteger(&graphicTiling_, 0); return;
    case 23: d.SetInteger(&graphicFont_, 0); return;
    case 31: d.SetInteger(&switches_.count, 0); return;
    case 32: d.SetBlock(&switches_.bytes); return;
    case 33: d.SetInteger(&variables_.count, 0); return;
    case 34: d.SetBlock(&variables_.bytes); return;
    case 41: d.SetInteger(&messageTransparent, 0); return;
    case 42: d.SetInteger(&messagePosition, 2); return;
    case 43: d.SetBoolean(&messageAvoidsParty, 1); return;
    case 44: d.SetBoolean(&eventsMoveDuringMessages, 0); return;
    case 51: d.SetString(&faceName, true); return;
    case 52: d.SetInteger(&faceIndex, 0); return;
    case 53: d.SetInteger(&faceRight, 0); return;
    case 54: d.SetBoolean(&faceMirrored, 0); return;
    case 55: d.SetBoolean(&faceShown, 0); return;
    case 61: d.SetBoolean(&musicFaded, 0); return;
    case 121: d.SetBoolean(&teleportAllowed, 1); return;
    case 122: d.SetBoolean(&escapeAllowed, 1); return;
    case 123: d.SetBoolean(&saveAllowed, 1); return;
    case 124: d.SetBoolean(&mainMenuAllowed, 1); return;
    case 125: d.SetString(&mapBattleBackground, true); return;
    case 131: d.SetInteger(&saveCount, 0); return;
    case 132: d.SetInteger(&lastSaveSlot, 1); return;
    case 140: d.SetBoolean(&battleWaitMode, 0); return;
    }
    if (id >= 71 && id < 71 + kGameMusicCount) {
        d.SetRecord(&music_[size_t(id - 71)]);
    } else if (id >= 91 && id < 91 + kSystemSoundCount) {
        d.SetRecord(&sounds_[size_t(id - 91)]);
    } else if (id >= 111 && id < 111 + kSystemTransitionCount) {
        d.SetFixed(&transitions_[size_t(id - 111)], 1);
    }
    (void)reading;
}

void TLcfgSystem::ResetFields() {
    TCatalogBaseItem::Clear();
    scene = kSceneField;
    switches_.Resize(0);
    variables_.Resize(0);
    for (int i = 0; i < kGameMusicCount; ++i) {
        music_[size_t(i)].Clear();
        // Overrides are absent while their name is empty; the state's own
        // records start as silence.
        if (IsOverrideSlot(i)) music_[size_t(i)].name.clear();
    }
    for (auto& s : sounds_) {
        s.Clear();
        s.name.clear();
    }
    transitions_.fill(kDatabaseTransition);
    mapBattleTerrain = 0;
}

void TLcfgSystem::Clear() {
    ResetFields();
    ReloadSkin();
    PreloadSystemSounds();
    LoadFace();
}

void TLcfgSystem::LoadFromStream(ByteReader& r) {
    ResetFields();
    ReadFields(r);
    // Counts from a file obey the same caps as the setters; the blocks are
    // brought to their counts, zero-filled, so count and block agree.
    switches_.Resize(std::clamp(switches_.count, 0, kMaxSwitchId));
    variables_.Resize(std::clamp(variables_.count, 0, kMaxVariableId));
    ReloadSkin();
    PreloadSystemSounds();
    LoadFace();
}

// --- Switches and variables ---------------------------------------------------

bool TLcfgSystem::GetSwitch(int32_t id) const {
    if (id < 1 || id > switches_.Length()) return false;
    return switches_.Get(id - 1) != 0;
}

void TLcfgSystem::SetSwitch(int32_t id, bool value) {
    if (id < 1 || id > kMaxSwitchId) return;
    if (id > switches_.Length()) switches_.Resize(id);
    switches_.Set(id - 1, value ? 1 : 0);
}

int32_t TLcfgSystem::GetVariable(int32_t id) const {
    if (id < 1 || id > variables_.Length()) return 0;
    return variables_.Get(id - 1);
}

void TLcfgSystem::SetVariable(int32_t id, int32_t value) {
    if (id < 1 || id > kMaxVariableId) return;
    if (id > variables_.Length()) variables_.Resize(id);
    variables_.Set(id - 1, value);
}

// --- Overrides -----------------------------------------------------------------

const TLcfMusic& TLcfgSystem::Music(TLcfgMusicSlot slot) const {
    const TLcfMusic& own = music_[size_t(slot)];
    if (!IsOverrideSlot(slot) || !own.name.empty()) return own;
    return Db().music[size_t(kDbMusicOf[size_t(slot)])];
}

void TLcfgSystem::SetMusic(TLcfgMusicSlot slot, const TLcfMusic& music) {
    TLcfMusic& own = music_[size_t(slot)];
    if (IsOverrideSlot(slot) && music.Equals(Db().music[size_t(kDbMusicOf[size_t(slot)])])) {
        own.name.clear();
        return;
    }
    own = music;
}

const TLcfSound& TLcfgSystem::Sound(int index) const {
    if (index < 0 || index >= kSystemSoundCount) index = 0;
    const TLcfSound& own = sounds_[size_t(index)];
    return own.name.empty() ? Db().sounds[size_t(index)] : own;
}

void TLcfgSystem::SetSound(int index, const TLcfSound& sound) {
    if (index < 0 || index >= kSystemSoundCount) return;
    const bool kept = index <= kSoundBuzzer;
    if (kept) ReleaseSound(index);
    TLcfSound& own = sounds_[size_t(index)];
    if (sound.Equals(Db().sounds[size_t(index)]))
        own.name.clear();
    else
        own = sound;
    if (kept) HoldSound(index, SoundPath(Sound(index).name));
}

int32_t TLcfgSystem::Transition(int index) const {
    if (index < 0 || index >= kSystemTransitionCount) return 0;
    uint8_t own = transitions_[size_t(index)];
    return TransitionType(own != kDatabaseTransition ? own : Db().transitions[size_t(index)]);
}

void TLcfgSystem::SetTransition(int index, int32_t value) {
    if (index < 0 || index >= kSystemTransitionCount) return;
    const uint8_t stored = uint8_t(TransitionType(value));
    transitions_[size_t(index)] =
        stored == TransitionType(Db().transitions[size_t(index)]) ? kDatabaseTransition : stored;
}

std::string TLcfgSystem::SystemGraphicName() const {
    return graphicName_.empty() ? Db().systemSkin : graphicName_;
}

// Tiling and font overrides count only while an override name is set.
int32_t TLcfgSystem::WindowTiling() const {
    return graphicName_.empty() ? Db().windowBackgroundMode : graphicTiling_;
}

int32_t TLcfgSystem::MessageFont() const { return graphicName_.empty() ? Db().font : graphicFont_; }

void TLcfgSystem::SetSystemGraphic(const std::string& name, int32_t tiling, int32_t font) {
    const TLcfSystem& db = Db();
    if (name != db.systemSkin || tiling != db.windowBackgroundMode || font != db.font) {
        graphicName_ = name;
        graphicTiling_ = tiling;
        graphicFont_ = font;
    } else {
        graphicName_.clear();
        graphicTiling_ = 0;
        graphicFont_ = 0;
    }
    ReloadSkin();
}

void TLcfgSystem::ReloadSkin() {
    const TLcfSystem& db = Db();
    screen_->LoadSkin(SystemGraphicName(), db.systemImage2, db.frameOverlay ? db.frameImage : std::string(),
                      WindowTiling(), MessageFont());
}

// --- Music and sound ---------------------------------------------------------------

void TLcfgSystem::PlayMusic(const TLcfMusic& music, bool force) {
    TLcfMusic& current = music_[kGameMusicCurrent];
    if (force || musicFaded || current.name != music.name) {
        // A tune that no file answers (or no name at all) still ends the
        // music that was playing: a map whose tune is missing is silent.
        const std::string path = MusicPath(music.name);
        if (path.empty()) audio_->StopMusic();
        else audio_->PlayMusic(path, music.fadeIn);
    }
    audio_->SetMusicVolume(music.volume);
    audio_->SetMusicTempo(music.tempo);
    audio_->SetMusicBalance(music.balance);
    current = music;
    musicFaded = 0;
    screen_->RestartFrameClock();
}

void TLcfgSystem::FadeOutMusic(int32_t milliseconds) {
    if (musicFaded) return;
    audio_->FadeOutMusic(milliseconds);
    musicFaded = 1;
}

void TLcfgSystem::StopMusic() {
    audio_->StopMusic();
    musicFaded = 1;
}

std::string TLcfgSystem::MusicPath(const std::string& name) {
    if (name == kAudioOff || name.empty()) return {};
    auto path = FindAssetFile(name, "Music", kMusicExtensions);
    return path ? *path : std::string();
}

std::string TLcfgSystem::SoundPath(const std::string& name) {
    if (name == kAudioOff || name.empty()) return {};
    auto path = FindAssetFile(name, "Sound", kSoundExtensions);
    return path ? *path : std::string();
}

void TLcfgSystem::PlaySound(const TLcfSound& sound) {
    std::string path = SoundPath(sound.name);
    if (path.empty()) return;
    audio_->PlaySound(path, sound.volume, sound.tempo, sound.balance);
}

void TLcfgSystem::StopAllSounds() { audio_->StopAllSounds(); }

void TLcfgSystem::HoldSound(int role, const std::string& path) {
    heldSound_[size_t(role)] = path;
    if (path.empty()) return;
    int& holders = soundHolders_[path];
    ++holders;
    if (holders == 1 || !audio_->SoundReallyLocked(path)) {
        // A slot still marked locked but emptied (a movie closes the wave
        // player) is let go first, so relocking does not take a second slot.
        audio_->UnlockSound(path);
        audio_->LockSound(path);
    }
}

void TLcfgSystem::ReleaseSound(int role) {
    std::string path = std::move(heldSound_[size_t(role)]);
    heldSound_[size_t(role)].clear();
    if (path.empty()) return;
    auto it = soundHolders_.find(path);
    if (it == soundHolders_.end()) return;
    if (--it->second > 0) return;
    soundHolders_.erase(it);
    audio_->UnlockSound(path);
}

void TLcfgSystem::PreloadSystemSounds() {
    for (int role = kSoundCursor; role <= kSoundBuzzer; ++role) {
        std::string path = SoundPath(Sound(role).name);
        // Already kept in a slot that really holds it: nothing to do.
        if (!path.empty() && heldSound_[size_t(role)] == path && audio_->SoundReallyLocked(path)) continue;
        ReleaseSound(role);
        HoldSound(role, path);
    }
}

void TLcfgSystem::PlayMovie(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height) {
    // Wave music is faded at once (and so marked faded): the replay below
    // then starts it afresh on the reopened player. Other music is not
    // touched, and the replay only sets its volume, tempo and balance.
    const std::string musicPath = MusicPath(music_[kGameMusicCurrent].name);
    if (!musicPath.empty() && IsRiffFile(musicPath)) FadeOutMusic(0);
    audio_->CloseWave();
    {
        struct Reopen {
            TLcfgSystem* self;
            ~Reopen() {
                self->audio_->OpenWave();
                self->PreloadSystemSounds();
            }
        } reopen{this};
        screen_->PlayMovie(RequireAssetFile(name, "Movie", kMovieExtensions), x, y, width, height);
    }
    TLcfMusic& current = music_[kGameMusicCurrent];
    current.fadeIn = 0;
    PlayMusic(TLcfMusic(current));
}

void TLcfgSystem::ReleaseSystemSounds() {
    for (int role = kSoundCursor; role <= kSoundBuzzer; ++role) ReleaseSound(role);
}

// --- Face -------------------------------------------------------------------------------

void TLcfgSystem::LoadFace() { screen_->LoadFace(faceName, faceIndex, faceMirrored != 0); }

void TLcfgSystem::ClearFace() {
    faceName.clear();
    LoadFace();
}
