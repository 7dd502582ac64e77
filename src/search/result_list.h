// The result list: full paths in blocks of identical files, blocks separated by one empty
// line. After a search no block has fewer than two lines and the list neither begins nor
// ends with an empty line; after deleting or reopening, blocks may be shorter and empty
// lines may stand anywhere. Every operation treats a non-empty line as a file and an empty
// line as a separator.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace kw::search
{

using ResultList = std::vector<std::string>;

inline bool isSeparator(const std::string &line)
{
    return line.empty();
}

// Appends a block, with one empty line before it unless the list is empty.
void appendBlock(ResultList &list, std::span<const std::string> paths);

// Calls `block(begin, end)` for every block of the list: the maximal runs of non-empty
// lines, any run of empty lines counting as one separator; top to bottom.
template<typename Block>
void forEachBlock(const ResultList &list, Block &&block)
{
    std::size_t begin = 0;
    while (begin < list.size()) {
        if (isSeparator(list[begin])) {
            ++begin;
            continue;
        }
        std::size_t end = begin;
        while (end < list.size() && !isSeparator(list[end]))
            ++end;
        block(begin, end);
        begin = end;
    }
}

// The blocks of a list, as forEachBlock walks them.
std::vector<std::vector<std::string>> blocksOf(const ResultList &list);

// Whether the list has the shape a search leaves: blocks of two or more, separated by
// exactly one empty line, no empty line first or last, no path twice.
bool isFreshSearchList(const ResultList &list);

} // namespace kw::search
