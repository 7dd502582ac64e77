// The first phase of a search: which folders to list files in. Each folder is listed once,
// by its handle, and what it holds is kept for the inventory.
#pragma once

#include "fs/credentials.h"
#include "fs/file_access.h"
#include "fs/handle_budget.h"
#include "fs/listing.h"
#include "fs/mask.h"
#include "search/observer.h"
#include "search/request.h"
#include "search/state.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kw::search
{

// A folder the user named (a marked folder or the start folder) as the search entered it.
// Everything below it is opened from its handle, never again from a path text, so that a
// link swapped in on the way cannot lead the search elsewhere.
struct TopFolder {
    std::string text; // folder form, as the user gave it
    fs::OwnedHandle fd;
    fs::FileIdentity identity;
};

// One line of the folder list.
struct FolderLine {
    std::string path; // entry form: ends in exactly one "/"
    std::uint32_t top = 0; // the top folder it lies in (index)
    // The line is counted but not searched: the folder is already in the list under another
    // path text (a bind mount, a linked top folder), could not be entered, or is a kernel
    // file system.
    bool skipped = false;
    std::optional<std::uint64_t> parentDevice; // the device of the folder it was found in
    std::unique_ptr<fs::FolderFiles> files; // what it holds, once listed and searched
};

struct CollectedFolders {
    std::vector<TopFolder> tops;
    std::vector<FolderLine> lines; // in the order collected
};

// What every listing of one search reads; shared by all its threads, changed by none.
struct ListingSettings {
    fs::FileMask mask;
    std::optional<fs::FileMask> excluded;
    fs::SizeLimits sizes;
    fs::Credentials credentials;
    unsigned threads = 1;
    const std::atomic<bool> *cancel = nullptr;
    // Folders with files keep the handle they were listed by while this lasts.
    fs::HandleBudget *folderHandles = nullptr;
};

// The path of a line below its top folder ("" for the top folder itself).
std::string relativeToTop(const FolderLine &line, const TopFolder &top);

// Collects the top folders (the active marked folders in list order, then the start folder
// unless the list holds it) and, with the subfolder option, every folder below them,
// breadth first, listing each folder's files on the way. A folder that cannot be entered is
// reported, counted and skipped. Hidden folders and links found inside a tree are never
// entered; a top folder the user names is, whatever its name, and keeps the path text the
// user gave. Reports "N Ordner gefunden" counts as it goes.
CollectedFolders Ttest(
    const SearchRequest &request, const ListingSettings &settings, SearchState &state, SearchObserver &observer);

// The final de-duplication: the searchable lines in collation order (lower case, then exact),
// each path once.
std::vector<FolderLine> finalFolderList(std::vector<FolderLine> lines);

} // namespace kw::search
