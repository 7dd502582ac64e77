// What the desktop's search may leave out beyond its filter: sizes, empty files, further
// hard links and names, as kowacht's options do. At their defaults the search is the one the
// main window has always started.
#pragma once

#include "search/request.h"
#include "shell/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kw::shell
{

struct SearchOptions {
    std::optional<std::uint64_t> minSize; // bytes; none: no lower bound
    std::optional<std::uint64_t> maxSize; // bytes; none: no upper bound
    bool emptyFiles = true; // empty files are searched (and all of them are equal)
    bool oneLink = false; // one path of each file where hard links lead to it
    std::vector<std::string> excluded; // name patterns: files skipped, folders not entered

    bool isDefault() const { return *this == SearchOptions {}; }
    friend bool operator==(const SearchOptions &, const SearchOptions &) = default;
};

// MinGroesse, MaxGroesse (bytes, decimal; absent or empty: none), LeereDateien and
// EinLinkJeDatei ("True"/"False", in any letter case; absent: the default), Ausschluss (the
// patterns joined by ";"). What cannot be read counts as the default.
SearchOptions readSearchOptions(const SettingsStore &store);
void writeSearchOptions(SettingsStore &store, const SearchOptions &options);

// The engine's filters for these options, the same ones kowacht's options give.
search::SearchFilters filtersOf(const SearchOptions &options);

// "Optionen: ab 1 KiB, ohne node_modules": what differs from the default, for the line under
// the filter box; empty at the defaults.
std::string optionsSummary(const SearchOptions &options);

// A size the user typed with its unit (0: bytes, 1: KiB, 2: MiB, 3: GiB), or nothing for a
// text that is no whole number or a size beyond 2^64.
std::optional<std::uint64_t> sizeFromText(const std::string &digits, int unit);
// The other way: the largest unit that gives a whole number.
struct SizeInUnit {
    std::string digits;
    int unit = 0;
};
SizeInUnit sizeInUnit(std::uint64_t bytes);

} // namespace kw::shell
