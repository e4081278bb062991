// The background music through the main window's music button and timer: real MP3 files played
// by the real command device on SDL's dummy driver, and the command texts on a recording fake.
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/Recordset.h"
#include "data/SharedState.h"
#include "settings/MusicTesting.h"
#include "settings/mdlMusic.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace music;

class TestMusic : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString longTone, shortTone, defaultTone;
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;
    QStringList sent; // every command the player sent, through to the real device

    // The program started over a bank whose music setting is `setting`.
    void start(const QString& setting = QString()) {
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main);
        setMusicSetting(setting);
        bank->useAsGlobals();
    }
    void setMusicSetting(const QString& path) {
        QVERIFY(bank->exec(QStringLiteral("UPDATE tblTanzimat SET Music = '%1'").arg(path)));
    }
    QString storedMusic() {
        Recordset rs;
        rs.open(QStringLiteral("Select Music from tblTanzimat"), bank->connectionString());
        return rs.isEOF() ? QStringLiteral("<no row>") : rs.value(QStringLiteral("Music")).toString();
    }
    QStringList opens() const { return sent.filter(QRegularExpression(QStringLiteral("^open "))); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        // The program plays the Music.mp3 that lies beside it.
        QCOMPARE(mdlMusic::instance().defaultFile(), QCoreApplication::applicationDirPath() + "/Music.mp3");
        longTone = MakeTone(dir.filePath("long.mp3"), 30);
        shortTone = MakeTone(dir.filePath("short.mp3"), 1);
        defaultTone = MakeTone(dir.filePath("program/Music.mp3"), 30);
        QVERIFY2(!longTone.isEmpty() && !shortTone.isEmpty() && !defaultTone.isEmpty(),
                 "sox makes the test's music; scripts/install-deps installs it");
    }
    void init() {
        bank = std::make_unique<FixtureBank>();
        FixtureBank::fillStandard(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        sent.clear();
        mdlMusic::instance().setDefaultFile(defaultTone);
        mdlMusic::instance().setCommandSender([this](const QString& command, QString* reply) {
            sent << command;
            return mciSendString(command, reply);
        });
        gMusicFile.clear();
        gMusicDeleted = false; // as at every start of the program
    }
    void cleanup() {
        program.reset();
        QCOMPARE(Mode(), QStringLiteral("closed"));
        mdlMusic::instance().setCommandSender({});
        mdlMusic::instance().setDefaultFile(QCoreApplication::applicationDirPath() + "/Music.mp3");
    }

    void theDefaultMusicStartsAtTheFirstTick() {
        QElapsedTimer since;
        since.start();
        start();
        // Start-up opens nothing: the first tick of the running timer does.
        QCOMPARE(Mode(), QStringLiteral("closed"));
        QCOMPARE(State(main), kOn);
        QCOMPARE(Timer1(main)->interval(), 500);
        QTRY_COMPARE_WITH_TIMEOUT(Mode(), QStringLiteral("playing"), 2000);
        QVERIFY2(since.elapsed() < 1000, qPrintable(QString::number(since.elapsed())));
        QCOMPARE(State(main), kOn);
        QCOMPARE(gMusicFile, defaultTone);
        QCOMPARE(storedMusic(), defaultTone); // the default is written into the setting
        QCOMPARE(program->platform.messages.messages.size(), 0);
    }

    void withoutABankTheDefaultPlays() {
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main); // the data folder holds no bank
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        QCOMPARE(gMusicFile, defaultTone);
        QCOMPARE(State(main), kOn);
    }

    void pauseAndResumeKeepThePlace() {
        start(longTone);
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        QTRY_VERIFY_WITH_TIMEOUT(Position() > 300, 5000);

        QTest::mouseClick(MusicButton(main), Qt::LeftButton);
        QCOMPARE(State(main), kOff);
        QCOMPARE(Mode(), QStringLiteral("paused"));
        const int paused = Position();
        QTest::qWait(300);
        Tick(main, 3); // the timer is off: nothing happens
        QCOMPARE(Mode(), QStringLiteral("paused"));
        QVERIFY(qAbs(Position() - paused) <= 50);

        QTest::mouseClick(MusicButton(main), Qt::LeftButton);
        QCOMPARE(State(main), kOn);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        const int resumed = Position();
        QVERIFY2(resumed >= paused && resumed < paused + 250,
                 qPrintable(QStringLiteral("%1 after %2").arg(resumed).arg(paused)));
        QCOMPARE(opens().size(), 1); // resumed, not reopened
    }

    void aSongPlaysOnceAndAClickPlaysItAgain() {
        start(shortTone);
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        // At its end the next tick finds MP3Play still open, so the open is refused: off.
        QTRY_COMPARE_WITH_TIMEOUT(State(main), kOff, 5000);
        QCOMPARE(Mode(), QStringLiteral("closed"));
        QCOMPARE(program->platform.messages.messages.size(), 0);

        QTest::mouseClick(MusicButton(main), Qt::LeftButton);
        QCOMPARE(State(main), kOn);
        QCOMPARE(Mode(), QStringLiteral("closed")); // nothing to resume
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        QVERIFY2(Position() < 400, qPrintable(QString::number(Position()))); // from the beginning
    }

    void aSecondOpenIsRefused() {
        start(longTone);
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        mdlMusic::instance().PlayMusic(shortTone);
        QCOMPARE(State(main), kOff);
        QCOMPARE(Mode(), QStringLiteral("closed"));
    }

    void unplayableMusicSwitchesOffSilently_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("text named mp3") << QByteArray("not music at all\n") << "junk.mp3";
        QTest::newRow("empty file") << QByteArray() << "empty.mp3";
        QTest::newRow("deleted: no path") << QByteArray() << QString();
    }
    void unplayableMusicSwitchesOffSilently() {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QString path;
        if (!name.isEmpty()) {
            path = dir.filePath(name);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        } else {
            gMusicDeleted = true;
        }
        start(path);
        Tick(main);
        QCOMPARE(State(main), kOff);
        QCOMPARE(Mode(), QStringLiteral("closed"));
        QCOMPARE(opens().size(), 1);
        QCOMPARE(program->platform.messages.messages.size(), 0);
        Tick(main, 3); // off stays off
        QCOMPARE(opens().size(), 1);
    }

    void aMissingFileIsTriedAtEveryTick() {
        const QString later = dir.filePath("later.mp3");
        start(later);
        Tick(main, 3);
        QCOMPARE(State(main), kOn);
        QCOMPARE(Mode(), QStringLiteral("closed"));
        QCOMPARE(opens().size(), 0);
        QCOMPARE(sent.count(QStringLiteral("status MP3Play mode")), 3);
        QVERIFY(QFile::copy(longTone, later));
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        QCOMPARE(State(main), kOn);
    }

    void longPathsAndBlanksPlay_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("blanks") << QStringLiteral("my music/old songs");
        QString deep;
        for (int i = 0; i < 6; ++i)
            deep += QStringLiteral("a-folder-with-a-rather-long-name-to-make-the-path-long-%1/").arg(i);
        QTest::newRow("longer than a command") << deep;
    }
    void longPathsAndBlanksPlay() {
        QFETCH(QString, folder);
        const QString path = dir.filePath(folder + QStringLiteral("/my song.mp3"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QFile::copy(longTone, path));
        start(path);
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        QCOMPARE(State(main), kOn);
        QCOMPARE(gMusicFile, path);
        QCOMPARE(opens().size(), 1);
        const QString open = opens().first();
        QVERIFY2(open.size() <= MciMaxCommandLength, qPrintable(open));
        QCOMPARE(open.count(u' '), 5); // the path in it carries no blank
    }

    // The command texts of every transition, on a device that answers as told.
    void theStateTable_data() {
        QTest::addColumn<QString>("mode"); // the device's answer; "closed" refuses the question
        QTest::addColumn<int>("openResult");
        QTest::addColumn<int>("playResult");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("state");
        const QString open = QStringLiteral("open %1 type MPEGVideo Alias MP3Play");
        const QString status = QStringLiteral("status MP3Play mode");
        const QString play = QStringLiteral("play MP3Play");
        const QStringList stopClose = {QStringLiteral("stop MP3Play"), QStringLiteral("close MP3Play")};
        QTest::newRow("waiting: plays")
            << "closed" << MciOk << MciOk << QStringList{status, open, play} << kOn;
        QTest::newRow("playing: left alone") << "playing" << MciOk << MciOk << QStringList{status} << kOn;
        QTest::newRow("ended: refused, off")
            << "stopped" << MciErrAliasInUse << MciOk << (QStringList{status, open} + stopClose) << kOff;
        QTest::newRow("no device: off")
            << "closed" << MciErrNoDevice << MciOk << (QStringList{status, open} + stopClose) << kOff;
        QTest::newRow("cannot play: off")
            << "closed" << MciOk << MciErrCannotPlay << (QStringList{status, open, play} + stopClose) << kOff;
        QTest::newRow("mode is case-sensitive")
            << "Playing" << MciOk << MciOk << QStringList{status, open, play} << kOn;
    }
    void theStateTable() {
        QFETCH(QString, mode);
        QFETCH(int, openResult);
        QFETCH(int, playResult);
        QFETCH(QStringList, commands);
        QFETCH(QString, state);
        QStringList fake;
        mdlMusic::instance().setCommandSender([&](const QString& command, QString* reply) {
            fake << command;
            if (reply)
                reply->clear();
            if (command.startsWith(QLatin1String("status"))) {
                if (mode == QLatin1String("closed"))
                    return MciErrAliasNotOpen;
                *reply = mode;
            }
            if (command.startsWith(QLatin1String("open")))
                return openResult;
            if (command.startsWith(QLatin1String("play")))
                return playResult;
            return MciOk;
        });
        start(longTone);
        Tick(main);
        commands.replaceInStrings(QStringLiteral("%1"), longTone);
        QCOMPARE(fake, commands);
        QCOMPARE(State(main), state);

        // The button: pause while on, resume while off, and nothing else.
        fake.clear();
        QTest::mouseClick(MusicButton(main), Qt::LeftButton);
        const bool wasOn = state == kOn;
        QCOMPARE(fake,
                 QStringList{wasOn ? QStringLiteral("pause MP3Play") : QStringLiteral("resume MP3Play")});
        QCOMPARE(State(main), wasOn ? kOff : kOn);
        mdlMusic::instance().setCommandSender({});
    }

    void endingTheProgramStopsTheMusic_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit button") << "Command8";
        QTest::newRow("exit menu") << "mnuKhorooj";
        QTest::newRow("close box") << "close";
    }
    void endingTheProgramStopsTheMusic() {
        QFETCH(QString, how);
        start(longTone);
        Tick(main);
        QCOMPARE(Mode(), QStringLiteral("playing"));
        if (how == QLatin1String("close"))
            main->close();
        else
            program->Open(qPrintable(how));
        QCOMPARE(Mode(), QStringLiteral("closed"));
        QCOMPARE(sent.mid(sent.size() - 2), (QStringList{"stop MP3Play", "close MP3Play"}));
    }
};

QTEST_MAIN(TestMusic)
#include "tst_music.moc"
