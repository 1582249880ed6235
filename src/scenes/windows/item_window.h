#pragma once
// TLcfItemWindow: the two-column item list with its help line: the party's
// inventory in the menu (actor id 0 or less), an actor's battle items
// otherwise.

#include "scenes/windows/help_window.h"
#include "scenes/windows/window.h"

class TLcfItemWindow : public TLcfWindow {
public:
    void SetupFor(int32_t actorId);
    void Update() override;
    void Draw() override;
    void CloseNow() override;
    void UpdateHelp();
    // The item id at the cursor, 0 when the cursor is outside the list.
    int32_t SelectedItem() const;
    bool IsSelectable(int32_t itemId) const;
    TLcfHelpWindow& Help() { return help_; }

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    int32_t ItemIdAt(int index) const;
    int32_t CountAt(int index) const;
    bool UsableAt(int index) const;

    TLcfHelpWindow help_;
    int32_t actorId_ = 0;
    int listLength_ = 0;
};
