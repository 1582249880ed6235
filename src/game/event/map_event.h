#pragma once
// Map events at run time: a character whose look, movement and trigger come
// from the active page of its definition in the map file. It picks its page
// from the game state, moves by the page's movement type, asks to be started
// when touched or when the page runs by itself, and runs a parallel page in
// an interpreter of its own. TLcfgEvent is the list of the current map.

#include <memory>

#include "data/database/event.h"
#include "data/record/catalog.h"
#include "game/character/character.h"
#include "game/interpreter/regular_scripter.h"

class TLcfgEventItem : public TLcfgCharacter {
public:
    // Movement types and triggers of a page.
    enum : int32_t { kMoveFixed, kMoveRandom, kMoveVertical, kMoveHorizontal, kMoveToward, kMoveAway, kMoveRoute };
    enum : int32_t { kTriggerKey, kTriggerTouch, kTriggerEventTouch, kTriggerAutorun, kTriggerParallel, kTriggerNone };

    explicit TLcfgEventItem(int32_t id = 0);

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Base Clear, the definition looked up, position from it, then Refresh.
    void Clear() override;
    // The read (Clear first, which chose the page; fields left out of the
    // stream hold their defaults, not the page's), the definition looked up
    // again and Refresh, which then sees the same page and keeps the start
    // request, the route position and the parallel interpreter.
    void LoadFromStream(ByteReader& r) override;

    void Refresh();
    int32_t PageNumber() const;
    int32_t Trigger() const;
    void RequestStart();
    bool CheckEventTouch();
    bool CheckFrontTouch();
    void UpdateMovement() override;
    bool Update() override;
    bool Move(int32_t d) override;
    void UpdateFacing() override;
    void Draw(TSorvoBoard& board) override;

    const TLcfEventItem* Definition() const { return definition_; }
    const TLcfEventPageItem* ActivePage() const { return page_; }
    TLcfgRegularScripter& Scripter() { return *scripter_; }

    uint8_t startRequested = 0;    // [101]
    int32_t routePosition = 0;     // [102]
    uint8_t startedByKey = 0;      // [103]

protected:
    int32_t FrequencyAfterRoute() const override;

private:
    bool PageConditionsHold(const TLcfEventPageItem& page) const;
    void StartByTouch();

    std::unique_ptr<TLcfgRegularScripter> scripter_;  // [108]
    const TLcfEventItem* definition_ = nullptr;
    const TLcfEventPageItem* page_ = nullptr;
};

class TLcfgEvent : public TCatalogOf<TLcfgEventItem> {
public:
    // Message 65281 when missing.
    TLcfgEventItem* ItemAt(int index) const { return GetStrict(index, 65281); }
    TLcfgEventItem* ItemById(int32_t id) const { return FindStrict(id, 65281); }
    void RefreshAll();
    // Reads the saved events only when the party's map stamp matches the
    // loaded map file; events the map file does not have are skipped. The
    // events made from the map file stay otherwise.
    void LoadFromStream(ByteReader& r) override;
};
