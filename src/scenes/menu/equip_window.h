#pragma once
// TLcfEquipWindow: the equipment screen of one actor. The slot window
// (TLcfEquipSubWindow2) picks a slot, the candidate list (this window)
// offers what the actor may put there, and the parameter window
// (TLcfEquipSubWindow1) previews the attack, defense, spirit and agility
// the candidate under the cursor would give. The preview equips without
// touching the inventory; the five slots saved when the list opened are
// put back before every preview, on cancel and before the real change.

#include <array>

#include "scenes/windows/help_window.h"
#include "scenes/windows/window.h"

class TLcfScene;
class TLcfgPlayerItem;
class TLcfEquipWindow;

class TLcfEquipSubWindow1 : public TLcfWindow {
public:
    explicit TLcfEquipSubWindow1(TLcfEquipWindow& owner) : owner_(owner) {}
    // The actor's values now become the "before" values.
    void Refresh() override;
    // The values now against the "before" ones, while the list is active.
    void RefreshPreview();
    int32_t Before(int i) const { return before_[size_t(i)]; }

private:
    TLcfEquipWindow& owner_;
    std::array<int32_t, 4> before_{};
};

class TLcfEquipSubWindow2 : public TLcfWindow {
public:
    explicit TLcfEquipSubWindow2(TLcfEquipWindow& owner) : owner_(owner) {}
    void Refresh() override;

private:
    TLcfEquipWindow& owner_;
};

// The five slot labels and the names of what an actor wears, at (8, 8 + 16 r)
// and (68, 8 + 16 r): shared with the status page.
void DrawEquipmentSlots(TLcfWindow& w, const TLcfgPlayerItem& actor);

class TLcfEquipWindow : public TLcfWindow {
public:
    TLcfEquipWindow();
    ~TLcfEquipWindow() override;

    void SetupFor(int32_t actorId);
    // Candidate list from the top for the selected slot.
    void Refresh() override;
    void Update() override;
    void Draw() override;
    void CloseNow() override;

    TLcfgPlayerItem* Actor() const;
    int32_t ActorId() const { return actorId_; }
    int Slot() const { return slot_; }
    // The item id of candidate n (0 for the empty choice).
    int32_t CandidateAt(int n) const;
    bool EquipmentFixed() const;
    TLcfEquipSubWindow1& Parameters() { return parameters_; }
    TLcfEquipSubWindow2& Slots() { return slots_; }
    TLcfHelpWindow& Help() { return help_; }

    // The scene that fades when the member changes (none: no fade).
    TLcfScene* scene = nullptr;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    void UpdateHelp();
    void RestoreSaved();
    void RefreshAll();
    void SlotInput();
    void ListInput();
    void SwitchMember(int step);

    TLcfHelpWindow help_;
    TLcfEquipSubWindow1 parameters_;
    TLcfEquipSubWindow2 slots_;
    int32_t actorId_ = 0;
    int slot_ = 0;
    std::array<int32_t, 5> saved_{};
    int lastPreview_ = -1;
};
