#include "results/found_again.h"

#include "fs/failure.h"
#include "fs/path_text.h"

#include <algorithm>
#include <cerrno>

namespace kw::results
{

fs::EntryResult findAgain(const std::string &path, const search::SearchRecords *records)
{
    const search::FoundFile *found = records != nullptr ? records->find(path) : nullptr;
    if (found == nullptr)
        return fs::findEntry(path);
    const search::SearchedTop &top = records->tops[found->top];
    const fs::Opened folder = fs::openFolder(top.text);
    if (folder.error)
        return {fs::Entry {}, folder.error};
    const fs::Status status = fs::statusOf(folder.fd.get());
    if (status.error)
        return {fs::Entry {}, status.error};
    if (status.identity() != top.identity)
        return {fs::Entry {}, fs::Failure::TopFolderChanged};
    const std::size_t start = fs::entryForm(top.text).size();
    return fs::findEntryBelow(folder.fd.get(), std::string_view(path).substr(std::min(start, path.size())), path);
}

std::error_code asSearched(const fs::Entry &entry, const search::FoundFile *found)
{
    if (!entry.isRegularFile())
        return fs::Failure::NotARegularFile;
    if (found == nullptr)
        return {};
    const fs::FileStamp now = entry.status.stamp();
    if (now.identity != found->stamp.identity || now.size != found->stamp.size || now.modified != found->stamp.modified)
        return fs::Failure::NotTheSearchedFile;
    return {};
}

std::error_code readFirstBlock(const fs::Entry &file, std::string &block)
{
    const fs::Opened opened = fs::openEntryForReading(file);
    if (opened.error)
        return opened.error;
    block.resize(kFirstBlock);
    const std::ptrdiff_t n = fs::readAt(opened.fd.get(), block.data(), block.size(), 0);
    if (n < 0)
        return {errno, std::generic_category()};
    block.resize(static_cast<std::size_t>(n));
    return {};
}

} // namespace kw::results
