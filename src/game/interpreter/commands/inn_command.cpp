// The inn: a price asked in the message box with a stay-or-leave choice.
// The answer lands in the branch byte of the command's indent; the price
// is paid and the rest runs in the interpreter's inn step once the box has
// closed.

#include <algorithm>
#include <string>

#include "data/database/database.h"
#include "data/database/vocabulary.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace commands {

VARNOW_COMMAND(ShowInn) {
    IMessageWindowHooks* window = GameInterpreterHooks.messageWindow;
    // A negative price would pay the party for staying: it is a free inn.
    const int32_t price = std::max(line.GetParam(1), 0);
    const bool indentOk = line.indent >= 0 && line.indent <= TLcfgScriptData::kMaxIndent;
    if (indentOk) frame.EnsureBranchBytes(line.indent + 1);
    if (price == 0) {
        // Nothing to ask: the stay case runs, after the rest.
        if (indentOk) frame.SetBranch(line.indent, 0);
        if (window) {
            window->SetInnCheck(0);
            window->AnswerInn(0);
        }
        return;
    }
    if (GameSystem) GameSystem->faceShown = 1;
    scripter.waitingForMessage = 1;
    if (!window) return;
    static const TLcfVocabularyInn kNoTerms;
    const TLcfVocabularyInn& terms = DbVocabulary ? DbVocabulary->GetInnTerms(line.GetParam(0)) : kNoTerms;
    const std::string currency = DbVocabulary ? DbVocabulary->Get(TLcfVocabulary::kCurrency) : std::string();
    const int32_t gold = GamePartyInfo ? GamePartyInfo->gold : 0;
    window->Open();
    // The leading "\$" opens the gold window; byte 1 is the narrow blank.
    window->AddLine("\\$" + terms[TLcfVocabularyInn::kGreeting1] + "\x01" + std::to_string(price) + currency +
                    terms[TLcfVocabularyInn::kGreeting2]);
    if (!terms[TLcfVocabularyInn::kGreeting3].empty()) window->AddLine(terms[TLcfVocabularyInn::kGreeting3]);
    window->AddChoice((gold < price ? "\\C[3]" : "\\C[0]") + terms[TLcfVocabularyInn::kStay]);
    window->AddChoice("\\C[0]" + terms[TLcfVocabularyInn::kLeave]);
    window->SetCancelChoice(2);
    window->SetInnCheck(price);
    if (indentOk) window->SetResultTarget(scripter.TargetOf(frame, line.indent));
}

}  // namespace commands
