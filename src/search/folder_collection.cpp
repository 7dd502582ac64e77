#include "search/folder_collection.h"

#include "fs/failure.h"
#include "fs/path_text.h"
#include "fs/text_case.h"
#include "search/options.h"
#include "search/ordered_work.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace kw::search
{
namespace
{

// Folders listed ahead of the one the walk is at; enough to keep every core busy, few
// enough that a search cancelled or gone wrong does not wait for a mountain of listings.
constexpr std::size_t kListingsAhead = 4096;

// The walk keeps every folder it knows by path text and by identity in hash sets, so that
// the known-check costs the same for the millionth folder as for the first. Listings run on
// the helper threads; what they yield is taken here in the order of the folder list, so the
// list, its counts and its messages are those of a walk on one thread.
class FolderCollector
{
public:
    FolderCollector(
        const SearchRequest &request, const ListingSettings &settings, SearchState &state, SearchObserver &observer)
        : m_request(request)
        , m_settings(settings)
        , m_state(state)
        , m_observer(observer)
        , m_work(settings.threads, kListingsAhead)
    {
    }

    CollectedFolders collect()
    {
        for (const MarkedFolder &entry : m_request.markedFolders) {
            if (entry.active)
                processTopFolder(fs::folderForm(entry.path));
        }
        const std::string start = m_request.startFolder;
        const bool startListed = std::any_of(m_request.markedFolders.begin(), m_request.markedFolders.end(),
            [&](const MarkedFolder &entry) { return entry.path == start || entry.path == start + "/"; });
        if (!startListed)
            processTopFolder(start);
        m_result.lines.reserve(m_lines.size());
        for (FolderLine &line : m_lines)
            m_result.lines.push_back(std::move(line));
        return std::move(m_result);
    }

private:
    void processTopFolder(const std::string &folder)
    {
        checkCancel(m_settings.cancel);
        fs::Opened opened = fs::openFolder(folder);
        if (opened.error)
            return report(folder, opened.error);
        const fs::Status status = fs::statusOf(opened.fd.get());
        if (status.error)
            return report(folder, status.error);
        if (fs::onKernelFileSystem(opened.fd.get()))
            return report(folder, fs::Failure::KernelFileSystem);
        const auto top = static_cast<std::uint32_t>(m_result.tops.size());
        m_result.tops.push_back({folder, std::move(opened.fd), status.identity()});

        fs::FolderListing listing = listNow(top, "", status.identity().device);
        if (listing.error)
            return report(folder, listing.error);
        const bool known
            = !registerIdentity(m_result.tops[top].identity, m_topEntries.emplace_back(fs::entryForm(folder)));
        if (m_request.includeSubfolders && !known) {
            const std::size_t passStart = m_lines.size();
            TDir(folder, top, listing);
            Tunder(passStart);
        }
        appendTopFolder(folder, top, known, std::move(listing));
    }

    // A top folder is appended without a check: a folder given twice is counted twice and
    // removed by the final de-duplication.
    void appendTopFolder(const std::string &folder, std::uint32_t top, bool skipped, fs::FolderListing listing)
    {
        FolderLine &line = m_lines.emplace_back(FolderLine {fs::entryForm(folder), top, skipped, std::nullopt, {}});
        m_knownPaths.insert(line.path);
        if (!skipped)
            line.files = std::make_unique<fs::FolderFiles>(fs::takeFiles(std::move(listing)));
        m_observer.foldersFound(m_lines.size());
    }

    // Appends the subfolders of `folder` that are not known yet; each is listed as soon as
    // a thread is free.
    void TDir(const std::string &folder, std::uint32_t top, const fs::FolderListing &listing)
    {
        const std::string base = fs::entryForm(folder);
        for (const std::string &name : listing.subfolders) {
            std::string path;
            path.reserve(base.size() + name.size() + 1);
            path.append(base).append(name).append("/");
            if (!m_knownPaths.contains(path)) {
                const FolderLine &line
                    = m_lines.emplace_back(FolderLine {std::move(path), top, false, listing.identity.device, nullptr});
                m_knownPaths.insert(line.path);
                schedule(line);
            }
            // The one counts the top folder, which is appended after its subfolders.
            m_observer.foldersFound(m_lines.size() + 1);
        }
        for (const fs::SkippedName &name : listing.unlistableFolders)
            report(base + name.name, name.reason);
    }

    // Walks the lines from `passStart` on, breadth first, until no new folder turns up.
    // Lines of earlier top folders need no second visit: their subfolders are known.
    void Tunder(std::size_t passStart)
    {
        for (std::size_t k = passStart; k < m_lines.size(); ++k) {
            checkCancel(m_settings.cancel);
            fs::FolderListing listing = m_work.take();
            if (listing.error) {
                m_lines[k].skipped = true;
                report(fs::folderForm(m_lines[k].path), listing.error);
            } else if (listing.kernelFileSystem || !registerIdentity(listing.identity, m_lines[k].path)) {
                m_lines[k].skipped = true;
            } else {
                // TDir appends lines: take what is needed of this one before.
                const std::uint32_t top = m_lines[k].top;
                const std::string folder = fs::folderForm(m_lines[k].path);
                TDir(folder, top, listing);
                m_lines[k].files = std::make_unique<fs::FolderFiles>(fs::takeFiles(std::move(listing)));
            }
        }
    }

    fs::ListingOptions listingOptions(std::optional<std::uint64_t> parentDevice, std::string_view folder) const
    {
        fs::ListingOptions options;
        options.subfolders = m_request.includeSubfolders;
        options.mask = &m_settings.mask;
        options.excluded = m_settings.excluded ? &*m_settings.excluded : nullptr;
        options.sizes = m_settings.sizes;
        options.credentials = &m_settings.credentials;
        options.parentDevice = parentDevice;
        options.folderPath = folder;
        options.cancel = m_settings.cancel;
        return options;
    }

    // Lists the folder `relative` below a top folder, by handle.
    fs::FolderListing list(fs::Handle topFd, const std::string &relative, std::optional<std::uint64_t> parentDevice,
        const std::string &folder)
    {
        const fs::Opened opened = fs::openFolderBelow(topFd, relative);
        if (opened.error) {
            fs::FolderListing failed;
            failed.error = opened.error;
            return failed;
        }
        fs::FolderListing listing = fs::listFolder(opened.fd.get(), listingOptions(parentDevice, folder));
        if (!listing.error && !listing.files.empty() && m_settings.folderHandles != nullptr
            && m_settings.folderHandles->take())
            // A handle that only finds names: the listing's own would keep what the file
            // system built for reading the folder until the end of the search.
            listing.handle = fs::openNameHandleBelow(opened.fd.get(), "", true).fd;
        return listing;
    }

    fs::FolderListing listNow(std::uint32_t top, const std::string &relative, std::optional<std::uint64_t> parentDevice)
    {
        return list(m_result.tops[top].fd.get(), relative, parentDevice, m_result.tops[top].text);
    }

    void schedule(const FolderLine &line)
    {
        const fs::Handle topFd = m_result.tops[line.top].fd.get();
        std::string relative = relativeToTop(line, m_result.tops[line.top]);
        m_work.add([this, topFd, relative = std::move(relative), parent = line.parentDevice,
                       folder = fs::folderForm(line.path)](unsigned) { return list(topFd, relative, parent, folder); });
    }

    // Records which folder `path` is; false when that folder is known under another text.
    bool registerIdentity(const fs::FileIdentity &identity, std::string_view path)
    {
        const auto [place, inserted] = m_knownFolders.try_emplace(identity, path);
        return inserted || place->second == path;
    }

    void report(const std::string &path, std::error_code reason)
    {
        ++m_state.AccessErrorCount;
        m_observer.skipped(path, reason);
    }

    const SearchRequest &m_request;
    const ListingSettings &m_settings;
    SearchState &m_state;
    SearchObserver &m_observer;
    CollectedFolders m_result; // the top folders; the lines are gathered in m_lines
    // A deque never moves what it holds, so the path texts can be known by view, not copied.
    std::deque<FolderLine> m_lines;
    std::deque<std::string> m_topEntries; // the top folders' paths as registered
    std::unordered_set<std::string_view> m_knownPaths;
    std::unordered_map<fs::FileIdentity, std::string_view, fs::FileIdentityHash> m_knownFolders;
    OrderedWork<fs::FolderListing> m_work; // last: its threads stop before the rest goes
};

} // namespace

std::string relativeToTop(const FolderLine &line, const TopFolder &top)
{
    const std::size_t start = fs::entryForm(top.text).size();
    if (line.path.size() <= start)
        return {};
    return line.path.substr(start, line.path.size() - start - 1);
}

CollectedFolders Ttest(
    const SearchRequest &request, const ListingSettings &settings, SearchState &state, SearchObserver &observer)
{
    FolderCollector collector(request, settings, state, observer);
    return collector.collect();
}

std::vector<FolderLine> finalFolderList(std::vector<FolderLine> lines)
{
    std::sort(lines.begin(), lines.end(),
        [](const FolderLine &a, const FolderLine &b) { return fs::collatesBefore(a.path, b.path); });
    std::vector<FolderLine> result;
    result.reserve(lines.size());
    for (FolderLine &line : lines) {
        if (line.skipped || (!result.empty() && result.back().path == line.path))
            continue;
        result.push_back(std::move(line));
    }
    return result;
}

} // namespace kw::search
