#include "search/folder_collection.h"

#include "fs/listing.h"
#include "fs/path_text.h"
#include "fs/text_case.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace kw::search
{
namespace
{

// The walk keeps every folder it knows by path text and by identity in hash sets, so that
// the known-check costs the same for the millionth folder as for the first.
class FolderCollector
{
public:
    struct Line : FolderLine {
        std::optional<dev_t> parentDevice; // the device of the folder it was found in
    };

    FolderCollector(const SearchRequest &request, SearchState &state, SearchObserver &observer)
        : m_request(request), m_state(state), m_observer(observer)
    {
    }

    std::vector<Line> collect()
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
        return std::move(m_lines);
    }

private:
    void processTopFolder(const std::string &folder)
    {
        if (!m_request.includeSubfolders) {
            const fs::FolderIdentityResult entered = fs::identifyFolder(folder, fs::FollowLink::Yes);
            if (entered.error)
                return reportUnreadable(folder);
            appendTopFolder(folder, !registerIdentity(entered.identity, fs::entryForm(folder)));
            return;
        }
        const fs::SubfolderListing listing = fs::listSubfolders(folder, fs::FollowLink::Yes);
        if (listing.error)
            return reportUnreadable(folder);
        const bool known = !registerIdentity(listing.identity, fs::entryForm(folder));
        if (!known) {
            const std::size_t passStart = m_lines.size();
            TDir(folder, listing);
            Tunder(passStart);
        }
        appendTopFolder(folder, known);
    }

    // A top folder is appended without a check: a folder given twice is counted twice and
    // removed by the final de-duplication.
    void appendTopFolder(const std::string &folder, bool skipped)
    {
        std::string path = fs::entryForm(folder);
        m_knownPaths.insert(path);
        m_lines.push_back({std::move(path), skipped, std::nullopt});
        m_observer.foldersFound(m_lines.size());
    }

    // Appends the subfolders of `folder` that are not known yet.
    void TDir(const std::string &folder, const fs::SubfolderListing &listing)
    {
        const std::string base = fs::entryForm(folder);
        for (const std::string &name : listing.names) {
            std::string path = base + name + "/";
            if (m_knownPaths.insert(path).second)
                m_lines.push_back({std::move(path), false, listing.identity.device});
            // The one counts the top folder, which is appended after its subfolders.
            m_observer.foldersFound(m_lines.size() + 1);
        }
        for (const std::string &name : listing.unlistable) {
            ++m_state.AccessErrorCount;
            m_observer.nameSkipped(base + name);
        }
    }

    // Walks the lines from `passStart` on, breadth first, until no new folder turns up.
    // Lines of earlier top folders need no second visit: their subfolders are known.
    void Tunder(std::size_t passStart)
    {
        for (std::size_t k = passStart; k < m_lines.size(); ++k) {
            const std::string folder = fs::folderForm(m_lines[k].path);
            const fs::SubfolderListing listing
                = fs::listSubfolders(folder, fs::FollowLink::No, m_lines[k].parentDevice);
            if (listing.error) {
                m_lines[k].skipped = true;
                reportUnreadable(folder);
            } else if (listing.pseudoFileSystem || !registerIdentity(listing.identity, m_lines[k].path)) {
                m_lines[k].skipped = true;
            } else {
                TDir(folder, listing);
            }
        }
    }

    // Records which folder `path` is; false when that folder is known under another text.
    bool registerIdentity(const fs::FileIdentity &identity, const std::string &path)
    {
        const auto [place, inserted] = m_knownFolders.try_emplace(identity, path);
        return inserted || place->second == path;
    }

    void reportUnreadable(const std::string &folder)
    {
        ++m_state.AccessErrorCount;
        m_observer.accessDenied(folder);
    }

    const SearchRequest &m_request;
    SearchState &m_state;
    SearchObserver &m_observer;
    std::vector<Line> m_lines;
    std::unordered_set<std::string> m_knownPaths;
    std::unordered_map<fs::FileIdentity, std::string, fs::FileIdentityHash> m_knownFolders;
};

} // namespace

std::vector<FolderLine> Ttest(const SearchRequest &request, SearchState &state, SearchObserver &observer)
{
    FolderCollector collector(request, state, observer);
    std::vector<FolderLine> result;
    for (auto &line : collector.collect())
        result.push_back(std::move(line));
    return result;
}

std::vector<std::string> finalFolderList(std::vector<FolderLine> lines)
{
    std::sort(lines.begin(), lines.end(),
        [](const FolderLine &a, const FolderLine &b) { return fs::collatesBefore(a.path, b.path); });
    std::vector<std::string> result;
    result.reserve(lines.size());
    for (FolderLine &line : lines) {
        if (line.skipped || (!result.empty() && result.back() == line.path))
            continue;
        result.push_back(std::move(line.path));
    }
    return result;
}

} // namespace kw::search
