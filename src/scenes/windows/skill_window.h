#pragma once
// TLcfSkillWindow: the two-column skill list of one actor with its help
// line. For a battle command that offers a subset of skills the list is
// filtered to the skills of that subset.

#include <vector>

#include "scenes/windows/help_window.h"
#include "scenes/windows/window.h"

class TLcfgPlayerItem;

class TLcfSkillWindow : public TLcfWindow {
public:
    void SetupFor(int32_t actorId, int32_t battleCommandId);
    void Update() override;
    void Draw() override;
    void CloseNow() override;
    void UpdateHelp();
    // The skill id at the cursor, 0 when the cursor is outside the list.
    int32_t SelectedSkill() const;
    // Scrolls to `topRow` and puts the cursor on that skill (the last
    // match), scrolling further only when the skill's row would not be
    // seen; a skill not in the list changes nothing.
    void ReturnTo(int32_t skillId, int topRow);
    // What the actor pays for the skill now.
    int32_t CostOf(int32_t skillId) const;
    bool Filtered() const { return filter_; }
    TLcfHelpWindow& Help() { return help_; }
    TLcfWindow& SpWindow() { return sp_; }
    TLcfWindow& Header() { return header_; }

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    int32_t SkillAt(int index) const;

    bool ShowsSpWindow() const;
    void DrawHeader(const TLcfgPlayerItem& actor);

    TLcfHelpWindow help_;
    // The actor's SP beside the list in battle, under the battle layout
    // that has no status window showing it.
    TLcfWindow sp_;
    // The actor's name, level, condition, HP and SP above the list in the
    // menu.
    TLcfWindow header_;
    int32_t actorId_ = 0;
    bool filter_ = false;
    std::vector<int32_t> filtered_;
};
