#include "app/kowacht/output_formats.h"

#include "fs/text_case.h"
#include "search/result_list.h"
#include "search/texts.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <limits>
#include <set>
#include <unordered_set>

namespace kw::app
{
namespace
{

std::string textList(const search::ResultList &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text.append(line).push_back('\n');
    return text;
}

std::string nullList(const search::ResultList &lines)
{
    std::string text;
    for (const std::vector<std::string> &block : search::blocksOf(lines)) {
        for (const std::string &path : block)
            text.append(path).push_back('\0');
        text.push_back('\0');
    }
    return text;
}

std::string csvList(const search::SearchOutcome &outcome)
{
    std::string text = "group,size,path\r\n";
    const auto blocks = search::blocksOf(outcome.lines);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::string group = search::decimal(b + 1);
        const std::string size = search::decimal(b < outcome.blockSizes.size() ? outcome.blockSizes[b] : 0);
        for (const std::string &path : blocks[b])
            text.append(group).append(",").append(size).append(",").append(csvField(path)).append("\r\n");
    }
    return text;
}

void appendUtf8(std::string &text, char32_t c)
{
    if (c < 0x80) {
        text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (c >> 12)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (c >> 18)));
        text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The JSON library writes valid UTF-8 only, and no lone surrogate can be valid UTF-8. So a
// byte that is not UTF-8 is first put in as a private-use character that none of the texts
// holds, and its UTF-8 form is then replaced by the escape in what the library wrote.
char32_t unusedPrivateBlock(const std::vector<std::string> &texts)
{
    std::set<char32_t> used;
    for (const std::string &text : texts) {
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t c = fs::nextCodePoint(text, pos);
            if (c >= 0x100000 && c <= 0x10FFFD)
                used.insert(c & ~char32_t {0x7F});
        }
    }
    char32_t block = 0x100000;
    while (used.count(block) != 0)
        block += 0x80;
    return block;
}

std::string withSurrogateEscapes(std::string json, char32_t base)
{
    std::string result;
    result.reserve(json.size());
    for (std::size_t pos = 0; pos < json.size();) {
        const std::size_t start = pos;
        const char32_t c = fs::nextCodePoint(json, pos);
        if (c >= base && c < base + 0x80) {
            static constexpr char hex[] = "0123456789abcdef";
            const unsigned byte = 0x80 + static_cast<unsigned>(c - base);
            result.append("\\udc").push_back(hex[byte >> 4]);
            result.push_back(hex[byte & 15]);
        } else {
            result.append(json, start, pos - start);
        }
    }
    return result;
}

