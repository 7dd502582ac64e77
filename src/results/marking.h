// Marks over the result list: which lines are selected for deletion. The window maps its
// selection to a vector of flags, one per line, and back.
#pragma once

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

} // namespace kw::results
