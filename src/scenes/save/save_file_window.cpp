#include "scenes/save/save_file_window.h"

#include <cstdio>
#include <string>

#include "data/asset_lookup.h"
#include "data/database/database.h"
#include "data/database/vocabulary.h"
#include "data/errors.h"
#include "game/save/save_data.h"
#include "game/system/system_hooks.h"
#include "media/image/bitmap.h"
#include "media/image/load_image_file.h"
#include "media/screen/sorvo_draw.h"

namespace {

std::string Term(int id) { return DbVocabulary ? DbVocabulary->Get(id) : std::string(); }

std::string Format(const char* format, int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<long long>(value));
    return text;
}

}  // namespace

TLcfSaveFileWindow::TLcfSaveFileWindow() {
    for (auto& face : faces_) {
        face = std::make_unique<TSorvoSheet>();
        face->Transparent = true;
    }
}

void TLcfSaveFileWindow::RefreshSlot(int slot, bool saveMode) {
    slot_ = slot;
    Setup(0, 0, 320, 64, false);
    const std::string file = Term(TLcfVocabulary::kFile);
    SetItemCount(1);
    itemWidth = int32_t(file.size()) * 6 + 15;

    saveTime_ = 0;
    bool readable = GameSaveData && GameSaveData->LoadHeader(slot) && GameSaveHeader;
    if (readable && GameSaveHeader->saveTime > 0) saveTime_ = GameSaveHeader->saveTime;

    DrawText(8, 8, file + "\x01" + Format("%2lld", slot), HoldsSave() || saveMode ? 0 : 3);
    for (auto& face : faces_) face->FreePixels();
    if (!HoldsSave()) return;

    const TLcfgSaveHeader& h = *GameSaveHeader;
    DrawText(8, 24, h.leaderName, 0);
    DrawText(8, 40, Term(TLcfVocabulary::kLevelShort), 1);
    DrawText(20, 40, Format("%2lld", h.leaderLevel), 0);
    DrawText(50, 40, Term(TLcfVocabulary::kHpShort), 1);
    DrawText(62, 40, Format("%3lld", h.leaderHp), 0);
    for (int i = 0; i < kFaces; ++i) LoadFace(i, h.FaceName(i), h.FaceIndex(i));
}

// A face that cannot be found or read leaves its place empty: a save made
// with other pictures still lists. An index past the image takes its
// nearest cell.
void TLcfSaveFileWindow::LoadFace(int i, const std::string& name, int32_t index) {
    if (name.empty()) return;
    std::optional<std::string> path = FindAssetFile(name, "FaceSet", kImageExtensions);
    if (!path || path->empty()) return;
    TSorvoSheet& face = *faces_[size_t(i)];
    try {
        Bitmap bitmap;
        LoadImageFile(bitmap, *path);
        TFaceCell cell = FaceCellOf(index, bitmap.Width(), bitmap.Height());
        face.SetSize(kFaceSize, kFaceSize);
        face.LoadFromBitmap(bitmap, cell.x, cell.y);
    } catch (const Exception&) {
        face.FreePixels();
    }
}

void TLcfSaveFileWindow::DrawAt(int32_t y) {
    y_ = y;
    Draw();
    if (!IsVisible() || !GameDraw) return;
    for (int i = 0; i < kFaces; ++i) {
        TSorvoSheet& face = *faces_[size_t(i)];
        if (face.Width() > 0) GameDraw->Board().Draw(x_ + 96 + 56 * i, y_ + 8, face, face.GetBoundsRect());
    }
}
