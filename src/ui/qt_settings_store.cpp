#include "ui/qt_settings_store.h"

#include "ui/qt_text.h"

namespace kw::ui
{

QtSettingsStore::QtSettingsStore()
    : m_settings(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostwerk"), QStringLiteral("Kopienwacht"))
{
}

// A store that cannot be read reads as empty; what cannot be written is dropped. Either way
// the program goes on.
std::optional<std::string> QtSettingsStore::read(const std::string &name) const
{
    const QString key = qs(name);
    if (!m_settings.contains(key))
        return std::nullopt;
    return utf8(m_settings.value(key).toString());
}

void QtSettingsStore::write(const std::string &name, const std::string &value)
{
    m_settings.setValue(qs(name), qs(value));
}

void QtSettingsStore::remove(const std::string &name)
{
    m_settings.remove(qs(name));
}

} // namespace kw::ui
