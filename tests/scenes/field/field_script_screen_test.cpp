// Scripts on the field erase and show its picture and put pictures and a
// tint over it: the commands reach the real field scene.

#include "game/interpreter/scripter.h"
#include "scenes/field/field_fixture.h"

using namespace field_test;
using lcf_builder::Script;

namespace {

void RunOnField(const Script& script) {
    GameScripter->Start(0, script.List());
    GameScripter->Update();
}

TEST_F(FieldTest, ScriptsEraseAndShowTheFieldAndShowPicturesOverIt) {
    std::filesystem::create_directories(folder / "Picture");
    TSorvoPng dot;
    dot.SetFormat(8, 8, 8);
    TestPalette(dot);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) dot.Row(y)[x] = kEventColorB;
    dot.SaveToFile((folder / "Picture" / "Dot.png").string());
    Enter(2, 2);
    GameDraw->Board().Brightness = 100;

    RunOnField(Script().Line(11010, 0, "", {19}).Line(0));  // erase at once
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
    RunOnField(Script()
                   .Line(11110, 0, "Dot", {1, 0, 100, 60, 0, 100, 0, 0, 100, 100, 100, 100, 0, 0})
                   .Line(11020, 0, "", {19})  // show at once
                   .Line(0));
    EXPECT_EQ(GameDraw->Board().Brightness, 100);
    scene->Draw();
    EXPECT_EQ(Pixel(100, 60), kEventB565);
    EXPECT_EQ(Pixel(20, 20), kFloor565);

    // A full tint to black darkens the map, not the picture over it.
    RunOnField(Script().Line(11030, 0, "", {0, 0, 0, 100, 0, 0}).Line(0));
    scene->Draw();
    EXPECT_EQ(Pixel(20, 20), kBlack);
    EXPECT_EQ(Pixel(100, 60), kEventB565);

    // The zoom centres on the party wherever it stands, however far out.
    party.x = party.y = INT32_MAX;
    RunOnField(Script().Line(11010, 0, "", {16}).Line(0));
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
    RunOnField(Script().Line(11020, 0, "", {16}).Line(0));
    EXPECT_EQ(GameDraw->Board().Brightness, 100);
}

}  // namespace
