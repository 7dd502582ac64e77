// Marks over the result list: which lines are selected for deletion. The window maps its
// selection to a vector of flags, one per line, and back.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::results
{

using Lines = std::vector<std::string>;
using Marks = std::vector<bool>; // one flag per line

// After every change of the marks: no empty line stays marked (the focused one included).
// Returns whether "Dateien &Löschen" is enabled, that is whether a line is still marked.
bool ListBox1Click(const Lines &lines, Marks &marks, std::optional<std::size_t> focused = std::nullopt);

// Marks every non-empty line; marks already there stay.
void AllesMarkieren1Click(const Lines &lines, Marks &marks);

// Discards all marks, then marks every line of each block but its first. Any run of empty
// lines separates blocks, also at the start of the list.
void DuplikateMarkieren1Click(const Lines &lines, Marks &marks);

// Marks the non-empty lines that contain `text` exactly (case-sensitive, anywhere in the
// path; "*" and "?" are plain characters). An empty text changes nothing: false.
bool Markierungsmaske1Click(const Lines &lines, Marks &marks, std::string_view text);

bool anyMarked(const Marks &marks);

// Keeps every file of each block that lies below `folder` (folder form) and marks the
// others; a block with no file below it is left unmarked, so that no block loses its last
// copy this way. Marks of other blocks stay as they were.
void keepOnlyIn(const Lines &lines, Marks &marks, std::string_view folder);

// Marks every listed file below `folder`; marks already there stay.
void markAllIn(const Lines &lines, Marks &marks, std::string_view folder);

// Marks all but the most recently (`newest`) or least recently modified file of each block.
// `modified` gives a file's time, or nothing when it cannot be told: such a file is never
// marked, and the block keeps the best of the others. Ties keep the first.
void keepByAge(const Lines &lines, Marks &marks, bool newest,
    const std::function<std::optional<std::int64_t>(const std::string &)> &modified);

// Turns every mark of a file around (separators stay unmarked); in a block that would then
// be marked whole, the first file stays unmarked.
void invertMarks(const Lines &lines, Marks &marks);

// Drops the marked lines from the list (not the files); returns how many went.
std::size_t removeMarked(Lines &lines, Marks &marks);

// What moving the marked files to the trash would free: the files marked, their bytes, and
// how many of them are further names of a file that stays or is counted already (hard
// links), which free nothing.
struct MarkedSpace {
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    std::size_t hardLinks = 0; // further names of a file that stays
    std::size_t linksAmongMarked = 0; // further names of a marked file counted already
    std::size_t otherPaths = 0; // the very entry of a file that stays, by another path text
};
struct FileFacts {
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // The directory entry (its folder's device and inode, its name), where known: "a/x"
    // and "a/./x" are one entry, a hard link is another.
    std::string entry;
};
MarkedSpace markedSpace(
    const Lines &lines, const Marks &marks, const std::function<std::optional<FileFacts>(const std::string &)> &facts);

// "3 Dateien markiert: 1,2 MiB frei, sobald der Papierkorb geleert ist", and what hard
// links do not free.
std::string markedSpaceText(const MarkedSpace &space);

// The folder of a line: "/a/b/c.txt" → "/a/b".
std::string folderOfLine(std::string_view line);

} // namespace kw::results
