#include "shell/help_topics.h"

#include "fs/path_facts.h"

namespace kw::shell
{

std::string helpPageForTopic(std::string_view topic)
{
    if (topic == kHelpIndexTopic)
        return "index.html";
    return "index.html"; // an unknown topic opens the index rather than nothing
}

std::string helpPageForContext(HelpContext context)
{
    switch (context) {
    case HelpContext::StartFolderView:
        return "hauptfenster.html";
    case HelpContext::MarkedFolderList:
        return "ordnerliste.html";
    case HelpContext::AboutBox:
        return "info.html";
    case HelpContext::ResultWindow:
        return "suchergebnis.html";
    case HelpContext::SearchOptions:
        return "optionen.html";
    }
    return "index.html";
}

std::string helpFolder(std::string_view programFolder)
{
    std::string folder(programFolder);
    if (!folder.ends_with('/'))
        folder.push_back('/');
    // Installed, the pages lie in the data folder beside bin/; in the build tree and in a
    // folder unpacked by hand, beside the program.
    const std::string installed = folder + "../share/kopienwacht/help/";
    if (fs::readable(installed + "index.html"))
        return installed;
    return folder + "help/";
}

} // namespace kw::shell
