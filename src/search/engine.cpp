#include "search/engine.h"

#include "fs/mask.h"
#include "search/comparison.h"
#include "search/folder_collection.h"
#include "search/inventory.h"
#include "search/size_grouping.h"
#include "search/texts.h"

#include <exception>

namespace kw::search
{

std::string SearchOutcome::caption() const
{
    return resultCaption(state.FoundCount, state.FileCountText, state.AccessErrorCount);
}

SearchOutcome runSearch(const SearchRequest &request, SearchObserver &observer)
{
    SearchOutcome outcome;
    SearchState &state = outcome.state;
    const fs::FileMask mask(request.filter);
    CandidateList candidates;
    try {
        observer.phaseStarted(Phase::FolderSearch);
        std::vector<FolderLine> folderLines = Ttest(request, state, observer);
        observer.phaseStarted(Phase::FileSearch);
        const std::vector<std::string> folders = finalFolderList(std::move(folderLines));
        candidates = groupBySize(takeInventory(folders, mask, state, observer), state, observer);
    } catch (const std::exception &) {
        // Per-file and per-folder failures are data; only something like exhausted memory
        // ends the phases early. What was gathered is still compared.
    }
    ContentComparer comparer;
    ComparisonResult compared = Tcomp(candidates, state, observer, comparer);
    outcome.lines = std::move(compared.lines);
    outcome.widthProbes = std::move(compared.widthProbes);
    return outcome;
}

} // namespace kw::search
