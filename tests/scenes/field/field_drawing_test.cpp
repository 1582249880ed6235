// The field's layered drawing: character order on a layer, tiles drawn
// above characters, cells outside the map, the truncating origin under a
// shake, and the timers' places.
#include "game/party/party_info.h"
#include "graphics/system_graphic.h"
#include "scenes/field/field_fixture.h"
#include "scenes/windows/message_window.h"
#include "scenes/windows/window.h"

using namespace field_test;

namespace {

// Party sprite spans x 76..99 at cell 5, an event at cell 6 spans 92..115:
// the overlap 92..99 shows whoever was drawn last.
constexpr int kOverlapX = 95, kSpriteY = 80;

}  // namespace

TEST_F(FieldTest, OnLayerOneAtEqualScreenYEventsDrawBeforeThePartyThenBySmallerX) {
    AddPerson(1, 6, 5, 1, 1);
    EnterAsPerson(5, 5);
    scene->Draw();
    // The event lies right of the party, yet the party covers it.
    EXPECT_EQ(Pixel(kOverlapX, kSpriteY), kParty565);
    EXPECT_EQ(Pixel(110, kSpriteY), kEventA565);

    // Two events: the one further right is drawn later, whatever the map's
    // order.
    unit.events.Clear();
    AddPerson(1, 7, 5, 1, 1);
    AddPerson(2, 6, 5, 2, 1);
    EnterAsPerson(2, 2);
    scene->Draw();
    EXPECT_EQ(Pixel(kOverlapX + 16, kSpriteY), kEventA565);
}

TEST_F(FieldTest, ALowerScreenYDrawsLaterAndLayersStackBelowTheParty) {
    AddPerson(1, 5, 6, 1, 1);  // one row further down: drawn over the party
    AddPerson(2, 5, 4, 2, 0);  // below the party's layer
    EnterAsPerson(5, 5);
    scene->Draw();
    EXPECT_EQ(Pixel(88, 96 + 4), kEventA565);
    EXPECT_EQ(Pixel(88, 70), kParty565);
    EXPECT_EQ(Pixel(88, 50), kEventB565);  // above the party's head only
}

TEST_F(FieldTest, AnAboveTileCoversALayerOneCharacterButNotALayerTwoOne) {
    unit.Upper().SetTile(5, 5, world_test::kRoof);
    unit.Upper().SetTile(9, 5, world_test::kRoof);
    AddPerson(1, 9, 5, 1, 2);
    EnterAsPerson(5, 5);
    scene->Draw();
    // The roof's cell (80..95, 80..95) hides the party's lower half.
    EXPECT_EQ(Pixel(85, 88), kRoof565);
    EXPECT_EQ(Pixel(85, 70), kParty565);
    EXPECT_EQ(Pixel(9 * 16 + 5, 88), kEventA565);
    // Open floor elsewhere.
    EXPECT_EQ(Pixel(200, 200), kFloor565);
}

TEST_F(FieldTest, TheAirshipStandsOnLayerOneAndFliesOverLayerTwoAndTheTilesAbove) {
    AddPerson(1, 8, 5, 1, 2);
    unit.Upper().SetTile(8, 7, world_test::kRoof);
    EnterAsPerson(2, 2);
    airship->mapId = 1;
    airship->sheetName = "People";
    airship->sheetIndex = 2;
    airship->ascent = 256;  // fully risen when flying: drawn where it stands
    for (int y : {5, 7}) {
        SCOPED_TRACE(y);
        airship->x = 8;
        airship->y = y;
        airship->flying = 0;
        scene->Draw();
        EXPECT_EQ(Pixel(8 * 16 + 8, y * 16 + 8), y == 5 ? kEventA565 : kRoof565);
        airship->flying = 1;
        scene->Draw();
        EXPECT_EQ(Pixel(8 * 16 + 8, y * 16 + 8), kEventB565);
    }
}

TEST_F(FieldTest, CellsOutsideANonLoopingMapDrawNothingAndTheShakeOffsetTruncatesTowardZero) {
    MakeMap(5, 5);
    Enter(2, 2);
    party.sheetName.clear();
    party.sheetIndex = 0;  // upper chip 0: transparent
    scene->Draw();
    EXPECT_EQ(Pixel(0, 0), kFloor565);
    EXPECT_EQ(Pixel(79, 79), kFloor565);
    EXPECT_EQ(Pixel(80, 10), kBlack);    // column 5 is outside
    EXPECT_EQ(Pixel(10, 80), kBlack);    // row 5 too
    EXPECT_EQ(Pixel(319, 239), kBlack);  // far away (no wrapping)

    // A shake of 4 pixels moves the view 64 units left of the map: the
    // origin stays cell 0 and the offset is -4, so the map moves right.
    screenEffects.shakeX = 4;
    scene->Draw();
    EXPECT_EQ(Pixel(3, 10), kBlack);  // column -1: outside
    EXPECT_EQ(Pixel(4, 10), kFloor565);
    EXPECT_EQ(Pixel(83, 10), kFloor565);
    EXPECT_EQ(Pixel(84, 10), kBlack);
}

