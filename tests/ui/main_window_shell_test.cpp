// Start-up, settings, the marked-folder list, help and the about box of the main window.
#include "../shell/memory_store.h"
#include "search/rounding.h"
#include "shell/window_placement.h"
#include "support/temp_tree.h"
#include "ui/about_box.h"
#include "ui/folder_view.h"
#include "ui/help_window.h"
#include "ui/program_icon.h"
#include "ui/qt_settings_store.h"
#include "ui/qt_text.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace kw;

namespace
{

QString entry(const test::TempTree &tree, const char *relative)
{
    return ui::displayPath(tree.path(relative) + "/");
}

// Closes the next modal dialog once it comes up, as a user would press its button.
void acceptNextModal()
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            dialog->accept();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace

class MainWindowShellTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartOnAnEmptyStoreGreetsAndClosingWritesTheDefaults()
    {
        test::TempTree tree;
        test::Windows w;
        ui::TInfo info(w.main.get());
        w.main->attach(w.meldung.get(), w.suchergebnis.get(), &info);
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        test::MemoryStore store;
        test::MessageLog log(ui::MessageButton::No);
        w.main->FormCreate(store);

        QCOMPARE(log.requests.size(), std::size_t {1});
        QCOMPARE(log.requests[0].kind, ui::MessageKind::Confirmation);
        QVERIFY(log.requests[0].text.startsWith(QString::fromUtf8("Herzlichen Glückwunsch,\n\nSie haben sich")));
        QVERIFY(log.requests[0].text.endsWith(QStringLiteral("\n\nWollen Sie nun die Hilfedatei lesen?")));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(
            w.main->frameGeometry().x(), search::nearest((screen.width() - w.main->frameGeometry().width()) / 2.0));
        QCOMPARE(w.main->Edit1->count(), 6);
        QCOMPARE(w.main->Edit1->currentText(), QStringLiteral("*.*"));
        QVERIFY(!w.main->CheckBox1->isChecked());
        QVERIFY(w.main->markedFolders().entries.empty());

        // the about box opens by itself, once, 100 ms after the start
        QVERIFY(w.main->Timer1->isActive());
        QCOMPARE(w.main->Timer1->interval(), 100);
        QSignalSpy opened(&info, &QDialog::accepted);
        acceptNextModal();
        QTRY_COMPARE(opened.count(), 1);
        QCOMPARE(info.Label2->text(), QStringLiteral("Version 4.2"));
        QVERIFY(!w.main->Timer1->isActive());

        w.main->FormClose(store);
        std::vector<std::string> names;
        for (const auto &[name, value] : store.values)
            names.push_back(name);
        QCOMPARE(names,
            (std::vector<std::string> {"Ansicht", "Ausschluss", "EinLinkJeDatei", "Filter0001", "Filter0002",
                "Filter0003", "Filter0004", "Filter0005", "Filter0006", "LeereDateien", "MaxGroesse", "MinGroesse",
                "Pfad", "UnterOrdner", "XPos", "YPos"}));
        // The search options at their defaults: none of them narrows the next search.
        QCOMPARE(store.values["LeereDateien"], std::string("True"));
        QCOMPARE(store.values["MinGroesse"], std::string());
        QCOMPARE(store.values["Pfad"], tree.root());
    }

