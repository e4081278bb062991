// The music device: real MP3 files played through the command interpreter on SDL's dummy driver.
#include "audio/Mci.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <SDL.h>

namespace {

const QString kAlias = QStringLiteral("MP3Play");

QString openCommand(const QString& path, const QString& alias = kAlias) {
    return QStringLiteral("open ") + path + QStringLiteral(" type MPEGVideo Alias ") + alias;
}

int send(const QString& verb, const QString& alias = kAlias) {
    return mciSendString(verb + u' ' + alias);
}

QString status(const QString& item, const QString& alias = kAlias) {
    QString reply;
    if (mciSendString(QStringLiteral("status ") + alias + u' ' + item, &reply) != MciOk)
        return QStringLiteral("(failed)");
    return reply;
}

QString mode(const QString& alias = kAlias) {
    return status(QStringLiteral("mode"), alias);
}

int position(const QString& alias = kAlias) {
    return status(QStringLiteral("position"), alias).toInt();
}

bool audioHeld() {
    return SDL_WasInit(SDL_INIT_AUDIO) != 0;
}

} // namespace

class TestAudio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void playsPausesAndResumesInPlace();
    void playsAShortFileToItsEnd();
    void oneAliasOneMusic();
    void unplayableFilesAreRefused_data();
    void unplayableFilesAreRefused();
    void noAudioDeviceFailsTheOpen();
    void commandsAreParsed_data();
    void commandsAreParsed();
    void pathWithBlanksPlaysThroughItsShortForm();
    void longPathPlaysTheRightFileThroughItsShortForm();

private:
    QString makeTone(const QString& path, double seconds);

    QTemporaryDir dir_;
    QString sox_;
    QString oneSecond_;
};

void TestAudio::initTestCase() {
    QVERIFY(dir_.isValid());
    sox_ = QStandardPaths::findExecutable(QStringLiteral("sox"));
    QVERIFY2(!sox_.isEmpty(), "sox makes the test's music; scripts/install-deps installs it");
    oneSecond_ = makeTone(dir_.filePath(QStringLiteral("one.mp3")), 1);
    QVERIFY(!oneSecond_.isEmpty());
    QVERIFY2(QFileInfo::exists(QStringLiteral(RAVEX_MUSIC_FILE)), RAVEX_MUSIC_FILE);
}

// Every test leaves the aliases it used closed, and so the sound card free.
void TestAudio::cleanup() {
    for (const char* alias : {"MP3Play", "Other"})
        send(QStringLiteral("close"), QString::fromLatin1(alias));
    QVERIFY(!audioHeld());
}

QString TestAudio::makeTone(const QString& path, double seconds) {
    const QStringList args = {QStringLiteral("-n"),    QStringLiteral("-r"),     QStringLiteral("44100"),
                              QStringLiteral("-c"),    QStringLiteral("1"),      path,
                              QStringLiteral("synth"), QString::number(seconds), QStringLiteral("sine"),
                              QStringLiteral("440"),   QStringLiteral("fade"),   QStringLiteral("0.05")};
    return QProcess::execute(sox_, args) == 0 ? path : QString();
}

