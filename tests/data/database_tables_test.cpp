// Every game table of the database loads from its section and writes back
// byte for byte.
#include <gtest/gtest.h>

#include "data/database/database.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

TEST(DatabaseTables, EveryGameTableRoundTripsByteForByte) {
    TLcfDataBase db;
    DbStatus->SetCount(3);
    DbStatus->Items(2)->name = "Sleep";
    DbAttrib->SetCount(2);
    DbAttrib->Items(1)->rates[0] = 250;
    DbPlayer->SetCount(2);
    DbPlayer->Items(1)->statusRanks.SetEntry(3, 0);
    DbPlayer->Items(1)->skills.Add()->skillId = 2;
    DbJob->SetCount(2);
    DbJob->Items(0)->battleCommands[0] = 3;
    DbSkill->SetCount(2);
    DbSkill->Items(0)->conditionSet.SetEntry(2, 1);
    DbItem->SetCount(2);
    DbItem->Items(1)->kind = TLcfItemItem::kWeapon;
    DbItem->Items(1)->heroSet.SetEntry(1, 0);
    DbMonster->SetCount(2);
    DbMonster->Items(0)->actions.Add()->rating = 5;
    DbMonGroup->SetCount(2);
    DbMonGroup->Items(1)->members.SetCount(3);
    DbMonGroup->Items(1)->pages.Items(0)->trigger.SetFlags(TLcfBattleEventTrigger::kSwitchA);
    DbGround->SetCount(2);
    DbGround->Items(1)->gridWidth = 12000;
    DbAnimation->SetCount(2);
    DbAnimation->Items(0)->frames.Items(0)->cells.Add()->zoom = 150;
    DbAnimation2->SetCount(2);
    DbAnimation2->Items(1)->weapons.Items(3)->image = "Axe";
    DbChipSet->SetCount(2);
    DbChipSet->Items(1)->lowerFlags[0] = 0;
    DbBattle->commands.SetCount(4);
    DbBattle->defeatContinues = 1;

    Bytes file = SaveDatabase(db);
    TLcfDataBase back;
    LoadDatabase(back, file);
    EXPECT_EQ(DbStatus->FindStatus(3)->name, "Sleep");
    EXPECT_EQ(DbPlayer->FindPlayer(2)->GetStatusRank(3), 0);
    EXPECT_EQ(DbJob->FindJob(1)->GetBattleCommand(0), 3);
    EXPECT_EQ(DbItem->FindItem(2)->GetHeroFlag(1), 0);
    EXPECT_EQ(DbMonGroup->FindMonGroup(2)->members.Count(), 3);
    EXPECT_EQ(DbAnimation->FindAnimation(1)->frames.Items(0)->cells.Items(0)->zoom, 150);
    EXPECT_EQ(DbAnimation2->FindAnimation2(2)->weapons.GetWeaponAnimation(3)->image, "Axe");
    EXPECT_EQ(DbChipSet->FindChipSet(2)->GetLowerFlags(0), 0);
    EXPECT_EQ(DbBattle->commands.Count(), 4);
    DbSystem->saveCounter -= 1;  // the system writer raised it once more
    EXPECT_EQ(SaveDatabase(back), file);
}
