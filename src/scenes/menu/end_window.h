#pragma once
// TLcfEndWindow: the menu's quit question: the question in a window of its
// own above the two answers, each window as wide as its longest term.

#include "scenes/windows/window.h"

class TLcfEndWindow : public TLcfWindow {
public:
    void SetupQuestion();
    void Update() override;
    void Draw() override;
    void CloseNow() override;
    TLcfWindow& Question() { return question_; }

    // Width of a window for a term of that many bytes, kept on the screen.
    static int32_t WidthFor(size_t length);

private:
    TLcfWindow question_;
};
