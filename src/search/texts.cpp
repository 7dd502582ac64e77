#include "search/texts.h"

#include "fs/failure.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace kw::search
{

std::string decimal(unsigned long long value)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string phaseCaption(Phase phase)
{
    switch (phase) {
    case Phase::FolderSearch:
        return "Suche Ordner";
    case Phase::FileSearch:
        return "Suche Dateien";
    case Phase::Comparison:
        return "Dateien Vergleichen";
    }
    return {};
}

std::string foldersFoundText(std::size_t count)
{
    return decimal(count) + " Ordner gefunden";
}

std::string filesFoundText(std::size_t count)
{
    return decimal(count) + " Dateien gefunden";
}

std::string sortingText(int percent)
{
    return "Dateien sortieren (" + std::to_string(percent) + "%)...";
}

std::string comparingText(std::size_t position, std::size_t count)
{
    return decimal(position) + " von " + decimal(count) + " Dateien";
}

std::string accessDeniedText(std::string_view path)
{
    return "Zugriff auf '" + std::string(path) + "' wurde verweigert!";
}

namespace
{

std::string systemReason(std::errc error)
{
    switch (error) {
    case std::errc::no_such_file_or_directory:
        return "nicht mehr vorhanden";
    case std::errc::filename_too_long:
        return "der Pfad ist zu lang";
    case std::errc::too_many_symbolic_link_levels:
        return "der Pfad führt über einen symbolischen Link";
    case std::errc::not_a_directory:
        return "ein Teil des Pfades ist kein Ordner";
    case std::errc::is_a_directory:
        return "ist ein Ordner";
    case std::errc::io_error:
        return "Ein-/Ausgabefehler beim Lesen";
    case std::errc::no_space_on_device:
        return "kein Platz mehr auf dem Datenträger";
    case std::errc::read_only_file_system:
        return "der Datenträger ist schreibgeschützt";
    case std::errc::cross_device_link:
        return "liegt auf einem anderen Datenträger als der Papierkorb";
    case std::errc::device_or_resource_busy:
        return "wird gerade benutzt";
    case std::errc::too_many_files_open:
    case std::errc::too_many_files_open_in_system:
        return "zu viele offene Dateien";
    case std::errc::not_enough_memory:
        return "nicht genug Arbeitsspeicher";
    case std::errc::resource_unavailable_try_again:
        return "das System gibt keine weiteren Threads oder Prozesse her";
    case std::errc::state_not_recoverable:
        return "ein interner Fehler";
    case std::errc::file_exists:
        return "existiert bereits";
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted:
        return "keine Berechtigung";
    default:
        return {};
    }
}

std::string failureReason(fs::Failure failure)
{
    switch (failure) {
    case fs::Failure::LineBreakInName:
        return "der Name enthält einen Zeilenumbruch";
    case fs::Failure::EndOfTextInName:
        return "der Name enthält das Zeichen 0x1A, an dem eine gespeicherte Liste endet";
    case fs::Failure::KernelFileSystem:
        return "ein Dateisystem des Kernels, keine Dateien";
    case fs::Failure::ChangedDuringSearch:
        return "wurde während der Suche verändert";
    case fs::Failure::NotARegularFile:
        return "ist keine gewöhnliche Datei mehr";
    case fs::Failure::NotTheSearchedFile:
        return "ist nicht mehr die Datei, die verglichen wurde (verändert, ersetzt oder verschoben)";
    case fs::Failure::TopFolderChanged:
        return "der durchsuchte Ordner ist nicht mehr derselbe";
    case fs::Failure::NoKeptCopy:
        return "keine unveränderte Kopie bliebe übrig";
    case fs::Failure::KeptCopyDiffers:
        return "die verbleibende Kopie ist nicht mehr gleich";
    case fs::Failure::SameEntryAsKeptCopy:
        return "die verbleibende Kopie ist dieselbe Datei unter anderem Pfad";
    case fs::Failure::NoUsableTrash:
        return "auf diesem Datenträger gibt es keinen nutzbaren Papierkorb";
    case fs::Failure::UnsafeTrash:
        return "der Papierkorb gehört nicht Ihnen, oder andere dürfen darin schreiben";
    case fs::Failure::ShortWrite:
        return "der Eintrag im Papierkorb konnte nicht ganz geschrieben werden";
    case fs::Failure::SameFileUnderOtherName:
        return "die verbleibende Kopie ist dieselbe Datei unter anderem Namen";
    case fs::Failure::StrandedInTrash:
        return "sie konnte nicht aus dem Papierkorb zurückgelegt werden";
    case fs::Failure::CannotShareBlocks:
        return "dieses Dateisystem kann keine Blöcke teilen";
    case fs::Failure::ContentsDiffer:
        return "der Inhalt ist nicht mehr gleich; nichts wurde geändert";
    case fs::Failure::OtherVolume:
        return "die Dateien liegen auf verschiedenen Datenträgern";
    }
    return {};
}

} // namespace

std::string reasonText(std::error_code reason)
{
    if (reason.category() == fs::failureCategory())
        return failureReason(static_cast<fs::Failure>(reason.value()));
    if (reason.category() == std::generic_category() || reason.category() == std::system_category()) {
        std::string text = systemReason(static_cast<std::errc>(reason.value()));
        if (!text.empty())
            return text;
    }
    // The system's own words, in whatever language it speaks.
    return reason.message() + " (Fehler " + decimal(static_cast<unsigned long long>(reason.value())) + ")";
}

std::string skippedText(std::string_view path, std::error_code reason)
{
    if (reason == std::errc::permission_denied || reason == std::errc::operation_not_permitted)
        return accessDeniedText(path);
    const std::string quoted = "'" + std::string(path) + "'";
    if (reason == fs::Failure::LineBreakInName)
        return "Der Name " + quoted + " enthält einen Zeilenumbruch und wurde übersprungen.";
    if (reason == fs::Failure::EndOfTextInName)
        return "Der Name " + quoted
            + " enthält das Zeichen 0x1A, an dem eine gespeicherte Liste endet, und wurde"
              " übersprungen.";
    if (reason == fs::Failure::KernelFileSystem)
        return quoted + " gehört zu einem Dateisystem des Kernels und wird nicht durchsucht.";
    if (reason == fs::Failure::ChangedDuringSearch || reason == fs::Failure::NotARegularFile)
        return quoted + " " + reasonText(reason) + " und wird mit keiner anderen Datei gleichgesetzt.";
    return "Auf " + quoted + " kann nicht zugegriffen werden: " + reasonText(reason) + ".";
}

std::string commandLineSkippedText(std::string_view path, std::error_code reason)
{
    if (reason == std::errc::permission_denied || reason == std::errc::operation_not_permitted)
        return "kowacht: kein Zugriff auf '" + std::string(path) + "': " + reasonText(reason);
    return "kowacht: " + skippedText(path, reason);
}

std::string resultCaption(std::string_view foundCount, std::string_view fileCountText, std::size_t accessErrors)
{
    std::string caption = "Suchergebnis (";
    caption.append(foundCount).append(" aus ").append(fileCountText).append(" Dateien)");
    if (accessErrors > 0)
        caption.append(" / ").append(decimal(accessErrors)).append(" Fehler!");
    return caption;
}

std::string ProgressStatus::text() const
{
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::Folders:
        return foldersFoundText(value);
    case Kind::Files:
        return filesFoundText(value);
    case Kind::Sorting:
        return sortingText(static_cast<int>(value));
    case Kind::Comparing:
        return comparingText(value, total);
    }
    return {};
}

