// Clearing the database and map records: derived from the field
// descriptions, it must give every described default and undo a load.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "data/database/animation.h"
#include "data/database/animation2.h"
#include "data/database/attrib.h"
#include "data/database/audio_reference.h"
#include "data/database/battle.h"
#include "data/database/cba_data.h"
#include "data/database/chip_set.h"
#include "data/database/common_event.h"
#include "data/database/event.h"
#include "data/database/ground.h"
#include "data/database/item.h"
#include "data/database/job.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "data/database/move_route.h"
#include "data/database/player.h"
#include "data/database/skill.h"
#include "data/database/status.h"
#include "data/database/switch_variable.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "data/map/encount.h"
#include "data/map/map.h"
#include "data/map/map_start_position.h"
#include "data/map/map_tree_item.h"
#include "support/lcf_builder.h"
#include "support/record_defaults.h"

namespace {

using record_defaults::ExpectClearingFollowsTheDescriptions;
using record_defaults::MakeRecord;

struct Case {
    const char* name;
    MakeRecord make;
    std::set<int> leave;
};

template <class T, class... Args>
Case Make(const char* name, Args... args) {
    return {name, [=] { return std::unique_ptr<TCatalogBaseItem>(std::make_unique<T>(args...)); }, {}};
}

// Event scripts keep their packed length beside the block; an empty script
// is the end line alone, 4 bytes long.
Case WithScriptLength(Case c, int lengthChunk) {
    c.leave = {lengthChunk};
    return c;
}

void ExpectForEach(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectClearingFollowsTheDescriptions(c.make, c.leave);
    }
}

}  // namespace

TEST(RecordClearing, EveryDatabaseRecordClearsToItsDescribedDefaultsAndUndoesALoad) {
    ExpectForEach({
        Make<TLcfPlayerItem>("hero", 1),
        Make<TLcfPlayerLearningItem>("hero skill", 1),
        Make<TLcfJobItem>("class", 1),
        Make<TLcfSkillItem>("skill", 1),
        Make<TLcfItemItem>("item", 1),
        Make<TLcfCBADataItem>("battle display", 1),
        Make<TLcfMonsterItem>("monster", 1),
        Make<TLcfMonsterActItem>("monster action", 1),
        Make<TLcfMonGroupItem>("troop", 1),
        Make<TLcfMonGroupMonsterItem>("troop member", 1),
        WithScriptLength(Make<TLcfBattleEventPageItem>("troop page", 1), 11),
        Make<TLcfBattleEventTrigger>("troop page trigger"),
        Make<TLcfGroundItem>("terrain", 1),
        Make<TLcfAttribItem>("attribute", 1),
        Make<TLcfStatusItem>("condition", 1),
        Make<TLcfAnimationItem>("animation", 1),
        Make<TLcfAnimationTimingItem>("animation timing", 1),
        Make<TLcfAnimationCellItem>("animation cell", 1),
        Make<TLcfAnimation2Item>("battler set", 1),
        Make<TLcfBattleMyCharacterItem>("battler pose", 1),
        Make<TLcfCBAWeaponItem>("battler weapon", 1),
        Make<TLcfChipSetItem>("chip set", 1),
        Make<TLcfVocabulary>("terms"),
        Make<TLcfSystem>("system"),
        Make<TLcfTestPlayerItem>("battle test member", 1),
        Make<TLcfMusic>("music"),
        Make<TLcfSound>("sound"),
        Make<TLcfSwitchItem>("switch name", 1),
        Make<TLcfVariableItem>("variable name", 1),
        WithScriptLength(Make<TLcfCommonEventItem>("common event", 1), 21),
        Make<TLcfBattle>("battle settings"),
        Make<TLcfBattleCMDItem>("battle command", 1),
        Make<TLcfEventItem>("map event", 1),
        WithScriptLength(Make<TLcfEventPageItem>("event page", 1), 51),
        Make<TLcfEventCondition>("page condition"),
        Make<TLcfMoveRoute>("move route"),
    });
}

// Items a list makes clear by the places of their fields in the object; the
// same checks hold for them, and for nested records no list makes.
TEST(RecordClearing, ItemsMadeByAListClearTheSameWay) {
    TLcfSkill skills;
    TLcfItem items;
    TLcfEvent events;
    TLcfPlayer heroes;
    skills.Add();
    items.Add();
    events.Add();
    heroes.Add();
    ExpectForEach({
        Make<TLcfSkillItem>("skill", 2),
        Make<TLcfItemItem>("item", 2),
        Make<TLcfEventItem>("map event", 2),
        Make<TLcfPlayerItem>("hero", 2),
        Make<TLcfSound>("sound"),
    });
    // A loaded list's items clear to what a new item holds.
    TLcfSkillItem* loaded = skills.GetOrCreate(1);
    loaded->spiritInfluence = 7;
    loaded->name = "Fire";
    loaded->sound.volume = 20;
    TLcfSkill copy;
    lcf_builder::LoadList(copy, lcf_builder::SaveList(skills));
    copy.Items(0)->Clear();
    EXPECT_EQ(lcf_builder::SaveRecord(*copy.Items(0)), lcf_builder::SaveRecord(*std::make_unique<TLcfSkillItem>(1)));
}

TEST(RecordClearing, EveryMapRecordClearsToItsDescribedDefaultsAndUndoesALoad) {
    ExpectForEach({
        Make<TLcfMap>("map", 1),
        Make<TLcfMapTreeItem>("map tree entry", 1),
        Make<TLcfMapStartPosition>("start positions"),
        Make<TLcfEncountItem>("encounter", 1),
    });
}
