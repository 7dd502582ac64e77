// The filter's matcher against a small reference written from the rules the README gives:
// patterns separated by ";", blanks around them dropped, "*" any run of characters, "?" one
// character, letter case ignored, "*.*" every name, a pattern ending in ".*" also the name
// without that ending. Input: the filter, a NUL, the name.
#include "fs/mask.h"
#include "fs/text_case.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace
{

using kw::fs::foldedCodePoints;

// Whether the whole name matches the whole pattern, by the table of every prefix pair.
bool wildcard(const std::u32string &pattern, const std::u32string &name)
{
    std::vector<std::vector<bool>> table(pattern.size() + 1, std::vector<bool>(name.size() + 1, false));
    table[0][0] = true;
    for (std::size_t i = 1; i <= pattern.size(); ++i) {
        const char32_t p = pattern[i - 1];
        table[i][0] = p == U'*' && table[i - 1][0];
        for (std::size_t j = 1; j <= name.size(); ++j) {
            if (p == U'*')
                table[i][j] = table[i - 1][j] || table[i][j - 1];
            else
                table[i][j] = table[i - 1][j - 1] && (p == U'?' || p == name[j - 1]);
        }
    }
    return table[pattern.size()][name.size()];
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool reference(std::string_view filter, std::string_view name)
{
    const std::u32string folded = foldedCodePoints(name);
    while (true) {
        const std::size_t semicolon = filter.find(';');
        const std::string_view piece = trimmed(filter.substr(0, semicolon));
        if (!piece.empty()) {
            const std::u32string pattern = foldedCodePoints(piece);
            if (pattern.find_first_not_of(U'*') == std::u32string::npos || pattern == U"*.*")
                return true;
            if (wildcard(pattern, folded))
                return true;
            if (pattern.size() >= 2 && pattern.ends_with(U".*")
                && wildcard(pattern.substr(0, pattern.size() - 2), folded))
                return true;
        }
        if (semicolon == std::string_view::npos)
            return false;
        filter.remove_prefix(semicolon + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find('\0');
    if (split == std::string_view::npos || split > 200 || size - split > 400)
        return 0;
    const std::string_view filter = input.substr(0, split);
    const std::string_view name = input.substr(split + 1);
    if (kw::fs::FileMask(filter).matches(name) != reference(filter, name))
        std::abort();
    return 0;
}
