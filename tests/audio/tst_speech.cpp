// The desktop's speech stack itself: Qt TextToSpeech over speech-dispatcher with espeak-ng's
// Persian voice. Each test starts its own speech-dispatcher (the speechd engine spawns it) in a
// private runtime folder, with its sound going to ALSA's null device, so it runs on a machine
// without a sound card and never disturbs a desktop's own.
#include "audio/Speech.h"
#include "rules/Utterance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QtTest>

#include <csignal>

class TestSpeech : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QByteArray runtimeBefore, configBefore;

    // The speech-dispatcher this test started, ended by its own pid file.
    void endOurDispatcher() {
        QFile pidFile(home.filePath(QStringLiteral("run/speech-dispatcher/pid/speech-dispatcher.pid")));
        if (!pidFile.open(QIODevice::ReadOnly))
            return;
        bool ok = false;
        const qint64 pid = pidFile.readAll().trimmed().toLongLong(&ok);
        if (ok && pid > 1)
            ::kill(pid_t(pid), SIGTERM);
    }

private slots:
    void initTestCase() {
#if defined(__SANITIZE_ADDRESS__)
        // The speech-dispatcher client reads the voice list (thousands of lines) with a string
        // search per line; under the sanitizer's checked string functions that alone takes minutes.
        QSKIP("the speech-dispatcher client's voice list takes minutes under AddressSanitizer");
#endif
        if (QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty())
            QSKIP("speech-dispatcher is not installed (scripts/install-deps installs it)");
        if (!QTextToSpeech::availableEngines().contains(QStringLiteral("speechd")))
            QSKIP("Qt TextToSpeech has no speech-dispatcher engine (qt6-speech-speechd-plugin)");
        QVERIFY(home.isValid());
        QDir(home.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(home.path()).mkpath(QStringLiteral("config/speech-dispatcher"));
        QFile conf(home.filePath(QStringLiteral("config/speech-dispatcher/speechd.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("AudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\nDefaultModule espeak-ng\n");
        conf.close();
        runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
        configBefore = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("run")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    }
    void cleanupTestCase() {
        endOurDispatcher();
        qputenv("XDG_RUNTIME_DIR", runtimeBefore);
        qputenv("XDG_CONFIG_HOME", configBefore);
    }

    // A Persian sentence is spoken, and its end is reported: the engine is back at Ready.
    void aPersianSentenceIsSpokenToItsEnd() {
        DesktopSpeaker speaker;
        if (!speaker.available())
            QSKIP("speech-dispatcher offers no Persian voice here (speech-dispatcher-espeak-ng)");
        QVERIFY(!speaker.voices().isEmpty());
        QSignalSpy started(&speaker, &Speaker::started);
        QSignalSpy finished(&speaker, &Speaker::finished);
        speaker.say(SpokenText(QStringLiteral("حداكثر سرعت در جاده ۵۰ كيلومتر است.")));
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(speaker.engineState(), int(QTextToSpeech::Ready));
        QVERIFY(!speaker.speaking());
    }

    // Stopped, a reading ends at once and is not reported finished; a chosen voice is the one read
    // with.
    void stoppedAndEveryVoice() {
        DesktopSpeaker speaker;
        if (!speaker.available())
            QSKIP("speech-dispatcher offers no Persian voice here (speech-dispatcher-espeak-ng)");
        QSignalSpy started(&speaker, &Speaker::started);
        QSignalSpy finished(&speaker, &Speaker::finished);
        speaker.setRate(-1.0); // slowest, so the stop comes well before the end
        speaker.say(QuestionUtterance(
            QStringLiteral("كدام گزينه درست است؟"),
            {QStringLiteral("يك"), QStringLiteral("دو"), QStringLiteral("سه"), QStringLiteral("چهار")}));
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        speaker.stop();
        QTRY_COMPARE_WITH_TIMEOUT(speaker.engineState(), int(QTextToSpeech::Ready), 5000);
        QTest::qWait(300);
        QCOMPARE(finished.count(), 0);

        // espeak-ng offers two hundred Persian variants: the first and the last stand for them.
        speaker.setRate(0.0);
        const QStringList voices = speaker.voices();
        for (const QString& voice : {voices.first(), voices.last()}) {
            speaker.setVoice(voice);
            speaker.say(QStringLiteral("سلام"));
            QTRY_VERIFY2_WITH_TIMEOUT(finished.count() > 0, qPrintable(voice), 20000);
            QCOMPARE(speaker.engineVoice(), voice);
            finished.clear();
        }
    }
};

QTEST_GUILESS_MAIN(TestSpeech)
#include "tst_speech.moc"
