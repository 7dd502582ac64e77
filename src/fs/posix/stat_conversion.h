// From what stat(2) says to the project's own terms: for the POSIX implementation of fs and
// for tests that look at files the way it does.
#pragma once

#include "fs/file_status.h"

#include <sys/stat.h>

namespace kw::fs
{

FileStatus statusFrom(const struct stat &status);
FileStamp stampOf(const struct stat &status);

} // namespace kw::fs
