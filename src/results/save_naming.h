// The names and titles the save dialog proposes.
#pragma once

#include "results/save_dialog_state.h"
#include "search/state.h"

#include <string>
#include <string_view>

namespace kw::results
{

inline constexpr std::string_view kDeletionLogTitle = "Liste der gelöschten Duplikate Speichern";

// Today's date in the short date format with "." replaced by "-" (08.12.26 → 08-12-26). Every
// other character that cannot stand in a file name ("/" of 12/8/26 among them) becomes "-"
// too, or the proposed name would turn into folders.
std::string dateStamp(std::string_view shortDate);

// A deletion run prepares the log's title and name; filter and extension stay as they are.
void prepareDeletionLog(SaveDialogState &dialog, std::string_view stamp);

} // namespace kw::results
