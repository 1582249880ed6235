#include "scenes/windows/help_window.h"

#include "platform/code_page.h"

void TLcfHelpWindow::SetText(const std::string& text) {
    std::string narrow = text;
    // Walk by characters so that a double-byte character's trail byte is
    // never taken for a blank.
    for (size_t i = 0; i < narrow.size();) {
        if (platform::IsLeadByte(uint8_t(narrow[i]))) {
            i += 2;
            continue;
        }
        if (narrow[i] == ' ') narrow[i] = '\x01';
        ++i;
    }
    if (narrow == text_) return;
    text_ = narrow;
    Refresh();
}

void TLcfHelpWindow::Refresh() {
    TLcfWindow::Refresh();
    if (!text_.empty()) DrawText(8, 8, text_, 0);
}

void TLcfHelpWindow::CloseNow() {
    text_.clear();
    TLcfWindow::CloseNow();
}
