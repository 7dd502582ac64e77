// One instance per user: in one process, and with the real program started twice.
#include "ui/single_instance.h"

#include "support/other_user.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace kw;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private:
    static QProcessEnvironment isolated(const QTemporaryDir &home)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    static bool waitForFile(const QString &path, int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(path)) {
            if (clock.elapsed() > milliseconds)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

private slots:
    void secondClaimAsksTheFirstToComeToTheFront()
    {
        const QString name = QStringLiteral("kw-test-instance-%1").arg(::getpid());
        ui::SingleInstance first(name);
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &ui::SingleInstance::activationRequested);
        ui::SingleInstance second(name);
        QVERIFY(!second.claim());
        QVERIFY(activated.wait(3000));
    }

    void withoutARuntimeFolderBothLieInAFolderOfOurOwn()
    {
        const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString folder = ui::SingleInstance::folder();
        qputenv("XDG_RUNTIME_DIR", before);
        QCOMPARE(folder, QDir::tempPath() + QStringLiteral("/kopienwacht-%1").arg(::getuid()));
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
            QFile::Permissions {});
        // a runtime folder others may enter is not used
        QTemporaryDir open;
        QFile::setPermissions(
            open.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        qputenv("XDG_RUNTIME_DIR", open.path().toLocal8Bit());
        const QString chosen = ui::SingleInstance::folder();
        qputenv("XDG_RUNTIME_DIR", before);
        QVERIFY(chosen != open.path());
    }

    void secondProgramEndsAndACrashedOneDoesNotBlock()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString lock = QDir(home.path()).filePath(QStringLiteral("Kopienwacht-%1.lock").arg(::getuid()));

        QProcess first;
        first.setProcessEnvironment(isolated(home));
        first.start(QStringLiteral(KOPIENWACHT_BINARY), {});
        QVERIFY(first.waitForStarted());
        QVERIFY(waitForFile(lock, 10000));
        // lock and socket side by side: who holds the one is who listens on the other (the
        // socket comes a moment after the lock)
        QVERIFY(
            waitForFile(QDir(home.path()).filePath(QStringLiteral("Kopienwacht-%1.socket").arg(::getuid())), 10000));

        QProcess second;
        second.setProcessEnvironment(isolated(home));
        second.start(QStringLiteral(KOPIENWACHT_BINARY), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // killed, it leaves its lock and socket behind: they must not keep the next one out
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(lock));
        QProcess third;
        third.setProcessEnvironment(isolated(home));
        third.start(QStringLiteral(KOPIENWACHT_BINARY), {});
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(2000));
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        third.waitForFinished(5000);
    }

    // Without a runtime folder, and with the name in the temporary folder taken by another
    // user: the program starts all the same, guarded where a folder of its own can be made.
    void aSquattedInstanceFolderKeepsNoOneFromStarting()
    {
        if (::geteuid() != 0)
            QSKIP("acting as another user needs root");
        if (!test::otherUserMayRun(KOPIENWACHT_BINARY))
            QSKIP("nobody may not run the program where it was built");
        QTemporaryDir place;
        QVERIFY(place.isValid());
        QFile::setPermissions(place.path(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                | QFile::ReadGroup | QFile::ExeGroup);
        const QDir dir(place.path());
        QVERIFY(dir.mkpath(QStringLiteral("tmp/kopienwacht-65534"))); // root's, where nobody's should be
        QVERIFY(dir.mkpath(QStringLiteral("home")));
        QVERIFY(dir.mkpath(QStringLiteral("fest")));
        QVERIFY(::chown(dir.filePath(QStringLiteral("home")).toLocal8Bit().constData(), 65534, 65534) == 0);
        QFile::setPermissions(dir.filePath(QStringLiteral("tmp")),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::WriteOther
                | QFile::ExeOther);

        const auto start = [&](QProcess &program, const QString &home) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            environment.remove(QStringLiteral("XDG_CACHE_HOME"));
            environment.insert(QStringLiteral("HOME"), home);
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
            environment.insert(QStringLiteral("TMPDIR"), dir.filePath(QStringLiteral("tmp")));
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                    QStringLiteral(KOPIENWACHT_BINARY)});
            return program.waitForStarted();
        };

        // A home of theirs: the lock goes to their cache folder, made for them alone.
        QProcess guarded;
        QVERIFY(start(guarded, dir.filePath(QStringLiteral("home"))));
        const QString cache = dir.filePath(QStringLiteral("home/.cache/Ostwerk/Kopienwacht"));
        QVERIFY(waitForFile(cache + QStringLiteral("/Kopienwacht-65534.lock"), 10000));
        QCOMPARE(QFileInfo(cache).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions {});
        QCOMPARE(guarded.state(), QProcess::Running);
        guarded.kill();
        guarded.waitForFinished(5000);

        // No folder of theirs anywhere: it starts unguarded, and says so.
        QProcess unguarded;
        QVERIFY(start(unguarded, dir.filePath(QStringLiteral("fest"))));
        QByteArray said;
        QElapsedTimer clock;
        clock.start();
        while (!said.contains("ohne Schutz vor einem zweiten Start") && clock.elapsed() < 10000
            && unguarded.state() == QProcess::Running) {
            unguarded.waitForReadyRead(200);
            said += unguarded.readAllStandardError();
        }
        QVERIFY2(said.contains("ohne Schutz vor einem zweiten Start"), said.constData());
        QCOMPARE(unguarded.state(), QProcess::Running);
        unguarded.kill();
        unguarded.waitForFinished(5000);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
