// Battles on the demo: an encounter on the Green Reach fought on automatic
// battle back to the field, the battle test's party and items, and the
// heroes' battle pictures and places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/system.h"
#include "data/database/battle.h"
#include "data/database/vocabulary.h"
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
        // VARNOW_E2E_PNG names a folder for a frame every 200, to look at a run.
        if (const char* d = std::getenv("VARNOW_E2E_PNG")) {
            o.pngFolder = d;
            for (int f = 100; f < frames; f += 200) o.pngFrames.push_back(f);
        }
        o.driver = steps.AsDriver();
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

// The first command of each member chosen by keys: who opens the command
// window gets the command `want` asks of its slot, moving the cursor onto it
// and confirming every window that follows (targets, skill, item list).
// Later turns attack. Done once the battle has left.
struct KeyedCommands {
    // What each slot chooses on its first turn: a battle command kind.
    std::vector<int> firstKind;
    std::vector<bool> chose;
    std::vector<TLcfgUnitActItem> firstAction;
    std::vector<std::string> lines;  // every message line shown
    int frame = 0;

    static int IndexOfKind(int want) {
        const TLcfCommandWindow2& w = BattleScene->commandWindow;
        for (int i = 0; i < w.ItemCount(); ++i) {
            const int32_t id = w.CommandAt(i);
            if (id <= 0) continue;
            const int kind = DbBattle->commands.FindCommand(id)->kind;
            // Kinds 0 attack, 3 defend, 4 item, 5 escape; the rest are skills.
            const bool skill = kind != 0 && kind != 3 && kind != 4 && kind != 5;
            if (kind == want || (want == 1 && skill)) return i;
        }
        return -1;
    }
    bool Step(std::vector<std::string>& hold) {
        if (GameMessageWindow && GameMessageWindow->IsVisible())
            for (const std::string& l : GameMessageWindow->Lines())
                if (std::find(lines.begin(), lines.end(), l) == lines.end()) lines.push_back(l);
        if (GameSystem->scene != kSceneBattle || !BattleScene) return true;
        TLcfBattleScene& b = *BattleScene;
        for (size_t s = 0; s < chose.size(); ++s) {
            TLcfgPlayerItem* a = GamePartyInfo->Member(int(s));
            if (!chose[s] && b.chosenCommands.count(a->Id())) {
                chose[s] = true;
                firstAction[s] = a->action;
            }
        }
        if (++frame % 4 != 0) return false;
        if (b.commandWindow.Active() && b.commandWindow.IsOpen() && b.commandingSlot >= 0 &&
            size_t(b.commandingSlot) < chose.size()) {
            const size_t s = size_t(b.commandingSlot);
            const int target = IndexOfKind(chose[s] ? 0 : firstKind[s]);
            if (target >= 0 && b.commandWindow.Cursor() != target) {
                hold.push_back(b.commandWindow.Cursor() < target ? "down" : "up");
                return false;
            }
            hold.push_back("decision");
            return false;
        }
        if (b.partyCommandWindow.Active() && b.partyCommandWindow.IsOpen()) {
            if (b.partyCommandWindow.Cursor() != 0) hold.push_back("up");
            else hold.push_back("decision");
            return false;
        }
        // The status window's cursor picks the ready actor; the rest confirm.
        if ((b.statusWindow.Active() && b.statusWindow.CursorVisible()) || b.monsterWindow.Active() ||
            b.targetWindow.Active() || b.skillWindow.Active() || b.itemWindow.Active() ||
            (GameMessageWindow && GameMessageWindow->IsVisible()))
            hold.push_back("decision");
        return false;
    }
};

