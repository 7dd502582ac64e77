#include "ui/application.h"

#include "ui/main_window.h"
#include "ui/progress_dialog.h"
#include "ui/result_window.h"

#include <QApplication>

namespace kw::ui
{

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kopienwacht"));

    // Created once, in this order, and kept for the whole run.
    THauptfenster hauptfenster;
    TMeldung meldung(&hauptfenster);
    TSuchergebnis suchergebnis;
    hauptfenster.attach(&meldung, &suchergebnis);
    QApplication::setQuitOnLastWindowClosed(false); // the main window's closing ends the program
    hauptfenster.show();
    const int status = QApplication::exec();
    return status;
}

} // namespace kw::ui
