#include "data/database/flag_set.h"

#include <algorithm>
#include <climits>

#include "data/database/database.h"

void TLcfFlagSet::SetEntry(int32_t id, uint8_t value) {
    if (id < 1 || id > kMaxEntries) return;
    if (id > Length()) Resize(id, fallback_);
    Set(id - 1, value);
}

void TLcfFlagSet::Trim(int limit) {
    // The last non-default entry within the limit, so that a set cut at the
    // limit does not keep default entries at its end: writing what was read
    // back gives the same bytes again.
    int last = std::min(Length(), std::max(limit, 0));
    while (last > 0 && Get(last - 1) == fallback_) --last;
    Resize(last, fallback_);
}

int DatabaseConditionCount() { return DbStatus ? DbStatus->Count() : INT_MAX; }
int DatabaseAttributeCount() { return DbAttrib ? DbAttrib->Count() : INT_MAX; }
