#include "shell/settings.h"

#include "shell/filter_history.h"

#include <algorithm>
#include <charconv>

namespace kw::shell
{
namespace
{

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c); });
    return text;
}

} // namespace

std::optional<std::string> storedValue(const SettingsStore &store, const std::string &name)
{
    std::optional<std::string> value = store.read(name);
    if (value && value->empty())
        return std::nullopt;
    return value;
}

std::string markedFolderValueName(std::size_t number)
{
    const std::string digits = std::to_string(number);
    return "Pfad" + std::string(digits.size() < 3 ? "0" : "") + digits;
}

std::string filterValueName(std::size_t number)
{
    std::string digits = std::to_string(number);
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return "Filter" + digits;
}

std::string markedFolderValue(const search::MarkedFolder &entry)
{
    if (entry.active)
        return "1;" + entry.path;
    // A path whose second character is ";" ("/;alt/") would be read back as a prefix and
    // the rest of it; "0;" in front reads back as exactly this inactive entry.
    return entry.path.size() >= 2 && entry.path[1] == ';' ? "0;" + entry.path : entry.path;
}

search::MarkedFolder parseMarkedFolderValue(std::string_view value)
{
    const bool prefixed = value.size() >= 2 && value[1] == ';';
    return {std::string(prefixed ? value.substr(2) : value), value.starts_with("1;")};
}

std::optional<int> parseDecimal(std::string_view text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc {} || stop != end)
        return std::nullopt;
    return value;
}

StoredSettings readSettings(const SettingsStore &store)
{
    StoredSettings settings;
    settings.startFolder = storedValue(store, "Pfad");
    for (std::size_t n = 1; n <= kMaxMarkedFoldersRead; ++n) {
        const auto value = storedValue(store, markedFolderValueName(n));
        if (!value)
            break;
        settings.markedFolders.push_back(parseMarkedFolderValue(*value));
    }
    settings.view = storedValue(store, "Ansicht");
    if (const auto x = storedValue(store, "XPos"))
        settings.xPos = parseDecimal(*x);
    if (const auto y = storedValue(store, "YPos"))
        settings.yPos = parseDecimal(*y);
    for (std::size_t n = 1; n <= kMaxFiltersStored; ++n) {
        const auto value = storedValue(store, filterValueName(n));
        if (!value)
            break;
        settings.filters.push_back(*value);
    }
    const auto subfolders = storedValue(store, "UnterOrdner");
    settings.subfolders = subfolders && upper(*subfolders) == "TRUE";
    return settings;
}

void writeSettings(SettingsStore &store, const SettingsToWrite &settings)
{
    store.write("Pfad", settings.startFolder);
    for (std::size_t n = 1; n <= kMaxMarkedFoldersRead; ++n) {
        const std::string name = markedFolderValueName(n);
        if (!storedValue(store, name))
            break;
        store.remove(name);
    }
    for (std::size_t n = 0; n < settings.markedFolders.size(); ++n)
        store.write(markedFolderValueName(n + 1), markedFolderValue(settings.markedFolders[n]));
    store.write("Ansicht", settings.listShown ? "Liste" : "Ordner");
    store.write("XPos", std::to_string(settings.xPos));
    store.write("YPos", std::to_string(settings.yPos));
    for (std::size_t n = 1; n <= kMaxFiltersStored; ++n) {
        const std::string name = filterValueName(n);
        if (!storedValue(store, name))
            break;
        store.remove(name);
    }
    const std::vector<std::string> filters = historyToStore(settings.filterHistory, settings.filterText);
    for (std::size_t n = 0; n < filters.size(); ++n)
        store.write(filterValueName(n + 1), filters[n]);
    store.write("UnterOrdner", settings.subfolders ? "True" : "False");
}

} // namespace kw::shell
