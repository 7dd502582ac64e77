#include "fs/mask.h"

#include "fs/text_case.h"

#include <algorithm>

namespace kw::fs
{
namespace
{

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

FileMask::FileMask(std::string_view text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string_view pattern = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (pattern.empty())
            continue;
        std::u32string folded = foldedCodePoints(pattern);
        // "*.*" (and "*" or "**") match every name; no need to decode names for them.
        const bool starsAndDots
            = std::all_of(folded.begin(), folded.end(), [](char32_t c) { return c == '*'; }) || folded == U"*.*";
        if (starsAndDots)
            m_matchesAll = true;
        if (folded.size() >= 2 && folded.ends_with(U".*"))
            m_patterns.push_back(folded.substr(0, folded.size() - 2));
        m_patterns.push_back(std::move(folded));
    }
}

bool FileMask::matches(std::string_view name) const
{
    if (m_matchesAll)
        return true;
    if (m_patterns.empty())
        return false;
    const std::u32string folded = foldedCodePoints(name);
    return std::any_of(m_patterns.begin(), m_patterns.end(),
        [&](const std::u32string &pattern) { return globMatches(pattern, folded); });
}

// The usual greedy match with one backtracking point for the last "*": linear in practice and
// never worse than the product of the lengths.
bool globMatches(std::u32string_view pattern, std::u32string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        // A "*" of the pattern is a wildcard first, also where the name holds a "*" itself.
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

} // namespace kw::fs
