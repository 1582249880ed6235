#pragma once
// Map events: each event has pages, and each page its start conditions,
// appearance, movement and script.

#include <cstdint>
#include <string>

#include "data/database/event_page_base.h"
#include "data/database/move_route.h"
#include "data/record/catalog.h"

// Start conditions of a page. Each set flag bit adds one requirement.
class TLcfEventCondition : public TCatalogBaseItem {
public:
    enum Flag : uint8_t {
        kSwitchA = 0x01, kSwitchB = 0x02, kVariable = 0x04, kItem = 0x08,
        kHero = 0x10, kTimer1 = 0x20, kTimer2 = 0x40,
    };
    // Comparison of the variable (left) with the value (right).
    enum Compare : int32_t { kEqual, kGreaterOrEqual, kLessOrEqual, kGreater, kLess, kNotEqual };

    TLcfEventCondition() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    uint8_t flags = 0;
    int32_t switchA = 1;
    int32_t switchB = 1;
    int32_t variableId = 1;
    int32_t variableValue = 0;
    int32_t itemId = 1;
    int32_t heroId = 1;
    int32_t timer1Seconds = 0;
    int32_t timer2Seconds = 0;
    int32_t compare = kGreaterOrEqual;
};

// One page of a map event; its id is the page number.
class TLcfEventPageItem : public TLcfBaseEventPageItem {
public:
    explicit TLcfEventPageItem(int32_t id = 0) : TLcfBaseEventPageItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    TLcfEventCondition condition;
    std::string sheetName;
    int32_t sheetIndex = 0;
    uint8_t direction = 2;  // 0 up, 1 right, 2 down, 3 left
    int32_t pattern = 1;
    uint8_t semiTransparent = 0;
    uint8_t moveType = 0;   // 0 fixed .. 6 custom route
    int32_t moveFrequency = 3;
    uint8_t trigger = 0;    // 0 decision key .. 4 parallel process
    uint8_t layer = 0;      // 0 below, 1 same as, 2 above the party
    uint8_t overlapForbidden = 0;
    uint8_t animationType = 0;
    int32_t moveSpeed = 3;
    TLcfMoveRoute moveRoute;
};

class TLcfEventPage : public TCatalogOf<TLcfEventPageItem> {
public:
    TLcfEventPageItem* GetPage(int index) const { return GetStrict(index, 65282); }
    TLcfEventPageItem* FindPage(int32_t id) const { return FindStrict(id, 65282); }
};

// A map event; its id is the event id within the map.
class TLcfEventItem : public TCatalogItem {
public:
    explicit TLcfEventItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    int32_t x = 0;
    int32_t y = 0;
    TLcfEventPage pages;
};

class TLcfEvent : public TCatalogOf<TLcfEventItem> {
public:
    TLcfEventItem* GetEvent(int index) const { return GetStrict(index, 65281); }
    TLcfEventItem* FindEvent(int32_t id) const { return FindStrict(id, 65281); }
};
