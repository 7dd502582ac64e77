#include "search/size_grouping.h"

#include "fs/text_case.h"
#include "search/rounding.h"

#include <algorithm>

namespace kw::search
{

std::span<const std::uint32_t> CandidateList::group(std::size_t index) const
{
    const std::size_t begin = index == 0 ? 0 : m_groupEnds[index - 1];
    return std::span<const std::uint32_t>(m_files).subspan(begin, m_groupEnds[index] - begin);
}

void CandidateList::appendGroup(std::span<const std::uint32_t> members, std::uint64_t key)
{
    m_files.insert(m_files.end(), members.begin(), members.end());
    m_groupEnds.push_back(m_files.size());
    m_keys.push_back(key);
}

std::vector<std::string> candidateLines(const CandidateList &candidates, const Inventory &inventory)
{
    std::vector<std::string> result;
    for (std::size_t g = 0; g < candidates.groupCount(); ++g) {
        if (g > 0)
            result.emplace_back();
        for (const std::uint32_t file : candidates.group(g))
            result.push_back(inventory.pathOf(file));
    }
    return result;
}

namespace
{

int digitCount(std::uint64_t value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

std::uint64_t tenTo(int power)
{
    std::uint64_t value = 1;
    while (power-- > 0)
        value *= 10;
    return value;
}

// A size key's place in the order of its decimal text, as numbers that sort alike: the
// digits moved to the left of 19 places (the 20th digit kept apart), then their count, as
// a shorter text that is the start of a longer one comes first.
struct TextOrder {
    std::uint64_t head = 0;
    std::uint32_t rest = 0;
    std::uint32_t line = 0;

    static TextOrder of(std::uint64_t key, std::uint32_t line)
    {
        const int digits = digitCount(key);
        if (digits <= 19)
            return {key * tenTo(19 - digits), static_cast<std::uint32_t>(digits), line};
        return {key / 10, static_cast<std::uint32_t>((key % 10) << 8 | 20U), line};
    }
    bool operator<(const TextOrder &other) const { return head != other.head ? head < other.head : rest < other.rest; }
};

} // namespace

bool keyTextBefore(std::uint64_t a, std::uint64_t b)
{
    return TextOrder::of(a, 0) < TextOrder::of(b, 0);
}

namespace
{

// Works on the sorted inventory as a vector of file indices consumed from the front, so
// that the pre-pass and the extraction stay linear however many lines there are.
class SizeGrouper
{
public:
    SizeGrouper(std::vector<std::uint32_t> &lines, const std::vector<std::uint64_t> &keys, SearchState &state,
        SearchObserver &observer)
        : m_lines(lines), m_keys(keys), m_state(state), m_observer(observer)
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

            const std::uint64_t key = keyAt(read);
            const bool hasNext = read + 1 < m_lines.size();
            bool goes;
            if (i == 0)
                goes = hasNext && key != keyAt(read + 1);
            else if (hasNext)
                goes = key != keyAt(kept - 1) && key != keyAt(read + 1);
            else
                goes = key != keyAt(kept - 1);
            if (!goes)
                m_lines[kept++] = m_lines[read];
        }
        m_lines.resize(kept);
        m_state.SearchIndex = static_cast<long long>(kept);
    }

    bool twoOrMoreLeft() const { return m_lines.size() - m_front >= 2; }

    // Takes one size group from the front and appends it to the candidate list.
    void TVergleich(CandidateList &candidates)
    {
        const std::size_t begin = m_front;
        for (;;) {
            if (left() >= 2 && keyAt(m_front) == keyAt(m_front + 1)) {
                m_state.GroupKey = keyAt(m_front);
                m_front += 2;
                if (left() >= 1 && keyAt(m_front) != m_state.GroupKey)
                    break;
                refresh();
                if (left() == 0)
                    break;
            } else {
                ++m_front;
                refresh();
                break;
            }
        }
        const std::span<const std::uint32_t> group(m_lines.data() + begin, m_front - begin);
        // Every path appended counts; afterwards SearchIndex holds the size of this group.
        m_state.CandidateCount += group.size();
        m_state.SearchIndex = static_cast<long long>(group.size());
        candidates.appendGroup(group, keyAt(begin));
    }

private:
    std::size_t left() const { return m_lines.size() - m_front; }
    std::uint64_t keyAt(std::size_t position) const { return m_keys[m_lines[position]]; }

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

