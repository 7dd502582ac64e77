// The marked-folder list: further folders to search beside the start folder, each active or
// not, and what follows from them for the main window: which entry shows the open folder,
// the hints and colours of the start folder view, the counts over the list and whether a
// search can start.
#pragma once

#include "search/request.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::shell
{

// How an entry's path P (ending in "/") relates to the start folder S (folder form). All
// comparisons are exact.
bool equalsStartFolder(std::string_view entry, std::string_view start); // P = S or S + "/"
bool liesInsideStartFolder(std::string_view entry, std::string_view start); // below S
bool containsStartFolder(std::string_view entry, std::string_view start); // above S

enum class FolderIcon {
    Closed = 0, // any other entry
    Open = 1, // the entry equals the start folder
    Prohibited = 2, // in the image list, unused
};

struct MarkedEntry {
    std::string path; // ends in exactly one "/"
    bool active = true;
    FolderIcon icon = FolderIcon::Closed;
    friend bool operator==(const MarkedEntry &, const MarkedEntry &) = default;
};

// How the start folder relates to the active entries; the last entry that matches decides.
enum class StartFolderState {
    None = 0,
    Marked = 1, // an active entry equals it
    ParentMarked = 2, // an active entry contains it
    ChildrenMarked = 3, // active entries lie inside it
};

// What the refresh works out for the window.
struct Overview {
    std::size_t activeCount = 0;
    long effectiveCount = 1; // folders to search as the label reports them
    StartFolderState state = StartFolderState::None;
    bool startEnabled = true; // the Start button
    bool startFolderGreyed = false; // the start folder is deactivated in the list, or nothing is left
    std::string startFolderHint; // with "@" for line breaks
    std::string labelCaption; // of the label above the two views
};

class MarkedFolders
{
public:
    std::vector<MarkedEntry> entries;
    std::optional<std::size_t> selected; // one entry at most
    bool listShown = false; // the list, not the start folder view, is visible
    bool addSuppressed = false; // the next insert does not append the start folder
    bool driveChangeSuppressed = false; // the next drive change does not switch the view

    // "Ordner &Einfügen": merges the start folder into the list. A hit (an entry equal to or
    // inside the start folder, which becomes the start folder; or with subfolders an entry
    // above it) appends nothing; after a hit with subfolders the entries that follow it and
    // equal the start folder or lie inside it go, and entries the rewrite made equal are
    // merged; the hit keeps its own active flag. Without a hit the start folder is appended, unless
    // suppressed, and the last entry is made active.
    void OrdnerEinfgen1Click(std::string_view start, bool subfolders);
    // The subfolder option changed: the insert, appending only when the option is now on.
    void CheckBox1Click(std::string_view start, bool subfolders);
    // "Ordner Lös&chen": removes the selected entry.
    void OrdnerLschen1Click();
    // The start folder changed: the entries equal to it show the open folder.
    void RzDirectoryListBox1Change(std::string_view start);

    // The refresh, `Ordnerliste`.
    Overview Ordnerliste(std::string_view start, bool subfolders) const;

    // The list's hint for the selected entry.
    std::string listHint() const;

    std::vector<search::MarkedFolder> searchEntries() const;
};

} // namespace kw::shell