std::string jsonList(const search::SearchOutcome &outcome, const SearchDescription &search)
{
    std::vector<std::string> texts = outcome.lines;
    texts.insert(texts.end(), search.folders.begin(), search.folders.end());
    for (const Skipped &skipped : search.skipped)
        texts.push_back(skipped.path);
    const char32_t base = unusedPrivateBlock(texts);
    const auto safe = [&](std::string_view path) { return jsonSafePath(path, base); };

    const KowachtOptions &options = *search.options;
    nlohmann::ordered_json folders = nlohmann::ordered_json::array();
    for (const std::string &folder : search.folders)
        folders.push_back(safe(folder));
    nlohmann::ordered_json excluded = nlohmann::ordered_json::array();
    for (const std::string &pattern : options.excluded)
        excluded.push_back(safe(pattern));
    nlohmann::ordered_json unreadable = nlohmann::ordered_json::array();
    for (const Skipped &skipped : search.skipped)
        unreadable.push_back({{"path", safe(skipped.path)}, {"reason", search::reasonText(skipped.reason)}});
    nlohmann::ordered_json groups = nlohmann::ordered_json::array();
    const auto blocks = search::blocksOf(outcome.lines);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::uint64_t size = b < outcome.blockSizes.size() ? outcome.blockSizes[b] : 0;
        nlohmann::ordered_json paths = nlohmann::ordered_json::array();
        nlohmann::ordered_json files = nlohmann::ordered_json::array();
        std::unordered_set<fs::FileIdentity, fs::FileIdentityHash> distinct;
        for (const std::string &path : blocks[b]) {
            paths.push_back(safe(path));
            const search::FoundFile *found = outcome.records ? outcome.records->find(path) : nullptr;
            if (found == nullptr)
                continue;
            const fs::FileStamp &stamp = found->stamp;
            distinct.insert(stamp.identity);
            files.push_back({{"path", safe(path)}, {"device", static_cast<std::uint64_t>(stamp.identity.device)},
                {"inode", static_cast<std::uint64_t>(stamp.identity.inode)},
                {"mtime", static_cast<double>(stamp.modified) / 1e9}, {"mtime_ns", stamp.modified}});
        }
        // What the copies beyond one take: further hard links of a file take nothing.
        const std::uint64_t copies = distinct.empty() ? blocks[b].size() : distinct.size();
        groups.push_back({{"size", size}, {"paths", paths}, {"files", files},
            {"duplicate_bytes", copies > 0 ? (copies - 1) * size : 0}});
    }
    const nlohmann::ordered_json document = {
        {"version", std::string(search::kVersionText).substr(8)},
        {"search",
            {
                {"folders", folders},
                {"filter", safe(options.filter)},
                {"recursive", options.recursive},
                {"min_size", options.minSize},
                {"max_size",
                    options.maxSize == std::numeric_limits<std::uint64_t>::max()
                        ? nlohmann::ordered_json(nullptr)
                        : nlohmann::ordered_json(options.maxSize)},
                {"exclude", excluded},
                {"one_link", options.oneLink},
                {"files", outcome.state.FileCountText.empty() ? 0 : std::stoull(outcome.state.FileCountText)},
                {"duplicates", std::stoull(outcome.state.FoundCount)},
                {"groups", blocks.size()},
                {"duplicate_bytes", outcome.reclaimableBytes},
                {"unreadable", unreadable},
            }},
        {"groups", groups},
    };
    return withSurrogateEscapes(document.dump(2), base) + "\n";
}

} // namespace

std::string jsonSafePath(std::string_view path, char32_t placeholderBase)
{
    std::string safe;
    safe.reserve(path.size());
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t start = pos;
        const char32_t c = fs::nextCodePoint(path, pos);
        if (c >= 0xDC80 && c <= 0xDCFF && pos == start + 1)
            appendUtf8(safe, placeholderBase + (c - 0xDC80));
        else
            safe.append(path.substr(start, pos - start));
    }
    return safe;
}

StreamedList::StreamedList(OutputFormat format, std::FILE *out) : m_format(format), m_out(out)
{
    if (m_format == OutputFormat::Csv)
        write("group,size,path\r\n");
}

void StreamedList::block(const std::vector<std::string> &paths, std::uint64_t size)
{
    ++m_blocks;
    std::string text;
    for (const std::string &path : paths) {
        switch (m_format) {
        case OutputFormat::Null:
            text.append(path).push_back('\0');
            break;
        case OutputFormat::Csv:
            text.append(search::decimal(m_blocks)).append(",").append(search::decimal(size)).append(",");
            text.append(csvField(path)).append("\r\n");
            break;
        default:
            text.append(path).push_back('\n');
            break;
        }
    }
    if (m_format == OutputFormat::Null)
        text.push_back('\0');
    if (m_format == OutputFormat::Text && m_blocks > 1)
        write("\n");
    write(text);
}

void StreamedList::write(std::string_view bytes)
{
    if (!m_error && std::fwrite(bytes.data(), 1, bytes.size(), m_out) != bytes.size())
        m_error = {errno, std::generic_category()};
}

std::error_code StreamedList::finish()
{
    if (!m_error && std::fflush(m_out) != 0)
        m_error = {errno, std::generic_category()};
    return m_error;
}

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted.push_back('"');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

std::string formattedList(OutputFormat format, const search::SearchOutcome &outcome, const SearchDescription &search)
{
    switch (format) {
    case OutputFormat::Text:
        return textList(outcome.lines);
    case OutputFormat::Null:
        return nullList(outcome.lines);
    case OutputFormat::Json:
        return jsonList(outcome, search);
    case OutputFormat::Csv:
        return csvList(outcome);
    }
    return {};
}

} // namespace kw::app