TEST_F(FieldTest, TileIdsThatNameNoChipDrawNothingInsteadOfEndingTheGame) {
    unit.Lower().SetTile(1, 1, 6000);
    unit.Upper().SetTile(1, 1, 7000);
    unit.Lower().SetTile(2, 1, -3);
    Enter(5, 5);
    ASSERT_NO_THROW(scene->Draw());
    EXPECT_EQ(Pixel(16 + 5, 16 + 5), kBlack);
    EXPECT_EQ(Pixel(32 + 5, 16 + 5), kBlack);
    EXPECT_EQ(Pixel(48 + 5, 16 + 5), kFloor565);
}

TEST_F(FieldTest, ALoopingMapDrawsItsCellsAgainPastItsEdge) {
    MakeMap(5, 5, TLcfMap::kScrollLoopBoth);
    unit.Upper().SetTile(0, 0, world_test::kRoof);
    Enter(2, 2);
    party.sheetName.clear();
    scene->Draw();
    // The view is centred on the party, so cell (0, 0) shows up every 80
    // pixels.
    const int32_t ox = int32_t((map.viewX / 16) % 80), oy = int32_t((map.viewY / 16) % 80);
    const int x0 = (80 - ox) % 80, y0 = (80 - oy) % 80;
    EXPECT_EQ(Pixel(x0 + 5, y0 + 5), kRoof565);
    EXPECT_EQ(Pixel(x0 + 85, y0 + 85), kRoof565);
    EXPECT_EQ(Pixel(x0 + 21, y0 + 5), kFloor565);
}

TEST_F(FieldTest, BeforeAnyChipSetIsSetUpTheFieldDrawsNoCellsAndNoCharacters) {
    unit.ChipSetGraphic().SetChipSet(nullptr);
    party.sheetName.clear();  // drawn as a tile, as before the first map
    ASSERT_NO_THROW(scene->Draw());
    EXPECT_EQ(Pixel(100, 100), kBlack);
}

TEST_F(FieldTest, TilesTakeTheScreenTone) {
    Enter(5, 5);
    screenEffects.tone = {100, 0, 100, 100};  // green off: the green floor goes black
    scene->Draw();
    EXPECT_EQ(Pixel(200, 200), kBlack);
    screenEffects.tone = {100, 100, 100, 100};
    scene->Draw();
    EXPECT_EQ(Pixel(200, 200), kFloor565);
}

TEST_F(FieldTest, TimersShowAtTheTopOrBelowAMessageBoxAtTheTopWithTimerTwoAtTheRight) {
    // A skin whose timer digits and colon are all red.
    std::filesystem::create_directories(folder / "System");
    TSorvoPng skin;
    skin.SetFormat(160, 80, 8);
    TestPalette(skin);
    for (int y = 32; y < 48; ++y)
        for (int x = 32; x < 120; ++x) skin.Row(y)[x] = kRoofColor;
    skin.SaveToFile((folder / "System" / "Skin.png").string());
    TLcfSystemGraphic graphic(GameDraw->Board());
    graphic.LoadImages("Skin", "", "");
    GameSystemGraphic = &graphic;
    TLcfgPartyInfo info;
    GamePartyInfo = &info;
    TLcfMessageWindow box;
    GameMessageWindow = &box;
    Enter(5, 5);
    info.SetTimer(0, 90);
    info.StartTimer(0, true, false);
    scene->Draw();
    EXPECT_EQ(Pixel(6, 6), kRoof565);
    EXPECT_EQ(Pixel(278, 6), kFloor565);  // timer 2 is not shown
    info.SetTimer(1, 5);
    info.StartTimer(1, true, false);
    GameSystem->messagePosition = 0;
    box.Open();
    box.position = 0;
    scene->Draw();
    EXPECT_EQ(Pixel(6, 222), kRoof565);
    EXPECT_EQ(Pixel(278, 222), kRoof565);
    GameMessageWindow = nullptr;
    GamePartyInfo = nullptr;
    GameSystemGraphic = nullptr;
}

TEST_F(FieldTest, TheFrameOverlayLiesOverTheFieldWhenTheDatabaseAsksForIt) {
    std::filesystem::create_directories(folder / "Frame");
    TSorvoPng frame;
    frame.SetFormat(320, 240, 8);
    TestPalette(frame);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 8; ++x) frame.Row(y)[x] = kRoofColor;  // a red left edge, the rest open
    frame.SaveToFile((folder / "Frame" / "Border.png").string());
    TLcfSystemGraphic graphic(GameDraw->Board());
    graphic.LoadImages("", "", "Border");
    GameSystemGraphic = &graphic;
    Enter(5, 5);
    scene->Draw();
    EXPECT_EQ(Pixel(2, 100), kFloor565);
    DbSystem->frameOverlay = 1;
    scene->Draw();
    EXPECT_EQ(Pixel(2, 100), kRoof565);
    EXPECT_EQ(Pixel(100, 100), kFloor565);
    GameSystemGraphic = nullptr;
}

TEST_F(FieldTest, DrawClearsTheForceDrawFlag) {
    Enter(2, 2);
    scene->ForceDraw = true;
    scene->Draw();
    EXPECT_FALSE(scene->ForceDraw);
}
