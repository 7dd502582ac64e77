// Inventories made by hand, for the phases after the listing.
#pragma once

#include "search/inventory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kw::test
{

// The files `relative` (below `root`) as the listing would take them, in this order, each
// with the stamp it has now; `root` is their one top folder.
search::Inventory inventoryOf(const std::string &root, const std::vector<std::string> &relative);

// Files of the given names and sizes in the folder "/", for grouping alone: nothing is
// behind them on disk.
search::Inventory inventoryOfSizes(const std::vector<std::pair<std::string, std::uint64_t>> &files);

} // namespace kw::test
