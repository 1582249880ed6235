#pragma once
// Stand-ins for the scenes that are not built yet. Each is entered by its
// scene number, shows the screen again, restores the music and goes back
// where it came from; each later piece replaces its own.
//
//   2 battle    ends at once: the music from before the battle, back to
//               the field, shown as after a battle (in battle test the
//               loop then ends and the program closes)

#include <functional>
#include <string>

#include "game/map/world_hooks.h"
#include "scenes/scene.h"

class TLcfStandInScene : public TLcfScene {
public:
    TLcfStandInScene(std::string name, int next) : name_(std::move(name)), next_(next) {}
    // Restores the music, then the next scene.
    void Update() override;
    void Draw() override;
    const std::string& Name() const { return name_; }
    // Where to go; by default the fixed number given at creation.
    std::function<int()> Next;

protected:
    virtual void RestoreMusic();

private:
    std::string name_;
    int next_;
};

// The battle's stand-in holds the set-up the field fills before a battle.
class TLcfBattleStandIn : public TLcfStandInScene {
public:
    TLcfBattleStandIn() : TLcfStandInScene("battle", 0) {}
    // Back to the field as a battle's end leaves it: shown with the
    // battle-end transition unless the screen was black at the start, and
    // marked as started so that it does not fade in on its own.
    void Update() override;
    void Reset() override {
        TLcfStandInScene::Reset();
        setup = {};
        screenWasBlack = 0;
    }

    TLcfgEncounterBattle setup;
    // The screen was black when the battle started: no flash was shown.
    uint8_t screenWasBlack = 0;

protected:
    // The music from before the battle.
    void RestoreMusic() override;
};
