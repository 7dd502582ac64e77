// Writing bytes through a descriptor to the end, and the reason when it fails: for the
// trash's records and the lists that are saved.
#pragma once

#include "fs/handle.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

namespace kw::fs
{

// errno as an error code, right after the call that set it.
std::error_code lastError();

// Writes all of `bytes`, going on after short writes and interruptions: at the file's
// position, or at `offset` and on from there. Failure::ShortWrite where the system wrote
// nothing and named no reason.
[[nodiscard]] std::error_code writeAll(Handle fd, std::string_view bytes, std::optional<std::uint64_t> offset = {});

// One write of `bytes` to standard error and nothing else: safe inside a signal handler.
void writeStandardErrorInSignal(const char *bytes, std::size_t length);

} // namespace kw::fs
