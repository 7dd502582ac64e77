// Opening a file with the program the desktop associates with it, and the trash of the
// platform.
#pragma once

#include "fs/trash.h"

#include <functional>
#include <memory>
#include <string>

namespace kw::ui
{

// Asks the desktop to open `path`; what it makes of the request is its own business.
void openWithDesktop(const std::string &path);

// Tests see the request instead; unset, the desktop gets it.
void setDesktopOpener(std::function<void(const std::string &path)> opener);

// The freedesktop.org trash here; Windows' recycle bin through Qt there.
std::unique_ptr<fs::Trash> platformTrash();

} // namespace kw::ui
