#include "search/texts.h"

#include <charconv>

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

std::string nameSkippedText(std::string_view path)
{
    return "Der Name '" + std::string(path) + "' enthält einen Zeilenumbruch und wurde übersprungen.";
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

} // namespace kw::search
