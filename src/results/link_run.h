// Replacing duplicates by links to the copy that stays, for the result window and the
// command line alike: the duplicate and the kept file are found again and checked as for
// the trash, and a file the user did not mark is never changed.
#pragma once

#include "results/formatted_document.h"
#include "results/marking.h"
#include "search/records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kw::results
{

enum class LinkKind {
    SharedBlocks, // the kernel shares the kept file's blocks with the duplicate (reflink)
    HardLink, // the duplicate's path becomes another name of the kept file
};

struct LinkRequest {
    std::string path; // the duplicate, absolute
    std::string keptPath; // the file it is to share with, absolute
};

struct LinkPlan {
    std::vector<LinkRequest> requests;
    std::vector<std::string> leftAlone; // the first file of each block that keeps no file
};

// For the marked lines of a list, top to bottom: each is linked to the first unmarked
// file of its block; a block whose every line is marked is left alone.
LinkPlan linkRequests(const Lines &lines, const Marks &marks, std::string_view currentFolder);

struct LinkOutcome {
    std::string path;
    std::string keptPath;
    std::error_code error; // empty: replaced (or, in a dry run, would be)
    bool keptFileFailed = false; // the error is the kept file's, not the duplicate's
    bool alreadyOne = false; // nothing to do: the two already share their blocks, or are one file
    std::uint64_t freed = 0; // bytes no longer taken twice
};

// Checks both files as for the trash (found again without links below the searched
// folder, unchanged since the search, regular files, not one entry), then replaces the
// duplicate; `dryRun` checks only. Hard links also need equal bytes right before and one
// volume; for shared blocks the kernel compares.
LinkOutcome linkOne(const LinkRequest &request, const search::SearchRecords *records, LinkKind kind, bool dryRun);

// Why a file was not replaced, with whose reason it is.
std::string linkFailureReason(const LinkOutcome &outcome);

// What replacing the planned files would free, as far as can be told beforehand: the size
// of each duplicate that is not already the kept file and has no further name.
std::uint64_t plannedFreedBytes(const LinkPlan &plan, const search::SearchRecords *records);

// The log after a run: "Ersetzte Datei-Duplikate", the date line, an empty paragraph, each
// replaced path with the kind of link, and the footer.
FormattedDocument linkLog(
    const std::vector<LinkOutcome> &replaced, LinkKind kind, std::string_view date, std::string_view time);

// The message after a run in which some files were not replaced, or blocks left alone:
// each with its reason.
std::string notReplacedText(const std::vector<LinkOutcome> &failures, const std::vector<std::string> &leftAlone);

} // namespace kw::results
