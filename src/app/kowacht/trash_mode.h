// kowacht --trash: in every block one file stays (or those below --keep-in), the others go
// to the freedesktop.org trash, each checked once more first.
#pragma once

#include "app/kowacht/progress_line.h"
#include "fs/trash.h"
#include "results/trash_run.h"
#include "search/engine.h"

#include <string>
#include <vector>

namespace kw::app
{

struct TrashPlan {
    std::vector<results::TrashRequest> requests;
    std::vector<std::string> leftAlone; // the first file of each block none of whose files is to be kept
};

// Which files go: without `keepIn` (absolute folders) all but the first of each block; with
// it all but those below one of the folders, and a block with no file below any of them is
// left alone, so that no block ever loses its last copy.
TrashPlan planTrash(const search::ResultList &lines, const std::vector<std::string> &keepIn);

// Carries the plan out (or, with `dryRun`, only checks it) and says so file by file on
// `progress`. True when everything planned was moved (or would be).
bool carryOutTrash(
    const TrashPlan &plan, const search::SearchRecords *records, fs::Trash &trash, bool dryRun, ProgressLine &progress);

} // namespace kw::app
