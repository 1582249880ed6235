#pragma once
// The 50 pictures that event commands show over the map: images from
// "Picture", placed by their centre, that move, zoom, fade (top and bottom
// half apart), change tone and turn or wave, each change interpolated over a
// number of frames. Saved as a list of ids 1-50.

#include <cstdint>
#include <memory>
#include <string>

#include "data/record/catalog.h"

class TSorvoBoard;
class TSorvoSheet;

class TLcfgPictureItem : public TCatalogItem {
public:
    enum Effect : int32_t { kNone = 0, kRotation = 1, kWave = 2 };

    explicit TLcfgPictureItem(int32_t id = 0);
    ~TLcfgPictureItem() override;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // The generic read, then the image loaded again.
    void LoadFromStream(ByteReader& r) override;

    void Show(const std::string& name, double x, double y, bool boundToMap, double magnification,
              double topTransparency, double bottomTransparency, bool usesTransparentColor, double red,
              double green, double blue, double saturation, int32_t effect, double effectStrength);
    void Move(double x, double y, int32_t frames, int32_t magnification, int32_t topTransparency,
              int32_t bottomTransparency, int32_t red, int32_t green, int32_t blue, int32_t saturation,
              int32_t effect, int32_t effectStrength);
    void Erase();
    // Both sheets from "Picture"\name; with the transparent colour sheet A
    // keeps the top half and sheet B the bottom half.
    void LoadImage();
    void Update();
    void Draw(TSorvoBoard& board);
    // Moves every position by (dx, dy) pixels (map-bound pictures only).
    void Shift(double dx, double dy);

    bool HasImage() const;
    TSorvoSheet& SheetA() { return *sheetA_; }
    TSorvoSheet& SheetB() { return *sheetB_; }

    // Saved fields, by chunk.
    std::string imageName;                        // [1]
    double startX = 0, startY = 0;                // [2, 3]
    double currentX = 0, currentY = 0;            // [4, 5]
    uint8_t boundToMap = 0;                       // [6]
    double magnification = 100;                   // [7]
    double topTransparency = 0;                   // [8]
    double bottomTransparency = 0;                // [18]
    uint8_t usesTransparentColor = 0;             // [9]
    double red = 100, green = 100, blue = 100, saturation = 100;  // [11-14]
    int32_t effect = kNone;                       // [15]
    double effectStrength = 0;                    // [16]
    double targetX = 0, targetY = 0;              // [31, 32]
    int32_t targetMagnification = 100;            // [33]
    int32_t targetTopTransparency = 0;            // [34]
    int32_t targetBottomTransparency = 0;         // [35]
    int32_t targetRed = 100, targetGreen = 100, targetBlue = 100, targetSaturation = 100;  // [41-44]
    int32_t targetEffectStrength = 0;             // [46]
    int32_t framesLeft = 0;                       // [51]
    double angle = 0;                             // [52]
    int32_t wavePhase = 0;                        // [53]

private:
    std::unique_ptr<TSorvoSheet> sheetA_;
    std::unique_ptr<TSorvoSheet> sheetB_;
};

class TLcfgPicture : public TCatalogOf<TLcfgPictureItem> {
public:
    static constexpr int32_t kCount = 50;

    TLcfgPicture() { ClearPictures(); }
    // Ids 1-50, every one cleared.
    void ClearPictures() { SetCount(kCount); }
    // Clear, ids 1-50, then the saved items over them. On failure the
    // pictures are cleared again and the error passes on.
    void LoadFromStream(ByteReader& r) override;

    // A missing id is a program error (checked in every build).
    TLcfgPictureItem& ItemById(int32_t id) const;
    void UpdateAll();
    void DrawAll(TSorvoBoard& board);
    void EraseAll();
    // The view scrolled by d (1/16 pixel): map-bound pictures move the other
    // way by d/16 pixels.
    void ScrollUp(int32_t d);
    void ScrollDown(int32_t d);
    void ScrollLeft(int32_t d);
    void ScrollRight(int32_t d);

private:
    void ShiftBound(double dx, double dy);
};

extern TLcfgPicture* GamePictures;

// The pictures as the save file's chunk: the list form of all 50.
class TLcfgPictureChunk : public TCatalogBaseItem {
public:
    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override { pictures.ClearPictures(); }
    void LoadFromStream(ByteReader& r) override { pictures.LoadFromStream(r); }
    void SaveToStream(ByteWriter& w) override { pictures.SaveToStream(w); }

    TLcfgPicture pictures;
};
