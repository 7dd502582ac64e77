#include "search/inventory.h"

#include "fs/path_text.h"
#include "search/texts.h"

namespace kw::search
{

std::vector<std::string> RzFileListBox1Change(
    const std::string &folder, const fs::FileListing &listing, SearchState &state, SearchObserver &observer)
{
    std::vector<std::string> sizes;
    if (state.InventoryRequested) {
        sizes.reserve(listing.files.size());
        for (const fs::FileEntry &file : listing.files) {
            if (file.readable) {
                sizes.push_back(decimal(file.size));
            } else {
                observer.accessDenied(fs::joinPath(folder, file.name));
                ++state.AccessErrorCount;
                sizes.emplace_back("0");
            }
        }
    }
    state.InventoryRequested = false;
    return sizes;
}

std::vector<InventoryLine> takeInventory(
    const std::vector<std::string> &folders, const fs::FileMask &mask, SearchState &state, SearchObserver &observer)
{
    std::vector<InventoryLine> inventory;
    for (const std::string &entry : folders) {
        const std::string folder = fs::folderForm(entry);
        observer.folderListed(folder);
        const fs::FileListing listing = fs::listFiles(folder, mask);
        if (listing.error) { // vanished or locked since the folders were collected
            ++state.AccessErrorCount;
            observer.accessDenied(folder);
            continue;
        }
        state.InventoryRequested = true;
        const std::vector<std::string> sizes = RzFileListBox1Change(folder, listing, state, observer);
        for (std::size_t j = 0; j < sizes.size(); ++j) {
            const fs::FileEntry &file = listing.files[j];
            inventory.push_back({sizes[j], fs::joinPath(entry, file.name), file.size, !file.readable});
            observer.filesFound(inventory.size());
        }
        for (const std::string &name : listing.unlistable) {
            ++state.AccessErrorCount;
            observer.nameSkipped(fs::joinPath(entry, name));
        }
    }
    state.FileCountText = decimal(inventory.size());
    return inventory;
}

} // namespace kw::search
