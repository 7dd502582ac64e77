// The values that the phases of one search share, for the texts that report them. Their
// names are the ones the whole program uses for them. Only the thread that runs the search
// writes them; helper threads never see them.
#pragma once

#include <cstddef>
#include <string>

namespace kw::search
{

// What the result list holds.
enum class ListKind {
    DuplicateList, // as a search produced it
    FileList, // a deletion run has removed entries from it
};

struct SearchState {
    std::size_t CandidateCount = 0; // paths placed in the candidate list
    std::size_t AccessErrorCount = 0; // files and folders that could not be read
    std::string FileCountText = "0"; // files inventoried, in decimal
    std::string FoundCount = "0"; // paths in the result list, in decimal
    std::size_t ComparedCount = 0; // paths taken from the candidate list into a group
    bool InventoryRequested = false; // the next folder listing builds the folder size list

    // Size grouping.
    long long SortLastIndex = 0; // inventory lines minus one, when grouping starts
    int SortProgressBase = 0; // the percentage reached by the pre-pass
    long long SearchIndex = 0; // running position: pre-pass, group copy, candidate line
    unsigned long long GroupKey = 0; // size key of the group being extracted

    // Comparison: the members of the group last compared, for the error report.
    std::size_t OuterIndex = 0;
    std::size_t InnerIndex = 0;
};

} // namespace kw::search
