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
#include <string>
#include <string_view>
#include <vector>

namespace kw::search
{

struct InventoryFolder {
    std::string path; // entry form
    std::uint32_t top = 0;
};

// One line of the inventory: its size key, and where its path comes from.
struct InventoryFile {
    std::uint32_t folder = 0; // into Inventory::folders
    std::uint32_t nameOffset = 0; // into Inventory::names
    std::uint16_t nameLength = 0;
    bool unreadable = false; // could not be read: size key 0, equal to no other file
    fs::FileStamp stamp; // as listed

    // The size key: the size in bytes, full 64 bits; 0 for a file that cannot be read.
    std::uint64_t key() const { return unreadable ? 0 : stamp.size; }
};

struct Inventory {
    std::vector<TopFolder> tops;
    std::vector<InventoryFolder> folders; // the folder list, in its final order
    std::string names;
    std::vector<InventoryFile> files; // in the order found

    std::string_view nameOf(const InventoryFile &file) const
    {
        return {names.data() + file.nameOffset, file.nameLength};
    }
    std::string pathOf(const InventoryFile &file) const;
    // Where the part of the path below the file's top folder starts.
    std::size_t relativeStart(const InventoryFile &file) const;
};

// The folder size list of one folder: one size key per listed file, in listing order.
// Built only while `InventoryRequested` is set, which it clears in any case. A file that
// cannot be read is reported, counted in `AccessErrorCount` and gets 0.
std::vector<std::uint64_t> RzFileListBox1Change(
    const std::string &folder, const fs::FolderListing &listing, SearchState &state, SearchObserver &observer);

// Takes the files of every folder of the final folder list, in order, into the inventory.
// Sets `FileCountText`.
Inventory takeInventory(
    std::vector<TopFolder> tops, std::vector<FolderLine> folders, SearchState &state, SearchObserver &observer);

} // namespace kw::search