std::string unexpectedErrorText(std::size_t line, std::size_t outer, std::size_t inner)
{
    std::string text = "Unerwarteter Fehler [344] - Code: ";
    text.append(decimal(line)).append("-").append(decimal(outer)).append("-").append(decimal(inner));
    text.append("\r\rBitte Teilen sie die Fehlernummer+Fehlercode dem Autor mit!\r\r");
    text.append(kAuthorMail);
    return text;
}

std::string sizeText(std::uint64_t bytes)
{
    static constexpr const char *units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (bytes < 1024)
        return decimal(bytes) + (bytes == 1 ? " Byte" : " Bytes");
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    const auto tenths = static_cast<unsigned long long>(value * 10 + 0.5);
    return decimal(tenths / 10) + "," + decimal(tenths % 10) + " " + units[unit];
}

std::string searchFailureReason(const SearchFailure &failure)
{
    std::string text = reasonText(failure.reason);
    if (!failure.detail.empty())
        text.append(" (").append(failure.detail).append(")");
    return text;
}

std::string searchFailedText(const SearchFailure &failure)
{
    return "Die Suche brach ab: " + searchFailureReason(failure)
        + ".\rDie Liste enthält nur, was bis dahin verglichen wurde.";
}

std::string searchedFoldersText(const std::vector<std::string> &tops)
{
    std::vector<std::string> named;
    for (const std::string &top : tops) {
        // "/a/" and "/a" are one folder.
        const std::string folder = top.size() > 1 && top.back() == '/' ? top.substr(0, top.size() - 1) : top;
        if (std::find(named.begin(), named.end(), folder) == named.end())
            named.push_back(folder);
    }
    if (named.size() < 2)
        return {};
    constexpr std::size_t kShown = 3;
    std::string text = "Durchsucht: " + decimal(named.size()) + " Ordner — ";
    for (std::size_t i = 0; i < named.size() && i < kShown; ++i)
        text += (i == 0 ? "" : ", ") + named[i];
    if (named.size() > kShown)
        text += " und " + decimal(named.size() - kShown) + " weitere";
    return text;
}

} // namespace kw::search
