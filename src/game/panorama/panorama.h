#pragma once
// The parallax background: an image from "Panorama" (or "Frame" in battle)
// that shows through the open parts of the map's lower layer. It wraps in
// both directions, may scroll on its own, moves at half the map's speed when
// it loops and otherwise follows the view so that the map's far edge shows
// the image's far edge. It saves nothing (its save chunk is an empty record);
// the map configures it again after loading.
//
// Units: x and y are 1/32 pixel; the map's scroll hooks pass 1/16 pixel.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "data/record/catalog_base_item.h"

class TSorvoBoard;
class TSorvoSheet;

class TLcfgPanorama : public TCatalogBaseItem {
public:
    TLcfgPanorama();
    ~TLcfgPanorama() override;

    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override;

    // The map's settings (the map passes follow 1 and transparent 0).
    void Configure(const std::string& name, bool enabled, int32_t mapHeight, int32_t mapWidth, int32_t vSpeed,
                   int32_t hSpeed, bool follow, bool transparent, bool mapVLoop, bool mapHLoop, bool vAutoScroll,
                   bool hAutoScroll, bool vLoop, bool hLoop);
    // Reads the image (see the .cpp), then FollowMap.
    void LoadImage();
    // The same from the "Frame" folder, whether enabled or not.
    void LoadFrame(const std::string& name);

    void SetX(int64_t v);
    void SetY(int64_t v);
    // Once per frame: the automatic scrolling of a looping panorama.
    void AutoScroll();
    // The view scrolled by d (1/16 pixel).
    void ScrollRight(int32_t d);
    void ScrollLeft(int32_t d);
    void ScrollDown(int32_t d);
    void ScrollUp(int32_t d);
    // Places a non-looping axis in proportion to the view.
    void FollowMap();
    // The 16x16 piece behind screen cell (sx, sy).
    void DrawTile(TSorvoBoard& board, int32_t sx, int32_t sy, int32_t shakeY, int32_t shakeX);

    // Where the view stands, in 1/16 pixel (the map's view units); the map
    // world sets it. Defaults to 0.
    std::function<int32_t()> ViewX;
    std::function<int32_t()> ViewY;

    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Enabled() const { return enabled_; }
    TSorvoSheet& Sheet() { return *sheet_; }

private:
    bool LoopsH() const { return hLoop_ || mapHLoop_; }
    bool LoopsV() const { return vLoop_ || mapVLoop_; }
    void LoadFrom(const std::string& folder);

    std::unique_ptr<TSorvoSheet> sheet_;
    int32_t x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    std::string name_;
    bool enabled_ = false;
    bool hLoop_ = false, vLoop_ = false, hAutoScroll_ = false, vAutoScroll_ = false;
    int32_t hSpeed_ = 0, vSpeed_ = 0;
    bool mapHLoop_ = false, mapVLoop_ = false, follow_ = false;
    int32_t mapWidth_ = 0, mapHeight_ = 0;
};

extern TLcfgPanorama* GamePanorama;