void TestAudio::playsPausesAndResumesInPlace() {
    QCOMPARE(mciSendString(openCommand(QStringLiteral(RAVEX_MUSIC_FILE))), MciOk);
    QVERIFY(audioHeld());
    QCOMPARE(mode(), QStringLiteral("stopped"));
    // The shipped music is long enough not to repeat too soon.
    QVERIFY2(status(QStringLiteral("length")).toInt() > 20000, qPrintable(status(QStringLiteral("length"))));

    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
    QTRY_VERIFY_WITH_TIMEOUT(position() > 400, 5000);

    QCOMPARE(send(QStringLiteral("pause")), MciOk);
    QCOMPARE(mode(), QStringLiteral("paused"));
    const int paused = position();
    QTest::qWait(300);
    QCOMPARE(mode(), QStringLiteral("paused"));
    QVERIFY2(qAbs(position() - paused) <= 50, qPrintable(QString::number(position() - paused)));

    QCOMPARE(send(QStringLiteral("resume")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
    const int resumed = position();
    QVERIFY2(resumed >= paused && resumed < paused + 250,
             qPrintable(QStringLiteral("%1 after %2").arg(resumed).arg(paused)));
    QTRY_VERIFY_WITH_TIMEOUT(position() > resumed + 200, 5000);

    // Play starts over from the beginning, even from a pause.
    QCOMPARE(send(QStringLiteral("pause")), MciOk);
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
    QVERIFY2(position() < paused, qPrintable(QStringLiteral("%1 from %2").arg(position()).arg(paused)));

    QCOMPARE(send(QStringLiteral("stop")), MciOk);
    QCOMPARE(mode(), QStringLiteral("stopped"));
    // Resume does not wake stopped music.
    QCOMPARE(send(QStringLiteral("resume")), MciOk);
    QCOMPARE(mode(), QStringLiteral("stopped"));
}

void TestAudio::playsAShortFileToItsEnd() {
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciOk);
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
    QTRY_COMPARE_WITH_TIMEOUT(mode(), QStringLiteral("stopped"), 5000);
    // Once is once: no loop brings it back.
    QTest::qWait(200);
    QCOMPARE(mode(), QStringLiteral("stopped"));
    // Played out, a pause has nothing to hold, and the music can be played again.
    QCOMPARE(send(QStringLiteral("pause")), MciOk);
    QCOMPARE(mode(), QStringLiteral("stopped"));
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
}

void TestAudio::oneAliasOneMusic() {
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciOk);
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciErrAliasInUse);
    QCOMPARE(mciSendString(openCommand(QStringLiteral(RAVEX_MUSIC_FILE), QStringLiteral("mp3play"))),
             MciErrAliasInUse);
    // The refused open left the first music as it was.
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));

    // The mixer has one music stream: playing another alias stops this one.
    QCOMPARE(mciSendString(openCommand(QStringLiteral(RAVEX_MUSIC_FILE), QStringLiteral("Other"))), MciOk);
    QCOMPARE(send(QStringLiteral("play"), QStringLiteral("Other")), MciOk);
    QCOMPARE(mode(), QStringLiteral("stopped"));
    QCOMPARE(mode(QStringLiteral("Other")), QStringLiteral("playing"));
    QCOMPARE(send(QStringLiteral("pause")), MciOk); // not on the stream: nothing to pause
    QCOMPARE(mode(QStringLiteral("Other")), QStringLiteral("playing"));
    QCOMPARE(send(QStringLiteral("close"), QStringLiteral("Other")), MciOk);
    QVERIFY(audioHeld()); // MP3Play is still open

    QCOMPARE(send(QStringLiteral("stop")), MciOk);
    QCOMPARE(send(QStringLiteral("close")), MciOk);
    QVERIFY(!audioHeld());
    for (const char* verb : {"play", "pause", "resume", "stop", "close", "status MP3Play mode"}) {
        const QString command = QString::fromLatin1(verb).contains(u' ')
                                    ? QString::fromLatin1(verb)
                                    : QString::fromLatin1(verb) + u' ' + kAlias;
        QString reply = QStringLiteral("stale");
        QCOMPARE(mciSendString(command, &reply), MciErrAliasNotOpen);
        QCOMPARE(reply, QString());
    }

    // A closed alias is free again.
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciOk);
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
}

void TestAudio::unplayableFilesAreRefused_data() {
    QTest::addColumn<QString>("path");
    const QString text = dir_.filePath(QStringLiteral("notes.mp3"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < 200; ++i)
        file.write("Not music at all, only a line of text that claims to be an MP3.\n");
    file.close();
    const QString empty = dir_.filePath(QStringLiteral("empty.mp3"));
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    const QString folder = dir_.filePath(QStringLiteral("folder.mp3"));
    QVERIFY(QDir().mkpath(folder));

    QTest::newRow("text") << text;
    QTest::newRow("empty") << empty;
    QTest::newRow("missing") << dir_.filePath(QStringLiteral("missing.mp3"));
    QTest::newRow("folder") << folder;
    QTest::newRow("no path") << QString();
}

void TestAudio::unplayableFilesAreRefused() {
    QFETCH(QString, path);
    QCOMPARE(mciSendString(openCommand(path)), MciErrCannotOpenFile);
    QVERIFY(!audioHeld());
    QCOMPARE(send(QStringLiteral("play")), MciErrAliasNotOpen);
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciOk);
}

void TestAudio::noAudioDeviceFailsTheOpen() {
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    const int code = mciSendString(openCommand(oneSecond_));
    qputenv("SDL_AUDIODRIVER", driver);
    QCOMPARE(code, MciErrNoDevice);
    QVERIFY(!audioHeld());
    QCOMPARE(send(QStringLiteral("play")), MciErrAliasNotOpen);
    // The device is looked for again at the next open.
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciOk);
}

