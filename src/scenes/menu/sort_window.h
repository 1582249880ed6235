#pragma once
// TLcfSortWindow: the party-order screen. The player picks the members one
// by one from the source list (this window) into the result window; cancel
// gives back the last pick. Once all are picked a confirm window asks to
// keep the new order or to start again.

#include <array>

#include "scenes/windows/window.h"

class TLcfSortWindow : public TLcfWindow {
public:
    static constexpr int kMaxMembers = 4;

    void Enter();
    void Update() override;
    void Draw() override;
    void CloseNow() override;
    bool Done() const { return done_; }
    int ChosenCount() const { return chosenCount_; }
    int32_t ChosenId(int i) const { return i >= 0 && i < chosenCount_ ? chosen_[size_t(i)] : 0; }
    // The source entry of that position (0 once picked).
    int32_t SourceId(int i) const { return i >= 0 && i < kMaxMembers ? source_[size_t(i)] : 0; }
    TLcfWindow& Result() { return result_; }
    TLcfWindow& Confirm() { return confirm_; }

private:
    void ResetChoice();
    void DrawNames();
    void UpdateSource();
    void UpdateConfirm();

    TLcfWindow result_, confirm_;
    bool done_ = false;
    std::array<int32_t, kMaxMembers> source_{}, chosen_{}, from_{};
    int chosenCount_ = 0;
    int memberCount_ = 0;
};
