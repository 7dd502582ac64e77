// Window placement under a real window manager, whose frames a window only learns about
// after it was first shown: run on Xvfb with openbox (tests/ui/with_window_manager.sh).
#include "../shell/memory_store.h"
#include "support/temp_tree.h"
#include "ui/about_box.h"
#include "ui/folder_view.h"
#include "ui/qt_text.h"
#include "ui/result_window.h"
#include "ui_test_support.h"

#include <QGuiApplication>
#include <QTimer>
#include <QtTest>

using namespace kw;

class FrameTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs an X server with a window manager");
    }

    void positionStaysWhereItWasOverThreeStarts()
    {
        test::MemoryStore store;
        store.values = {{"XPos", "300"}, {"YPos", "200"}, {"Ansicht", "Ordner"}};
        for (int start = 0; start < 3; ++start) {
            test::MessageLog answers;
            test::Windows w;
            w.main->FormCreate(store);
            w.main->show();
            // the frame comes, the window is placed once more
            QTRY_VERIFY_WITH_TIMEOUT(w.main->frameGeometry() != w.main->geometry(), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(w.main->frameGeometry().topLeft(), QPoint(300, 200), 5000);
            QTest::qWait(100);
            w.main->FormClose(store);
            QCOMPARE(store.values["XPos"], std::string("300"));
            QCOMPARE(store.values["YPos"], std::string("200"));
        }
    }

    void aboutBoxIsCentredByItsFrameTheFirstTimeToo()
    {
        test::MemoryStore store;
        store.values = {{"XPos", "200"}, {"YPos", "100"}, {"Ansicht", "Ordner"}};
        test::MessageLog answers;
        test::Windows w;
        ui::TInfo info(w.main.get());
        w.main->attach(w.meldung.get(), w.suchergebnis.get(), &info);
        w.main->FormCreate(store);
        w.main->show();
        QTRY_VERIFY_WITH_TIMEOUT(w.main->frameGeometry() != w.main->geometry(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(w.main->frameGeometry().topLeft(), QPoint(200, 100), 5000);
        // Once the box has its frame and has been placed by it, it is looked at and closed.
        QRect box;
        QTimer look;
        int ticks = 0;
        connect(&look, &QTimer::timeout, &info, [&] {
            const bool placed = info.isVisible() && info.frameGeometry() != info.geometry()
                && info.findChild<QObject *>(QStringLiteral("FramePlacer")) == nullptr;
            if (!placed && ++ticks < 500)
                return;
            box = info.frameGeometry();
            look.stop();
            info.accept();
        });
        look.start(20);
        w.main->Image1Click(); // the box's own frame is not known before its first showing
        const QRect main = w.main->frameGeometry();
        const auto where = [&] {
            return QStringLiteral("box %1,%2 %3x%4, main %5,%6 %7x%8")
                .arg(box.x())
                .arg(box.y())
                .arg(box.width())
                .arg(box.height())
                .arg(main.x())
                .arg(main.y())
                .arg(main.width())
                .arg(main.height());
        };
        QVERIFY2(qAbs(box.center().x() - main.center().x()) <= 1, qPrintable(where()));
        QVERIFY2(qAbs(box.center().y() - main.center().y()) <= 1, qPrintable(where()));
    }

    // The width a search gives the result window is its frame's, also the first time, when
    // the frame is not known yet as the width is set.
    void theFirstResultWindowIsAsWideAsTheSearchSaysFrameAndAll()
    {
        test::TempTree tree;
        tree.file("a.txt", "gleich");
        tree.file("b.txt", "gleich");
        test::MemoryStore store;
        store.values = {{"XPos", "100"}, {"YPos", "100"}, {"Ansicht", "Ordner"}};
        test::MessageLog answers;
        test::Windows w;
        w.main->FormCreate(store);
        w.main->show();
        QTRY_VERIFY_WITH_TIMEOUT(w.main->frameGeometry() != w.main->geometry(), 5000);
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->Button1Click();
        QVERIFY(w.suchergebnis->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(w.suchergebnis->frameGeometry() != w.suchergebnis->geometry(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(w.suchergebnis->frameGeometry().width(), 562, 5000);
    }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
