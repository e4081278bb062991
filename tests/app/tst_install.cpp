// The program as a learner installs it: the first start makes the data folder from the installed
// copy (never overwriting one), an install into a scratch root starts on an empty home, and the
// Debian package holds every file the program needs.
#include "platform/DataSeed.h"

#include <QDirIterator>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}
QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
QStringList filesIn(const QString& dir) {
    QStringList out;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}
int questionsIn(const QString& bank) {
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "count");
        db.setDatabaseName(bank);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open()) {
            QSqlQuery q("SELECT COUNT(*) FROM tblSoal", db);
            if (q.next())
                count = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("count");
    return count;
}
// Every file a started program reads from its installation, relative to the prefix.
QStringList neededFiles() {
    QStringList out{"bin/ravex", "lib/ravex/ravex", "lib/ravex/Music.mp3", "share/applications/ravex.desktop",
                    "share/icons/hicolor/scalable/apps/ravex.svg"};
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        out << QStringLiteral("share/icons/hicolor/%1x%1/apps/ravex.png").arg(size);
    for (const QString& file : filesIn(RAVEX_BUILD_DIR "/shipped/vkimgdir"))
        out << "share/ravex/vkimgdir/" + file;
    return out;
}
} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void seedingTheDataFolder_data() {
        QTest::addColumn<QStringList>("before");   // files the data folder has, each holding "mine"
        QTest::addColumn<QStringList>("expected"); // files holding "mine" afterwards
        QTest::addColumn<bool>("copied");          // whether the installed files came in
        QTest::newRow("no folder yet") << QStringList() << QStringList() << true;
        QTest::newRow("a bank already") << QStringList{"515"} << QStringList{"515"} << false;
        QTest::newRow("a bank and some pictures")
            << QStringList{"515", "0"} << QStringList{"515", "0"} << false;
        // A copy cut short: the pictures it made are kept, the rest comes in, the bank last.
        QTest::newRow("pictures but no bank") << QStringList{"0", "7"} << QStringList{"0", "7"} << true;
    }
    void seedingTheDataFolder() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, expected);
        QFETCH(bool, copied);
        QTemporaryDir root;
        const QString installed = root.filePath("share/ravex/vkimgdir");
        QVERIFY(QDir().mkpath(installed));
        for (const char* name : {"515", "0", "7", "12"})
            writeFile(installed + "/" + name, QByteArray("installed ") + name);
        QFile::setPermissions(installed + "/515", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const QString data = root.filePath("home/.local/share/vkimgdir/");
        if (!before.isEmpty())
            QVERIFY(QDir().mkpath(data));
        for (const QString& name : before)
            writeFile(data + name, "mine");

        QString error;
        QVERIFY2(SeedDataFolder(installed, data, &error), qPrintable(error));
        for (const char* name : {"515", "0", "7", "12"}) {
            const QByteArray content = readFile(data + name);
            if (expected.contains(name))
                QCOMPARE(content, QByteArray("mine"));
            else if (copied)
                QCOMPARE(content, QByteArray("installed ") + name);
            else
                QCOMPARE(content, QByteArray("<missing>"));
        }
        if (copied)
            QVERIFY(QFileInfo(data + "515").isWritable()); // the learner's bank takes edits
        // Nothing is left beside the folder.
        QCOMPARE(QDir(root.filePath("home/.local/share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"vkimgdir"});
    }

    void noInstalledCopyLeavesTheFolderAlone() {
        QTemporaryDir root;
        QVERIFY(SeedDataFolder(root.filePath("nowhere"), root.filePath("data/")));
        QVERIFY(!QDir(root.filePath("data")).exists());
    }

    // Installed into a scratch root and started on an empty home, the program makes the data
    // folder from its installed copy: the whole bank with its pictures.
    void theInstalledProgramStartsOnAnEmptyHome() {
        QTemporaryDir root;
        const QString dest = root.filePath("dest");
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", dest);
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(CMAKE_COMMAND, {"--install", RAVEX_BUILD_DIR, "--prefix", "/usr"});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        const QString prefix = dest + "/usr/";
        for (const QString& file : neededFiles())
            QVERIFY2(QFile::exists(prefix + file), qPrintable(file));
        QCOMPARE(QFileInfo(prefix + "bin/ravex").symLinkTarget(),
                 QFileInfo(prefix + "lib/ravex/ravex").absoluteFilePath());

        const QString home = root.filePath("home");
        QVERIFY(QDir().mkpath(home));
        QProcessEnvironment run = QProcessEnvironment::systemEnvironment();
        run.remove("XDG_DATA_HOME");
        run.insert("HOME", home);
        run.insert("QT_QPA_PLATFORM", "offscreen");
        run.insert("SDL_AUDIODRIVER", "dummy");
        run.insert("RAVEX_QUIT_AFTER_START", "1");
        QProcess program;
        program.setProcessEnvironment(run);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(prefix + "bin/ravex", {});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 program.readAll().constData());

        const QString data = home + "/.local/share/vkimgdir";
        QCOMPARE(filesIn(data), filesIn(prefix + "share/ravex/vkimgdir"));
        const int questions = questionsIn(data + "/515");
        QVERIFY2(questions > 400, qPrintable(QString::number(questions)));
        QCOMPARE(questions, questionsIn(RAVEX_BUILD_DIR "/shipped/vkimgdir/515"));
    }

    // The Debian package lists every file the program needs.
    void thePackageHoldsEverything() {
        if (QStandardPaths::findExecutable("dpkg-deb").isEmpty())
            QSKIP("no dpkg-deb here");
        QTemporaryDir out;
        QProcess cpack;
        cpack.setWorkingDirectory(RAVEX_BUILD_DIR);
        cpack.setProcessChannelMode(QProcess::MergedChannels);
        cpack.start(CPACK_COMMAND,
                    {"-G", "DEB", "-B", out.path(), "--config", RAVEX_BUILD_DIR "/CPackConfig.cmake"});
        QVERIFY(cpack.waitForFinished(300000));
        QVERIFY2(cpack.exitCode() == 0, cpack.readAll().constData());
        const QStringList debs = QDir(out.path()).entryList({"*.deb"});
        QCOMPARE(debs.size(), 1);
        QProcess list;
        list.start("dpkg-deb", {"-c", out.filePath(debs[0])});
        QVERIFY(list.waitForFinished(60000));
        const QString listing = QString::fromUtf8(list.readAllStandardOutput());
        QStringList files;
        for (const QString& line : listing.split('\n', Qt::SkipEmptyParts)) {
            // "-rw-r--r-- root/root 123 2024-01-01 00:00 ./usr/bin/ravex -> ../lib/ravex/ravex"
            const qsizetype at = line.indexOf(" ./usr/");
            if (at >= 0)
                files << line.mid(at + 7).section(" -> ", 0, 0);
        }
        for (const QString& file : neededFiles())
            QVERIFY2(files.contains(file), qPrintable(file));
        QProcess info;
        info.start("dpkg-deb", {"-f", out.filePath(debs[0]), "Depends"});
        QVERIFY(info.waitForFinished(60000));
        const QByteArray depends = info.readAllStandardOutput();
        for (const char* package :
             {"libqt6sql6-sqlite", "libqt6widgets6", "libsdl2-mixer", "fonts-dejavu-core", "fonts-farsiweb"})
            QVERIFY2(depends.contains(package), depends.constData());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
