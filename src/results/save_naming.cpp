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

} // namespace kw::results
