#pragma once
// The battle's own windows: the enemy list with its condition line, the
// party lines with their active-time gauges (also the actor target
// window), one actor's battle commands plus the row command, the party
// command (fight, auto, escape) and the four-line battle message box.
// Where each stands depends on the battle layout (0, 1 or 2) and the
// small-window setting; BattleLayout and SmallBattleWindows read them.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scenes/windows/window.h"

class TLcfgPlayerItem;

// The battle layout (0, 1 or 2) and the small-window setting.
int BattleLayout();
bool SmallBattleWindows();

class TLcfBattleMonsterWindow : public TLcfWindow {
public:
    // Places the window (and its condition line) by layout, rebuilds the
    // list and takes input.
    void Layout();
    // Unless the window takes input: the list again, redrawn.
    void RefreshList();
    // The troop index under the cursor (-1 without enemies).
    int32_t SelectedEnemy() const;
    bool HasConditions() const;
    // The selected enemy's display conditions on the condition line.
    void DrawConditions();
    void CloseNow() override;
    void Update() override;
    TLcfWindow& ConditionLine() { return conditionLine_; }
    const std::vector<int32_t>& Listed() const { return listed_; }

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    void BuildList();

    std::vector<int32_t> listed_;
    TLcfWindow conditionLine_;
};

class TLcfBattleStatusWindow : public TLcfWindow {
public:
    // Places the window at x (by layout and window size) and fills the rows.
    void Layout(int32_t x);
    void Update() override;
    void Draw() override;
    // Moves the cursor to a party slot.
    void PointAt(int slot);
    // Set by cancel in phase 1 (layouts 1 and 2).
    uint8_t backRequest = 0;
    int32_t lastFlashed = -1;
    int32_t counter = 0;
    // Only the first status window runs the gauges and the command start.
    std::function<void()> OnUpdate;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;
    void CustomInput() override;

private:
    void RedrawRows();
    int32_t RowY(int slot) const;
    // The active-time gauges (layouts 0 and 1) or the members' columns
    // (layout 2).
    void DrawGauges(int layout);
    // Layout 2: face, HP and SP gauges with their numbers, and the
    // active-time gauge of the member in party slot `slot`.
    void DrawColumn(const TLcfgPlayerItem& a, int slot, int32_t atb);
};

class TLcfCommandWindow2 : public TLcfWindow {
public:
    // Places the window for an actor: its leading commands (ids above 0)
    // plus the row command.
    void PlaceFor(int32_t actorId, int32_t x, int32_t y, bool animated);
    int32_t ActorId() const { return actorId_; }
    // The battle command id under the cursor; 0 on the row command.
    int32_t CommandAt(int index) const;
    // Whether the "escape" kind of command may be chosen.
    std::function<bool()> EscapePossible;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    int32_t actorId_ = 0;
};

// The party command: fight, auto, escape.
class TLcfPartyCommandWindow : public TLcfWindow {
public:
    void Place(bool escapeEnabled);
    void SetEscapeEnabled(bool enabled);

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    bool escapeEnabled_ = true;
};

class TLcfBattleMessageWindow : public TLcfWindow {
public:
    static constexpr int kLines = 4;
    void SetUp();
    // n 0..3; anything else is a program fault and stops at the check.
    void SetLine(int n, const std::string& text);
    void Refresh() override;
    const std::string& Line(int n) const { return lines_[size_t(n)]; }

private:
    std::array<std::string, kLines> lines_;
};
