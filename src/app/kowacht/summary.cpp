#include "app/kowacht/summary.h"

#include "search/texts.h"

namespace kw::app
{

std::string summaryText(const search::SearchOutcome &outcome)
{
    const std::size_t groups = outcome.blockCount;
    return "Zusammenfassung: " + search::decimal(groups) + (groups == 1 ? " Gruppe, " : " Gruppen, ")
        + outcome.state.FoundCount + " Dateien; alle Kopien außer einer je Gruppe belegen "
        + search::sizeText(outcome.reclaimableBytes) + " (harte Links auf die bleibende Datei zählen nicht).";
}

} // namespace kw::app
