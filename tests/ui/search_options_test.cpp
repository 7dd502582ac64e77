// The search options of the main window: their dialog, their line under the filter, and a
// search with them against kowacht's with the same options.
#include "../shell/memory_store.h"
#include "support/temp_tree.h"
#include "ui/folder_view.h"
#include "ui/qt_text.h"
#include "ui/search_options_dialog.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <cstdio>

using namespace kw;

namespace
{

shell::SearchOptions someOptions()
{
    shell::SearchOptions options;
    options.minSize = 2048;
    options.emptyFiles = false;
    options.excluded = {"node_modules", "*.tmp"};
    return options;
}

// kowacht's list for the same tree and options, each line as the window shows it.
QStringList kowachtLines(const std::string &tree, const std::vector<std::string> &options)
{
    std::string command = std::string(KOWACHT_BINARY) + " -r -q";
    for (const std::string &option : options)
        command += " '" + option + "'";
    command += " '" + tree + "' 2>/dev/null";
    QStringList lines;
    std::FILE *pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return lines;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        lines.append(line.empty() ? QString() : ui::displayPath(line));
    }
    ::pclose(pipe);
    return lines;
}

QStringList listed(const ui::TSuchergebnis &window)
{
    QStringList lines;
    for (int i = 0; i < window.ListBox1->count(); ++i)
        lines.append(window.ListBox1->item(i)->text());
    return lines;
}

} // namespace

class SearchOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ui::setSearchOptionsInterceptor(nullptr); }

    void theEntryHasAKeyOfItsOwnAndTheOldEntriesStay()
    {
        test::Windows w;
        QStringList texts;
        for (const QAction *action : w.main->PopupMenu1->actions())
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(texts,
            QStringList({"&Ordnerliste", "-", QString::fromUtf8("Duplikat&liste öffnen"), "-",
                QString::fromUtf8("Suchopt&ionen…"), "-", "Hilfe", "Info"}));
    }

    void theDialogShowsAndGivesBackTheOptions()
    {
        ui::SearchOptionsDialog dialog(nullptr, someOptions());
        QCOMPARE(dialog.minSize->text(), QStringLiteral("2"));
        QCOMPARE(dialog.minUnit->currentText(), QStringLiteral("KiB"));
        QVERIFY(dialog.maxSize->text().isEmpty());
        QVERIFY(!dialog.emptyFiles->isChecked());
        QVERIFY(!dialog.oneLink->isChecked());
        QCOMPARE(dialog.excluded->count(), 2);
        QCOMPARE(dialog.entered().options, std::optional<shell::SearchOptions>(someOptions()));

        dialog.newPattern->setText(QStringLiteral("@eaDir; cache ;node_modules"));
        QTest::mouseClick(dialog.add, Qt::LeftButton);
        QCOMPARE(dialog.excluded->count(), 4); // node_modules only once
        dialog.excluded->setCurrentRow(0);
        QTest::mouseClick(dialog.remove, Qt::LeftButton);
        QCOMPARE(dialog.entered().options->excluded, (std::vector<std::string> {"*.tmp", "@eaDir", "cache"}));

        // The defaults: empty files in, every link shown, no limits.
        ui::SearchOptionsDialog fresh(nullptr, {});
        QVERIFY(fresh.emptyFiles->isChecked());
        QVERIFY(fresh.entered().options->isDefault());
    }

    void badInputIsRefusedWithAClearMessage()
    {
        ui::SearchOptionsDialog dialog(nullptr, {});
        dialog.minSize->setText(QStringLiteral("2"));
        dialog.minUnit->setCurrentIndex(2);
        dialog.maxSize->setText(QStringLiteral("1"));
        dialog.maxUnit->setCurrentIndex(2);
        test::MessageLog log;
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(log.messages.size(), std::size_t {1});
        QCOMPARE(log.messages[0].second,
            QString::fromUtf8("Die Mindestgröße ist größer als die Höchstgröße: keine Datei würde gefunden."));
        dialog.maxSize->setText(QStringLiteral("zwei"));
        dialog.accept();
        QCOMPARE(log.messages.size(), std::size_t {2});
        QCOMPARE(log.messages[1].second, QString::fromUtf8("Die Höchstgröße „zwei“ ist keine ganze Zahl."));
        dialog.maxSize->clear();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void theLineUnderTheFilterSaysWhatDiffersAndCancelKeepsIt()
    {
        test::Windows w;
        w.main->show();
        QVERIFY(!w.main->OptionsLine->isVisible());
        ui::setSearchOptionsInterceptor([](ui::SearchOptionsDialog &dialog) {
            dialog.minSize->setText(QStringLiteral("1"));
            dialog.minUnit->setCurrentIndex(1);
            dialog.newPattern->setText(QStringLiteral("node_modules"));
            dialog.add->click();
            return true;
        });
        w.main->Suchoptionen1Click();
        QVERIFY(w.main->OptionsLine->isVisible());
        QCOMPARE(w.main->OptionsLine->text(), QStringLiteral("Optionen: ab 1 KiB, ohne node_modules"));

        ui::setSearchOptionsInterceptor([](ui::SearchOptionsDialog &dialog) {
            dialog.minSize->clear();
            return false; // Abbrechen
        });
        w.main->Suchoptionen1Click();
        QCOMPARE(w.main->searchOptions().minSize, std::optional<std::uint64_t>(1024));

        ui::setSearchOptionsInterceptor([](ui::SearchOptionsDialog &dialog) {
            dialog.minSize->clear();
            dialog.excluded->clear();
            return true;
        });
        w.main->Suchoptionen1Click();
        QVERIFY(w.main->searchOptions().isDefault());
        QVERIFY(!w.main->OptionsLine->isVisible());
    }

    void theOptionsAreReadAtStartAndWrittenAtClose()
    {
        test::MemoryStore store;
        store.values = {{"XPos", "10"}, {"YPos", "10"}, {"Ansicht", "Ordner"}, {"MinGroesse", "1024"},
            {"Ausschluss", "node_modules"}};
        {
            test::Windows w;
            test::MessageLog log;
            w.main->FormCreate(store);
            QCOMPARE(w.main->OptionsLine->text(), QStringLiteral("Optionen: ab 1 KiB, ohne node_modules"));
            shell::SearchOptions changed = w.main->searchOptions();
            changed.oneLink = true;
            w.main->setSearchOptions(changed);
            w.main->FormClose(store);
        }
        QCOMPARE(store.values.at("MinGroesse"), std::string("1024"));
        QCOMPARE(store.values.at("EinLinkJeDatei"), std::string("True"));
        QCOMPARE(store.values.at("LeereDateien"), std::string("True"));
        QCOMPARE(store.values.at("Ausschluss"), std::string("node_modules"));
    }

    void eachOptionFindsWhatKowachtFinds_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("defaults") << 0;
        QTest::newRow("minimum size") << 1;
        QTest::newRow("maximum size") << 2;
        QTest::newRow("no empty files") << 3;
        QTest::newRow("one link") << 4;
        QTest::newRow("names left out") << 5;
    }

    void eachOptionFindsWhatKowachtFinds()
    {
        QFETCH(int, which);
        test::TempTree tree;
        tree.file("a/klein", "12");
        tree.file("b/klein", "12");
        tree.file("a/gross", std::string(3000, 'g'));
        tree.file("b/gross", std::string(3000, 'g'));
        tree.file("a/leer", "");
        tree.file("b/leer", "");
        tree.hardlink("b/gross-link", "b/gross");
        tree.file("node_modules/klein", "12");
        tree.file("a/x.tmp", "12");
        shell::SearchOptions options;
        std::vector<std::string> arguments;
        switch (which) {
        case 1:
            options.minSize = 1024;
            arguments = {"--min-size", "1024"};
            break;
        case 2:
            options.maxSize = 2;
            arguments = {"--max-size", "2"};
            break;
        case 3:
            options.emptyFiles = false;
            arguments = {"--no-empty"};
            break;
        case 4:
            options.oneLink = true;
            arguments = {"--one-link"};
            break;
        case 5:
            options.excluded = {"node_modules", "*.tmp"};
            arguments = {"--exclude", "node_modules", "--exclude", "*.tmp"};
            break;
        default:
            break;
        }
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true);
        w.main->setSearchOptions(options);
        test::MessageLog log;
        w.main->Button1Click();
        const QStringList expected = kowachtLines(tree.root(), arguments);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(listed(*w.suchergebnis), expected);
    }
};

QTEST_MAIN(SearchOptionsTest)
#include "search_options_test.moc"