    void storedSettingsComeBackAndUnopenableFoldersAreDropped()
    {
        test::TempTree tree;
        tree.dir("Fotos");
        tree.dir("Musik");
        tree.dir("Start");
        test::MemoryStore store;
        store.values = {{"Pfad", tree.path("Start")}, {"Pfad01", "1;" + tree.path("Fotos") + "/"},
            {"Pfad02", tree.path("weg") + "/"}, {"Pfad03", tree.path("Musik") + "/"}, {"Ansicht", "Liste"},
            {"XPos", "-5"}, {"YPos", "99999"}, {"Filter0001", "*.jpg"}, {"Filter0002", "*.txt"},
            {"UnterOrdner", "true"}};
        test::Windows w;
        test::MessageLog log;
        w.main->FormCreate(store);
        QVERIFY(log.requests.empty());
        QVERIFY(!w.main->Timer1->isActive());
        QCOMPARE(w.main->startFolder(), ui::displayPath(tree.path("Start")));
        QCOMPARE(w.main->frameGeometry().x(), -5);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(
            w.main->frameGeometry().y(), search::nearest((screen.height() - w.main->frameGeometry().height()) / 2.0));
        QCOMPARE(w.main->Edit1->currentText(), QStringLiteral("*.jpg"));
        QVERIFY(w.main->CheckBox1->isChecked());
        // the subfolder option merged the start folder into the list
        const auto &entries = w.main->markedFolders().entries;
        QCOMPARE(entries.size(), std::size_t {3});
        QCOMPARE(entries[2].path, tree.path("Start") + "/");
        QVERIFY(!entries[1].active);
        // the list is shown again, and the drive report of the first showing does not hide it
        QVERIFY(w.main->ListView1->isVisibleTo(w.main.get()));
        QTest::qWait(50);
        QVERIFY(w.main->ListView1->isVisibleTo(w.main.get()));
        QCOMPARE(w.main->Anzeigen1->text(), QStringLiteral("&Ausblenden"));

        w.main->FormClose(store);
        QCOMPARE(store.values["UnterOrdner"], std::string("True"));
        QCOMPARE(store.values["Ansicht"], std::string("Liste"));
        QCOMPARE(store.values["Pfad02"], tree.path("Musik") + "/");
        QCOMPARE(store.values["Pfad03"], "1;" + tree.path("Start") + "/");
    }

    void updateFromAnOlderVersionAsksTheUpdateQuestion()
    {
        test::MemoryStore store;
        store.values = {{"XPos", "10"}, {"YPos", "10"}};
        test::Windows w;
        test::MessageLog log(ui::MessageButton::No);
        w.main->FormCreate(store);
        QCOMPARE(log.requests.size(), std::size_t {1});
        QVERIFY(log.requests[0].text.startsWith(QStringLiteral("Sehr geehrter Anwender,")));
        QVERIFY(w.main->Timer1->isActive());
        w.main->Timer1->stop();
    }

