#include "search/engine.h"

#include "fs/descriptor_limits.h"
#include "fs/file_access.h"
#include "fs/handle_budget.h"
#include "search/comparison.h"
#include "search/folder_collection.h"
#include "search/inventory.h"
#include "search/size_grouping.h"
#include "search/texts.h"

#include <exception>
#include <numeric>
#include <thread>

namespace kw::search
{
namespace
{

ListingSettings listingSettings(const SearchRequest &request, const EngineOptions &options)
{
    ListingSettings settings {fs::FileMask(request.filter), std::nullopt, request.filters.sizes,
        fs::Credentials::ofThisProcess(), options.threadCount(), options.cancel};
    if (!request.filters.excluded.empty()) {
        std::string patterns;
        for (const std::string &pattern : request.filters.excluded)
            patterns.append(pattern).append(";");
        settings.excluded.emplace(patterns);
    }
    return settings;
}

ComparisonSettings comparisonSettings(const SearchRequest &request, const EngineOptions &options)
{
    ComparisonSettings settings;
    settings.threads = options.threadCount();
    settings.maxThreads = options.maxThreadCount();
    settings.maxOpenFiles = options.maxOpenFiles != 0 ? options.maxOpenFiles : fs::openFileAllowance();
    settings.storedBlockBudget = options.storedBlockBudget != 0 ? options.storedBlockBudget : kDefaultStoredBlockBudget;
    settings.oneLink = request.filters.oneLink;
    settings.readAhead = options.readAhead;
    settings.hooks = options.hooks;
    settings.cancel = options.cancel;
    settings.blockSink = options.blockSink;
    return settings;
}

std::shared_ptr<const SearchRecords> recordsOf(const Inventory &inventory, const ComparisonResult &compared)
{
    auto records = std::make_shared<SearchRecords>();
    for (const TopFolder &top : inventory.tops)
        records->tops.push_back({top.text, top.identity});
    for (std::size_t i = 0; i < compared.lines.size(); ++i) {
        if (compared.lines[i].empty())
            continue;
        const std::uint32_t line = compared.lineFiles[i];
        records->add(compared.lines[i], FoundFile {inventory.folderOf(line).top, inventory.file(line).stamp});
    }
    return records;
}

} // namespace

unsigned EngineOptions::threadCount() const
{
    if (threads != 0)
        return threads;
    return std::max(1U, std::thread::hardware_concurrency());
}

unsigned EngineOptions::maxThreadCount() const
{
    return threads != 0 ? threads : std::min(4 * threadCount(), std::max(16U, threadCount()));
}

std::string SearchOutcome::caption() const
{
    return resultCaption(state.FoundCount, state.FileCountText, state.AccessErrorCount);
}

SearchOutcome runSearch(const SearchRequest &request, SearchObserver &observer, const EngineOptions &options)
{
    SearchOutcome outcome;
    SearchState &state = outcome.state;
    try {
        fs::HandleBudget folderHandles(options.folderHandles.value_or(fs::folderHandleAllowance()));
        ListingSettings settings = listingSettings(request, options);
        settings.folderHandles = &folderHandles;
        Inventory inventory;
        CandidateList candidates;
        try {
            observer.phaseStarted(Phase::FolderSearch);
            CollectedFolders folders = Ttest(request, settings, state, observer);
            if (options.hooks != nullptr && options.hooks->afterFolders)
                options.hooks->afterFolders();
            observer.phaseStarted(Phase::FileSearch);
            std::vector<FolderLine> lines = finalFolderList(std::move(folders.lines));
            checkCancel(options.cancel);
            inventory = takeInventory(std::move(folders.tops), std::move(lines), state, observer);
            checkCancel(options.cancel);
            candidates = groupBySize(inventory, state, observer);
        } catch (const SearchCancelled &) {
            throw;
        } catch (...) {
            // Per-file and per-folder failures are data; only something like exhausted
            // memory ends the phases early, and then nothing is compared.
            outcome.failure = SearchFailure::of(std::current_exception());
            candidates = CandidateList {};
        }
        ComparisonResult compared = Tcomp(inventory, candidates, state, observer, comparisonSettings(request, options));
        if (!outcome.failure)
            outcome.failure = std::move(compared.failure);
        if (options.keepRecords)
            outcome.records = recordsOf(inventory, compared);
        outcome.lines = std::move(compared.lines);
        outcome.widthProbes = std::move(compared.widthProbes);
        outcome.blockSizes = std::move(compared.blockSizes);
        outcome.reclaimableBytes = compared.reclaimableBytes;
        outcome.blockCount = compared.blockCount;
        outcome.comparisonThreads = compared.threads;
    } catch (const SearchCancelled &) {
        outcome.cancelled = true;
        outcome.lines.clear();
        outcome.widthProbes.clear();
        outcome.blockSizes.clear();
    } catch (...) {
        // The comparison itself broke off (the group at its end, or putting the list
        // together): no list is shown that may lack what was found.
        outcome.failure = SearchFailure::of(std::current_exception());
        outcome.lines.clear();
        outcome.widthProbes.clear();
        outcome.blockSizes.clear();
        outcome.records.reset();
    }
    return outcome;
}

} // namespace kw::search
