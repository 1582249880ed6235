#pragma once
// Stand-ins for the scenes that are not built yet. Each is entered by its
// scene number, shows the screen again, restores the music and goes back
// where it came from; each later piece replaces its own.
//
//   1 menu      back to the field on its first frame
//   3 shop      back to the field
//   4 name      back to the field
//
// The battle scene is real, but its turns are a stand-in until battle
// actions resolve: TLcfBattleScene::ExecuteAction does the plain attack
// (an actor's hand attack, an enemy's attack) and an actor's escape roll,
// consumes the action and ends the battler's turn.

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
