#pragma once
// A scene driven on the interpreter's world: the screen object and the keys,
// and a party made from the database's heroes once a test has set them up.

#include <initializer_list>
#include <memory>

#include "game/actors/player.h"
#include "game/interpreter_fixture.h"
#include "game/party/party_info.h"
#include "support/test_screen.h"

namespace scene_test {

class SceneTest : public interp_test::InterpreterTest {
protected:
    SceneTest() {
        GameInput = input.get();
        testing_support::MakeTestScreen();
    }
    ~SceneTest() override {
        GamePartyInfo = nullptr;
        GamePlayers = nullptr;
        partyInfo.reset();
        players.reset();
        testing_support::DeleteTestScreen();
        GameInput = nullptr;
    }

    // The heroes of the game and the party with the given members; made after
    // the database's heroes, whom the heroes of the game are made from.
    void MakeParty(std::initializer_list<int32_t> members) {
        players = std::make_unique<TLcfgPlayer>();
        GamePlayers = players.get();
        partyInfo = std::make_unique<TLcfgPartyInfo>();
        GamePartyInfo = partyInfo.get();
        for (int32_t id : members) partyInfo->AddMember(id);
    }

    std::unique_ptr<TLcfgPlayer> players;
    std::unique_ptr<TLcfgPartyInfo> partyInfo;
};

}  // namespace scene_test
