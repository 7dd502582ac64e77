// What a search notes of every file it lists, so that the file can be recognised before it
// is trashed: the top folder it was reached from and the state it was compared in.
#pragma once

#include "fs/file_stamp.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kw::search
{

struct SearchedTop {
    std::string text; // folder form, as the user gave it
    fs::FileIdentity identity; // the folder that was searched under that text
};

struct FoundFile {
    std::uint32_t top = 0; // index into SearchRecords::tops
    fs::FileStamp stamp; // as listed and compared
};

struct SearchRecords {
    std::vector<SearchedTop> tops;
    std::unordered_map<std::string, FoundFile> files; // by path, as the result list holds it

    const FoundFile *find(const std::string &path) const
    {
        const auto found = files.find(path);
        return found == files.end() ? nullptr : &found->second;
    }
};

} // namespace kw::search
