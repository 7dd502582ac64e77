// What a search reads from the main window when it starts.
#pragma once

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

struct SearchRequest {
    std::string startFolder; // folder form: no trailing "/" except the root
    std::vector<MarkedFolder> markedFolders; // in list order
    bool includeSubfolders = false;
    std::string filter = "*.*";
};

} // namespace kw::search
