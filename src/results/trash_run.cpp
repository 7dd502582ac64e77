#include "results/trash_run.h"

#include "fs/failure.h"
#include "fs/path_text.h"
#include "results/found_again.h"
#include "search/result_list.h"

#include <cerrno>

namespace kw::results
{
namespace
{

// Whether the copy kept is still there as it was when the file went.
bool keptCopyStayed(const CheckedFile &checked, const search::SearchRecords *records)
{
    const fs::EntryResult copy = findAgain(checked.keptCopy, records);
    std::string start;
    return !copy.error && copy.entry.isRegularFile() && !readFirstBlock(copy.entry, start)
        && start == checked.keptStart;
}

// Whether a copy that stays still holds what `file` holds; `checked` learns which one.
std::error_code keptCopyHolds(
    CheckedFile &checked, const std::vector<std::string> &kept, const search::SearchRecords *records)
{
    const fs::Entry &file = checked.entry;
    std::error_code problem = fs::Failure::NoKeptCopy;
    for (const std::string &path : kept) {
        const fs::EntryResult copy = findAgain(path, records);
        if (copy.error && copy.error != std::errc::no_such_file_or_directory)
            problem = copy.error;
        if (copy.error || !copy.entry.isRegularFile())
            continue;
        if (copy.entry.sameEntryAs(file)) {
            problem = fs::Failure::SameEntryAsKeptCopy;
            continue;
        }
        const fs::Opened mine = fs::openEntryForReading(file);
        if (mine.error)
            return mine.error;
        const fs::Opened theirs = fs::openEntryForReading(copy.entry);
        if (theirs.error) {
            problem = theirs.error; // the copy is there, but why it cannot be read is said
            continue;
        }
        bool equal = false;
        if (const std::error_code error = fs::compareContents(mine.fd.get(), theirs.fd.get(), equal))
            return error;
        if (!equal) {
            problem = fs::Failure::KeptCopyDiffers;
            continue;
        }
        if (const std::error_code error = readFirstBlock(copy.entry, checked.keptStart))
            return error;
        checked.keptCopy = path;
        return {};
    }
    return problem;
}

} // namespace

std::vector<TrashRequest> trashRequests(
    const Lines &lines, const Marks &marks, std::string_view currentFolder, bool wholeBlocksConfirmed)
{
    const auto absolute
        = [&](const std::string &line) { return line.starts_with('/') ? line : fs::joinPath(currentFolder, line); };
    std::vector<TrashRequest> requests;
    search::forEachBlock(lines, [&](std::size_t begin, std::size_t end) {
        std::vector<std::string> kept;
        for (std::size_t i = begin; i < end; ++i) {
            if (i >= marks.size() || !marks[i])
                kept.push_back(absolute(lines[i]));
        }
        for (std::size_t i = begin; i < end; ++i) {
            if (i < marks.size() && marks[i])
                requests.push_back({absolute(lines[i]), kept, kept.empty() && wholeBlocksConfirmed});
        }
    });
    return requests;
}

CheckedFile checkBeforeTrash(const TrashRequest &request, const search::SearchRecords *records)
{
    CheckedFile checked;
    fs::EntryResult found = findAgain(request.path, records);
    if (found.error) {
        checked.error = found.error;
        return checked;
    }
    checked.entry = std::move(found.entry);
    checked.error = asSearched(checked.entry, records != nullptr ? records->find(request.path) : nullptr);
    if (!checked.error && !request.everyCopyConfirmed)
        checked.error = keptCopyHolds(checked, request.keptCopies, records);
    return checked;
}

TrashOutcome trashOne(const TrashRequest &request, const search::SearchRecords *records, fs::Trash &trash)
{
    const CheckedFile checked = checkBeforeTrash(request, records);
    TrashOutcome outcome {request.path, checked.error, {}};
    if (outcome.error)
        return outcome;
    outcome.error = trash.moveToTrash(checked.entry);
    if (!outcome.error && !request.everyCopyConfirmed && !keptCopyStayed(checked, records)) {
        const std::error_code notBack = trash.putBack();
        outcome.error = notBack ? fs::Failure::StrandedInTrash : fs::Failure::SameFileUnderOtherName;
    }
    if (outcome.error == fs::Failure::StrandedInTrash)
        outcome.strandedAt = trash.lastPlace();
    return outcome;
}

std::vector<TrashOutcome> moveToTrash(
    const std::vector<TrashRequest> &requests, const search::SearchRecords *records, fs::Trash &trash)
{
    std::vector<TrashOutcome> outcomes;
    outcomes.reserve(requests.size());
    for (const TrashRequest &request : requests)
        outcomes.push_back(trashOne(request, records, trash));
    return outcomes;
}

} // namespace kw::results
