// What a search notes of every file it lists, so that the file can be recognised before it
// is trashed: the top folder it was reached from and the state it was compared in.
#pragma once

#include "fs/file_stamp.h"

#include <cstdint>
#include <mutex>
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

class SearchRecords
{
public:
    std::vector<SearchedTop> tops;

    void add(std::string path, const FoundFile &file);
    // The record of a path as the result list holds it; the first one where a path was
    // added twice.
    const FoundFile *find(const std::string &path) const;

private:
    // A search's records are noted while the user waits for the result, and most lists are
    // never deleted from: the index is made when the first path is looked up.
    std::vector<std::string> m_paths;
    std::vector<FoundFile> m_files; // of m_paths[i]
    mutable std::once_flag m_indexed;
    mutable std::unordered_map<std::string_view, std::size_t> m_index;
};

} // namespace kw::search
