#include "results/marking.h"

#include "search/result_list.h"
#include "search/texts.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_set>

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

namespace
{

using search::forEachBlock;

bool below(std::string_view line, std::string_view folder)
{
    if (folder == "/")
        return line.starts_with('/');
    return line.size() > folder.size() + 1 && line.starts_with(folder) && line[folder.size()] == '/';
}

} // namespace

void keepOnlyIn(const Lines &lines, Marks &marks, std::string_view folder)
{
    marks.resize(lines.size(), false);
    forEachBlock(lines, [&](std::size_t begin, std::size_t end) {
        bool anyInside = false;
        for (std::size_t i = begin; i < end; ++i)
            anyInside = anyInside || below(lines[i], folder);
        for (std::size_t i = begin; i < end; ++i)
            marks[i] = anyInside && !below(lines[i], folder);
    });
}

void markAllIn(const Lines &lines, Marks &marks, std::string_view folder)
{
    marks.resize(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty() && below(lines[i], folder))
            marks[i] = true;
    }
}

void keepByAge(const Lines &lines, Marks &marks, bool newest,
    const std::function<std::optional<std::int64_t>(const std::string &)> &modified)
{
    marks.resize(lines.size(), false);
    forEachBlock(lines, [&](std::size_t begin, std::size_t end) {
        std::vector<std::optional<std::int64_t>> times;
        std::optional<std::size_t> kept;
        for (std::size_t i = begin; i < end; ++i) {
            times.push_back(modified(lines[i]));
            const auto &time = times.back();
            if (time && (!kept || (newest ? *time > *times[*kept - begin] : *time < *times[*kept - begin])))
                kept = i;
        }
        for (std::size_t i = begin; i < end; ++i)
            marks[i] = kept && i != *kept && times[i - begin].has_value();
    });
}

void invertMarks(const Lines &lines, Marks &marks)
{
    marks.resize(lines.size(), false);
    forEachBlock(lines, [&](std::size_t begin, std::size_t end) {
        bool anyKept = false;
        for (std::size_t i = begin; i < end; ++i) {
            marks[i] = !marks[i];
            anyKept = anyKept || !marks[i];
        }
        // A block none of whose files was marked would lose every copy: its first stays.
        if (!anyKept && begin < end)
            marks[begin] = false;
    });
    for (std::size_t i = 0; i < lines.size(); ++i)
        marks[i] = marks[i] && !lines[i].empty();
}

std::size_t removeMarked(Lines &lines, Marks &marks)
{
    marks.resize(lines.size(), false);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (marks[i] && !lines[i].empty())
            continue;
        if (kept != i)
            lines[kept] = std::move(lines[i]);
        marks[kept] = false;
        ++kept;
    }
    const std::size_t removed = lines.size() - kept;
    lines.resize(kept);
    marks.resize(kept);
    return removed;
}

namespace
{

struct FileKey {
    std::uint64_t device;
    std::uint64_t inode;
    friend bool operator==(const FileKey &, const FileKey &) = default;
};

struct FileKeyHash {
    std::size_t operator()(const FileKey &key) const
    {
        return std::hash<std::uint64_t> {}(key.inode * 0x9e3779b97f4a7c15ULL ^ key.device);
    }
};

} // namespace

MarkedSpace markedSpace(
    const Lines &lines, const Marks &marks, const std::function<std::optional<FileFacts>(const std::string &)> &facts)
{
    MarkedSpace space;
    // Sets, not lists: a block of 50,000 marked files is counted at every click.
    std::unordered_set<FileKey, FileKeyHash> staying;
    std::unordered_set<std::string> stayingEntries;
    std::unordered_set<FileKey, FileKeyHash> counted;
    forEachBlock(lines, [&](std::size_t begin, std::size_t end) {
        staying.clear();
        stayingEntries.clear();
        counted.clear();
        std::vector<std::optional<FileFacts>> known(end - begin);
        for (std::size_t i = begin; i < end; ++i) {
            known[i - begin] = facts(lines[i]);
            if ((i < marks.size() && marks[i]) || !known[i - begin])
                continue;
            staying.insert({known[i - begin]->device, known[i - begin]->inode});
            if (!known[i - begin]->entry.empty())
                stayingEntries.insert(known[i - begin]->entry);
        }
        for (std::size_t i = begin; i < end; ++i) {
            if (i >= marks.size() || !marks[i])
                continue;
            ++space.files;
            const std::optional<FileFacts> &file = known[i - begin];
            if (!file)
                continue;
            if (!file->entry.empty() && stayingEntries.count(file->entry) > 0) {
                ++space.otherPaths;
                continue;
            }
            const FileKey id {file->device, file->inode};
            if (staying.count(id) > 0) {
                ++space.hardLinks;
                continue;
            }
            if (!counted.insert(id).second) {
                ++space.linksAmongMarked;
                continue;
            }
            space.bytes += file->size;
        }
    });
    return space;
}

std::string markedSpaceText(const MarkedSpace &space)
{
    // Moved to the trash, a file still takes its room until the trash is emptied.
    const std::string size = search::sizeText(space.bytes);
    std::string text = space.files == 1 ? "1 Datei markiert" : std::to_string(space.files) + " Dateien markiert";
    text += ": " + size + " frei, sobald der Papierkorb geleert ist";
    if (space.hardLinks > 0)
        text += space.hardLinks == 1
            ? "; davon ist eine ein harter Link auf eine bleibende Datei und macht keinen Platz frei"
            : "; davon sind " + std::to_string(space.hardLinks)
                + " harte Links auf bleibende Dateien und machen keinen Platz frei";
    if (space.linksAmongMarked > 0)
        text += space.linksAmongMarked == 1
            ? "; eine ist ein weiterer harter Link einer markierten Datei und zählt nicht noch einmal"
            : "; " + std::to_string(space.linksAmongMarked)
                + " sind weitere harte Links markierter Dateien und zählen nicht noch einmal";
    if (space.otherPaths > 0)
        text += space.otherPaths == 1
            ? "; eine ist dieselbe Datei unter anderem Pfad wie eine bleibende und macht keinen Platz frei"
            : "; " + std::to_string(space.otherPaths)
                + " sind dieselbe Datei unter anderem Pfad wie bleibende und machen keinen Platz frei";
    return text;
}

std::string folderOfLine(std::string_view line)
{
    const std::size_t slash = line.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    return slash == 0 ? std::string("/") : std::string(line.substr(0, slash));
}

} // namespace kw::results
