#pragma once
// The three windows of the debug scene: the pages of switches or
// variables (ten ids a row, ten rows a group), the ten ids of the chosen
// page with their names and values, and a signed seven-digit editor.

#include <cstdint>
#include <string>

#include "scenes/windows/window.h"

// Switches or variables, as the debug scene shows them.
enum class TDebugMode : uint8_t { Switches = 0, Variables = 1 };

// Position of a page: group (position div 10, a hundred ids) × 10 + row.
class TLcfDebugLeftWindow : public TLcfWindow {
public:
    // Placed, filled for the group of `position`, cursor on its row.
    void Fill(TDebugMode mode, int32_t position);

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    TDebugMode mode_ = TDebugMode::Switches;
    int32_t group_ = 0;
};

class TLcfDebugRightWindow : public TLcfWindow {
public:
    // Placed on first use and filled with the ten ids of `position`; the
    // cursor keeps its row.
    void Fill(TDebugMode mode, int32_t position);
    // The id on a row, when the database names it (else 0: a blank row
    // that cannot be chosen).
    int32_t IdAt(int row) const;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    TDebugMode mode_ = TDebugMode::Switches;
    int32_t position_ = 0;
};

class TLcfDebugValueWindow : public TLcfWindow {
public:
    static constexpr int kCells = 8;
    static constexpr int32_t kLimit = 9'999'999;

    TLcfDebugValueWindow() { columns = kCells; }
    // Opens on `value`, kept within seven digits, the cursor on the last
    // digit.
    void Open(int64_t value);
    // The sign cell negates, a digit cell turns its digit; then the cursor
    // moves over the cells.
    void Update() override;
    int32_t Value() const { return value_; }
    // "+" or "-", then seven digits.
    std::string Text() const;

    TRect GetCursorRect(int index) const override;
    TRect GetItemRect(int index) const override;

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;

private:
    void Turn(bool up);
    int32_t value_ = 0;
};