TEST_F(DemoBattle, KeyedCommandsWinAndTheSpoilsLiftTheLeaderALevel) {
    DriverSteps steps;
    KeyedCommands keyed;
    keyed.firstKind = {0, 1, 4, 0};
    keyed.chose.assign(4, false);
    keyed.firstAction.resize(4);
    std::vector<int32_t> expBefore, spBefore;
    int32_t goldBefore = 0, goldAfter = 0, levelBefore = 0, levelAfter = 0, itemsAfter = 0;
    int32_t usedItem = 0;
    std::vector<int32_t> expAfter, spAfter;
    std::string leader, levelUp;
    steps.Settle(PartyCommandOpen).Do([&] {
        ASSERT_EQ(GamePartyInfo->MemberCount(), 4);
        for (int i = 0; i < 4; ++i) {
            TLcfgPlayerItem& a = *GamePartyInfo->Member(i);
            a.AddParamModifier(3, 400);  // the party outlasts the troop
            a.hp = std::max(1, a.hp - 1);  // room for the potion to heal
        }
        TLcfgPlayerItem& first = *GamePartyInfo->Member(0);
        first.GainExp(int32_t(first.ExpForNext() - 1 - first.Exp()), false);
        leader = first.GetName();
        levelBefore = first.Level();
        for (int i = 0; i < 4; ++i) {
            expBefore.push_back(GamePartyInfo->Member(i)->Exp());
            spBefore.push_back(GamePartyInfo->Member(i)->sp);
        }
        goldBefore = GamePartyInfo->gold;
        levelUp = DbVocabulary->Get(TLcfVocabulary::kLevelUp);
    });
    steps.Then([&](std::vector<std::string>& hold) {
        // What the spoils did, read while the victory lines are still up.
        if (GameSystem->scene == kSceneBattle && BattleScene && GamePartyInfo->Member(0)->Level() > levelBefore &&
            expAfter.empty()) {
            for (int i = 0; i < 4; ++i) {
                expAfter.push_back(GamePartyInfo->Member(i)->Exp());
                spAfter.push_back(GamePartyInfo->Member(i)->sp);
            }
            goldAfter = GamePartyInfo->gold;
            levelAfter = GamePartyInfo->Member(0)->Level();
            usedItem = keyed.firstAction[2].itemId;
            itemsAfter = GamePartyInfo->ItemCount(usedItem);
        }
        return keyed.Step(hold);
    });
    // Troop 5, three swamp creatures: enough foes that every member acts
    // before the last one falls.
    THarnessResult r = Run(steps, {"BattleTest", "", "", "5", "0", "0", "0"}, 6000);
    // A battle test closes through the game-over scene once fought.
    ASSERT_EQ(r.sceneNumber, kSceneGameOver) << r.summary;
    for (size_t s = 0; s < 4; ++s) EXPECT_TRUE(keyed.chose[s]) << "slot " << s << " never chose";
    EXPECT_EQ(keyed.firstAction[0].kind, TLcfgUnitActItem::kBasic);
    EXPECT_EQ(keyed.firstAction[0].basic, TLcfgUnitActItem::kAttack);
    EXPECT_EQ(keyed.firstAction[0].targetKind, TLcfgUnitActItem::kOneEnemy);
    EXPECT_EQ(keyed.firstAction[1].kind, TLcfgUnitActItem::kSkill);
    EXPECT_GT(keyed.firstAction[1].skillId, 0);
    EXPECT_EQ(keyed.firstAction[2].kind, TLcfgUnitActItem::kItem);
    ASSERT_GT(usedItem, 0);
    EXPECT_EQ(itemsAfter, 98) << "the item was used up once";
    ASSERT_EQ(spAfter.size(), 4u) << "no level was gained\n" << r.summary;
    EXPECT_LT(spAfter[1], spBefore[1]) << "the skill cost its user SP";
    EXPECT_GT(goldAfter, goldBefore);
    for (int i = 0; i < 4; ++i) EXPECT_GT(expAfter[size_t(i)], expBefore[size_t(i)]) << "member " << i;
    EXPECT_EQ(levelAfter, levelBefore + 1);
    bool sawLevelUp = false;
    for (const std::string& l : keyed.lines)
        if (l.find(leader) != std::string::npos && !levelUp.empty() && l.find(levelUp) != std::string::npos)
            sawLevelUp = true;
    EXPECT_TRUE(sawLevelUp) << "no level-up line for " << leader;
}

TEST_F(DemoBattle, AnEncounterLostOnTheFieldEndsTheGame) {
    const e2e::MapSpot field = e2e::TransferTargetOf(dir_.path(), e2e::kTownMap, "To the Green Reach");
    DriverSteps steps;
    bool defeatShown = false;
    std::string defeat;
    steps.NewGame()
        .Do([&] { FieldScene->RequestTeleport(field.map, field.x, field.y, 0); })
        .Settle([] { return DriverSteps::FieldShown() && GameParty->mapId == e2e::kFieldMap; })
        .Do([] { GameParty->encounterPending = 1; })
        .Then([frame = 0](std::vector<std::string>& hold) mutable {
            if (GameSystem->scene == kSceneBattle) return true;
            if (GameMessageWindow && GameMessageWindow->IsVisible() && ++frame % 4 == 0) hold.push_back("decision");
            return false;
        })
        .Settle(PartyCommandOpen)
        .Do([&] {
            defeat = DbVocabulary->Get(TLcfVocabulary::kDefeat);
            // Harmless and frail: the troop wins.
            for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) {
                TLcfgPlayerItem& a = *GamePartyInfo->Member(i);
                a.AddParamModifier(2, -999);
                a.AddParamModifier(3, -999);
                a.hp = 1;
            }
        });
    ChooseAuto(steps);
    steps.Then([&](std::vector<std::string>&) {
        if (GameMessageWindow && GameMessageWindow->IsVisible())
            for (const std::string& l : GameMessageWindow->Lines())
                if (l.find(defeat) != std::string::npos) defeatShown = true;
        return GameSystem->scene != kSceneBattle;
    });
    THarnessResult r = Run(steps, {"TestPlay", "HideTitle"}, 6000);
    EXPECT_EQ(r.sceneNumber, kSceneGameOver) << r.summary;
    EXPECT_TRUE(defeatShown);
    EXPECT_FALSE(defeat.empty());
}

}  // namespace
