#pragma once
// TLcfHelpWindow: one line of description over a list. Blanks become the
// renderer's narrow space, and the window redraws only when its text
// changes.

#include <string>

#include "scenes/windows/window.h"

class TLcfHelpWindow : public TLcfWindow {
public:
    void SetText(const std::string& text);
    const std::string& Text() const { return text_; }
    void Refresh() override;
    void CloseNow() override;

private:
    std::string text_;
};
