// A whole duplicate search, from the request to the result list.
#pragma once

#include "search/observer.h"
#include "search/options.h"
#include "search/records.h"
#include "search/request.h"
#include "search/result_list.h"
#include "search/search_failure.h"
#include "search/state.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kw::search
{

struct SearchOutcome {
    ResultList lines; // the result list
    std::vector<std::string> widthProbes; // paths to measure for the result window's width
    std::vector<std::uint64_t> blockSizes; // the file size of each block, in order
    std::uint64_t reclaimableBytes = 0; // freed by moving all but one copy of each block
    std::size_t blockCount = 0; // blocks found, also those handed to a block sink
    SearchState state; // the counts as the search left them
    bool cancelled = false; // stopped before its end: the list is empty
    // Something failed that should not: the list holds only what was compared before, or
    // beside, the failure (nothing, where a phase before the comparison failed).
    std::optional<SearchFailure> failure;
    std::shared_ptr<const SearchRecords> records; // with EngineOptions::keepRecords
    unsigned comparisonThreads = 0; // that compared at the end, the calling one included

    // "Suchergebnis (X aus Y Dateien)", with " / E Fehler!" when something could not be read.
    std::string caption() const;
};

// Runs the phases in their order: folder collection, de-duplication of the folder list,
// inventory, size grouping; then the comparison over what the candidate list holds, which is
// nothing when an earlier phase failed. Reports to `observer` on the calling thread; other
// threads help with listing and comparing, where they can be had. A cancelled search
// returns an empty list. Throws nothing: what failed is the outcome's failure.
SearchOutcome runSearch(const SearchRequest &request, SearchObserver &observer, const EngineOptions &options = {});

} // namespace kw::search
