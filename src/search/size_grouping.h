// The third phase: files whose size occurs once are dropped, the rest are cut into size groups.
#pragma once

#include "search/inventory.h"
#include "search/observer.h"
#include "search/state.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kw::search
{

struct Candidate {
    std::string path;
    std::uint64_t size = 0;
    bool unreadable = false;
};

// The candidate list: the paths of every size group, groups in the order of their size keys
// compared as text, members in path order (lower case, then exact).
class CandidateList
{
public:
    std::size_t groupCount() const { return m_groupEnds.size(); }
    std::span<const Candidate> group(std::size_t index) const;
    std::size_t fileCount() const { return m_files.size(); }
    bool empty() const { return m_files.empty(); }

    // The list as lines: each path, and one empty line between two groups.
    std::vector<std::string> lines() const;

    void appendGroup(std::vector<Candidate> &&members);

private:
    std::vector<Candidate> m_files;
    std::vector<std::size_t> m_groupEnds; // one past the last member of each group
};

// Sorts the inventory, drops the lines with a unique size (the pre-pass), then calls
// `TVergleich` while two or more lines are left. Reports "Dateien sortieren (p%)..." each
// time the percentage changes; sets `SortLastIndex`, `SortProgressBase`, `SearchIndex`,
// `GroupKey` and `CandidateCount` as the pre-pass and the extraction go.
CandidateList groupBySize(std::vector<InventoryLine> inventory, SearchState &state, SearchObserver &observer);

} // namespace kw::search
