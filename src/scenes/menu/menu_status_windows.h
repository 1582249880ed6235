#pragma once
// The party as the menu shows it: TLcfMenuStatusWindow1 is the party list
// of the main screen (name, title, level, condition, HP, SP, experience and
// the face, set in by the member's row), TLcfMenuStatusWindow2 the target
// list of item and skill use with its two header windows (what is used, and
// how many are owned or what it costs).

#include "scenes/windows/window.h"

class TLcfMenuStatusWindow1 : public TLcfWindow {
public:
    static constexpr int32_t kRowHeight = 58;

    // Hidden, then set up at once over the right of the screen with one row
    // per member.
    void SetupParty();
    void Refresh() override;
    void Draw() override;
};

class TLcfMenuStatusWindow2 : public TLcfWindow {
public:
    static constexpr int32_t kRowHeight = 58;

    // The two headers and the list, at once; one row per member. The menu
    // may then make one cursor cover the party or fix it on one member.
    void SetupParty();
    // One cursor over every member.
    void CoverWholeParty();
    // The one cursor fixed on the member of that slot.
    void FixOnMember(int slot);
    void Refresh() override;
    void Update() override;
    void Draw() override;
    void CloseNow() override;
    TLcfWindow& Header1() { return header1_; }
    TLcfWindow& Header2() { return header2_; }

private:
    TLcfWindow header1_, header2_;
};
