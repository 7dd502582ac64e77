#include "shell/marked_folders.h"

#include "fs/path_text.h"

namespace kw::shell
{
namespace
{

// S\: the start folder followed by "/", or the root itself.
std::string withSlash(std::string_view start)
{
    return fs::entryForm(start);
}

} // namespace

bool equalsStartFolder(std::string_view entry, std::string_view start)
{
    return entry == start || entry == withSlash(start);
}

bool liesInsideStartFolder(std::string_view entry, std::string_view start)
{
    const std::string base = withSlash(start);
    return entry.size() > base.size() && entry.starts_with(base);
}

bool containsStartFolder(std::string_view entry, std::string_view start)
{
    return withSlash(start).starts_with(entry) && !equalsStartFolder(entry, start);
}

void MarkedFolders::OrdnerEinfgen1Click(std::string_view start, bool subfolders)
{
    for (MarkedEntry &entry : entries)
        entry.icon = FolderIcon::Closed;
    std::optional<std::size_t> hit;
    for (std::size_t i = 0; i < entries.size() && !hit; ++i) {
        MarkedEntry &entry = entries[i];
        if (equalsStartFolder(entry.path, start) || liesInsideStartFolder(entry.path, start)) {
            entry.path = withSlash(start);
            entry.icon = FolderIcon::Open;
            hit = i;
        } else if (subfolders && start.size() > entry.path.size() && start.starts_with(entry.path)) {
            hit = i; // a folder above the start folder covers it already
        }
    }
    if (hit) {
        // What follows the hit and is now covered by it, or equal to it, goes.
        const std::string kept = entries[*hit].path;
        for (std::size_t i = *hit + 1; i < entries.size();) {
            const std::string &path = entries[i].path;
            const bool covered = subfolders && (equalsStartFolder(path, start) || liesInsideStartFolder(path, start));
            if (covered || path == kept) {
                entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
                if (selected && *selected >= i)
                    selected = *selected == i ? std::nullopt : std::optional<std::size_t>(*selected - 1);
            } else {
                ++i;
            }
        }
    } else {
        if (!addSuppressed)
            entries.push_back({withSlash(start), true, FolderIcon::Closed});
        if (!entries.empty()) {
            MarkedEntry &last = entries.back();
            last.active = true;
            if (equalsStartFolder(last.path, start))
                last.icon = FolderIcon::Open;
        }
    }
    addSuppressed = false;
}

void MarkedFolders::CheckBox1Click(std::string_view start, bool subfolders)
{
    addSuppressed = !subfolders;
    OrdnerEinfgen1Click(start, subfolders);
}

void MarkedFolders::OrdnerLschen1Click()
{
    if (!selected || *selected >= entries.size())
        return;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(*selected));
    selected.reset();
}

void MarkedFolders::RzDirectoryListBox1Change(std::string_view start)
{
    for (MarkedEntry &entry : entries)
        entry.icon = equalsStartFolder(entry.path, start) ? FolderIcon::Open : FolderIcon::Closed;
}

Overview MarkedFolders::Ordnerliste(std::string_view start, bool subfolders) const
{
    Overview overview;
    bool deactivated = false;
    for (const MarkedEntry &entry : entries) {
        if (entry.active) {
            ++overview.activeCount;
            ++overview.effectiveCount;
            if (equalsStartFolder(entry.path, start)) {
                overview.state = StartFolderState::Marked;
                --overview.effectiveCount;
            }
            if (subfolders && containsStartFolder(entry.path, start)) {
                overview.state = StartFolderState::ParentMarked;
                --overview.effectiveCount;
            }
            if (subfolders && liesInsideStartFolder(entry.path, start)) {
                overview.state = StartFolderState::ChildrenMarked;
                --overview.effectiveCount;
            }
        } else if (equalsStartFolder(entry.path, start)) {
            --overview.effectiveCount; // the start folder is deactivated in the list
            deactivated = true;
        }
    }
    // The greyed look follows the deactivated start folder even when other entries keep a
    // search possible; the button follows the count alone.
    overview.startFolderGreyed = deactivated || overview.effectiveCount == 0;
    overview.startEnabled = overview.effectiveCount > 0;
    if (overview.startFolderGreyed) {
        overview.startFolderHint = "Startordner@(in Liste deaktiviert!)";
    } else {
        switch (overview.state) {
        case StartFolderState::None:
            overview.startFolderHint = "Startordner";
            break;
        case StartFolderState::Marked:
            overview.startFolderHint = "Startordner@(Vorgemerkt)";
            break;
        case StartFolderState::ParentMarked:
            overview.startFolderHint = "Startordner@(Die Liste enthält einen übergeordneten Ordner!)";
            break;
        case StartFolderState::ChildrenMarked:
            overview.startFolderHint = "Startordner@(Die Liste enthält untergeordnete Ordner!)";
            break;
        }
    }
    if (listShown || entries.empty()) {
        overview.labelCaption = "&Ordner";
    } else {
        overview.labelCaption = "&Ordner (" + std::to_string(overview.effectiveCount) + " - "
            + std::to_string(overview.activeCount) + "/" + std::to_string(entries.size()) + " Vorgemerkt)";
    }
    return overview;
}

std::string MarkedFolders::listHint() const
{
    if (!selected || *selected >= entries.size())
        return "Vorgemerkte Ordner";
    const MarkedEntry &entry = entries[*selected];
    return std::string(entry.active ? "Vorgemerkte Ordner@aktiv - " : "Vorgemerkte Ordner@inaktiv - ") + entry.path;
}

std::vector<search::MarkedFolder> MarkedFolders::searchEntries() const
{
    std::vector<search::MarkedFolder> result;
    result.reserve(entries.size());
    for (const MarkedEntry &entry : entries)
        result.push_back({entry.path, entry.active});
    return result;
}

} // namespace kw::shell
