#pragma once
// The name entry's two windows: the name typed so far in six two-byte
// cells, and the grid of characters to pick from (two pages of 9 rows by
// 10 columns; row 8 holds the page and confirm cells).

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "scenes/windows/window.h"

class TLcfNameViewWindow : public TLcfWindow {
public:
    static constexpr size_t kShownBytes = 12;

    void SetupView();
    void SetText(const std::string& name);
    const std::string& Text() const { return name_; }
    void Refresh() override;

    // Where each character of a name is drawn: byte b sits in cell b div 2,
    // at the cell's second half when odd. A two-byte character or symbol
    // starting at an odd byte is drawn whole across the cell border rather
    // than split. Only the first 12 bytes show.
    static std::vector<std::pair<int32_t, std::string>> Layout(const std::string& name);

private:
    std::string name_;
};

class TLcfNameInputWindow : public TLcfWindow {
public:
    static constexpr int kPages = 2, kRows = 9, kColumns = 10;
    static constexpr int kPageColumn = 6, kConfirmColumn = 8, kControlRow = 8;

    // The text of a cell; empty for a cell that cannot be chosen.
    static const std::string& Cell(int page, int row, int column);

    void SetupGrid();
    void SetPage(int page);
    int Page() const { return page_; }
    int Column() const { return column_; }
    int Row() const { return row_; }
    // Moves the cursor to a cell (no sound).
    void MoveTo(int column, int row);
    void Refresh() override;

protected:
    void CustomInput() override;

private:
    void PlaceCursor();

    int column_ = 0, row_ = 0, page_ = 0;
};
