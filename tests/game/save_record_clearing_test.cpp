// Clearing the run-time records a save holds: derived from the field
// descriptions, it must give every described default and undo a load.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "game/actors/player_item.h"
#include "game/event/map_event.h"
#include "game/interpreter/battle_scripter.h"
#include "game/interpreter/regular_scripter.h"
#include "game/interpreter/script_data.h"
#include "game/map/game_map.h"
#include "game/party/party_info.h"
#include "game/picture/picture.h"
#include "game/save/save_header.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/teleport/teleport.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "support/record_defaults.h"
#include "world_fixture.h"

namespace {

using record_defaults::ExpectClearingFollowsTheDescriptions;
using record_defaults::MakeRecord;

class SaveRecordClearingTest : public world_test::WorldTest {};

struct Case {
    const char* name;
    MakeRecord make;
    std::set<int> leave = {};
};

template <class T, class... Args>
MakeRecord Make(Args... args) {
    return [=] { return std::unique_ptr<TCatalogBaseItem>(std::make_unique<T>(args...)); };
}

}  // namespace

TEST_F(SaveRecordClearingTest, EveryRunTimeRecordClearsToItsDescribedDefaultsAndUndoesALoad) {
    party.mapId = 1;  // the map state loads the party's map
    const std::vector<Case> cases = {
        {"system", [this] { return std::unique_ptr<TCatalogBaseItem>(std::make_unique<TLcfgSystem>(&audio, &screen)); }},
        {"screen", Make<TLcfgScreen>()},
        // A load opens the picture's image.
        {"picture", Make<TLcfgPictureItem>(1), {1}},
        {"save header", Make<TLcfgSaveHeader>()},
        {"teleport target", Make<TLcfgTeleportItem>(1)},
        {"interpreter frame", Make<TLcfgScriptData>(1)},
        {"interpreter", Make<TLcfgRegularScripter>()},
        {"battle interpreter", Make<TLcfgBattleScripter>()},
        {"map state", Make<TLcfgMap>()},
        {"party information", Make<TLcfgPartyInfo>()},
        // A hero the database lacks, so nothing is taken from a hero record.
        {"actor", Make<TLcfgPlayerItem>(99)},
        {"party", Make<TLcfgParty>()},
        // A vehicle writes the kind it was made as.
        {"boat", Make<TLcfgShip>(TLcfgShip::kBoat), {101}},
        {"airship", Make<TLcfgShip>(TLcfgShip::kAirship), {101}},
        // Without a definition on the map no page holds, which makes the
        // event passable.
        {"map event", Make<TLcfgEventItem>(1), {51}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectClearingFollowsTheDescriptions(c.make, c.leave);
    }
}
