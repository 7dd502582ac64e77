// The result list in the formats scripts read: plain lines, NUL-ended paths, a JSON document
// and CSV rows.
#pragma once

#include "app/kowacht/options.h"
#include "search/engine.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

namespace kw::app
{

// A file or folder the search left out, for the JSON document.
struct Skipped {
    std::string path;
    std::error_code reason;
};

// What the JSON document says of the search besides its groups.
struct SearchDescription {
    const KowachtOptions *options = nullptr;
    std::vector<std::string> folders; // as searched: absolute
    std::vector<Skipped> skipped;
};

// The list in `format`. Paths go out as the file system holds their bytes, except in JSON,
// which must be UTF-8: there a byte that is not UTF-8 is written as the escape \udcXX
// (0x80 … 0xFF as U+DC80 … U+DCFF), which Python reads back with "surrogateescape".
std::string formattedList(OutputFormat format, const search::SearchOutcome &outcome, const SearchDescription &search);

// The list written block by block as the search finds them, in a format that needs nothing
// of the whole (text, null, csv): a long list is never held in memory.
class StreamedList
{
public:
    StreamedList(OutputFormat format, std::FILE *out);
    void block(const std::vector<std::string> &paths, std::uint64_t size);
    // Flushes; the first error any write met.
    [[nodiscard]] std::error_code finish();

private:
    void write(std::string_view bytes);

    OutputFormat m_format;
    std::FILE *m_out;
    std::size_t m_blocks = 0;
    std::error_code m_error;
};

// One field of a CSV row (RFC 4180): quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

} // namespace kw::app