    std::vector<std::uint32_t> &m_lines;
    const std::vector<std::uint64_t> &m_keys; // of every inventory line
    SearchState &m_state;
    SearchObserver &m_observer;
    std::size_t m_front = 0;
    int m_shown = -1; // no percentage shown yet
};

// For each folder of a sorted folder list, where the folders below it end: the folders
// whose lower-case path begins with its own follow it without a gap, as the list is sorted
// lower case first. Two files of folders where neither lies below the other then come in
// the order of their folders, whatever their names. An unsorted list (one built by hand)
// gets no such ends, so that every pair is compared by path.
std::vector<std::uint32_t> folderSpans(const Inventory &inventory)
{
    const auto count = static_cast<std::uint32_t>(inventory.folders.size());
    std::vector<std::uint32_t> end(count, count);
    std::vector<std::uint32_t> open; // the folders the current one may lie below
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string &path = inventory.folders[i].path;
        if (i > 0 && !fs::collatesBefore(inventory.folders[i - 1].path, path))
            return std::vector<std::uint32_t>(count, count);
        while (!open.empty() && !fs::startsFolded(path, inventory.folders[open.back()].path)) {
            end[open.back()] = i;
            open.pop_back();
        }
        open.push_back(i);
    }
    return end;
}

// Sorts each run of equal size keys by path. Done after the pre-pass, so that the lines of
// unique sizes, usually most of them, are never compared by path; the order that results is
// the same as sorting the whole inventory by key and path before it. Paths are compared as
// folder and name, never put together, and most pairs by their folders' places alone.
void sortRunsByPath(
    std::vector<std::uint32_t> &lines, const std::vector<std::uint64_t> &keys, const Inventory &inventory)
{
    const std::vector<std::uint32_t> spanEnd = folderSpans(inventory);
    const auto before = [&](std::uint32_t a, std::uint32_t b) {
        const FileRef &ra = inventory.files[a];
        const FileRef &rb = inventory.files[b];
        if (ra.folder == rb.folder) // the common case: no need to read the folder's path
            return fs::collatesBefore(inventory.nameOf(a), inventory.nameOf(b));
        if (std::max(ra.folder, rb.folder) >= spanEnd[std::min(ra.folder, rb.folder)])
            return ra.folder < rb.folder;
        return fs::collatesBefore(fs::JoinedText {inventory.folders[ra.folder].path, inventory.nameOf(a)},
            fs::JoinedText {inventory.folders[rb.folder].path, inventory.nameOf(b)});
    };
    auto begin = lines.begin();
    while (begin != lines.end()) {
        const std::uint64_t key = keys[*begin];
        const auto end = std::find_if(begin, lines.end(), [&](std::uint32_t i) { return keys[i] != key; });
        std::sort(begin, end, before);
        begin = end;
    }
}

} // namespace

CandidateList groupBySize(const Inventory &inventory, SearchState &state, SearchObserver &observer)
{
    std::vector<std::uint64_t> keys(inventory.size());
    std::vector<TextOrder> order(inventory.size());
    for (std::uint32_t i = 0; i < keys.size(); ++i) {
        keys[i] = inventory.key(i);
        order[i] = TextOrder::of(keys[i], i);
    }
    // Keys compare as text, so that the order of the groups stays the one of the lists the
    // program has always written.
    std::sort(order.begin(), order.end());
    std::vector<std::uint32_t> lines(order.size());
    std::transform(order.begin(), order.end(), lines.begin(), [](const TextOrder &entry) { return entry.line; });
    order = {};
    SizeGrouper grouper(lines, keys, state, observer);
    grouper.prePass();
    sortRunsByPath(lines, keys, inventory);
    CandidateList candidates;
    while (grouper.twoOrMoreLeft())
        grouper.TVergleich(candidates);
    return candidates;
}

} // namespace kw::search
