// The program as a learner installs it: the first start makes the data folder from the installed
// copy (never overwriting one), an install into a scratch root starts on an empty home, and the
// Debian package holds every file the program needs, in the form Debian's tools accept.
#include "platform/DataSeed.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

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
    QStringList out{"bin/ravex",
                    "libexec/ravex/ravex",
                    "libexec/ravex/Music.mp3",
                    "libexec/ravex/ravex_progresschart.so",
                    "share/applications/ravex.desktop",
                    "share/icons/hicolor/scalable/apps/ravex.svg"};
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        out << QStringLiteral("share/icons/hicolor/%1x%1/apps/ravex.png").arg(size);
    for (const QString& file : filesIn(RAVEX_BUILD_DIR "/shipped/vkimgdir"))
        out << "share/ravex/vkimgdir/" + file;
    return out;
}
// The package's copyright, changelog and manual page, relative to the prefix.
const QString kCopyright = QStringLiteral("share/doc/ravex/copyright");
const QString kChangelog = QStringLiteral("share/doc/ravex/changelog.gz");
const QString kManualPage = QStringLiteral("share/man/man1/ravex.1.gz");
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
                 QFileInfo(prefix + "libexec/ravex/ravex").absoluteFilePath());

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

    // The Debian package holds every file the program needs, its copyright, changelog and manual
    // page, names what it loads at run time among its dependencies and runs nothing at install.
    void thePackageHoldsEverything() {
        if (!havePackage())
            return;
        for (const QString& file : neededFiles() + QStringList{kCopyright, kChangelog, kManualPage})
            QVERIFY2(QFile::exists(packageRoot() + file), qPrintable(file));
        QCOMPARE(QFileInfo(packageRoot() + "bin/ravex").symLinkTarget(),
                 QFileInfo(packageRoot() + "libexec/ravex/ravex").absoluteFilePath());
        const QByteArray depends = packageField("Depends");
        for (const char* package :
             {"libqt6sql6-sqlite", "libqt6widgets6", "libsdl2-mixer", "fonts-dejavu-core", "fonts-farsiweb"})
            QVERIFY2(depends.contains(package), depends.constData());
        // Nothing on the loader's path, nothing to configure: no maintainer scripts at all.
        QTemporaryDir control;
        QCOMPARE(run("dpkg-deb", {"-e", deb_, control.path()}).code, 0);
        QCOMPARE(QDir(control.path()).entryList(QDir::Files), (QStringList{"control", "md5sums"}));
        QVERIFY(
            readFile(packageRoot() + kCopyright)
                .startsWith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
    }

    // Every program file is stripped of its symbols and debugging sections, and names libc among
    // its libraries (a shared object that leaves it out relies on whoever loads it).
    void theBinariesAreStrippedAndNameLibc() {
        if (!havePackage())
            return;
        QStringList elves;
        for (const QString& file : filesIn(packageRoot())) {
            QFile f(packageRoot() + file);
            if (!QFileInfo(f).isSymLink() && f.open(QIODevice::ReadOnly) && f.read(4) == "\177ELF")
                elves << file;
        }
        QCOMPARE(elves, (QStringList{"libexec/ravex/ravex", "libexec/ravex/ravex_progresschart.so"}));
        for (const QString& file : elves) {
            const Run sections = run("readelf", {"-S", "--wide", packageRoot() + file});
            QCOMPARE(sections.code, 0);
            QVERIFY2(!sections.out.contains(".symtab"), qPrintable(file));
            QVERIFY2(!sections.out.contains(".debug_"), qPrintable(file));
            const Run dynamic = run("readelf", {"-d", packageRoot() + file});
            QVERIFY2(dynamic.out.contains("Shared library: [libc.so.6]"),
                     qPrintable(file + "\n" + dynamic.out));
        }
    }

    // The compressed texts are compressed as the packaging rules want: at the highest level, and
    // without a file name or a time stamp, so the same text always makes the same package.
    void theCompressedTextsAreReproducible_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("changelog") << kChangelog;
        QTest::newRow("manual page") << kManualPage;
    }
    void theCompressedTextsAreReproducible() {
        QFETCH(QString, file);
        if (!havePackage())
            return;
        const QByteArray bytes = readFile(packageRoot() + file);
        QVERIFY2(bytes.size() > 10 && bytes.startsWith("\x1f\x8b\x08"), qPrintable(file));
        QCOMPARE(bytes[3] & 0x08, 0);                   // no file name
        QCOMPARE(bytes.mid(4, 4), QByteArray(4, '\0')); // no time stamp
        QCOMPARE(int(bytes[8]), 2);                     // the slowest, best compression
        QVERIFY(!run("gzip", {"-dc", packageRoot() + file}).out.isEmpty());
    }

    // The changelog's latest entry is for the packaged version, in the form dpkg reads: a new
    // version without its entry fails here.
    void theChangelogNamesThisVersion() {
        if (!havePackage())
            return;
        const QStringList lines = QString::fromUtf8(run("gzip", {"-dc", packageRoot() + kChangelog}).out)
                                      .split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 3);
        const QRegularExpressionMatch head =
            QRegularExpression(R"(^ravex \(([^)]+)\) [a-z-]+; urgency=\w+$)").match(lines.first());
        QVERIFY2(head.hasMatch(), qPrintable(lines.first()));
        QCOMPARE(head.captured(1).toUtf8(), packageField("Version"));
        const QRegularExpression trailer(
            R"(^ -- .+ <[^>]+>  \w{3}, \d\d \w{3} \d{4} \d\d:\d\d:\d\d [+-]\d{4}$)");
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString& l) { return trailer.match(l).hasMatch(); }),
                 qPrintable(lines.join('\n')));
    }

    // "man ravex" shows the page without a complaint from the formatter, for the packaged version,
    // and every installed path the page names is in the package.
    void theManualPageReadsAndNamesRealFiles() {
        if (!havePackage())
            return;
        if (QStandardPaths::findExecutable("man").isEmpty())
            QSKIP("no man here");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MANWIDTH", "80");
        env.insert("LC_ALL", "C.UTF-8");
        const Run page =
            run("man", {"--warnings", "-E", "UTF-8", "-l", "-P", "cat", packageRoot() + kManualPage}, env);
        QCOMPARE(page.code, 0);
        QVERIFY2(page.err.isEmpty(), page.err.constData());
        const QString text = QString::fromUtf8(page.out);
        QVERIFY2(text.contains("ravex - Persian trainer for the written driving-licence exam"),
                 qPrintable(text));
        QVERIFY2(text.contains("~/.local/share/vkimgdir/"), qPrintable(text));
        QVERIFY2(text.contains("Ravex " + packageField("Version")), qPrintable(text));
        int named = 0;
        for (const QRegularExpressionMatch& m :
             QRegularExpression(R"(/usr/([\w./-]*\w/?))").globalMatch(text)) {
            QVERIFY2(QFileInfo::exists(packageRoot() + m.captured(1)), qPrintable(m.captured(0)));
            ++named;
        }
        QVERIFY(named >= 5);
    }

    // Debian's own checker finds no error in the package. A sanitizer build's package is only ever
    // made by the tests, and its runtime libraries are not what is shipped: lintian skips it.
    void lintianFindsNoError() {
        if (!havePackage())
            return;
        if (QStandardPaths::findExecutable("lintian").isEmpty())
            QSKIP("no lintian here");
        if (run("readelf", {"-d", packageRoot() + "libexec/ravex/ravex"}).out.contains("libasan"))
            QSKIP("a sanitizer build");
        const Run lintian =
            run("lintian", {"--fail-on", "error", "--no-tag-display-limit", deb_}, {}, 120000);
        const QString out = QString::fromUtf8(lintian.out);
        QVERIFY2(lintian.code == 0, qPrintable(out + lintian.err));
        // Warnings are shown, not failed on: a newer lintian may know a tag this one does not.
        for (const QString& line : out.split('\n'))
            if (line.startsWith("W: "))
                qWarning().noquote() << line;
    }

