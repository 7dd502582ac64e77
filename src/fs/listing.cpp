#include "fs/listing.h"

#include "fs/failure.h"

namespace kw::fs
{

std::error_code unlistableReason(std::string_view name)
{
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return Failure::LineBreakInName;
    if (name.find('\x1a') != std::string_view::npos)
        return Failure::EndOfTextInName;
    return {};
}

FolderFiles takeFiles(FolderListing &&listing)
{
    FolderFiles files {std::move(listing.names), std::move(listing.files), std::move(listing.unreadable),
        std::move(listing.unlistableFiles), std::move(listing.handle)};
    files.names.shrink_to_fit();
    files.files.shrink_to_fit();
    return files;
}

} // namespace kw::fs
