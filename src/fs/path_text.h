// Path texts: folders as the listing services report them ("/home/u", "/") and as list
// entries hold them ("/home/u/", "/").
#pragma once

#include <string>
#include <string_view>

namespace kw::fs
{

// `path` made absolute against `base` and normalised as text: repeated "/" collapsed, "." and
// ".." resolved without following links, no trailing "/" except at the root.
std::string normalizedAbsolute(std::string_view path, std::string_view base);

// The process's current folder, or "/" when it cannot be read.
std::string currentFolder();

// "/a/b/" → "/a/b"; "/" stays "/".
std::string folderForm(std::string_view folder);

// "/a/b" → "/a/b/"; a text already ending in "/" stays as it is.
std::string entryForm(std::string_view folder);

// The folder followed by the name, with one "/" between them.
std::string joinPath(std::string_view folder, std::string_view name);

// The last name of a path ("/a/b.txt" → "b.txt").
std::string_view baseName(std::string_view path);

} // namespace kw::fs
