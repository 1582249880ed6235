#pragma once
// The debug scene (scene number 8): in test play the game's author looks at
// the switches and variables a page of ten at a time, turns switches and
// edits variables. The mode, the page of each mode and the row last chosen
// on the right stay for the whole run of the program, across visits and
// soft resets.

#include <cstdint>
#include <functional>

#include "scenes/debug/debug_windows.h"
#include "scenes/scene.h"

class TLcfDebugScene : public TLcfScene {
public:
    // Closes the page and id windows only: the run's mode and positions stay.
    void Reset() override;
    void Update() override;
    void Draw() override;

    TDebugMode mode = TDebugMode::Switches;
    int32_t switchPosition = 0;
    int32_t variablePosition = 0;
    int rightCursor = 0;
    // Is a battle in progress? Leaving then goes back to the battle (null:
    // never, the scene always returns to the field).
    std::function<bool()> BattleInProgress;

    bool Started() const { return started_; }
    int32_t& Position() { return mode == TDebugMode::Switches ? switchPosition : variablePosition; }
    TLcfDebugLeftWindow& LeftWindow() { return left_; }
    TLcfDebugRightWindow& RightWindow() { return right_; }
    TLcfDebugValueWindow& ValueWindow() { return value_; }

private:
    void Start();
    void Leave();
    void UpdateLeft();
    void UpdateRight();
    void UpdateValue();
    // The page to the right (+1) or left (-1), turning to the other mode
    // past the last or first group.
    void TurnPage(int step);
    void FillBoth();

    bool started_ = false;
    // The soft reset leaves the scene as it is; a visit after one starts
    // afresh.
    int startedInRun_ = -1;
    TLcfDebugLeftWindow left_;
    TLcfDebugRightWindow right_;
    TLcfDebugValueWindow value_;
};
