// What a search reads from the main window (or the command line) when it starts.
#pragma once

#include "fs/listing.h"

#include <string>
#include <vector>

namespace kw::search
{

// One entry of the marked-folder list.
struct MarkedFolder {
    std::string path; // absolute, ending in exactly one "/" ("/home/u/Fotos/", "/")
    bool active = true; // only active entries are searched
    friend bool operator==(const MarkedFolder &, const MarkedFolder &) = default;
};

// What the command line can narrow a search to; each is off by default, and then the search
// is the one the main window starts.
struct SearchFilters {
    fs::SizeLimits sizes; // files outside are not listed at all
    std::vector<std::string> excluded; // name patterns in the filter's syntax: not listed, not entered
    bool oneLink = false; // one path of each file (device and inode) in a block
};

struct SearchRequest {
    std::string startFolder; // folder form: no trailing "/" except the root
    std::vector<MarkedFolder> markedFolders; // in list order
    bool includeSubfolders = false;
    std::string filter = "*.*";
    SearchFilters filters;
};

} // namespace kw::search
