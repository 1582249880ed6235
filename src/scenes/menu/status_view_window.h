#pragma once
// TLcfStatusViewWindow: the status page of one actor: the page itself
// (row, name, class, title, condition, level and face) beside three parts:
// HP, SP and experience; the four abilities; the equipment.

#include "scenes/windows/window.h"

class TLcfScene;
class TLcfgPlayerItem;
class TLcfStatusViewWindow;

class TLcfStatusViewHpWindow : public TLcfWindow {
public:
    explicit TLcfStatusViewHpWindow(TLcfStatusViewWindow& owner) : owner_(owner) {}
    void Refresh() override;

private:
    TLcfStatusViewWindow& owner_;
};

class TLcfStatusViewAbirityWindow : public TLcfWindow {
public:
    explicit TLcfStatusViewAbirityWindow(TLcfStatusViewWindow& owner) : owner_(owner) {}
    void Refresh() override;

private:
    TLcfStatusViewWindow& owner_;
};

class TLcfStatusViewEquipWindow : public TLcfWindow {
public:
    explicit TLcfStatusViewEquipWindow(TLcfStatusViewWindow& owner) : owner_(owner) {}
    void Refresh() override;

private:
    TLcfStatusViewWindow& owner_;
};

class TLcfStatusViewWindow : public TLcfWindow {
public:
    TLcfStatusViewWindow();
    void SetupFor(int32_t actorId);
    void Refresh() override;
    void Update() override;
    void Draw() override;
    void CloseNow() override;
    TLcfgPlayerItem* Actor() const;
    int32_t ActorId() const { return actorId_; }
    TLcfStatusViewHpWindow& HpPart() { return hp_; }

    // The scene that fades when the member changes (none: no fade).
    TLcfScene* scene = nullptr;

private:
    void RefreshAll();
    TLcfStatusViewHpWindow hp_;
    TLcfStatusViewAbirityWindow ability_;
    TLcfStatusViewEquipWindow equipment_;
    int32_t actorId_ = 0;
};
