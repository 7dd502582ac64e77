// Every text a search shows, in one place, for the progress dialog, the result window and
// the command line alike.
#pragma once

#include "search/observer.h"
#include "search/search_failure.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kw::search
{

inline constexpr std::string_view kVersionText = "Version 4.2";
inline constexpr std::string_view kAuthorWeb = "https://kopienwacht.example.org";
inline constexpr std::string_view kAuthorMail = "kopienwacht@example.org";

inline constexpr std::string_view kNoDuplicatesText = "Es wurden keine Duplikate gefunden.";
inline constexpr std::string_view kResultCaption = "Suchergebnis";

// "Suche Ordner", "Suche Dateien", "Dateien Vergleichen".
std::string phaseCaption(Phase phase);

std::string foldersFoundText(std::size_t count); // "7 Ordner gefunden"
std::string filesFoundText(std::size_t count); // "120 Dateien gefunden"
std::string sortingText(int percent); // "Dateien sortieren (28%)..."
std::string comparingText(std::size_t position, std::size_t count); // "1 von 5 Dateien"
std::string accessDeniedText(std::string_view path); // "Zugriff auf '…' wurde verweigert!"

// The message for a file or folder the search leaves out: for "permission denied" the
// access message, for everything else a sentence with the reason.
std::string skippedText(std::string_view path, std::error_code reason);

// Why, in a few German words ("der Pfad ist zu lang"), for messages that name a file.
std::string reasonText(std::error_code reason);

// "Durchsucht: 2 Ordner — /a, /b" when a search covered more than one top folder (the
// start folder and marked ones, each named once, the first three shown), else empty.
std::string searchedFoldersText(const std::vector<std::string> &tops);

// "Suchergebnis (4 aus 120 Dateien)", with " / 2 Fehler!" when files could not be read.
std::string resultCaption(std::string_view foundCount, std::string_view fileCountText, std::size_t accessErrors);

// The report of an unexpected failure while comparing; lines are separated by single
// carriage returns, as in every message text.
std::string unexpectedErrorText(std::size_t line, std::size_t outer, std::size_t inner);

// The same for the command line: "kowacht: " before it, and for a file that may not be
// read the reason, which the dialog's specified text leaves out.
std::string commandLineSkippedText(std::string_view path, std::error_code reason);

// A size as people read it: "512 Bytes", "1,2 MiB" (powers of 1024, one decimal).
std::string sizeText(std::uint64_t bytes);

// Why a search broke off, in the words of reasonText, the exception's own after them.
std::string searchFailureReason(const SearchFailure &failure);
// The desktop's message after a search that broke off.
std::string searchFailedText(const SearchFailure &failure);

// A count in decimal.
std::string decimal(unsigned long long value);

// What the status line of a progress display shows: the latest count of the phase, kept as
// numbers so that counting costs nothing, and turned into words only when drawn.
struct ProgressStatus {
    enum class Kind : unsigned char { None, Folders, Files, Sorting, Comparing };
    Kind kind = Kind::None;
    unsigned long long value = 0; // folders, files, percentage or position
    unsigned long long total = 0; // comparing: the number of candidate files

    std::string text() const; // "" for None
};

} // namespace kw::search
