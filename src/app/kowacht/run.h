// kowacht from its arguments to its exit status.
#pragma once

namespace kw::app
{

// 0 after a completed search, 1 when the list file could not be written, 2 for a usage error.
int runKowacht(int argc, char **argv);

} // namespace kw::app
