#include "results/link_run.h"

#include "fs/failure.h"
#include "fs/links.h"
#include "fs/path_text.h"
#include "results/found_again.h"
#include "search/result_list.h"
#include "search/texts.h"

namespace kw::results
{
namespace
{

const search::FoundFile *foundIn(const search::SearchRecords *records, const std::string &path)
{
    return records != nullptr ? records->find(path) : nullptr;
}

// Whether two files already lie in the same blocks: nothing left to share.
bool sameBlocks(fs::Handle a, fs::Handle b)
{
    const auto mine = fs::extentsOf(a);
    const auto theirs = fs::extentsOf(b);
    if (!mine || !theirs || mine->empty() || mine->size() != theirs->size())
        return false;
    for (std::size_t i = 0; i < mine->size(); ++i) {
        const fs::Extent &x = (*mine)[i];
        const fs::Extent &y = (*theirs)[i];
        if (!x.shared || x.logical != y.logical || x.physical != y.physical || x.length != y.length)
            return false;
    }
    return true;
}

} // namespace

LinkPlan linkRequests(const Lines &lines, const Marks &marks, std::string_view currentFolder)
{
    const auto absolute
        = [&](const std::string &line) { return line.starts_with('/') ? line : fs::joinPath(currentFolder, line); };
    const auto marked = [&](std::size_t i) { return i < marks.size() && marks[i]; };
    LinkPlan plan;
    search::forEachBlock(lines, [&](std::size_t begin, std::size_t end) {
        std::size_t kept = begin;
        while (kept < end && marked(kept))
            ++kept;
        bool anyMarked = false;
        for (std::size_t i = begin; i < end; ++i) {
            if (!marked(i))
                continue;
            anyMarked = true;
            if (kept < end)
                plan.requests.push_back({absolute(lines[i]), absolute(lines[kept])});
        }
        if (anyMarked && kept == end)
            plan.leftAlone.push_back(absolute(lines[begin]));
    });
    return plan;
}

LinkOutcome linkOne(const LinkRequest &request, const search::SearchRecords *records, LinkKind kind, bool dryRun)
{
    LinkOutcome outcome {request.path, request.keptPath, {}, false, false, 0};
    const fs::EntryResult duplicate = findAgain(request.path, records);
    outcome.error = duplicate.error ? duplicate.error : asSearched(duplicate.entry, foundIn(records, request.path));
    if (outcome.error)
        return outcome;
    const fs::EntryResult kept = findAgain(request.keptPath, records);
    outcome.error = kept.error ? kept.error : asSearched(kept.entry, foundIn(records, request.keptPath));
    if (outcome.error) {
        outcome.keptFileFailed = true;
        return outcome;
    }
    if (kept.entry.sameEntryAs(duplicate.entry)) {
        outcome.error = fs::Failure::SameEntryAsKeptCopy;
        return outcome;
    }
    // Two names of one file already (a hard link, a case-insensitive volume): done.
    if (kept.entry.identity() == duplicate.entry.identity()) {
        outcome.alreadyOne = true;
        return outcome;
    }
    const fs::Opened mine = fs::openEntryForReading(duplicate.entry);
    if ((outcome.error = mine.error))
        return outcome;
    const fs::Opened theirs = fs::openEntryForReading(kept.entry);
    if ((outcome.error = theirs.error)) {
        outcome.keptFileFailed = true;
        return outcome;
    }
    const std::uint64_t size = duplicate.entry.status.size;
    if (kind == LinkKind::HardLink) {
        if (kept.entry.identity().device != duplicate.entry.identity().device) {
            outcome.error = fs::Failure::OtherVolume;
            return outcome;
        }
        bool equal = false;
        if ((outcome.error = fs::compareContents(mine.fd.get(), theirs.fd.get(), equal)))
            return outcome;
        if (!equal) {
            outcome.error = fs::Failure::KeptCopyDiffers;
            return outcome;
        }
        if (!dryRun)
            outcome.error = fs::replaceByHardLink(kept.entry, duplicate.entry);
        // Its blocks are freed only with its last name.
        if (!outcome.error && duplicate.entry.status.links == 1)
            outcome.freed = size;
        return outcome;
    }
    if (size == 0 || sameBlocks(theirs.fd.get(), mine.fd.get())) {
        outcome.alreadyOne = true;
        return outcome;
    }
    if (dryRun) {
        if (!fs::mayShareBlocks(request.path))
            outcome.error = fs::Failure::CannotShareBlocks;
    } else {
        outcome.error = fs::shareBlocks(theirs.fd.get(), mine.fd.get(), size);
    }
    if (!outcome.error)
        outcome.freed = size;
    return outcome;
}

std::string linkFailureReason(const LinkOutcome &outcome)
{
    const std::string reason = search::reasonText(outcome.error);
    return outcome.keptFileFailed ? "die verbleibende Kopie: " + reason : reason;
}

std::uint64_t plannedFreedBytes(const LinkPlan &plan, const search::SearchRecords *records)
{
    std::uint64_t bytes = 0;
    for (const LinkRequest &request : plan.requests) {
        const fs::EntryResult duplicate = findAgain(request.path, records);
        const fs::EntryResult kept = findAgain(request.keptPath, records);
        if (duplicate.error || kept.error || !duplicate.entry.isRegularFile()
            || duplicate.entry.identity() == kept.entry.identity() || duplicate.entry.status.links != 1)
            continue;
        bytes += duplicate.entry.status.size;
    }
    return bytes;
}

FormattedDocument linkLog(
    const std::vector<LinkOutcome> &replaced, LinkKind kind, std::string_view date, std::string_view time)
{
    FormattedDocument document;
    DocumentBuilder builder(document);
    addHead(builder, "Ersetzte Datei-Duplikate", date, time);
    const std::string how = kind == LinkKind::SharedBlocks ? " (Blöcke geteilt)" : " (harte Verknüpfung)";
    for (const LinkOutcome &outcome : replaced)
        builder.add(outcome.path + (outcome.alreadyOne ? " (schon dieselbe Datei)" : how));
    addFooter(builder);
    return document;
}

std::string notReplacedText(const std::vector<LinkOutcome> &failures, const std::vector<std::string> &leftAlone)
{
    std::string text;
    if (!failures.empty()) {
        text = failures.size() == 1 ? "Diese Datei konnte nicht ersetzt werden:"
                                    : "Diese Dateien konnten nicht ersetzt werden:";
        for (const LinkOutcome &failure : failures)
            text += "\r" + failure.path + " (" + linkFailureReason(failure) + ")";
    }
    if (!leftAlone.empty()) {
        if (!text.empty())
            text += "\r\r";
        text += "In diesen Blöcken ist jede Datei markiert; keine bliebe, auf die verknüpft werden könnte. Sie "
                "bleiben, wie sie sind:";
        for (const std::string &first : leftAlone)
            text += "\r" + first;
    }
    return text;
}

} // namespace kw::results
