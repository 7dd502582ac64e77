// kowacht from its arguments to its exit status.
#pragma once

#include "search/options.h"

namespace kw::app
{

inline constexpr int kCompleted = 0; // the search is complete and everything could be read
inline constexpr int kWriteFailed = 1; // the results could not be written
inline constexpr int kUsageError = 2;
inline constexpr int kSomethingUnreadable = 3; // complete, but the list may lack files
inline constexpr int kNotAllMoved = 4; // --trash, --reflink, --hardlink: not everything planned was done
inline constexpr int kSearchFailed = 5; // the search broke off (memory, say): the list lacks files

// Never throws: what fails unexpectedly is said on stderr and ends with kSearchFailed.
// `hooks`: the search's test seams.
int runKowacht(int argc, char **argv, const search::SearchHooks *hooks = nullptr);

} // namespace kw::app
