#include "scenes/menu/end_window.h"

#include <algorithm>

#include "data/database/vocabulary.h"
#include "scenes/windows/window_text.h"

int32_t TLcfEndWindow::WidthFor(size_t length) {
    // Long terms would push the window off the screen and past the sheets
    // it draws on: it stops at the screen's width.
    return int32_t(std::min<size_t>(length, 50) * 6 + 16);
}

void TLcfEndWindow::SetupQuestion() {
    const std::string question = MenuTerm(TLcfVocabulary::kQuitConfirm);
    const std::string yes = MenuTerm(TLcfVocabulary::kYes), no = MenuTerm(TLcfVocabulary::kNo);
    const int32_t qw = WidthFor(question.size());
    question_.Setup(160 - qw / 2, 72, qw, 32, false);
    question_.DrawText(8, 8, question, 0);
    const int32_t aw = WidthFor(std::max(yes.size(), no.size()));
    Setup(160 - aw / 2, 120, aw, 48, false);
    DrawText(8, 8, yes, 0);
    DrawText(8, 24, no, 0);
    SetActive(true);
    SetCursor(0);
}

void TLcfEndWindow::Update() {
    TLcfWindow::Update();
    question_.Update();
}

void TLcfEndWindow::Draw() {
    question_.Draw();
    TLcfWindow::Draw();
}

void TLcfEndWindow::CloseNow() {
    question_.CloseNow();
    TLcfWindow::CloseNow();
}
