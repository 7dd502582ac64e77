// Reading a list back: however the file arrives in pieces, the lines are the same, and none
// holds its line end. Input: one byte that picks the rule and the piece size, then the text.
#include "results/list_files.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> linesOf(std::string_view text, bool lfLines, std::size_t piece)
{
    std::vector<std::string> lines;
    kw::results::ListLineReader reader(lfLines);
    const auto keep = [&](std::string_view line) { lines.emplace_back(line); };
    for (std::size_t at = 0; at < text.size(); at += piece)
        reader.feed(text.substr(at, piece), keep);
    reader.finish(keep);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool lfLines = (data[0] & 1) != 0;
    const std::size_t piece = 1 + (data[0] >> 1);
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::vector<std::string> whole = linesOf(text, lfLines, text.size() + 1);
    if (linesOf(text, lfLines, piece) != whole)
        std::abort();
    const char end = lfLines ? '\n' : '\r';
    for (const std::string &line : whole) {
        if (line.find(end) != std::string::npos || line.find('\x1a') != std::string::npos)
            std::abort();
        if (line.size() > kw::results::ListLineReader::kLongestLine)
            std::abort();
    }
    return 0;
}
