#include "search/search_failure.h"

#include <new>

namespace kw::search
{

SearchFailure SearchFailure::of(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc &) {
        return {std::make_error_code(std::errc::not_enough_memory), {}};
    } catch (const std::system_error &e) {
        return {e.code(), {}};
    } catch (const std::exception &e) {
        return {std::make_error_code(std::errc::state_not_recoverable), e.what()};
    } catch (...) {
        return {std::make_error_code(std::errc::state_not_recoverable), {}};
    }
}

} // namespace kw::search
