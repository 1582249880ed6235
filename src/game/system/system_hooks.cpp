#include "game/system/system_hooks.h"

#include <algorithm>

#include "data/asset_lookup.h"
#include "graphics/system_graphic.h"
#include "media/audio/audio_cantrel.h"
#include "media/image/bitmap.h"
#include "media/image/load_image_file.h"
#include "media/screen/sorvo_draw.h"
#include "media/sheet/sheet.h"

void TCantrelSystemAudio::PlayMusic(const std::string& path, int32_t fadeInMs) {
    CantrelPlayMusic(path.c_str());
    CantrelFadeInMusic(fadeInMs);
}
void TCantrelSystemAudio::StopMusic() { CantrelStopMusic(); }
void TCantrelSystemAudio::FadeOutMusic(int32_t ms) { CantrelFadeOutMusic(ms); }
void TCantrelSystemAudio::SetMusicVolume(int32_t volume) { CantrelSetMusicVolume(volume); }
void TCantrelSystemAudio::SetMusicTempo(int32_t tempo) { CantrelSetMusicTempo(tempo); }
void TCantrelSystemAudio::SetMusicBalance(int32_t balance) { CantrelSetMusicBalance(balance); }
void TCantrelSystemAudio::PlaySound(const std::string& path, int32_t volume, int32_t tempo, int32_t balance) {
    CantrelPlaySound(path.c_str(), volume, tempo, balance);
}
void TCantrelSystemAudio::StopAllSounds() { CantrelStopAllSounds(); }
void TCantrelSystemAudio::LockSound(const std::string& path) { CantrelLockSound(path.c_str()); }
void TCantrelSystemAudio::UnlockSound(const std::string& path) { CantrelUnlockSound(path.c_str()); }

bool TCantrelSystemAudio::SoundReallyLocked(const std::string& path) {
    if (!GameAudio || !GameAudio->Wave()) return false;
    const std::string fileName = ExpandFileName(path);
    for (int i = 0; i < TAudioCantrel::kSlots; ++i) {
        auto& slot = GameAudio->Wave()->Sound(i);
        if (GameAudio->SlotLocked(i) && slot.Loaded() && slot.FileName() == fileName) return true;
    }
    return false;
}

bool TCantrelSystemAudio::MusicLooped() { return CantrelMusicLooped() != 0; }
int32_t TCantrelSystemAudio::MusicPosition() { return CantrelMusicPosition(); }
void TCantrelSystemAudio::CloseWave() { CantrelCloseWave(); }
void TCantrelSystemAudio::OpenWave() { CantrelOpenWave(); }

TFaceCell FaceCellOf(int32_t index, int32_t imageWidth, int32_t imageHeight) {
    constexpr int32_t kCell = 48;
    int32_t columns = std::clamp(imageWidth / kCell, 1, 4);
    int32_t rows = std::max(imageHeight / kCell, 1);
    if (index < 0) index = 0;
    int32_t column = std::min(index % 4, columns - 1);
    int32_t row = std::min(index / 4, rows - 1);
    return {column * kCell, row * kCell};
}

TGameSystemScreen::TGameSystemScreen(TLcfSystemGraphic* skin) : skin_(skin), face_(new TSorvoSheet) {
    face_->SetSize(48, 48);
    face_->Transparent = true;
}

TGameSystemScreen::~TGameSystemScreen() { delete face_; }

void TGameSystemScreen::LoadSkin(const std::string& skin, const std::string& system2, const std::string& frame,
                                 int32_t tiling, int32_t font) {
    if (!skin_) return;
    skin_->LoadImages(skin, system2, frame);
    skin_->WindowBackgroundMode = tiling;
    skin_->SetFont(font);
}

void TGameSystemScreen::LoadFace(const std::string& name, int32_t index, bool mirrored) {
    face_->Clear();
    if (name.empty()) return;
    std::string path = RequireAssetFile(name, "FaceSet", kImageExtensions);
    Bitmap bitmap;
    LoadImageFile(bitmap, path);
    TFaceCell cell = FaceCellOf(index, bitmap.Width(), bitmap.Height());
    face_->SetSize(48, 48);
    face_->LoadFromBitmap(bitmap, cell.x, cell.y);
    if (mirrored) face_->MirrorHorizontal();
}

void TGameSystemScreen::RestartFrameClock() {
    if (GameDraw) GameDraw->ResetFrameTimer();
}

void TGameSystemScreen::PlayMovie(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (GameDraw) GameDraw->PlayMovie(path, x, y, width, height);
}
