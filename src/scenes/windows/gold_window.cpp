#include "scenes/windows/gold_window.h"

#include <cstdio>

#include "data/database/database.h"
#include "data/database/vocabulary.h"
#include "game/party/party_info.h"

void TLcfGoldWindow::Refresh() {
    TLcfWindow::Refresh();
    if (!IsOpen()) return;
    std::string term = DbVocabulary ? DbVocabulary->Get(TLcfVocabulary::kCurrency) : std::string();
    int32_t l = int32_t(term.size());
    char amount[16];
    std::snprintf(amount, sizeof amount, "%6d", GamePartyInfo ? GamePartyInfo->gold : 0);
    DrawText(width_ - 6 * l - 44, 8, amount, 0);
    DrawText(width_ - 6 * l - 8, 8, term, 1);
}

void TLcfGoldWindow::Update() {
    bool wasOpen = IsOpen();
    TLcfWindow::Update();
    if (IsOpen() != wasOpen) Refresh();
}
