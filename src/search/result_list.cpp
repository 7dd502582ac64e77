#include "search/result_list.h"

#include <unordered_set>

namespace kw::search
{

void appendBlock(ResultList &list, std::span<const std::string> paths)
{
    if (paths.empty())
        return;
    if (!list.empty())
        list.emplace_back();
    list.insert(list.end(), paths.begin(), paths.end());
}

std::vector<std::vector<std::string>> blocksOf(const ResultList &list)
{
    std::vector<std::vector<std::string>> blocks;
    forEachBlock(list, [&](std::size_t begin, std::size_t end) {
        blocks.emplace_back(
            list.begin() + static_cast<std::ptrdiff_t>(begin), list.begin() + static_cast<std::ptrdiff_t>(end));
    });
    return blocks;
}

bool isFreshSearchList(const ResultList &list)
{
    if (list.empty())
        return true;
    if (isSeparator(list.front()) || isSeparator(list.back()))
        return false;
    std::unordered_set<std::string> seen;
    std::size_t run = 0;
    for (const std::string &line : list) {
        if (isSeparator(line)) {
            if (run < 2)
                return false;
            run = 0;
            continue;
        }
        if (!seen.insert(line).second)
            return false;
        ++run;
    }
    return run >= 2;
}

} // namespace kw::search
