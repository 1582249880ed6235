// Battles on the demo: an encounter on the Green Reach fought on automatic
// battle back to the field, the battle test's party and items, and the
// heroes' battle pictures and places.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/system.h"
#include "data/random.h"
#include "game/actors/player.h"
#include "game/actors/actor_battle_sprites.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "scenes/windows/message_window.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "support/demo_game.h"
#include "support/driver_steps.h"
#include "support/test_paths.h"

namespace {

using testing_support::DriverSteps;

class DemoBattle : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
        SetRandomSource(&random_);
    }
    void TearDown() override { SetRandomSource(nullptr); }

    THarnessResult Run(DriverSteps& steps, std::vector<std::string> words, int frames) {
        THarnessOptions o;
        o.gameFolder = dir_.path().string();
        o.words = std::move(words);
        o.frames = frames;
        o.driver = [&](int, const platform::CapturedFrame*, std::vector<std::string>& hold) { return steps.Run(hold); };
        return RunHarness(o);
    }
    static bool PartyCommandOpen() {
        return GameSystem->scene == kSceneBattle && BattleScene && BattleScene->partyCommandWindow.Active() &&
               BattleScene->partyCommandWindow.IsOpen();
    }
    // "Auto" at the party command.
    static void ChooseAuto(DriverSteps& steps) {
        steps.Settle(PartyCommandOpen).Press("down").Press("decision");
    }

    testing_support::TempDir dir_;
    SeededRandom random_{2024};
};

TEST_F(DemoBattle, AnEncounterOnTheFieldIsFoughtOnAutoAndTheFieldComesBack) {
    const e2e::MapSpot field = e2e::TransferTargetOf(dir_.path(), e2e::kTownMap, "To the Green Reach");
    ASSERT_EQ(field.map, e2e::kFieldMap);
    DriverSteps steps;
    std::string musicBefore, musicAfter;
    int32_t goldBefore = 0, victories = 0, battles = 0;
    steps.NewGame()
        .Do([&] { FieldScene->RequestTeleport(field.map, field.x, field.y, 0); })
        .Settle([] { return DriverSteps::FieldShown() && GameParty->mapId == e2e::kFieldMap; })
        .Do([&] {
            musicBefore = GameSystem->MusicRecord(kGameMusicCurrent).name;
            goldBefore = GamePartyInfo->gold;
            GameParty->encounterPending = 1;
        })
        // A greeting on arrival may hold the encounter back: it is read on.
        .Then([frame = 0](std::vector<std::string>& hold) mutable {
            if (GameSystem->scene == kSceneBattle) return true;
            if (GameMessageWindow && GameMessageWindow->IsVisible() && ++frame % 4 == 0) hold.push_back("decision");
            return false;
        })
        .Do([] {
            // Strong enough to win whatever the troop.
            for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) GamePartyInfo->Member(i)->AddParamModifier(2, 400);
        });
    ChooseAuto(steps);
    steps.Settle(DriverSteps::FieldShown).Do([&] {
        victories = GamePartyInfo->victories;
        battles = GamePartyInfo->battles;
        musicAfter = GameSystem->MusicRecord(kGameMusicCurrent).name;
    });
    THarnessResult r = Run(steps, {"TestPlay", "HideTitle"}, 6000);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left\n" << r.summary;
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_EQ(r.sceneNumber, kSceneField);
    EXPECT_EQ(r.mapId, e2e::kFieldMap);
    EXPECT_EQ(battles, 1);
    EXPECT_EQ(victories, 1);
    EXPECT_GT(r.gold, goldBefore) << r.summary;
    EXPECT_EQ(musicAfter, musicBefore);
}

TEST_F(DemoBattle, BattleTestFieldsTheDatabasesTestPartyWithNinetyNineOfEachBattleItem) {
    DriverSteps steps;
    std::vector<int32_t> members, levels, expected, expectedLevels;
    int32_t potions = 0, fleeAllowed = 0;
    steps.Settle(PartyCommandOpen).Do([&] {
        for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) {
            members.push_back(GamePartyInfo->MemberId(i));
            levels.push_back(GamePartyInfo->Member(i)->Level());
        }
        for (int i = 0; i < DbSystem->battleTestParty.Count(); ++i) {
            expected.push_back(DbSystem->battleTestParty.Items(i)->heroId);
            expectedLevels.push_back(DbSystem->battleTestParty.Items(i)->level);
        }
        potions = GamePartyInfo->ItemCount(e2e::kPotionItem);
        fleeAllowed = BattleScene->setup.escapeAllowed;
    });
    Run(steps, {"BattleTest", "", "", "1", "0", "0", "0"}, 1200);
    ASSERT_TRUE(steps.Done());
    EXPECT_EQ(fleeAllowed, 1);
    EXPECT_EQ(potions, 99);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(members, expected);
    EXPECT_EQ(levels, expectedLevels);
}

// Every hero must be seen in battle: its battler set names a sheet whose
// rows hold all the poses the demo draws, the attack rows differ from the
// standing one, and the hero stands on the right above the windows.
TEST_F(DemoBattle, EveryHeroStandsOnTheRightWithAFrameStripForEachPose) {
    struct Seen {
        std::string name;
        int32_t x = 0, y = 0;
        std::vector<int32_t> missing;  // entries whose strip did not load
        bool attackDiffersFromStanding = false;
    };
    std::vector<Seen> seen;
    DriverSteps steps;
    steps.Settle(PartyCommandOpen).Do([&] {
        for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) {
            TLcfgPlayerItem& a = *GamePartyInfo->Member(i);
            Seen s{a.GetName(), a.battleX, a.battleY, {}, false};
            for (int e = 0; e <= TActorBattleShow::kEntryItem; ++e) {
                const TSorvoSheet& strip = a.Sprites().Frames(e, false);
                if (strip.Width() != 3 * TActorBattleSprites::kFrameSize ||
                    strip.Height() != TActorBattleSprites::kFrameSize)
                    s.missing.push_back(e);
            }
            if (s.missing.empty()) {
                const size_t bytes = size_t(3 * TActorBattleSprites::kFrameSize) * TActorBattleSprites::kFrameSize;
                const uint8_t* standing = a.Sprites().Frames(TActorBattleShow::kEntryIdle, false).Pixels();
                const uint8_t* swing = a.Sprites().Frames(TActorBattleShow::kEntryRightHand, false).Pixels();
                s.attackDiffersFromStanding = !std::equal(standing, standing + bytes, swing);
            }
            seen.push_back(std::move(s));
        }
    });
    Run(steps, {"BattleTest", "", "", "1", "0", "0", "0"}, 1200);
    ASSERT_TRUE(steps.Done());
    ASSERT_EQ(seen.size(), 4u);
    const int32_t half = TActorBattleSprites::kFrameSize / 2;
    for (const Seen& s : seen) {
        SCOPED_TRACE(s.name);
        EXPECT_TRUE(s.missing.empty()) << s.missing.size() << " pose strips missing, first " << s.missing.front();
        EXPECT_TRUE(s.attackDiffersFromStanding);
        EXPECT_GE(s.x, 160) << "heroes stand on the right half";
        EXPECT_LE(s.x + half, 320);
        EXPECT_GE(s.y - half, 0);
        EXPECT_LE(s.y + half, 160) << "the status windows would hide the feet";
    }
}

}  // namespace
