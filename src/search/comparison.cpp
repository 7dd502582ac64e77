#include "search/comparison.h"

#include "search/content_compare.h"
#include "search/ordered_work.h"
#include "search/texts.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <memory>
#include <unordered_set>

namespace kw::search
{
namespace
{

// Groups compared ahead of the one whose blocks are written next. Their results are small;
// the bound keeps a cancelled or failing search from waiting on much work.
constexpr std::size_t kGroupsAhead = 256;

constexpr std::uint32_t kNoFile = std::numeric_limits<std::uint32_t>::max();

struct GroupWork {
    std::vector<CompareMember> members;
    std::vector<std::uint32_t> files; // inventory index of each member
    GroupComparison comparison;
};

std::vector<CompareMember> membersOf(const Inventory &inventory, std::span<const std::uint32_t> group)
{
    std::vector<CompareMember> members;
    members.reserve(group.size());
    for (const std::uint32_t index : group) {
        const fs::ListedFile &file = inventory.file(index);
        const InventoryFolder &folder = inventory.folderOf(index);
        const auto [openBase, openStart] = inventory.opener(index);
        members.push_back({inventory.tops[folder.top].fd.get(), folder.path, inventory.relativeStart(index),
            inventory.nameOf(index), file.stamp, file.unreadable, openBase, openStart});
    }
    return members;
}

// One path of each file: later paths of a device and inode already in the set go.
std::vector<std::size_t> oneLinkEach(const std::vector<std::size_t> &set, const std::vector<CompareMember> &members)
{
    std::vector<std::size_t> kept;
    std::unordered_set<fs::FileIdentity, fs::FileIdentityHash> seen;
    for (const std::size_t member : set) {
        if (seen.insert(members[member].stamp.identity).second)
            kept.push_back(member);
    }
    return kept;
}

} // namespace

ComparisonResult Tcomp(const Inventory &inventory, const CandidateList &candidates, SearchState &state,
    SearchObserver &observer, const ComparisonSettings &settings)
{
    ComparisonResult result;
    std::size_t found = 0;
    state.FoundCount = decimal(0); // not = "0": GCC 12 warns wrongly (-Wrestrict) there
    observer.phaseStarted(Phase::Comparison);
    state.ComparedCount = 0;

    const unsigned threads = std::max(1U, settings.threads);
    const unsigned most = std::max(threads, settings.maxThreads);
    const BlockHash hash; // one secret key for the whole search
    std::atomic<OrderedWork<GroupWork> *> started {nullptr};
    // Declared before the work, so that it stops only after every helper that may start it.
    DiskOrderReadAhead readAhead(inventory, candidates, kReadAheadWindow, settings.cancel, settings.hooks);
    DiskWaits diskWaits([&started, &readAhead, &settings] {
        if (settings.readAhead == ReadAhead::WhenWaiting)
            readAhead.start();
        if (OrderedWork<GroupWork> *work = started.load())
            work->addHelper();
    });
    if (settings.readAhead == ReadAhead::Always)
        readAhead.start();
    // The limits hold for the whole search; the threads that run share them.
    const std::size_t ownFiles = most * ContentComparer::kOwnOpenFiles;
    SharedLimit openFiles(settings.maxOpenFiles > ownFiles ? settings.maxOpenFiles - ownFiles : 0);
    SharedLimit storedBytes(settings.storedBlockBudget);
    std::vector<std::unique_ptr<ContentComparer>> comparers;
    for (unsigned t = 0; t < most; ++t)
        comparers.push_back(std::make_unique<ContentComparer>(openFiles, storedBytes, hash, settings.hooks,
            settings.cancel, most > threads || settings.readAhead == ReadAhead::WhenWaiting ? &diskWaits : nullptr));

    OrderedWork<GroupWork> work(threads, kGroupsAhead, most);
    started.store(&work);
    for (std::size_t g = 0; g < candidates.groupCount(); ++g) {
        work.add([&, g](unsigned thread) {
            GroupWork group;
            try {
                group.files.assign(candidates.group(g).begin(), candidates.group(g).end());
                group.members = membersOf(inventory, candidates.group(g));
                group.comparison = comparers[thread]->CompFile(group.members, candidates.groupKey(g));
            } catch (const SearchCancelled &) {
                throw;
            } catch (...) {
                group.comparison.failed = true;
                group.comparison.failure = SearchFailure::of(std::current_exception());
            }
            return group;
        });
    }

    long long line = 0; // position in the candidate list, separators included
    for (std::size_t g = 0; g < candidates.groupCount(); ++g) {
        const std::size_t members = candidates.group(g).size();
        for (std::size_t m = 0; m < members; ++m) {
            state.SearchIndex = line++;
            observer.comparing(state.ComparedCount + 1, state.CandidateCount);
            ++state.ComparedCount;
        }
        if (g + 1 < candidates.groupCount()) { // the separator line closes the group
            state.SearchIndex = line++;
            observer.comparing(state.ComparedCount + 1, state.CandidateCount);
        }
        checkCancel(settings.cancel);
        readAhead.reached(g);
        GroupWork group = work.take();
        for (const MemberFailure &failure : group.comparison.failures) {
            ++state.AccessErrorCount;
            observer.skipped(group.members[failure.member].path(), failure.reason);
        }
        state.OuterIndex = group.comparison.outer;
        state.InnerIndex = group.comparison.inner;
        if (group.comparison.failed) {
            if (!result.failure)
                result.failure = group.comparison.failure;
            observer.unexpectedError(static_cast<std::size_t>(state.SearchIndex), state.OuterIndex, state.InnerIndex);
            continue;
        }
        std::size_t listed = 0;
        for (const std::vector<std::size_t> &equal : group.comparison.sets) {
            const std::vector<std::size_t> set = settings.oneLink ? oneLinkEach(equal, group.members) : equal;
            if (set.size() < 2)
                continue;
            ++result.blockCount;
            if (settings.blockSink) {
                std::vector<std::string> block;
                for (const std::size_t member : set)
                    block.push_back(group.members[member].path());
                settings.blockSink(block, candidates.groupKey(g));
            } else {
                if (!result.lines.empty()) {
                    result.lines.emplace_back();
                    result.lineFiles.push_back(kNoFile);
                }
                for (const std::size_t member : set) {
                    result.lines.push_back(group.members[member].path());
                    result.lineFiles.push_back(group.files[member]);
                }
                result.blockSizes.push_back(candidates.groupKey(g));
            }
            std::unordered_set<fs::FileIdentity, fs::FileIdentityHash> files;
            for (const std::size_t member : set)
                files.insert(group.members[member].stamp.identity);
            result.reclaimableBytes += (files.size() - 1) * candidates.groupKey(g);
            listed += set.size();
        }
        if (listed > 0 && !settings.blockSink)
            result.widthProbes.push_back(group.members.back().path());
        found += listed;
    }
    state.FoundCount = decimal(found);
    readAhead.stop();
    if (!result.failure && readAhead.failure())
        result.failure = readAhead.failure();
    return result;
}

} // namespace kw::search
