#include "search/size_grouping.h"

#include "fs/text_case.h"
#include "search/placement.h"

#include <algorithm>

namespace kw::search
{

std::span<const Candidate> CandidateList::group(std::size_t index) const
{
    const std::size_t begin = index == 0 ? 0 : m_groupEnds[index - 1];
    return std::span<const Candidate>(m_files).subspan(begin, m_groupEnds[index] - begin);
}

std::vector<std::string> CandidateList::lines() const
{
    std::vector<std::string> result;
    for (std::size_t g = 0; g < groupCount(); ++g) {
        if (g > 0)
            result.emplace_back();
        for (const Candidate &file : group(g))
            result.push_back(file.path);
    }
    return result;
}

void CandidateList::appendGroup(std::vector<Candidate> &&members)
{
    for (Candidate &member : members)
        m_files.push_back(std::move(member));
    m_groupEnds.push_back(m_files.size());
}

namespace
{

// Works on the inventory as a vector consumed from the front, so that the pre-pass and the
// extraction stay linear however many lines there are.
class SizeGrouper
{
public:
    SizeGrouper(std::vector<InventoryLine> &lines, SearchState &state, SearchObserver &observer)
        : m_lines(lines), m_state(state), m_observer(observer)
    {
    }

    // Deletes every line whose size key occurs once, keeping a one-line inventory as it is.
    void prePass()
    {
        m_state.SearchIndex = 0;
        m_state.SortLastIndex = static_cast<long long>(m_lines.size()) - 1;
        const double last = static_cast<double>(m_state.SortLastIndex);
        std::size_t kept = 0; // the position i: lines before it are kept
        for (std::size_t read = 0; read < m_lines.size(); ++read) {
            const std::size_t i = kept;
            const int percent = i == 0 ? 0 : nearest(50 / (last + 0.1) * (static_cast<double>(i) + 0.1));
            show(percent);
            m_state.SortProgressBase = percent;

            const std::string &key = m_lines[read].key;
            const bool hasNext = read + 1 < m_lines.size();
            bool goes;
            if (i == 0)
                goes = hasNext && key != m_lines[read + 1].key;
            else if (hasNext)
                goes = key != m_lines[kept - 1].key && key != m_lines[read + 1].key;
            else
                goes = key != m_lines[kept - 1].key;
            if (!goes) {
                if (kept != read)
                    m_lines[kept] = std::move(m_lines[read]);
                ++kept;
            }
        }
        m_lines.resize(kept);
        m_state.SearchIndex = static_cast<long long>(kept);
    }

    bool twoOrMoreLeft() const { return m_lines.size() - m_front >= 2; }

    // Takes one size group from the front and appends it to the candidate list.
    void TVergleich(CandidateList &candidates)
    {
        std::vector<Candidate> group; // the group scratch list
        for (;;) {
            if (left() >= 2 && m_lines[m_front].key == m_lines[m_front + 1].key) {
                m_state.GroupKey = m_lines[m_front].key;
                take(group);
                take(group);
                if (left() >= 1 && m_lines[m_front].key != m_state.GroupKey)
                    break;
                refresh();
                if (left() == 0)
                    break;
            } else {
                take(group);
                refresh();
                break;
            }
        }
        // Every path appended counts; afterwards SearchIndex holds the size of this group.
        m_state.CandidateCount += group.size();
        m_state.SearchIndex = static_cast<long long>(group.size());
        candidates.appendGroup(std::move(group));
    }

private:
    std::size_t left() const { return m_lines.size() - m_front; }

    void take(std::vector<Candidate> &group)
    {
        InventoryLine &line = m_lines[m_front++];
        group.push_back({std::move(line.path), line.size, line.unreadable});
    }

    void refresh()
    {
        const long long last = m_state.SortLastIndex;
        const long long x = last - static_cast<long long>(left()) - 1;
        if (x > m_state.SearchIndex)
            show(nearest((static_cast<double>(x) + 0.1) * 50 / (static_cast<double>(last) + 0.1))
                + m_state.SortProgressBase);
    }

    void show(int percent)
    {
        if (m_shown == percent)
            return; // the same text again would change nothing on screen
        m_shown = percent;
        m_observer.sortProgress(percent);
    }

    std::vector<InventoryLine> &m_lines;
    SearchState &m_state;
    SearchObserver &m_observer;
    std::size_t m_front = 0;
    int m_shown = -1; // no percentage shown yet
};

bool keyBefore(const InventoryLine &a, const InventoryLine &b)
{
    return a.key < b.key;
}

bool pathBefore(const InventoryLine &a, const InventoryLine &b)
{
    return fs::collatesBefore(a.path, b.path);
}

// Sorts each run of equal size keys by path. Done after the pre-pass, so that the lines of
// unique sizes, usually most of them, are never compared by path; the order that results is
// the same as sorting the whole inventory by key and path before it.
void sortRunsByPath(std::vector<InventoryLine> &lines)
{
    auto begin = lines.begin();
    while (begin != lines.end()) {
        const auto end = std::find_if(begin, lines.end(), [&](const InventoryLine &l) { return l.key != begin->key; });
        std::sort(begin, end, pathBefore);
        begin = end;
    }
}

} // namespace

CandidateList groupBySize(std::vector<InventoryLine> inventory, SearchState &state, SearchObserver &observer)
{
    // Keys compare as text, so that the order of the groups never depends on parsing numbers.
    std::sort(inventory.begin(), inventory.end(), keyBefore);
    SizeGrouper grouper(inventory, state, observer);
    grouper.prePass();
    sortRunsByPath(inventory);
    CandidateList candidates;
    while (grouper.twoOrMoreLeft())
        grouper.TVergleich(candidates);
    return candidates;
}

} // namespace kw::search
