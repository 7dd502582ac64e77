#include "shell/search_options.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace kw::shell
{
namespace
{

std::optional<std::uint64_t> decimalSize(const std::string &text)
{
    std::uint64_t value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc {} || stop != end)
        return std::nullopt;
    return value;
}

std::optional<bool> truth(const std::optional<std::string> &text)
{
    if (!text)
        return std::nullopt;
    std::string upper = *text;
    for (char &c : upper)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
    if (upper == "TRUE")
        return true;
    if (upper == "FALSE")
        return false;
    return std::nullopt;
}

// "1 KiB", "1500 Bytes": the size as the user entered it, in its unit.
std::string exactSize(std::uint64_t bytes)
{
    static constexpr const char *units[] = {"Bytes", "KiB", "MiB", "GiB"};
    const SizeInUnit shown = sizeInUnit(bytes);
    return shown.digits + " " + (shown.unit == 0 && bytes == 1 ? "Byte" : units[shown.unit]);
}

} // namespace

SearchOptions readSearchOptions(const SettingsStore &store)
{
    SearchOptions options;
    if (const auto text = storedValue(store, "MinGroesse"))
        options.minSize = decimalSize(*text);
    if (const auto text = storedValue(store, "MaxGroesse"))
        options.maxSize = decimalSize(*text);
    options.emptyFiles = truth(storedValue(store, "LeereDateien")).value_or(true);
    options.oneLink = truth(storedValue(store, "EinLinkJeDatei")).value_or(false);
    if (const auto text = storedValue(store, "Ausschluss")) {
        std::size_t start = 0;
        while (start <= text->size()) {
            const std::size_t end = std::min(text->find(';', start), text->size());
            if (end > start)
                options.excluded.push_back(text->substr(start, end - start));
            start = end + 1;
        }
    }
    return options;
}

void writeSearchOptions(SettingsStore &store, const SearchOptions &options)
{
    store.write("MinGroesse", options.minSize ? std::to_string(*options.minSize) : std::string());
    store.write("MaxGroesse", options.maxSize ? std::to_string(*options.maxSize) : std::string());
    store.write("LeereDateien", options.emptyFiles ? "True" : "False");
    store.write("EinLinkJeDatei", options.oneLink ? "True" : "False");
    std::string joined;
    for (const std::string &pattern : options.excluded)
        joined += (joined.empty() ? "" : ";") + pattern;
    store.write("Ausschluss", joined);
}

search::SearchFilters filtersOf(const SearchOptions &options)
{
    search::SearchFilters filters;
    filters.sizes.minimum = options.minSize.value_or(0);
    if (!options.emptyFiles)
        filters.sizes.minimum = std::max<std::uint64_t>(filters.sizes.minimum, 1);
    filters.sizes.maximum = options.maxSize.value_or(std::numeric_limits<std::uint64_t>::max());
    filters.excluded = options.excluded;
    filters.oneLink = options.oneLink;
    return filters;
}

std::string optionsSummary(const SearchOptions &options)
{
    std::vector<std::string> parts;
    if (options.minSize)
        parts.push_back("ab " + exactSize(*options.minSize));
    if (options.maxSize)
        parts.push_back("bis " + exactSize(*options.maxSize));
    if (!options.emptyFiles)
        parts.push_back("ohne leere Dateien");
    if (options.oneLink)
        parts.push_back("ein Pfad je Datei");
    std::string names;
    for (const std::string &pattern : options.excluded)
        names += (names.empty() ? "" : ", ") + pattern;
    if (!names.empty())
        parts.push_back("ohne " + names);
    if (parts.empty())
        return {};
    std::string text = "Optionen: ";
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : ", ") + parts[i];
    return text;
}

std::optional<std::uint64_t> sizeFromText(const std::string &digits, int unit)
{
    const std::optional<std::uint64_t> value = decimalSize(digits);
    if (!value || unit < 0 || unit > 3)
        return std::nullopt;
    const unsigned shift = 10 * static_cast<unsigned>(unit);
    if (shift > 0 && *value > (std::numeric_limits<std::uint64_t>::max() >> shift))
        return std::nullopt;
    return *value << shift;
}

SizeInUnit sizeInUnit(std::uint64_t bytes)
{
    int unit = 0;
    while (unit < 3 && bytes != 0 && bytes % 1024 == 0) {
        bytes /= 1024;
        ++unit;
    }
    return {std::to_string(bytes), unit};
}

} // namespace kw::shell
