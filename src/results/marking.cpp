#include "results/marking.h"

#include <algorithm>

namespace kw::results
{

bool anyMarked(const Marks &marks)
{
    return std::find(marks.begin(), marks.end(), true) != marks.end();
}

bool ListBox1Click(const Lines &lines, Marks &marks, std::optional<std::size_t> focused)
{
    marks.resize(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (marks[i] && lines[i].empty())
            marks[i] = false;
    }
    if (focused && *focused < lines.size() && lines[*focused].empty())
        marks[*focused] = false;
    return anyMarked(marks);
}

void AllesMarkieren1Click(const Lines &lines, Marks &marks)
{
    marks.resize(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty())
            marks[i] = true;
    }
}

void DuplikateMarkieren1Click(const Lines &lines, Marks &marks)
{
    marks.assign(lines.size(), false);
    bool insideBlock = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool empty = lines[i].empty();
        if (insideBlock) {
            if (empty)
                insideBlock = false;
            else
                marks[i] = true;
        }
        if (!insideBlock && !empty)
            insideBlock = true; // the first line of its block stays unmarked
    }
}

bool Markierungsmaske1Click(const Lines &lines, Marks &marks, std::string_view text)
{
    if (text.empty())
        return false;
    marks.resize(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty() && lines[i].find(text) != std::string::npos)
            marks[i] = true;
    }
    return true;
}

} // namespace kw::results
