// What the battle puts on the screen: a terrain's two-layer backdrop, the
// status window's gauges, digits and marker in each layout, and battle
// animations on a whole side in drawing order.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "data/database/animation.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "graphics/system_graphic.h"
#include "scenes/battle/battle_fixture.h"
#include "support/noise_png.h"

namespace {

using namespace battle_test;
using field_test::Rgb565;

// Palette entry i of the test images: a colour of its own for every index.
PaletteEntry Colour(int i) { return PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0}; }
uint16_t Colour565(int i) { return Rgb565(uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)); }

// Indices of the test skin images.
enum : uint8_t {
    kText = 7,           // every text colour; no shadow
    kGaugeBase = 10,     // gauge kind k: 10 + k on every piece
    kIconBase = 30,      // icon row 0: 30 + frame; row 16: 33 + frame
    kDigitBase = 40,     // big digit d: 40 + d
    kArrow = 60,         // both scroll arrows
};

class BattleDrawingTest : public BattleSceneTest {
protected:
    BattleDrawingTest() : skin(GameDraw->Board()) {
        SetGraphicsFileFinder([this](const std::string& f, const std::string& name) {
            const std::filesystem::path path = folder / f / (name + ".png");
            return !name.empty() && std::filesystem::exists(path) ? path.string() : std::string();
        });
        WriteSkin();
        skin.LoadImages("Skin", "Icons", "");
        GameSystemGraphic = &skin;
    }
    ~BattleDrawingTest() override { GameSystemGraphic = nullptr; }

    // A skin whose windows are see-through and whose text is one colour,
    // and a second image whose gauges, icon frames and digits each have a
    // colour of their own.
    void WriteSkin() {
        std::filesystem::create_directories(folder / "System");
        std::filesystem::create_directories(folder / "System2");
        TSorvoPng png;
        png.SetFormat(160, 80, 8);
        for (int i = 0; i < 256; ++i) png.Palette[size_t(i)] = Colour(i);
        for (int y = 48; y < 80; ++y)
            for (int x = 0; x < 160; ++x) png.Row(y)[x] = kText;
        for (int y = 8; y < 24; ++y)
            for (int x = 40; x < 56; ++x) png.Row(y)[x] = kArrow;
        png.SaveToFile((folder / "System" / "Skin.png").string());
        png.SetFormat(80, 96, 8);
        for (int i = 0; i < 256; ++i) png.Palette[size_t(i)] = Colour(i);
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 80; ++x) {
                uint8_t& px = png.Row(y)[x];
                if (y < 32) px = uint8_t(kIconBase + 3 * (y / 16) + std::min(x / 16, 2));
                else if (y < 80) px = uint8_t(kGaugeBase + (y / 16 - 2));
                else px = uint8_t(kDigitBase + x / 8);
            }
        png.SaveToFile((folder / "System2" / "Icons.png").string());
    }
    // A 320x240 picture in "Frame": index `paint(x, y)` at every pixel.
    template <typename Paint>
    void WriteFrame(const std::string& name, Paint paint) {
        std::filesystem::create_directories(folder / "Frame");
        TSorvoPng png;
        png.SetFormat(320, 240, 8);
        for (int i = 0; i < 256; ++i) png.Palette[size_t(i)] = Colour(i);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) png.Row(y)[x] = uint8_t(paint(x, y));
        png.SaveToFile((folder / "Frame" / (name + ".png")).string());
    }
    // A party of four: heroes 3 and 4 join the two of the fixture.
    void PartyOfFour() {
        lcf_builder::LoadRecord(*DbPlayer->GetOrCreate(4),
                                battle_world::Chunks()
                                    .Str(1, "Hero4")
                                    .Data(31, battle_world::FlatCurves(100, 20, 30, 20, 10, 30))
                                    .End());
        players->Reset();
        GamePartyInfo->AddMember(3);
        GamePartyInfo->AddMember(4);
    }
    uint16_t System2Colour(uint8_t index) { return skin.System2().ColorTable[index]; }
    // Whether any pixel of the rectangle has the colour.
    bool Shows(int x, int y, int w, int h, uint16_t colour) const {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (Pixel(i, j) == colour) return true;
        return false;
    }

    TLcfSystemGraphic skin;
};

