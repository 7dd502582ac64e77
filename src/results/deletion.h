// A deletion run over the result list: which files to move to the trash, what the user is
// asked first, and how the list is reconciled with what is really gone afterwards.
#pragma once

#include "results/formatted_document.h"
#include "results/marking.h"
#include "results/trash_run.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::results
{

// What the confirmation says: how many files go, and in how many blocks every copy is marked.
struct DeletionQuestion {
    std::size_t files = 0;
    std::size_t wholeBlocks = 0; // blocks of which no line stays unmarked
    std::string text; // German, lines separated by carriage returns
};
DeletionQuestion deletionQuestion(const Lines &lines, const Marks &marks);

// Walks the list from the top: a marked, non-empty line that no longer names an existing
// file is removed (and its mark with it). Returns the removed lines in list order; lines
// whose files still exist keep their place and their mark.
std::vector<std::string> reconcileAfterDeletion(
    Lines &lines, Marks &marks, const std::function<bool(const std::string &)> &exists);

// The deletion log: "Gelöschte Datei-Duplikate", the date line, an empty paragraph, the
// removed lines, and the footer.
FormattedDocument deletionLog(const std::vector<std::string> &removed, std::string_view date, std::string_view time);

// Why a file was not moved, and where it lies when it could not be put back.
std::string outcomeReason(const TrashOutcome &outcome);

// The message after a run in which some files could not be moved: each with its reason.
std::string notMovedText(const std::vector<TrashOutcome> &failures);

} // namespace kw::results