    void markedFoldersDriveHintsCountsAndTheStartButton()
    {
        test::TempTree tree;
        tree.dir("Daten/Fotos");
        tree.dir("Musik");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("Daten"))));
        w.main->OrdnerEinfgen1Click();
        QCOMPARE(w.main->markedFolders().entries.size(), std::size_t {1});
        QCOMPARE(w.main->RzDirectoryListBox1->toolTip(), QStringLiteral("Startordner\n(Vorgemerkt)"));
        QCOMPARE(w.main->Label1->text(), QStringLiteral("&Ordner (1 - 1/1 Vorgemerkt)"));

        // deactivate the start folder in the list: nothing left to search
        w.main->Anzeigen1Click();
        QCOMPARE(w.main->helpContext(), shell::HelpContext::MarkedFolderList);
        QCOMPARE(w.main->Label1->text(), QStringLiteral("&Ordnerliste"));
        QVERIFY(!w.main->OrdnerEinfgen1->isEnabled());
        QListWidgetItem *item = w.main->ListView1->item(0);
        item->setSelected(true);
        item->setCheckState(Qt::Unchecked);
        QVERIFY(!w.main->Button1->isEnabled());
        QCOMPARE(
            w.main->ListView1->toolTip(), QStringLiteral("Vorgemerkte Ordner\ninaktiv - %1").arg(entry(tree, "Daten")));
        QVERIFY(w.main->OrdnerLschen1->isEnabled());
        w.main->Anzeigen1Click();
        QCOMPARE(w.main->helpContext(), shell::HelpContext::StartFolderView);
        QCOMPARE(w.main->Label1->text(), QStringLiteral("&Ordner (0 - 0/1 Vorgemerkt)"));
        QCOMPARE(w.main->RzDirectoryListBox1->toolTip(), QStringLiteral("Startordner\n(in Liste deaktiviert!)"));
        QCOMPARE(w.main->RzDirectoryListBox1->palette().color(QPalette::Base), QColor(230, 230, 230));
        QVERIFY(!w.main->OrdnerLschen1->isEnabled());

        // deleting that entry makes the search possible again at once
        w.main->Anzeigen1Click();
        w.main->ListView1->item(0)->setSelected(true);
        w.main->ListView1Click();
        w.main->OrdnerLschen1Click();
        QVERIFY(w.main->markedFolders().entries.empty());
        QVERIFY(w.main->Button1->isEnabled());
        QVERIFY(w.main->RzDirectoryListBox1->palette().color(QPalette::Base) != QColor(230, 230, 230));
    }

    void doubleClickMakesAnEntryTheStartFolder()
    {
        test::TempTree tree;
        tree.dir("Musik");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("Musik"))));
        w.main->OrdnerEinfgen1Click();
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->Anzeigen1Click();
        w.main->ListView1->item(0)->setSelected(true);
        w.main->ListView1DblClick();
        QCOMPARE(w.main->startFolder(), ui::displayPath(tree.path("Musik")));
        QVERIFY(w.main->RzDirectoryListBox1->isVisibleTo(w.main.get()));
    }

    void searchCoversTheActiveMarkedFolders()
    {
        test::TempTree tree;
        tree.file("Start/a.txt", "gleich");
        tree.file("Aktiv/b.txt", "gleich");
        tree.file("Inaktiv/c.txt", "gleich");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("Aktiv"))));
        w.main->OrdnerEinfgen1Click();
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("Inaktiv"))));
        w.main->OrdnerEinfgen1Click();
        w.main->ListView1->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("Start"))));
        test::MessageLog log;
        w.main->Button1Click();
        QVERIFY2(log.requests.empty(), log.requests.empty() ? "" : qPrintable(log.requests[0].text));
        QCOMPARE(
            w.suchergebnis->lines(), (std::vector<std::string> {tree.path("Aktiv/b.txt"), tree.path("Start/a.txt")}));
    }

    void helpIndexFromTheMainWindowAlsoWhileTheListIsShown()
    {
        test::Windows w;
        w.main->Anzeigen1Click();
        w.main->Hilfe1->trigger();
        QVERIFY(ui::helpWindow() != nullptr);
        QCOMPARE(ui::helpWindow()->currentPage(), QStringLiteral("index.html"));
        QCOMPARE(w.main->Hilfe1->shortcut(), QKeySequence(Qt::Key_F1));
        ui::openHelp(shell::HelpContext::ResultWindow);
        QCOMPARE(ui::helpWindow()->currentPage(), QStringLiteral("suchergebnis.html"));
    }

    void settingsThatCannotBeWrittenDoNotStopTheProgram()
    {
        test::TempTree tree;
        tree.file("keine-ordner", "");
        // the settings would have to live below a file: nothing can be read or written there
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ui::displayPath(tree.path("keine-ordner")));
        {
            ui::QtSettingsStore store;
            test::Windows w;
            test::MessageLog log(ui::MessageButton::No);
            w.main->FormCreate(store);
            w.main->Timer1->stop();
            w.main->FormClose(store);
            QCOMPARE(log.requests.size(), std::size_t {1}); // a first start, as far as it can tell
        }
        ui::QtSettingsStore again;
        QVERIFY(!again.read("XPos"));
    }

    void aboutBoxIsCentredOverTheMainWindow()

    {
        test::Windows w;
        ui::TInfo info(w.main.get());
        w.main->attach(w.meldung.get(), w.suchergebnis.get(), &info);
        w.main->move(140, 90);
        acceptNextModal();
        w.main->Image1Click();
        const QRect main = w.main->frameGeometry();
        QCOMPARE(
            info.frameGeometry().x(), main.x() + search::nearest((main.width() - info.frameGeometry().width()) / 2.0));
        QCOMPARE(info.size(), QSize(273, 225));
        QCOMPARE(info.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(info.BitBtn1->text(), QStringLiteral("&Ok"));
        QVERIFY(!info.Image1->pixmap().isNull());
    }

    void theProgramIconCarriesItsRenderedSizes()
    {
        const QIcon icon = ui::programIcon();
        for (const int size : {16, 32, 48, 256})
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
        QCOMPARE(icon.pixmap(QSize(256, 256)).toImage().pixelColor(128, 20).blue() > 150, true); // the blue ground
    }
};

QTEST_MAIN(MainWindowShellTest)
#include "main_window_shell_test.moc"
