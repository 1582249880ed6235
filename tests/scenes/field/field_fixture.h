#pragma once
// The field scene on a map world built in code: a chip set and a character
// sheet written as PNG files with one plain colour per chip and per
// character, the screen effects, pictures and panorama, and the headless
// screen object whose board the tests read.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/world_fixture.h"
#include "graphics/chip_set_layout.h"
#include "media/image/png.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/startup.h"
#include "support/test_screen.h"

namespace field_test {

// Palette indices of the test images, each a colour of its own.
enum : uint8_t { kFloorColor = 1, kRoofColor = 2, kPartyColor = 3, kEventColorA = 4, kEventColorB = 5 };

constexpr uint16_t Rgb565(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
constexpr uint16_t kBlack = 0;
constexpr uint16_t kFloor565 = Rgb565(0, 255, 0);
constexpr uint16_t kRoof565 = Rgb565(255, 0, 0);
constexpr uint16_t kParty565 = Rgb565(255, 255, 255);
constexpr uint16_t kEventA565 = Rgb565(0, 0, 255);
constexpr uint16_t kEventB565 = Rgb565(255, 255, 0);

inline void TestPalette(TSorvoPng& png) {
    png.Palette[kFloorColor] = PaletteEntry{0, 255, 0, 0};
    png.Palette[kRoofColor] = PaletteEntry{255, 0, 0, 0};
    png.Palette[kPartyColor] = PaletteEntry{255, 255, 255, 0};
    png.Palette[kEventColorA] = PaletteEntry{0, 0, 255, 0};
    png.Palette[kEventColorB] = PaletteEntry{255, 255, 0, 0};
}

class FieldTest : public world_test::WorldTest {
protected:
    FieldTest() {
        testing_support::MakeTestScreen();
        GameScreen = &screenEffects;
        GamePictures = &pictures;
        GamePanorama = &panorama;
        WriteImages();
        DbChipSet->GetOrCreate(1)->imageName = "Tiles";
        unit.ChipSetGraphic().SetChipSet(DbChipSet->GetOrCreate(1));
        MakeMap(20, 15);
        scene = std::make_unique<TLcfFieldScene>();
        GameInterpreterHooks.field = scene.get();
    }
    ~FieldTest() override {
        scene.reset();
        GameScreen = nullptr;
        GamePictures = nullptr;
        GamePanorama = nullptr;
        testing_support::DeleteTestScreen();
        TestPlayMode = false;
    }

    // Chip 18 (the floor) green, upper chip 3 (the roof) red, everything
    // else transparent; characters 0, 1 and 2 of "People" white, blue and
    // yellow over their whole frames.
    void WriteImages() {
        std::filesystem::create_directories(folder / "ChipSet");
        std::filesystem::create_directories(folder / "CharSet");
        TSorvoPng tiles;
        tiles.SetFormat(kChipSetImageWidth, kChipSetImageHeight, 8);
        TestPalette(tiles);
        auto fill = [&](ChipCell c, uint8_t index) {
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) tiles.Row(c.row * 8 + y)[c.column * 8 + x] = index;
        };
        fill(LowerChipCell(18), kFloorColor);
        fill(UpperChipCell(3), kRoofColor);
        tiles.SaveToFile((folder / "ChipSet" / "Tiles.png").string());
        TSorvoPng people;
        people.SetFormat(288, 256, 8);
        TestPalette(people);
        const uint8_t colors[3] = {kPartyColor, kEventColorA, kEventColorB};
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < 128; ++y)
                for (int x = 0; x < 72; ++x) people.Row(y)[c * 72 + x] = colors[c];
        people.SaveToFile((folder / "CharSet" / "People.png").string());
    }

    // An event showing character `index` of "People" on `layer`.
    void AddPerson(int32_t id, int32_t x, int32_t y, int32_t index, uint8_t layer) {
        TLcfEventPageItem& page = AddEvent(id, x, y);
        page.sheetName = "People";
        page.sheetIndex = index;
        page.layer = layer;
    }
    // Party at (x, y) of map 1, drawn as character 0 of "People".
    void EnterAsPerson(int32_t x, int32_t y) {
        Enter(x, y);
        party.sheetName = "People";
        party.sheetIndex = 0;
    }
    uint16_t Pixel(int x, int y) const { return GameDraw->Board().ScanLine(y)[x]; }

    TLcfgScreen screenEffects;
    TLcfgPicture pictures;
    TLcfgPanorama panorama;
    std::unique_ptr<TLcfFieldScene> scene;
};

}  // namespace field_test
