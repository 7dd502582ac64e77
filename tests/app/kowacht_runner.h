// Running kowacht for a test: the real program, or its main function in a child process
// with the search's test seams.
#pragma once

#include "search/options.h"
#include "support/temp_tree.h"

#include <string>
#include <vector>

namespace kw::test
{

struct KowachtRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The program run in `folder`, stdout and stderr going to files beside the tree (so stderr
// is no terminal), or stdout to `stdoutTo`, which is then not read back.
KowachtRun runKowacht(
    const TempTree &tree, const std::string &folder, std::vector<std::string> args, const std::string &stdoutTo = {});

// kowacht's main function in a child process, with `hooks` in its search.
KowachtRun runKowachtWithHooks(const TempTree &tree, std::vector<std::string> args, const search::SearchHooks &hooks);

} // namespace kw::test
