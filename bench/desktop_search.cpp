// Times the desktop program's search, from the press of "Starten" to the result window, on
// a folder and its subfolders: the figure to hold against `kowacht -r -q` on the same tree.
//
//   QT_QPA_PLATFORM=offscreen build/bench/desktop_search FOLDER [runs]
#include "fs/descriptor_limits.h"
#include "fs/file_access.h"
#include "ui/folder_view.h"
#include "ui/qt_text.h"
#include "ui/ui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: desktop_search FOLDER [runs]\n");
        return 2;
    }
    kw::fs::raiseOpenFileLimit(); // as the program does, before its first thread
    // A first start puts the folder it starts in on the list of marked folders: started in
    // the tree, the search covers the tree and nothing else, as kowacht's does.
    if (::chdir(argv[1]) != 0) {
        std::fprintf(stderr, "not a folder: %s\n", argv[1]);
        return 2;
    }
    QApplication application(argc, argv);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    kw::test::Windows windows;
    kw::test::MessageLog answers; // "no duplicates" and the like are answered at once
    windows.main->CheckBox1->setChecked(true);
    if (!windows.main->RzDirectoryListBox1->setFolder(kw::ui::displayPath(argv[1]))) {
        std::fprintf(stderr, "not a folder: %s\n", argv[1]);
        return 2;
    }
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        windows.main->Button1Click();
        const double seconds = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
        std::printf("%.3f s, %zu lines, result window %s\n", seconds, windows.suchergebnis->lines().size(),
            windows.suchergebnis->isVisible() ? "shown" : "hidden");
    }
    return 0;
}
