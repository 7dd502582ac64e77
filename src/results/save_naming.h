// The names and titles the save dialog proposes.
#pragma once

#include "results/save_dialog_state.h"
#include "search/state.h"

#include <string>
#include <string_view>

namespace kw::results
{

inline constexpr std::string_view kDeletionLogTitle = "Liste der gelöschten Duplikate Speichern";
inline constexpr std::string_view kLinkLogTitle = "Liste der ersetzten Duplikate Speichern";

// Today's date in the short date format with "." replaced by "-" (08.12.26 → 08-12-26). Every
// other character that cannot stand in a file name ("/" of 12/8/26 among them) becomes "-"
// too, or the proposed name would turn into folders.
std::string dateStamp(std::string_view shortDate);

// A deletion run prepares the log's title and name; filter and extension stay as they are.
void prepareDeletionLog(SaveDialogState &dialog, std::string_view stamp);

// The same for the log of duplicates replaced by links.
void prepareLinkLog(SaveDialogState &dialog, std::string_view stamp);

// Whether the dialog is named for one of the two logs.
bool deletionLogPrepared(const SaveDialogState &dialog);

enum class SaveKind {
    PlainList, // the result list as a text file
    RichDocument, // the formatted list or the deletion log as RTF
};

// Sets title, proposed name, filter entry and default extension for a save command and the
// list kind; saving the formatted document while a deletion log's naming is prepared keeps
// that naming.
void prepareSave(SaveDialogState &dialog, SaveKind kind, search::ListKind listKind, std::string_view stamp);

} // namespace kw::results
