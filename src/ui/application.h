// Program start: the windows in their order, then the event loop.
#pragma once

namespace kw::ui
{

int runApplication(int argc, char **argv);

} // namespace kw::ui
