#pragma once
// Checks that clearing a record, which is derived from its field
// descriptions, gives what the descriptions say, for any record class.
//
//   ExpectClearingFollowsTheDescriptions([] { return std::make_unique<TLcfSkillItem>(1); });
//   ExpectClearingFollowsTheDescriptions(makeCommonEvent, {21});  // the script length

#include <functional>
#include <memory>
#include <set>

#include "data/record/catalog_base_item.h"

namespace record_defaults {

using MakeRecord = std::function<std::unique_ptr<TCatalogBaseItem>()>;

// A fresh record holds the default of every field whose description has one;
// a record loaded with every such field changed writes something else, and
// once cleared writes exactly what a fresh record writes; clearing it again
// changes nothing. The chunks in `leave` are neither changed nor checked:
// fields the record works out from others (a script's length), or the name
// of a file a load opens.
void ExpectClearingFollowsTheDescriptions(const MakeRecord& make, const std::set<int>& leave = {});

}  // namespace record_defaults
