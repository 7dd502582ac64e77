// The second phase: one line per matching file of every folder, with its size.
#pragma once

#include "fs/listing.h"
#include "fs/mask.h"
#include "search/observer.h"
#include "search/state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kw::search
{

// One line of the inventory list: the size key, and the full path.
struct InventoryLine {
    std::string key; // the size in decimal, full 64 bits; "0" for a file that cannot be read
    std::string path;
    std::uint64_t size = 0; // the size the listing found, also for an unreadable file
    bool unreadable = false; // could not be opened: equal to no other file
};

// The folder size list of one folder: one size key per listed file, in listing order.
// Built only while `InventoryRequested` is set, which it clears in any case. A file that
// cannot be opened for reading is reported, counted in `AccessErrorCount` and gets "0".
std::vector<std::string> RzFileListBox1Change(
    const std::string &folder, const fs::FileListing &listing, SearchState &state, SearchObserver &observer);

// Lists every folder of the folder list (entry form, in order) with the mask and returns the
// inventory lines in the order found; the size grouping sorts them. Sets `FileCountText`.
std::vector<InventoryLine> takeInventory(
    const std::vector<std::string> &folders, const fs::FileMask &mask, SearchState &state, SearchObserver &observer);

} // namespace kw::search
