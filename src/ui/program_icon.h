// The program's icon, for the windows and the about box.
#pragma once

#include <QIcon>

namespace kw::ui
{

QIcon programIcon();

} // namespace kw::ui
