// Why a search, or a part of it, broke off: something failed that should not (memory, a
// thread's resources, a fault in our own code). Unlike a file that cannot be read, this is
// no data of the search: the list lacks what was not compared, and the user must hear so.
#pragma once

#include <exception>
#include <string>
#include <system_error>

namespace kw::search
{

struct SearchFailure {
    std::error_code reason;
    std::string detail; // the exception's own words, where no code tells the reason

    // Of an exception caught with catch (...).
    static SearchFailure of(const std::exception_ptr &error);
};

} // namespace kw::search
