// The last phase: the contents of every size group compared, the result list written.
#pragma once

#include "search/content_compare.h"
#include "search/observer.h"
#include "search/result_list.h"
#include "search/size_grouping.h"
#include "search/state.h"

#include <string>
#include <vector>

namespace kw::search
{

struct ComparisonResult {
    ResultList lines;
    // For the window width: the last member of every size group that listed a path. The
    // front end measures them in its label font (`Tweite`).
    std::vector<std::string> widthProbes;
};

// Walks the candidate list group by group and writes the blocks of identical files: groups in
// candidate order, within a group the blocks in the order of their first members, within a
// block the members in candidate order, which is the list the pairwise visiting order of
// every member with every other yields. Reports "k von N Dateien" per candidate line and
// sets `FoundCount`, `ComparedCount` and `SearchIndex`. A failure while one group is compared
// is reported with its position and the walk goes on with the next group.
ComparisonResult Tcomp(
    const CandidateList &candidates, SearchState &state, SearchObserver &observer, ContentComparer &comparer);

} // namespace kw::search
