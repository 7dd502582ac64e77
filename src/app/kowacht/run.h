// kowacht from its arguments to its exit status.
#pragma once

namespace kw::app
{

inline constexpr int kCompleted = 0; // the search is complete and everything could be read
inline constexpr int kWriteFailed = 1; // the results could not be written
inline constexpr int kUsageError = 2;
inline constexpr int kSomethingUnreadable = 3; // complete, but the list may lack files
inline constexpr int kNotAllMoved = 4; // --trash: not everything planned went to the trash

int runKowacht(int argc, char **argv);

} // namespace kw::app
