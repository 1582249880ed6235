#pragma once
// The save and load screen (scene number 5): a prompt over the fifteen save
// slots, three in view, the list gliding one slot at a time. In save mode a
// chosen slot is written; in load mode a slot that holds a save is played
// on from where it was saved.
//
// Callers set saveMode and fromMenu, then write scene number 5: the title's
// continue (load), the menu's save (save, from the menu) and the script's
// save command (save, back to the field).

#include <array>
#include <cstdint>

#include "scenes/save/save_file_window.h"
#include "scenes/scene.h"
#include "scenes/windows/help_window.h"

class TLcfSaveFileScene : public TLcfScene {
public:
    static constexpr int kSlots = 15;
    static constexpr int kVisibleSlots = 3;
    static constexpr int kLastTop = kSlots - kVisibleSlots + 1;
    static constexpr int32_t kSlotHeight = 64;
    static constexpr int32_t kListTop = 40;
    static constexpr int32_t kScrollStep = 8;

    void Reset() override;
    void Update() override;
    void Draw() override;

    // Set by the caller before the scene is entered.
    bool saveMode = false;
    bool fromMenu = false;

    bool Started() const { return started_; }
    int TopSlot() const { return top_; }
    int CursorSlot() const { return cursor_; }
    int32_t ScrollOffset() const { return scroll_; }
    // Where slot `slot` (1-15) is drawn now.
    int32_t SlotY(int slot) const { return (slot - top_) * kSlotHeight + kListTop - scroll_; }
    TLcfSaveFileWindow& SlotWindow(int slot) { return slots_[size_t(slot - 1)]; }
    TLcfHelpWindow& HelpWindow() { return help_; }

private:
    void Start();
    void Leave();
    void MoveCursor(int to);
    void Decide();
    void LoadChosenSlot();

    bool started_ = false;
    int top_ = 1;
    int cursor_ = 1;
    int frameCounter_ = 0;
    int32_t scroll_ = 0;
    // After a load that failed the list opens again on the slot tried.
    int reopenOn_ = 0;
    TLcfHelpWindow help_;
    std::array<TLcfSaveFileWindow, kSlots> slots_;
};

// The script's save command: the save screen, back to the field after.
void RegisterSaveCommand();
