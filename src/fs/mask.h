// The file-name filter: patterns such as "*.jpg;*.gif" matched against names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kw::fs
{

// A filter text split into its patterns. Patterns are separated by ";", blanks around a
// pattern are dropped and empty patterns ignored. "*" stands for any run of characters, "?"
// for one character (not one byte); every other character stands for itself. Letter case is
// ignored, also beyond ASCII. "*.*" matches every name, also one without a dot, and generally
// a pattern ending in ".*" also matches the name without that extension part. A mask without
// patterns matches nothing.
class FileMask
{
public:
    explicit FileMask(std::string_view text);

    bool matches(std::string_view name) const;
    bool empty() const { return m_patterns.empty() && !m_matchesAll; }

private:
    std::vector<std::u32string> m_patterns; // lower case; ".*" variants already added
    bool m_matchesAll = false; // a pattern of stars alone: no need to look at names
};

// Whether one lowered pattern matches one lowered name.
bool globMatches(std::u32string_view pattern, std::u32string_view name);

} // namespace kw::fs
