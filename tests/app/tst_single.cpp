// One program per user and bank: a later start finds the first, brings it to the front and ends;
// what a killed program leaves behind (its socket, its start lock) never stops the next start.
#include "app/SingleInstance.h"
#include "app/frmMain.h"
#include "common/TestPlatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QString freshKey() {
    static int n = 0;
    return QStringLiteral("ravex-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++n);
}

// What a killed program leaves: a bound socket file nobody listens on.
bool leaveStaleSocket(const QString& key) {
    const QByteArray path = QDir::temp().filePath(key).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    qstrcpy(address.sun_path, path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound && QFile::exists(QString::fromLocal8Bit(path));
}
} // namespace

class TestSingle : public QObject {
    Q_OBJECT
private slots:
    void aSecondStartEndsAndTheFirstComesToTheFront() {
        RunningProgram program;
        QVERIFY(program.main);
        const QString key = freshKey();
        SingleInstance first(key);
        QVERIFY(first.claim());
        connect(&first, &SingleInstance::activationRequested, program.main,
                [&] { BringToFront(program.main); });
        program.main->showMinimized();
        QTRY_VERIFY(program.main->isMinimized());

        SingleInstance second(key);
        QVERIFY(!second.claim());
        QVERIFY(!second.holds());
        QTRY_VERIFY(!program.main->isMinimized());
        QVERIFY(program.main->isVisible());
        QTRY_VERIFY(program.main->isActiveWindow());
        QVERIFY(first.holds());
    }

    void theKeyIsTheUsersAndTheFolders() {
        QCOMPARE(SingleInstance::KeyFor("/home/a/.local/share/vkimgdir/"),
                 SingleInstance::KeyFor("/home/a/.local/share/vkimgdir"));
        QVERIFY(SingleInstance::KeyFor("/home/a/x/") != SingleInstance::KeyFor("/home/b/x/"));
        QVERIFY(SingleInstance::KeyFor("/home/a/x/").contains(QString::number(::getuid())));
    }

    void aStaleSocketDoesNotStopTheNextStart() {
        const QString key = freshKey();
        QVERIFY(leaveStaleSocket(key));
        QElapsedTimer took;
        took.start();
        SingleInstance next(key);
        QVERIFY(next.claim());
        QVERIFY(next.holds());
        QVERIFY2(took.elapsed() < 3000, qPrintable(QString::number(took.elapsed())));
        SingleInstance later(key);
        QVERIFY(!later.claim());
    }

    void aStaleStartLockDoesNotStopTheNextStart() {
        const QString key = freshKey();
        // A lock of a process that no longer exists (the highest pid a kernel gives is lower).
        QFile lock(QDir::temp().filePath(key + ".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("2147483646\nravex\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        QElapsedTimer took;
        took.start();
        SingleInstance next(key);
        QVERIFY(next.claim());
        QVERIFY2(took.elapsed() < 3000, qPrintable(QString::number(took.elapsed())));
    }

    // The real program: a second start over the same data folder ends at once, the first runs on.
    void theProgramItself() {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SDL_AUDIODRIVER", "dummy");
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(RAVEX_PROGRAM, {});
        QVERIFY(first.waitForStarted());
        const QString key = SingleInstance::KeyFor(home.path() + "/vkimgdir/");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir::temp().filePath(key)), 10000);

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(RAVEX_PROGRAM, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // Killed, the first leaves its socket behind; the next start runs all the same.
        first.kill();
        first.waitForFinished();
        QProcess third;
        third.setProcessEnvironment(env);
        third.start(RAVEX_PROGRAM, {});
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(1500)); // still running: it did not give way to a dead one
        third.kill();
        third.waitForFinished();
        QFile::remove(QDir::temp().filePath(key));
    }
};

QTEST_MAIN(TestSingle)
#include "tst_single.moc"