void TestAudio::commandsAreParsed_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reply");
    const QString open = openCommand(oneSecond_);
    QTest::newRow("keywords in any case") << QStringLiteral("STATUS mp3play MODE") << MciOk << "stopped";
    QTest::newRow("blanks around") << QStringLiteral("  status   MP3Play  mode ") << MciOk << "stopped";
    QTest::newRow("empty") << QString() << MciErrUnrecognizedCommand << "";
    QTest::newRow("verb alone") << QStringLiteral("play") << MciErrUnrecognizedCommand << "";
    QTest::newRow("unknown verb") << QStringLiteral("rewind MP3Play") << MciErrUnrecognizedCommand << "";
    QTest::newRow("extra word") << QStringLiteral("play MP3Play repeat") << MciErrUnrecognizedCommand << "";
    QTest::newRow("status without item")
        << QStringLiteral("status MP3Play") << MciErrUnrecognizedCommand << "";
    QTest::newRow("unknown status item")
        << QStringLiteral("status MP3Play volume") << MciErrUnrecognizedCommand << "";
    QTest::newRow("open without alias")
        << QStringLiteral("open %1 type MPEGVideo").arg(oneSecond_) << MciErrUnrecognizedCommand << "";
    QTest::newRow("other device type") << QStringLiteral("open %1 type WaveAudio Alias Other").arg(oneSecond_)
                                       << MciErrUnknownDeviceType << "";
    QTest::newRow("too long") << QStringLiteral("status MP3Play mode") + QString(250, u' ')
                              << MciErrCommandTooLong << "";
}

// MP3Play is open on the one-second tone for each row.
void TestAudio::commandsAreParsed() {
    QFETCH(QString, command);
    QFETCH(int, code);
    QFETCH(QString, reply);
    QCOMPARE(mciSendString(openCommand(oneSecond_)), MciOk);
    QString answer = QStringLiteral("stale");
    QCOMPARE(mciSendString(command, &answer), code);
    QCOMPARE(answer, reply);
    QVERIFY(!mciGetErrorString(code).startsWith(QLatin1String("Unknown")));
    // A failed command leaves the open music as it was.
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
}

void TestAudio::pathWithBlanksPlaysThroughItsShortForm() {
    const QString folder = dir_.filePath(QStringLiteral("my music/driving lessons"));
    QVERIFY(QDir().mkpath(folder));
    const QString song = makeTone(folder + QStringLiteral("/calm song.mp3"), 1.5);
    QVERIFY(!song.isEmpty());

    const QString shortPath = GetShortPathName(song);
    QVERIFY2(!shortPath.isEmpty() && !shortPath.contains(u' ') && shortPath.size() < 100,
             qPrintable(shortPath));
    QCOMPARE(QFileInfo(shortPath).canonicalFilePath(), QFileInfo(song).canonicalFilePath());
    QCOMPARE(GetShortPathName(song), shortPath); // one link per file, made once

    QCOMPARE(mciSendString(openCommand(shortPath)), MciOk);
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
    QCOMPARE(send(QStringLiteral("close")), MciOk);
    QVERIFY(QFile::remove(shortPath)); // the link, not the song
    QVERIFY(QFileInfo::exists(song));

    // The open command's path may also be quoted, blanks and all.
    QCOMPARE(mciSendString(openCommand(u'"' + song + u'"')), MciOk);

    // A short plain path is its own short form; a missing file has none.
    QCOMPARE(GetShortPathName(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(GetShortPathName(folder + QStringLiteral("/missing song.mp3")), QString());
    QCOMPARE(GetShortPathName(QString()), QString());
}

void TestAudio::longPathPlaysTheRightFileThroughItsShortForm() {
    QString folder = dir_.path();
    for (int i = 0; folder.size() < 270; ++i)
        folder += QStringLiteral("/lesson-folder-with-a-rather-long-descriptive-name-%1").arg(i);
    QVERIFY(QDir().mkpath(folder));
    // Two seconds, so that it cannot be taken for the one-second tone.
    const QString song = makeTone(folder + QStringLiteral("/two.mp3"), 2);
    QVERIFY(!song.isEmpty());

    QCOMPARE(mciSendString(openCommand(song)), MciErrCommandTooLong);
    QVERIFY(!audioHeld());

    const QString shortPath = GetShortPathName(song);
    QVERIFY2(!shortPath.isEmpty() && shortPath.size() < 100, qPrintable(shortPath));
    QVERIFY(openCommand(shortPath).size() <= MciMaxCommandLength);
    QCOMPARE(mciSendString(openCommand(shortPath)), MciOk);
    const int length = status(QStringLiteral("length")).toInt();
    QVERIFY2(length > 1800 && length < 2400, qPrintable(QString::number(length)));
    QCOMPARE(send(QStringLiteral("play")), MciOk);
    QCOMPARE(mode(), QStringLiteral("playing"));
    QVERIFY(QFileInfo(shortPath).isSymLink());
    QFile::remove(shortPath);
}

QTEST_GUILESS_MAIN(TestAudio)
#include "tst_audio.moc"