private:
    struct Run {
        int code = -1;
        QByteArray out;
        QByteArray err;
    };
    // Runs a tool to its end; an empty environment stands for this test's own.
    static Run run(const QString& program, const QStringList& args, const QProcessEnvironment& env = {},
                   int timeoutMs = 60000) {
        QProcess process;
        process.setProcessEnvironment(env.isEmpty() ? QProcessEnvironment::systemEnvironment() : env);
        process.start(program, args);
        Run result;
        if (!process.waitForFinished(timeoutMs)) {
            result.err = program.toUtf8() + " did not finish: " + process.errorString().toUtf8();
            return result;
        }
        result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QString packageRoot() const { return packageDir_.filePath("root/usr/"); }

    QByteArray packageField(const char* field) const {
        return run("dpkg-deb", {"-f", deb_, field}).out.trimmed();
    }

    // Makes the package once, for every test that reads it, and unpacks it; false (the test
    // skipped or failed) when it cannot be had.
    bool havePackage() {
        if (QStandardPaths::findExecutable("dpkg-deb").isEmpty()) {
            QTest::qSkip("no dpkg-deb here", __FILE__, __LINE__);
            return false;
        }
        if (!deb_.isEmpty())
            return true;
        if (packageFailed_) {
            QTest::qFail("the package could not be made", __FILE__, __LINE__);
            return false;
        }
        packageFailed_ = true;
        QProcess cpack;
        cpack.setWorkingDirectory(RAVEX_BUILD_DIR);
        cpack.setProcessChannelMode(QProcess::MergedChannels);
        cpack.start(CPACK_COMMAND, {"-G", "DEB", "-B", packageDir_.path(), "--config",
                                    RAVEX_BUILD_DIR "/CPackConfig.cmake"});
        if (!cpack.waitForFinished(300000) || cpack.exitCode() != 0) {
            QTest::qFail(cpack.readAll().constData(), __FILE__, __LINE__);
            return false;
        }
        const QStringList debs = QDir(packageDir_.path()).entryList({"*.deb"});
        if (debs.size() != 1) {
            QTest::qFail(qPrintable("packages made: " + debs.join(' ')), __FILE__, __LINE__);
            return false;
        }
        const QString deb = packageDir_.filePath(debs[0]);
        const Run unpack = run("dpkg-deb", {"-x", deb, packageDir_.filePath("root")});
        if (unpack.code != 0) {
            QTest::qFail(unpack.err.constData(), __FILE__, __LINE__);
            return false;
        }
        deb_ = deb;
        packageFailed_ = false;
        return true;
    }

    QTemporaryDir packageDir_;
    QString deb_;
    bool packageFailed_ = false;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
