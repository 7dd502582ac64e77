// The folders named on the command line, as the kernel opens them.
#pragma once

#include <string>

namespace kw::app
{

// `argument` made absolute against `currentFolder`. A ".." after a name that is a link goes
// up from where the link leads, as `ls link/..` does; a path without links keeps its plain
// text form, so that the paths in the list are the ones the user typed.
std::string resolvedFolderArgument(const std::string &argument, const std::string &currentFolder);

} // namespace kw::app
