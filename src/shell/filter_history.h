// The filter history: the item list of the filter combo box, most recent first.
#pragma once

#include <string>
#include <vector>

namespace kw::shell
{

// The filters the combo box offers before any history exists.
const std::vector<std::string> &builtInFilters();

// A search moves the filter it uses to the front: inserted first, then the first later entry
// equal to it (exact, case-sensitive) removed; at most one removal, no length limit.
void recordFilterUse(std::vector<std::string> &history, const std::string &filter);

// At close the text is inserted at the front and every later equal entry removed; what is
// stored are the first eight entries, up to the first empty one.
std::vector<std::string> historyToStore(std::vector<std::string> history, const std::string &text);

} // namespace kw::shell
