#include "search/inventory.h"

#include "fs/path_text.h"
#include "fs/text_case.h"
#include "search/texts.h"

#include <algorithm>
#include <unordered_map>

namespace kw::search
{

std::string_view Inventory::nameOf(std::uint32_t line) const
{
    const InventoryFolder &folder = folderOf(line);
    const fs::ListedFile &listed = folder.files[files[line].index];
    return {folder.names.data() + listed.nameOffset, listed.nameLength};
}

std::string Inventory::pathOf(std::uint32_t line) const
{
    const std::string &folder = folderOf(line).path;
    const std::string_view name = nameOf(line);
    std::string path;
    path.reserve(folder.size() + name.size());
    path.append(folder).append(name);
    return path;
}

std::size_t Inventory::relativeStart(std::uint32_t line) const
{
    const std::string &top = tops[folderOf(line).top].text; // folder form: "/" alone ends in "/"
    return top.ends_with('/') ? top.size() : top.size() + 1;
}

std::pair<fs::Handle, std::size_t> Inventory::opener(std::uint32_t line) const
{
    const InventoryFolder &folder = folderOf(line);
    if (folder.opener == InventoryFolder::kNone)
        return {tops[folder.top].fd.get(), relativeStart(line)};
    const InventoryFolder &from = folders[folder.opener];
    return {from.handle.get(), from.path.size()};
}

std::uint32_t Inventory::addFolder(std::string path, std::uint32_t top)
{
    folders.push_back({std::move(path), top, {}, {}, {}, InventoryFolder::kNone});
    return static_cast<std::uint32_t>(folders.size() - 1);
}

void Inventory::addFile(std::uint32_t folder, std::string_view name, const fs::FileStamp &stamp, bool unreadable)
{
    InventoryFolder &into = folders[folder];
    fs::ListedFile file;
    file.nameOffset = static_cast<std::uint32_t>(into.names.size());
    file.nameLength = static_cast<std::uint16_t>(name.size());
    file.unreadable = unreadable;
    file.stamp = stamp;
    into.names.append(name);
    files.push_back({folder, static_cast<std::uint32_t>(into.files.size())});
    into.files.push_back(file);
}

std::vector<std::uint64_t> RzFileListBox1Change(
    const std::string &folder, const fs::FolderFiles &listing, SearchState &state, SearchObserver &observer)
{
    std::vector<std::uint64_t> sizes;
    if (state.InventoryRequested) {
        sizes.reserve(listing.files.size());
        std::vector<std::pair<std::uint32_t, std::error_code>> unreadable; // file, why
        auto reason = listing.unreadable.begin();
        for (std::uint32_t i = 0; i < listing.files.size(); ++i) {
            const fs::ListedFile &file = listing.files[i];
            if (!file.unreadable) {
                sizes.push_back(file.stamp.size);
                continue;
            }
            while (reason != listing.unreadable.end() && reason->file < i)
                ++reason;
            unreadable.emplace_back(i,
                reason != listing.unreadable.end() && reason->file == i
                    ? reason->reason
                    : std::make_error_code(std::errc::permission_denied));
            sizes.push_back(0);
        }
        // The folder's files are read in the order the disk keeps them, and reported in the
        // order of the sorted file list a user sees.
        std::sort(unreadable.begin(), unreadable.end(), [&](const auto &a, const auto &b) {
            return fs::collatesBefore(listing.nameOf(listing.files[a.first]), listing.nameOf(listing.files[b.first]));
        });
        for (const auto &[file, why] : unreadable) {
            observer.skipped(fs::joinPath(folder, listing.nameOf(listing.files[file])), why);
            ++state.AccessErrorCount;
        }
    }
    state.InventoryRequested = false;
    return sizes;
}

namespace
{

// Each folder's files are opened from the nearest kept handle at or above it: the kernel
// then looks up only the names below that folder. Only a folder of the same top folder
// will do, as the path from another would be looked up without the links a top folder may
// be reached through.
void chooseOpeners(Inventory &inventory)
{
    std::vector<InventoryFolder> &folders = inventory.folders;
    std::unordered_map<std::string_view, std::uint32_t> kept;
    for (std::uint32_t i = 0; i < folders.size(); ++i) {
        if (folders[i].handle.valid())
            kept.emplace(folders[i].path, i);
    }
    std::vector<std::size_t> topLength;
    for (const TopFolder &top : inventory.tops)
        topLength.push_back(fs::entryForm(top.text).size());
    for (InventoryFolder &folder : folders) {
        if (folder.files.empty())
            continue;
        const std::size_t start = topLength[folder.top];
        for (std::string_view above = folder.path; above.size() >= start;) {
            const auto found = kept.find(above);
            if (found != kept.end() && folders[found->second].top == folder.top) {
                folder.opener = found->second;
                break;
            }
            if (above.size() < 2)
                break;
            above = above.substr(0, above.rfind('/', above.size() - 2) + 1);
        }
    }
}

} // namespace

Inventory takeInventory(
    std::vector<TopFolder> tops, std::vector<FolderLine> folders, SearchState &state, SearchObserver &observer)
{
    Inventory inventory;
    inventory.tops = std::move(tops);
    inventory.folders.reserve(folders.size());
    std::size_t total = 0;
    for (const FolderLine &line : folders)
        total += line.files ? line.files->files.size() : 0;
    inventory.files.reserve(total);
    for (FolderLine &line : folders) {
        const auto folderIndex = static_cast<std::uint32_t>(inventory.folders.size());
        const std::string folder = fs::folderForm(line.path);
        observer.folderListed(folder);
        fs::FolderFiles listed = line.files ? std::move(*line.files) : fs::FolderFiles {};
        line.files.reset();
        state.InventoryRequested = true;
        const std::vector<std::uint64_t> sizes = RzFileListBox1Change(folder, listed, state, observer);
        const std::string path = line.path;
        inventory.folders.push_back({std::move(line.path), line.top, std::move(listed.names), std::move(listed.files),
            std::move(listed.handle), InventoryFolder::kNone});
        for (std::size_t j = 0; j < sizes.size(); ++j) {
            inventory.files.push_back({folderIndex, static_cast<std::uint32_t>(j)});
            observer.filesFound(inventory.files.size());
        }
        for (const fs::SkippedName &name : listed.unlistableFiles) {
            ++state.AccessErrorCount;
            observer.skipped(fs::joinPath(path, name.name), name.reason);
        }
    }
    chooseOpeners(inventory);
    state.FileCountText = decimal(inventory.files.size());
    return inventory;
}

} // namespace kw::search
