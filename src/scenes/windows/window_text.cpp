#include "scenes/windows/window_text.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "data/database/database.h"
#include "data/database/vocabulary.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"

std::string MenuTerm(int chunk) { return DbVocabulary ? DbVocabulary->Get(chunk) : std::string(); }

std::string FormatNumber(const char* format, int32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, int(value));
    return text;
}

std::string ExperienceText(const TLcfgPlayerItem& actor) {
    if (actor.Level() >= actor.MaxLevel()) return "-------/-------";
    return FormatNumber("%7d", actor.Exp()) +
           FormatNumber("/%7d", int32_t(std::min<int64_t>(actor.ExpForNext(), INT32_MAX)));
}

int PartySlotOf(int32_t actorId) {
    if (!GamePartyInfo) return -1;
    for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot)
        if (GamePartyInfo->MemberId(slot) == actorId) return slot;
    return -1;
}

int32_t NeighbourMemberId(int32_t actorId, int step) {
    const int n = GamePartyInfo->MemberCount();
    const int slot = PartySlotOf(actorId);
    return GamePartyInfo->MemberId(((slot < 0 ? 0 : slot) + step % n + n) % n);
}
