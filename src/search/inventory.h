// The second phase: one entry per matching file of every folder, with its size. The files
// are kept compactly (a folder table, one arena of names, sizes as integers); a full path is
// built only where one is shown or opened.
#pragma once

#include "fs/file_stamp.h"
#include "fs/listing.h"
#include "search/folder_collection.h"
#include "search/observer.h"
#include "search/state.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kw::search
{

// A folder of the folder list and the files it holds. The files are kept as the listing
// gave them; no path is put together until one is shown or opened.
struct InventoryFolder {
    static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

    std::string path; // entry form
    std::uint32_t top = 0;
    std::string names; // the files' names, one after the other
    std::vector<fs::ListedFile> files;
    fs::OwnedHandle handle; // the one it was listed by, where the search kept it
    // The folder whose handle its files are opened from: itself, or the nearest one above it
    // in the same top folder that kept its handle; kNone for the top folder's handle.
    std::uint32_t opener = kNone;
};

// Where one line of the inventory lies: a folder and a file of it.
struct FileRef {
    std::uint32_t folder = 0;
    std::uint32_t index = 0;
};

struct Inventory {
    std::vector<TopFolder> tops;
    std::vector<InventoryFolder> folders; // the folder list, in its final order
    std::vector<FileRef> files; // the inventory's lines, in the order found

    std::size_t size() const { return files.size(); }
    const InventoryFolder &folderOf(std::uint32_t line) const { return folders[files[line].folder]; }
    const fs::ListedFile &file(std::uint32_t line) const { return folderOf(line).files[files[line].index]; }
    // The size key: the size in bytes, full 64 bits; 0 for a file that cannot be read.
    std::uint64_t key(std::uint32_t line) const
    {
        const fs::ListedFile &listed = file(line);
        return listed.unreadable ? 0 : listed.stamp.size;
    }
    std::string_view nameOf(std::uint32_t line) const;
    std::string pathOf(std::uint32_t line) const;
    // Where the part of the path below the file's top folder starts.
    std::size_t relativeStart(std::uint32_t line) const;
    // The handle to open the file from, and where the part of its path below it starts.
    std::pair<fs::Handle, std::size_t> opener(std::uint32_t line) const;

    // For building an inventory by hand.
    std::uint32_t addFolder(std::string path, std::uint32_t top);
    void addFile(std::uint32_t folder, std::string_view name, const fs::FileStamp &stamp, bool unreadable);
};

// The folder size list of one folder: one size key per listed file, in listing order.
// Built only while `InventoryRequested` is set, which it clears in any case. A file that
// cannot be read is reported, counted in `AccessErrorCount` and gets 0.
std::vector<std::uint64_t> RzFileListBox1Change(
    const std::string &folder, const fs::FolderFiles &listing, SearchState &state, SearchObserver &observer);

// Takes the files of every folder of the final folder list, in order, into the inventory.
// Sets `FileCountText`.
Inventory takeInventory(
    std::vector<TopFolder> tops, std::vector<FolderLine> folders, SearchState &state, SearchObserver &observer);

} // namespace kw::search
