// What the shared save dialog keeps between its uses: the title doubles as the marker that
// a deletion run has prepared the log's title and name.
#pragma once

#include <string>

namespace kw::results
{

struct SaveDialogState {
    std::string title; // empty: nothing prepared
    std::string fileName; // proposed name
    int filterIndex = 1; // 1 "Textdokumente" (*.txt), 2 "RTF-Format" (*.rtf)
    std::string defaultExtension = "txt";
    std::string folder; // where the dialog opens: the folder of the last file saved
};

} // namespace kw::results
