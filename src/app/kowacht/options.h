// The command line of kowacht.
#pragma once

#include <string>
#include <vector>

namespace kw::app
{

struct KowachtOptions {
    bool recursive = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::string filter = "*.*";
    std::string output; // empty: no list file
    std::vector<std::string> folders; // as given
};

struct ParsedOptions {
    KowachtOptions options;
    std::string error; // not empty: a usage error, in German
};

ParsedOptions parseKowachtOptions(int argc, char **argv);

std::string kowachtHelpText();

} // namespace kw::app
