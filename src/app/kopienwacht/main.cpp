// Kopienwacht: the desktop program.
#include "fs/descriptor_limits.h"
#include "fs/file_access.h"
#include "search/texts.h"
#include "shell/help_topics.h"
#include "ui/application.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

// Answered without a window or a display, so that a script (and the package's test) can ask
// where the help pages are found.
int answerWithoutWindow(int argc, char **argv, bool version)
{
    if (version) {
        std::printf("kopienwacht %s\n", std::string(kw::search::kVersionText).c_str());
        return 0;
    }
    QCoreApplication app(argc, argv);
    const std::string folder = kw::shell::helpFolder(QCoreApplication::applicationDirPath().toStdString());
    std::printf("Aufruf: kopienwacht [--help | --version]\n"
                "Doppelte Dateien finden und in den Papierkorb verschieben. Dieselbe Suche auf der\n"
                "Kommandozeile: kowacht --help.\n"
                "\n"
                "Hilfeseiten: %s\n",
        folder.c_str());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "--version") == 0)
            return answerWithoutWindow(argc, argv, std::strcmp(argv[i], "--version") == 0);
    }
    kw::fs::raiseOpenFileLimit(); // the programs it starts get the old limit back
    return kw::ui::runApplication(argc, argv);
}
