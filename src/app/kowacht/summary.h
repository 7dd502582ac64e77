// The closing summary of kowacht: groups, duplicate files and the room they take.
#pragma once

#include "search/engine.h"

#include <cstdint>
#include <string>

namespace kw::app
{

// "1,2 GiB", "512 Bytes": powers of 1024, one decimal, German decimal comma.
std::string humanSize(std::uint64_t bytes);

// "Zusammenfassung: 3 Gruppen, 7 Dateien; alle Kopien außer einer je Gruppe belegen 1,2 MiB."
std::string summaryText(const search::SearchOutcome &outcome);

} // namespace kw::app
