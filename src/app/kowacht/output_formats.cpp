#include "app/kowacht/output_formats.h"

#include "app/kowacht/json_writer.h"
#include "fs/file_stamp.h"
#include "search/result_list.h"
#include "search/texts.h"

#include <cerrno>
#include <limits>
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

std::string jsonList(const search::SearchOutcome &outcome, const SearchDescription &search)
{
    const KowachtOptions &options = *search.options;
    JsonWriter json;
    json.beginObject().key("version").text(std::string(search::kVersionText).substr(8));
    json.key("search").beginObject();
    json.key("folders").beginArray();
    for (const std::string &folder : search.folders)
        json.text(folder);
    json.endArray().key("filter").text(options.filter).key("recursive").boolean(options.recursive);
    json.key("min_size").number(options.minSize).key("max_size");
    if (options.maxSize == std::numeric_limits<std::uint64_t>::max())
        json.null();
    else
        json.number(options.maxSize);
    json.key("exclude").beginArray();
    for (const std::string &pattern : options.excluded)
        json.text(pattern);
    json.endArray().key("one_link").boolean(options.oneLink);
    json.key("files").number(
        std::uint64_t {outcome.state.FileCountText.empty() ? 0 : std::stoull(outcome.state.FileCountText)});
    json.key("duplicates").number(std::uint64_t {std::stoull(outcome.state.FoundCount)});
    const auto blocks = search::blocksOf(outcome.lines);
    json.key("groups").number(std::uint64_t {blocks.size()});
    json.key("duplicate_bytes").number(outcome.reclaimableBytes);
    json.key("unreadable").beginArray();
    for (const Skipped &skipped : search.skipped) {
        json.beginObject().key("path").text(skipped.path);
        json.key("reason").text(search::reasonText(skipped.reason)).endObject();
    }
    json.endArray().endObject();

    json.key("groups").beginArray();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::uint64_t size = b < outcome.blockSizes.size() ? outcome.blockSizes[b] : 0;
        json.beginObject().key("size").number(size).key("paths").beginArray();
        for (const std::string &path : blocks[b])
            json.text(path);
        json.endArray().key("files").beginArray();
        std::unordered_set<fs::FileIdentity, fs::FileIdentityHash> distinct;
        for (const std::string &path : blocks[b]) {
            const search::FoundFile *found = outcome.records ? outcome.records->find(path) : nullptr;
            if (found == nullptr)
                continue;
            const fs::FileStamp &stamp = found->stamp;
            distinct.insert(stamp.identity);
            json.beginObject().key("path").text(path);
            json.key("device").number(static_cast<std::uint64_t>(stamp.identity.device));
            json.key("inode").number(static_cast<std::uint64_t>(stamp.identity.inode));
            json.key("mtime").number(static_cast<double>(stamp.modified) / 1e9);
            json.key("mtime_ns").number(std::int64_t {stamp.modified}).endObject();
        }
        // What the copies beyond one take: further hard links of a file take nothing.
        const std::uint64_t copies = distinct.empty() ? blocks[b].size() : distinct.size();
        json.endArray().key("duplicate_bytes").number(copies > 0 ? (copies - 1) * size : 0).endObject();
    }
    json.endArray().endObject();
    return json.document() + "\n";
}

} // namespace

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