TEST_F(BattleDrawingTest, ATerrainsBackdropLayersCoverTheScreenInSixteenPixelCellsAndFollowTheShake) {
    // The meadow's pixels all differ from their neighbours' within a cell
    // row; the clouds are a band over it, open elsewhere.
    auto meadow = [](int x, int y) { return 1 + (x + 3 * y) % 200; };
    WriteFrame("Meadow", meadow);
    WriteFrame("Clouds", [](int, int y) { return y >= 40 && y < 60 ? 250 : 0; });
    TLcfGroundItem& terrain = *DbGround->GetOrCreate(1);
    terrain.backdropKind = 1;
    terrain.layer1Image = "Meadow";
    terrain.layer2Shown = 1;
    terrain.layer2Image = "Clouds";
    battle->setup.terrainId = 1;
    battle->Start();
    battle->Draw();
    for (auto [x, y] : {std::pair{0, 0}, {5, 5}, {100, 37}, {250, 150}, {319, 159}, {170, 100}})
        EXPECT_EQ(Pixel(x, y), Colour565(meadow(x, y))) << x << "," << y;
    EXPECT_EQ(Pixel(100, 50), Colour565(250));  // the second layer over the first
    EXPECT_EQ(Pixel(300, 59), Colour565(250));

    // A shake moves the picture with the screen.
    screenEffects.shakeX = 3;
    battle->Draw();
    EXPECT_EQ(Pixel(100, 37), Colour565(meadow(97, 37)));
    EXPECT_EQ(Pixel(1, 37), Colour565(meadow(318, 37)));
}

TEST_F(BattleDrawingTest, LayoutTwoShowsEachMembersHpAndSpInBigDigitsRightAlignedOverItsGauges) {
    DbBattle->layoutStyle = 2;
    battle->Start();
    Member(0).hp = 100;  // three digits at column x + 48
    Member(0).sp = 7;    // one digit at column x + 64
    Member(1).paramModifiers[0] = 2000;
    Member(1).hp = 1234;  // four digits at column x + 40
    Member(1).sp = 20;    // two digits at column x + 56
    battle->Draw();
    const TLcfBattleStatusWindow& w = battle->statusWindow;
    const int top = w.Y() + w.topMargin, second = top + w.rowHeight;
    auto digitAt = [&](int x, int y, int d) { return Pixel(x + 3, y + 8) == System2Colour(uint8_t(kDigitBase + d)); };
    const int c0 = w.X(), c1 = w.X() + 80;
    EXPECT_TRUE(digitAt(c0 + 48, top, 1));
    EXPECT_TRUE(digitAt(c0 + 56, top, 0));
    EXPECT_TRUE(digitAt(c0 + 64, top, 0));
    EXPECT_TRUE(digitAt(c0 + 64, second, 7));
    EXPECT_TRUE(digitAt(c1 + 40, top, 1));
    EXPECT_TRUE(digitAt(c1 + 64, top, 4));
    EXPECT_TRUE(digitAt(c1 + 56, second, 2));
    EXPECT_TRUE(digitAt(c1 + 64, second, 0));
    // Left of the number the gauge shows.
    EXPECT_EQ(Pixel(c0 + 44, top + 8), System2Colour(kGaugeBase + 0));
    EXPECT_EQ(Pixel(c1 + 52, second + 8), System2Colour(kGaugeBase + 1));
}

TEST_F(BattleDrawingTest, LayoutTwoWithSmallWindowsKeepsEveryMembersColumnWhenTheCursorScrolls) {
    DbBattle->layoutStyle = 2;
    DbBattle->compactWindows = 1;
    PartyOfFour();
    battle->Start();
    TLcfBattleStatusWindow& w = battle->statusWindow;
    ASSERT_EQ(w.VisibleRows(), 3);
    w.SetCursor(3);
    ASSERT_EQ(w.TopRow(), 1);
    battle->Draw();
    const int gaugeRow = w.Y() + w.topMargin + 2 * w.rowHeight + 8;
    for (int e = 0; e < 3; ++e)
        EXPECT_EQ(Pixel(w.X() + 80 * e + 50, gaugeRow), System2Colour(kGaugeBase + 2)) << e;
}

TEST_F(BattleDrawingTest, TheStatusWindowsScrollArrowsBlinkByItsOwnCounterOnly) {
    DbBattle->layoutStyle = 1;
    DbBattle->compactWindows = 1;
    PartyOfFour();
    battle->Start();
    TLcfBattleStatusWindow& w = battle->statusWindow;
    w.SetCursor(3);
    ASSERT_EQ(w.TopRow(), 1);
    ASSERT_EQ(w.FrameCounter() / 20 % 2, 0);  // the window base's blink would show them
    const int ax = w.X() + w.Width() / 2, ay = w.Y() + 4;
    w.counter = 20;
    battle->Draw();
    EXPECT_NE(Pixel(ax, ay), Colour565(kArrow));
    w.counter = 40;
    battle->Draw();
    EXPECT_EQ(Pixel(ax, ay), Colour565(kArrow));
}

