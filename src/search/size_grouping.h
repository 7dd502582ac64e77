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

// The candidate list: the files of every size group (as indices into the inventory), groups
// in the order of their size keys compared as text, members in path order (lower case, then
// exact).
class CandidateList
{
public:
    std::size_t groupCount() const { return m_groupEnds.size(); }
    std::span<const std::uint32_t> group(std::size_t index) const;
    std::uint64_t groupKey(std::size_t index) const { return m_keys[index]; }
    std::size_t fileCount() const { return m_files.size(); }
    bool empty() const { return m_files.empty(); }

    void appendGroup(std::span<const std::uint32_t> members, std::uint64_t key);

private:
    std::vector<std::uint32_t> m_files;
    std::vector<std::size_t> m_groupEnds; // one past the last member of each group
    std::vector<std::uint64_t> m_keys;
};

// The candidate list as lines: each path, and one empty line between two groups.
std::vector<std::string> candidateLines(const CandidateList &candidates, const Inventory &inventory);

// Whether size key `a` comes before `b` when both are written in decimal and compared as
// text ("10" before "9"), without writing them.
bool keyTextBefore(std::uint64_t a, std::uint64_t b);

// Sorts the inventory, drops the lines with a unique size (the pre-pass), then calls
// `TVergleich` while two or more lines are left. Reports "Dateien sortieren (p%)..." each
// time the percentage changes; sets `SortLastIndex`, `SortProgressBase`, `SearchIndex`,
// `GroupKey` and `CandidateCount` as the pre-pass and the extraction go.
CandidateList groupBySize(const Inventory &inventory, SearchState &state, SearchObserver &observer);

} // namespace kw::search
