#include "app/kowacht/summary.h"

#include "search/texts.h"

namespace kw::app
{

std::string humanSize(std::uint64_t bytes)
{
    static constexpr const char *units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (bytes < 1024)
        return search::decimal(bytes) + (bytes == 1 ? " Byte" : " Bytes");
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    value /= 1024;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    const auto tenths = static_cast<unsigned long long>(value * 10 + 0.5);
    return search::decimal(tenths / 10) + "," + search::decimal(tenths % 10) + " " + units[unit];
}

std::string summaryText(const search::SearchOutcome &outcome)
{
    const std::size_t groups = outcome.blockCount;
    return "Zusammenfassung: " + search::decimal(groups) + (groups == 1 ? " Gruppe, " : " Gruppen, ")
        + outcome.state.FoundCount + " Dateien; alle Kopien außer einer je Gruppe belegen "
        + humanSize(outcome.reclaimableBytes) + " (harte Links auf die bleibende Datei zählen nicht).";
}

} // namespace kw::app