TEST_F(BattleDrawingTest, TheMemberUnderAnActiveCursorCarriesTheSecondAnimatedIcon) {
    DbBattle->layoutStyle = 1;
    battle->Start();
    TLcfgPlayerItem& a = Member(1);
    auto marked = [&](int frame) { return Pixel(a.battleX + 8, a.battleY - 40 + 8) == System2Colour(uint8_t(kIconBase + 3 + frame)); };
    battle->Draw();
    EXPECT_FALSE(marked(0));  // the status window has no cursor in the party command

    TLcfBattleStatusWindow& w = battle->statusWindow;
    w.SetCursor(1);
    w.SetActive(true);
    w.counter = 20;  // the second step of the icon
    battle->Draw();
    EXPECT_TRUE(marked(1));
    // A cursor that is shown but takes no input marks no one.
    w.SetActive(false);
    battle->Draw();
    EXPECT_FALSE(marked(1));
    w.SetCursorVisible(false);

    // The actor target window marks its cursor member the same way.
    battle->targetWindow.Layout(0);
    battle->targetWindow.SetCursor(1);
    battle->targetWindow.SetActive(true);
    battle->Draw();
    EXPECT_TRUE(marked(0));
}

TEST_F(BattleDrawingTest, TranslucentWindowsInLayoutOneDrawTheGaugeUnderTheTextAndOpaqueOnesOverIt) {
    DbBattle->layoutStyle = 1;
    for (int translucent : {1, 0}) {
        DbBattle->translucentWindows = uint8_t(translucent);
        battle->Start();
        battle->Draw();
        // The SP figures stand inside the gauge's body.
        const TLcfBattleStatusWindow& w = battle->statusWindow;
        const bool textOnTop = Shows(w.X() + 212, w.Y() + w.topMargin, 25, 16, Colour565(kText));
        EXPECT_EQ(textOnTop, translucent == 1) << translucent;
        if (translucent) {
            EXPECT_TRUE(Shows(w.X() + 212, w.Y() + w.topMargin, 25, 16, System2Colour(kGaugeBase + 2)));
        }
    }
}

// --- Animations on a whole side -------------------------------------------------------------

class WholeSideAnimationTest : public BattleDrawingTest {
protected:
    WholeSideAnimationTest() {
        std::filesystem::create_directories(folder / "Battle");
        testing_support::SaveNoisePng((folder / "Battle" / "Cells.png").string(), 480, 192, 9);
        TLcfAnimationItem& a = *DbAnimation->GetOrCreate(1);
        a.image = "Cells";
        a.position = TLcfAnimationItem::kCentre;
        a.frames.SetCount(4);
        a.frames.Items(0)->cells.Add()->pattern = 0;
    }
    // The upper screen (above the windows) as it is now.
    std::vector<uint16_t> Upper() const {
        std::vector<uint16_t> px;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 320; ++x) px.push_back(Pixel(x, y));
        return px;
    }
};

TEST_F(WholeSideAnimationTest, AnAnimationOnEveryEnemyIsDrawnInDepthOrderWithTiesToTheHigherIndex) {
    Group(1, {false, false, false});
    battle->Start();
    // Enemies 0 and 2 stand level and overlap; enemy 1 stands in front.
    troop.Member(0)->battleX = 100, troop.Member(0)->battleY = 80;
    troop.Member(1)->battleX = 130, troop.Member(1)->battleY = 100;
    troop.Member(2)->battleX = 150, troop.Member(2)->battleY = 80;
    troop.PlayAnimation(1, false, -1);
    battle->Draw();
    const std::vector<uint16_t> drawn = Upper();

    TSorvoBoard& board = GameDraw->Board();
    TLcfAnimationGraphic& g = troop.Animation().Graphic();
    auto inOrder = [&](std::initializer_list<int> order) {
        board.Clear();
        for (int i : order) troop.Member(i)->DrawBattleAnimation(board, g, 0);
        return Upper();
    };
    EXPECT_NE(inOrder({0, 1, 2}), inOrder({2, 0, 1}));  // the order shows
    EXPECT_TRUE(drawn == inOrder({2, 0, 1}));
}

TEST_F(WholeSideAnimationTest, AnAnimationOnTheWholePartyIsDrawnInDepthOrderWithTiesToTheHigherId) {
    PartyOfFour();
    battle->Start();
    // Members 0 and 1 (ids 1 and 2) level and overlapping, 2 in front, 3 behind.
    const int places[4][2] = {{200, 90}, {230, 90}, {215, 110}, {260, 70}};
    for (int i = 0; i < 4; ++i) Member(i).battleX = places[i][0], Member(i).battleY = places[i][1];
    GamePlayers->PlayAnimation(1, 0, -1);
    battle->Draw();
    const std::vector<uint16_t> drawn = Upper();

    TSorvoBoard& board = GameDraw->Board();
    TLcfAnimationGraphic& g = GamePlayers->Animation().Graphic();
    auto inOrder = [&](std::initializer_list<int> slots) {
        board.Clear();
        for (int i : slots) Member(i).DrawBattleAnimation(board, g, 1, 0);
        return Upper();
    };
    EXPECT_NE(inOrder({0, 1, 2, 3}), inOrder({3, 1, 0, 2}));
    EXPECT_TRUE(drawn == inOrder({3, 1, 0, 2}));
}

}  // namespace
