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

// The comparers of one search, one a thread there may be, and what they share: the
// search's limits, the secret key of the block hash, the read-ahead and the count of reads
// that waited for the disk, which adds threads and starts the read-ahead.
class Comparers
{
public:
    Comparers(const Inventory &inventory, const CandidateList &candidates, const ComparisonSettings &settings)
        : m_settings(settings)
        , m_threads(std::max(1U, settings.threads))
        , m_most(std::max(m_threads, settings.maxThreads))
        , m_openFiles(settings.maxOpenFiles > m_most * ContentComparer::kOwnOpenFiles
                  ? settings.maxOpenFiles - m_most * ContentComparer::kOwnOpenFiles
                  : 0)
        , m_storedBytes(settings.storedBlockBudget)
        , m_readAhead(inventory, candidates, kReadAheadWindow, settings.cancel, settings.hooks)
        , m_diskWaits([this] { moreThreads(); })
    {
        if (settings.readAhead == ReadAhead::Always)
            m_readAhead.start();
        const bool countWaits = m_most > m_threads || settings.readAhead == ReadAhead::WhenWaiting;
        for (unsigned t = 0; t < m_most; ++t)
            m_comparers.push_back(std::make_unique<ContentComparer>(m_openFiles, m_storedBytes, m_hash, settings.hooks,
                settings.cancel, countWaits ? &m_diskWaits : nullptr));
    }

    unsigned threads() const { return m_threads; }
    unsigned most() const { return m_most; }
    DiskOrderReadAhead &readAhead() { return m_readAhead; }
    ContentComparer &forThread(unsigned thread) { return *m_comparers[thread]; }
    // The work whose helpers grow while the reads wait; set while it lasts.
    void serve(OrderedWork<GroupWork> *work) { m_work.store(work); }

private:
    void moreThreads()
    {
        if (m_settings.readAhead == ReadAhead::WhenWaiting)
            m_readAhead.start();
        if (OrderedWork<GroupWork> *work = m_work.load())
            work->addHelper();
    }

    const ComparisonSettings &m_settings;
    const unsigned m_threads;
    const unsigned m_most;
    const BlockHash m_hash; // one secret key for the whole search
    SharedLimit m_openFiles; // beyond the files each comparer keeps of its own
    SharedLimit m_storedBytes;
    DiskOrderReadAhead m_readAhead;
    DiskWaits m_diskWaits;
    std::atomic<OrderedWork<GroupWork> *> m_work {nullptr};
    std::vector<std::unique_ptr<ContentComparer>> m_comparers;
};

// Compares group `g` on whichever thread is free; what fails unexpectedly is kept with it.
GroupWork compareGroup(
    const Inventory &inventory, const CandidateList &candidates, std::size_t g, ContentComparer &comparer)
{
    GroupWork group;
    try {
        group.files.assign(candidates.group(g).begin(), candidates.group(g).end());
        group.members = membersOf(inventory, candidates.group(g));
        group.comparison = comparer.CompFile(group.members, candidates.groupKey(g));
    } catch (const SearchCancelled &) {
        throw;
    } catch (...) {
        group.comparison.failed = true;
        group.comparison.failure = SearchFailure::of(std::current_exception());
    }
    return group;
}

// The "k von N Dateien" of a group's lines, and of the separator that closes it.
void reportGroupLines(
    const CandidateList &candidates, std::size_t g, long long &line, SearchState &state, SearchObserver &observer)
{
    for (std::size_t m = 0; m < candidates.group(g).size(); ++m) {
        state.SearchIndex = line++;
        observer.comparing(state.ComparedCount + 1, state.CandidateCount);
        ++state.ComparedCount;
    }
    if (g + 1 < candidates.groupCount()) {
        state.SearchIndex = line++;
        observer.comparing(state.ComparedCount + 1, state.CandidateCount);
    }
}

// Writes the blocks of one compared group into the list, or hands them to the sink; the
// number of paths listed.
std::size_t writeBlocks(
    const GroupWork &group, std::uint64_t size, const ComparisonSettings &settings, ComparisonResult &result)
{
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
            settings.blockSink(block, size);
        } else {
            if (!result.lines.empty()) {
                result.lines.emplace_back();
                result.lineFiles.push_back(kNoFile);
            }
            for (const std::size_t member : set) {
                result.lines.push_back(group.members[member].path());
                result.lineFiles.push_back(group.files[member]);
            }
            result.blockSizes.push_back(size);
        }
        std::unordered_set<fs::FileIdentity, fs::FileIdentityHash> files;
        for (const std::size_t member : set)
            files.insert(group.members[member].stamp.identity);
        result.reclaimableBytes += (files.size() - 1) * size;
        listed += set.size();
    }
    if (listed > 0 && !settings.blockSink)
        result.widthProbes.push_back(group.members.back().path());
    return listed;
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

    // Declared before the work, so that they go only after every helper that uses them.
    Comparers comparers(inventory, candidates, settings);
    OrderedWork<GroupWork> work(comparers.threads(), kGroupsAhead, comparers.most());
    comparers.serve(&work);
    for (std::size_t g = 0; g < candidates.groupCount(); ++g)
        work.add(
            [&, g](unsigned thread) { return compareGroup(inventory, candidates, g, comparers.forThread(thread)); });

    long long line = 0; // position in the candidate list, separators included
    for (std::size_t g = 0; g < candidates.groupCount(); ++g) {
        reportGroupLines(candidates, g, line, state, observer);
        checkCancel(settings.cancel);
        comparers.readAhead().reached(g);
        const GroupWork group = work.take();
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
        found += writeBlocks(group, candidates.groupKey(g), settings, result);
    }
    state.FoundCount = decimal(found);
    result.threads = work.threadCount();
    comparers.serve(nullptr);
    comparers.readAhead().stop();
    if (!result.failure && comparers.readAhead().failure())
        result.failure = comparers.readAhead().failure();
    return result;
}

} // namespace kw::search
