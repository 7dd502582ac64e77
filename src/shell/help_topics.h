// The help pages that ship with the program, and which page answers which question.
#pragma once

#include <string>
#include <string_view>

namespace kw::shell
{

inline constexpr std::string_view kHelpIndexTopic = "hlp_index";

// Help contexts: what F1 opens in each window.
enum class HelpContext {
    StartFolderView = 1, // main window while the start folder view is shown
    MarkedFolderList = 2, // main window while the marked-folder list is shown
    AboutBox = 3,
    ResultWindow = 4,
    SearchOptions = 5, // the dialog of the search options
};

// The page file, relative to the help folder, of a topic id or a context.
std::string helpPageForTopic(std::string_view topic);
std::string helpPageForContext(HelpContext context);

// The help folder of a program in programFolder: "../share/kopienwacht/help/" where an
// installed copy holds the index page, otherwise "help/" beside the program.
std::string helpFolder(std::string_view programFolder);

} // namespace kw::shell
