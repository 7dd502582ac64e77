#include "ui/application.h"

#include "ui/about_box.h"
#include "ui/hint_filter.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "ui/progress_dialog.h"
#include "ui/qt_settings_store.h"
#include "ui/result_window.h"
#include "ui/single_instance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace kw::ui
{

bool loadQtTranslations(QTranslator &translator, const QLocale &locale)
{
    return locale.language() == QLocale::German
        && translator.load(
            locale, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostwerk"));
    QApplication::setApplicationName(QStringLiteral("Kopienwacht"));
    QApplication::setWindowIcon(programIcon());
    // Lets the desktop match the window to its menu entry (and that entry's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral(KW_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false); // the main window's closing ends the program
    // Qt's own texts (file and print dialogs, the edit fields' menus, "Strg" and "Entf" in
    // the menus' keys) in German where the system speaks it; ours are German anyway.
    QTranslator qtTexts;
    if (loadQtTranslations(qtTexts, QLocale::system()))
        QApplication::installTranslator(&qtTexts);

    // A second start brings the running window to the front and opens nothing new.
    SingleInstance instance;
    if (!instance.claim())
        return 0;
    if (instance.unguarded())
        std::fputs("kopienwacht: Für Sperrdatei und Socket ist kein Ordner zu haben, der nur Ihnen gehört "
                   "(XDG_RUNTIME_DIR fehlt, und andere haben die Ausweichordner belegt). Kopienwacht startet "
                   "ohne Schutz vor einem zweiten Start.\n",
            stderr);

    HintFilter hints;
    app.installEventFilter(&hints);
    QtSettingsStore settings;

    // Created once, in this order, and kept for the whole run.
    THauptfenster hauptfenster;
    hauptfenster.setSettingsStore(&settings);
    hauptfenster.FormCreate(settings);
    TMeldung meldung(&hauptfenster);
    TSuchergebnis suchergebnis;
    TInfo info(&hauptfenster);
    hauptfenster.attach(&meldung, &suchergebnis, &info);

    QObject::connect(&instance, &SingleInstance::activationRequested, &hauptfenster, [&hauptfenster] {
        if (hauptfenster.isMinimized())
            hauptfenster.showNormal();
        hauptfenster.show();
        hauptfenster.raise();
        hauptfenster.activateWindow();
    });
    hauptfenster.show();
    return QApplication::exec();
}

} // namespace kw::ui
