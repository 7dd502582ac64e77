// A settings store in memory, for tests.
#pragma once

#include "shell/settings.h"

#include <map>

namespace kw::test
{

class MemoryStore final : public shell::SettingsStore
{
public:
    std::optional<std::string> read(const std::string &name) const override
    {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void write(const std::string &name, const std::string &value) override { values[name] = value; }
    void remove(const std::string &name) override { values.erase(name); }

    std::map<std::string, std::string> values;
};

} // namespace kw::test
