#include "results/save_naming.h"

namespace kw::results
{

std::string dateStamp(std::string_view shortDate)
{
    std::string stamp(shortDate);
    for (char &c : stamp) {
        if (c == '.' || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>'
            || c == '|' || static_cast<unsigned char>(c) < 0x20)
            c = '-';
    }
    return stamp;
}

void prepareDeletionLog(SaveDialogState &dialog, std::string_view stamp)
{
    dialog.title = kDeletionLogTitle;
    dialog.fileName = "Geloescht(" + std::string(stamp) + ").rtf";
}

void prepareLinkLog(SaveDialogState &dialog, std::string_view stamp)
{
    dialog.title = kLinkLogTitle;
    dialog.fileName = "Ersetzt(" + std::string(stamp) + ").rtf";
}

bool deletionLogPrepared(const SaveDialogState &dialog)
{
    return dialog.title == kDeletionLogTitle || dialog.title == kLinkLogTitle;
}

void prepareSave(SaveDialogState &dialog, SaveKind kind, search::ListKind listKind, std::string_view stamp)
{
    const bool duplicates = listKind == search::ListKind::DuplicateList;
    const std::string date(stamp);
    if (kind == SaveKind::PlainList) {
        dialog.title = duplicates ? "Einfache Liste doppelter Dateien Speichern" : "Einfache Dateiliste Speichern";
        dialog.fileName = (duplicates ? "Duplikate(" : "Dateiliste(") + date + ").txt";
        dialog.filterIndex = 1;
        dialog.defaultExtension = "txt";
        return;
    }
    if (deletionLogPrepared(dialog))
        return;
    dialog.title = duplicates ? "Erweiterte Liste doppelter Dateien Speichern" : "Erweiterte Dateiliste Speichern";
    dialog.fileName = (duplicates ? "Duplikate(" : "Dateiliste(") + date + ").rtf";
    dialog.filterIndex = 2;
    dialog.defaultExtension = "rtf";
}

} // namespace kw::results
