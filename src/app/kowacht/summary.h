// The closing summary of kowacht: groups, duplicate files and the room they take.
#pragma once

#include "search/engine.h"

#include <cstdint>
#include <string>

namespace kw::app
{

// "Zusammenfassung: 3 Gruppen, 7 Dateien; alle Kopien außer einer je Gruppe belegen 1,2 MiB."
std::string summaryText(const search::SearchOutcome &outcome);

} // namespace kw::app
