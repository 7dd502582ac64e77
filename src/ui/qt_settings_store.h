// The settings store on Qt: organisation "Ostwerk", application "Kopienwacht"; the registry key
// \Software\Ostwerk\Kopienwacht of the current user on Windows, an INI file in the user's
// configuration folder here (~/.config/Ostwerk/Kopienwacht.conf).
#pragma once

#include "shell/settings.h"

#include <QSettings>

namespace kw::ui
{

class QtSettingsStore final : public shell::SettingsStore
{
public:
    QtSettingsStore();
    std::optional<std::string> read(const std::string &name) const override;
    void write(const std::string &name, const std::string &value) override;
    void remove(const std::string &name) override;

private:
    QSettings m_settings;
};

} // namespace kw::ui
