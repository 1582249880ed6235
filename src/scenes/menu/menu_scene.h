#pragma once
// TLcfMenuScene: the main menu (scene number 1). The main screen shows the
// database's menu commands, the gold and the party; from there the player
// uses items and skills on the party, teleports, equips, looks at a
// member's status, changes rows and the party order, saves and quits.
// Every change of screen fades the whole screen out and in.

#include <cstdint>
#include <functional>
#include <vector>

#include "scenes/menu/end_window.h"
#include "scenes/menu/equip_window.h"
#include "scenes/menu/menu_status_windows.h"
#include "scenes/menu/sort_window.h"
#include "scenes/menu/status_view_window.h"
#include "scenes/menu/teleport_window.h"
#include "scenes/scene.h"
#include "scenes/windows/gold_window.h"
#include "scenes/windows/item_window.h"
#include "scenes/windows/skill_window.h"

class TLcfItemItem;
class TLcfSkillItem;
class TLcfgTeleportItem;

// The command list's window: one row per command, then the quit row.
class TLcfMenuCommandWindow : public TLcfWindow {
public:
    std::vector<int32_t> codes;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;
};

class TLcfMenuScene : public TLcfScene {
public:
    enum Command : int32_t {
        kItem = 1, kSkill, kEquipment, kSave, kStatus, kRow, kOrder, kWaitMode,
    };
    enum SubState : int {
        kMain, kItemList, kItemTarget, kSkillList, kSkillTarget, kTeleport, kEquip, kQuit, kStatusPage, kOrderPage,
    };
    // The menu's commands: the database's list without the codes that name
    // no command (such an entry gets no row at all).
    static std::vector<int32_t> MenuCommands();
    // Whether a command answers now (drawn in colour 0, else 3).
    static bool CommandEnabled(int32_t code);

    TLcfMenuScene();
    void Reset() override;
    void Update() override;
    void Draw() override;

    bool Started() const { return started_; }
    int State() const { return state_; }
    int32_t SelectedItem() const { return itemId_; }
    int32_t SelectedSkill() const { return skillId_; }
    TLcfMenuCommandWindow& Commands() { return commands_; }
    TLcfGoldWindow& Gold() { return gold_; }
    TLcfMenuStatusWindow1& Party() { return party_; }
    TLcfMenuStatusWindow2& Targets() { return targets_; }
    TLcfItemWindow& Items() { return items_; }
    TLcfSkillWindow& Skills() { return skills_; }
    TLcfTeleportWindow& Teleports() { return teleports_; }
    TLcfEquipWindow& Equipment() { return equip_; }
    TLcfEndWindow& QuitQuestion() { return end_; }
    TLcfStatusViewWindow& StatusPage() { return status_; }
    TLcfSortWindow& Order() { return sort_; }

    // Set the save scene's mode (save, not load) and its return to the
    // menu; the program points them at its save scene.
    static std::function<void(bool)> SetSaveMode;
    static std::function<void(bool)> SetSaveFromMenu;

private:
    void Start();
    void DrawCommands();
    void ChangeScreen(int state, const std::function<void()>& setup);
    // The main screen comes back after a fade out and in; a screen that
    // hides its windows first does so before calling this.
    void ReturnToMain();
    // The gold window at its main-screen width.
    void NarrowGold();
    void Leave(double step);
    void Travel(TLcfgTeleportItem& target);

    void UpdateMain();
    void UpdateMemberChoice();
    void UpdateItemList();
    void UpdateTarget();
    void UpdateSkillList();
    void UpdateTeleport();
    void UpdateQuit();
    void UpdateStatusPage();

    void OpenItemList();
    void OpenSkillList();
    void EnterTarget(int state);
    void DrawTargetHeader();
    void DispatchSkill();
    void Pay();
    bool UseItemOnTarget();
    bool UseSkillOnTarget();
    const TLcfItemItem* Item() const;
    const TLcfSkillItem* Skill() const;
    bool ItemInvokesSkill() const;

    TLcfMenuCommandWindow commands_;
    TLcfGoldWindow gold_;
    TLcfMenuStatusWindow1 party_;
    TLcfMenuStatusWindow2 targets_;
    TLcfItemWindow items_;
    TLcfSkillWindow skills_;
    TLcfTeleportWindow teleports_;
    TLcfEquipWindow equip_;
    TLcfEndWindow end_;
    TLcfStatusViewWindow status_;
    TLcfSortWindow sort_;

    bool started_ = false;
    int state_ = kMain;
    int32_t command_ = 0;   // the command whose member is being chosen
    int member_ = 0;        // the party slot chosen for it
    int itemTop_ = 0, itemCursor_ = 0, skillTop_ = 0, skillCursor_ = 0;
    bool returnToList_ = false;
    int32_t itemId_ = 0, skillId_ = 0;
};
