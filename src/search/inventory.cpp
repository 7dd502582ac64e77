#include "search/inventory.h"

#include "fs/path_text.h"
#include "search/texts.h"

namespace kw::search
{

std::string Inventory::pathOf(const InventoryFile &file) const
{
    const std::string &folder = folders[file.folder].path;
    std::string path;
    path.reserve(folder.size() + file.nameLength);
    path.append(folder).append(nameOf(file));
    return path;
}

std::size_t Inventory::relativeStart(const InventoryFile &file) const
{
    return fs::entryForm(tops[folders[file.folder].top].text).size();
}

std::vector<std::uint64_t> RzFileListBox1Change(
    const std::string &folder, const fs::FolderListing &listing, SearchState &state, SearchObserver &observer)
{
    std::vector<std::uint64_t> sizes;
    if (state.InventoryRequested) {
        sizes.reserve(listing.files.size());
        auto reason = listing.unreadable.begin();
        for (std::uint32_t i = 0; i < listing.files.size(); ++i) {
            const fs::ListedFile &file = listing.files[i];
            if (!file.unreadable) {
                sizes.push_back(file.stamp.size);
                continue;
            }
            while (reason != listing.unreadable.end() && reason->file < i)
                ++reason;
            const std::error_code why = reason != listing.unreadable.end() && reason->file == i
                ? reason->reason
                : std::make_error_code(std::errc::permission_denied);
            observer.skipped(fs::joinPath(folder, listing.nameOf(file)), why);
            ++state.AccessErrorCount;
            sizes.push_back(0);
        }
    }
    state.InventoryRequested = false;
    return sizes;
}

Inventory takeInventory(
    std::vector<TopFolder> tops, std::vector<FolderLine> folders, SearchState &state, SearchObserver &observer)
{
    Inventory inventory;
    inventory.tops = std::move(tops);
    inventory.folders.reserve(folders.size());
    for (FolderLine &line : folders) {
        const auto folderIndex = static_cast<std::uint32_t>(inventory.folders.size());
        inventory.folders.push_back({line.path, line.top});
        const std::string folder = fs::folderForm(line.path);
        observer.folderListed(folder);
        fs::FolderListing listing = std::move(line.listing);
        state.InventoryRequested = true;
        const std::vector<std::uint64_t> sizes = RzFileListBox1Change(folder, listing, state, observer);
        for (std::size_t j = 0; j < sizes.size(); ++j) {
            const fs::ListedFile &listed = listing.files[j];
            InventoryFile file;
            file.folder = folderIndex;
            file.nameOffset = static_cast<std::uint32_t>(inventory.names.size());
            file.nameLength = listed.nameLength;
            file.unreadable = listed.unreadable;
            file.stamp = listed.stamp;
            inventory.names.append(listing.nameOf(listed));
            inventory.files.push_back(file);
            observer.filesFound(inventory.files.size());
        }
        for (const fs::SkippedName &name : listing.unlistableFiles) {
            ++state.AccessErrorCount;
            observer.skipped(fs::joinPath(line.path, name.name), name.reason);
        }
    }
    state.FileCountText = decimal(inventory.files.size());
    return inventory;
}

} // namespace kw::search
