// kowacht --reflink and --hardlink: in every block one file stays (or those below
// --keep-in), the others are replaced by links to it, each checked once more first.
#pragma once

#include "app/kowacht/progress_line.h"
#include "results/link_run.h"
#include "search/result_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kw::app
{

// Which files are replaced, and by a link to which: the first kept file of their block,
// chosen as for the trash.
results::LinkPlan planLinks(const search::ResultList &lines, const std::vector<std::string> &keepIn);

struct LinkTotals {
    bool everything = true; // every planned file was replaced (or would be)
    std::uint64_t freed = 0;
};

// Carries the plan out (or, with `dryRun`, only checks it) and says so file by file on
// `progress`.
LinkTotals carryOutLinks(const results::LinkPlan &plan, const search::SearchRecords *records, results::LinkKind kind,
    bool dryRun, ProgressLine &progress);

} // namespace kw::app
