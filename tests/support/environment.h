// An environment variable set to another value for one test and put back after it.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kw::test
{

class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const std::string &value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;
    ~ScopedEnvironment()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

} // namespace kw::test
