// Moving files of the result list to the trash, for the result window and the command line
// alike: each file is checked once more just before it goes, and what fails stays, with the
// reason.
#pragma once

#include "fs/entry.h"
#include "fs/trash.h"
#include "results/marking.h"
#include "search/records.h"

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kw::results
{

// One file to move, and the files of its block that stay.
struct TrashRequest {
    std::string path; // absolute
    std::vector<std::string> keptCopies; // in block order
    bool everyCopyConfirmed = false; // the user agreed that no copy of the block stays
};

// The requests for the marked lines of a list, top to bottom: relative lines are taken from
// `currentFolder`, and the unmarked lines of a block are its kept copies. A block whose
// every line is marked goes only with `wholeBlocksConfirmed`; without it its files are
// requested with no kept copy, and the check refuses them.
std::vector<TrashRequest> trashRequests(
    const Lines &lines, const Marks &marks, std::string_view currentFolder, bool wholeBlocksConfirmed);

struct CheckedFile {
    fs::Entry entry;
    std::error_code error; // why it must stay; empty: it may go
    std::string keptCopy; // the copy found equal, which must still be there after the move
    std::string keptStart; // its first block as it was then
};

// The checks before a file goes. It is found again without following a link below the
// folder the user named (when the search's records know it, that folder must be the one
// searched, and the file must still have the identity, size and modification time it was
// compared with) and must be a regular file. Unless every copy goes, a copy that stays must
// still exist, be another directory entry than this one, and hold the same bytes.
CheckedFile checkBeforeTrash(const TrashRequest &request, const search::SearchRecords *records);

struct TrashOutcome {
    std::string path;
    std::error_code error; // empty: moved to the trash
    std::string strandedAt; // with Failure::StrandedInTrash: where it lies now
};

// Checks one file, moves it, and checks the outcome: where the copy that stays went with it
// (one file under two names: a case-insensitive volume, a FUSE view of a searched folder),
// the file is put back at once. Names cannot tell that case from a hard link, so it is found
// afterwards: the kept copy must still be there and read the same first block.
TrashOutcome trashOne(const TrashRequest &request, const search::SearchRecords *records, fs::Trash &trash);

// Checks and moves each file in turn.
std::vector<TrashOutcome> moveToTrash(
    const std::vector<TrashRequest> &requests, const search::SearchRecords *records, fs::Trash &trash);

} // namespace kw::results
