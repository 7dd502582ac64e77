// The plain list file: the result list's lines, each ended by CR LF (the last one too), no
// header, no byte-order mark, the bytes of each path as they are.
#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace kw::results
{

std::string plainListText(const std::vector<std::string> &lines);

// Creates or replaces `path` with the plain list of `lines`.
std::error_code writePlainList(const std::string &path, const std::vector<std::string> &lines);

// Writes `bytes` to `path`, replacing what was there; an error when it cannot be created or
// written in full.
std::error_code writeWholeFile(const std::string &path, const std::string &bytes);

} // namespace kw::results
