// A whole duplicate search, from the request to the result list.
#pragma once

#include "search/observer.h"
#include "search/request.h"
#include "search/result_list.h"
#include "search/state.h"

#include <string>
#include <vector>

namespace kw::search
{

struct SearchOutcome {
    ResultList lines; // the result list
    std::vector<std::string> widthProbes; // paths to measure for the result window's width
    SearchState state; // the counts as the search left them

    // "Suchergebnis (X aus Y Dateien)", with " / E Fehler!" when something could not be read.
    std::string caption() const;
};

// Runs the phases in their order: folder collection, de-duplication of the folder list,
// inventory, size grouping; then, whatever happened before, the comparison over what the
// candidate list holds. Reports to `observer` on the calling thread.
SearchOutcome runSearch(const SearchRequest &request, SearchObserver &observer);

} // namespace kw::search
