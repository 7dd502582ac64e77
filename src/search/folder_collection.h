// The first phase of a search: which folders to list files in.
#pragma once

#include "search/observer.h"
#include "search/request.h"
#include "search/state.h"

#include <string>
#include <vector>

namespace kw::search
{

// One line of the folder list as the collection leaves it, before the final de-duplication.
struct FolderLine {
    std::string path; // entry form: ends in exactly one "/"
    // The line is counted but not searched: the folder is already in the list under another
    // path text (a bind mount, a linked top folder), could not be entered, or is a kernel
    // file system.
    bool skipped = false;
};

// Collects the top folders (the active marked folders in list order, then the start folder
// unless the list holds it) and, with the subfolder option, every folder below them,
// breadth first. A folder that cannot be entered is reported, counted and skipped. Hidden
// folders and links found inside a tree are never entered; a top folder the user names is,
// whatever its name, and keeps the path text the user gave. Reports "N Ordner gefunden"
// counts as it goes.
std::vector<FolderLine> Ttest(const SearchRequest &request, SearchState &state, SearchObserver &observer);

// The final de-duplication: the searchable lines in collation order (lower case, then exact),
// each path once.
std::vector<std::string> finalFolderList(std::vector<FolderLine> lines);

} // namespace kw::search
