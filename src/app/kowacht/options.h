// The command line of kowacht.
#pragma once

#include "search/options.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kw::app
{

enum class OutputFormat {
    Text, // one path a line, blocks separated by one empty line
    Null, // every path ended by NUL, every block by one more
    Json, // one document: the search and its groups
    Csv, // RFC 4180: group number, size, path
};

struct KowachtOptions {
    bool recursive = false;
    bool quiet = false;
    bool stats = false;
    bool help = false;
    bool version = false;
    std::string filter = "*.*";
    std::string output; // empty: no list file
    OutputFormat format = OutputFormat::Text;
    std::uint64_t minSize = 0;
    std::uint64_t maxSize = std::numeric_limits<std::uint64_t>::max();
    std::vector<std::string> excluded;
    bool oneLink = false;
    bool trash = false;
    bool reflink = false; // replace the duplicates by shared blocks
    bool hardlink = false; // replace the duplicates by hard links
    bool dryRun = false;
    std::vector<std::string> keepIn;
    unsigned threads = 0; // 0: one per core
    search::ReadAhead readAhead = search::ReadAhead::WhenWaiting;
    std::vector<std::string> folders; // as given
};

// Whether an action on the duplicates was asked for: --trash, --reflink or --hardlink.
inline bool actsOnDuplicates(const KowachtOptions &options)
{
    return options.trash || options.reflink || options.hardlink;
}

struct ParsedOptions {
    KowachtOptions options;
    std::string error; // not empty: a usage error, in German
};

// GNU conventions: options anywhere among the folders, "--" ends them, --help and
// --version win wherever they stand.
ParsedOptions parseKowachtOptions(int argc, char **argv);

// "10", "4K", "2M", "1G" (powers of 1024); nothing for anything else or past 64 bits.
std::optional<std::uint64_t> parseSize(const std::string &text);

std::string kowachtUsageLine();
std::string kowachtHelpText();
// As GNU tools say it: program, package and version, copyright, licence.
std::string kowachtVersionText();

} // namespace kw::app
