// Writing a whole file so that the old one survives until the new one is complete.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace kw::fs
{

// Writes `bytes` to a new file beside `path`, flushes it to the disk, then renames it over
// `path`: a full volume or a crash leaves the old file as it was. An existing file keeps its
// permissions; a link keeps pointing where it did, and its target is replaced. Where no new
// file may be made beside it (a folder we may not write in), an existing file we may write
// is overwritten in place instead, as an editor would.
[[nodiscard]] std::error_code replaceFile(const std::string &path, std::string_view bytes);

} // namespace kw::fs
