// Opening a file with the program the desktop associates with it, and the trash of the
// platform.
#pragma once

#include "fs/trash.h"

#include <functional>
#include <memory>
#include <string>

namespace kw::ui
{

// Asks the desktop to open `path`; what it makes of the request is its own business. False
// when no program took the request (no file manager, no program for the file's type).
bool openWithDesktop(const std::string &path);

// Tests see the request instead, and say whether it was taken; unset, the desktop gets it.
void setDesktopOpener(std::function<bool(const std::string &path)> opener);

// The freedesktop.org trash here; Windows' recycle bin through Qt there.
std::unique_ptr<fs::Trash> platformTrash();

} // namespace kw::ui
