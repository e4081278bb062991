// The background music's state table: the main window's music button and its timer as the state
// has them, through clicks, ticks and what each start came to.
#include "rules/MusicState.h"

#include <QtTest>

namespace {
// What the main window shows of a state: caption, tag, and whether the timer runs.
QString Shown(const MusicState& state) {
    return state.caption() + u'|' + state.tag() + u'|' +
           (state.timerRuns() ? QStringLiteral("ticking") : QStringLiteral("still"));
}
const QString kOn = QStringLiteral("قطع آهنگ|1|ticking");
const QString kOff = QStringLiteral("پخش آهنگ|-1|still");

MusicState InState(bool on) {
    MusicState state;
    if (!on)
        state.Click();
    return state;
}
} // namespace

class TestMusicState : public QObject {
    Q_OBJECT
private slots:
    void theProgramStartsWithTheMusicOn() { QCOMPARE(Shown(MusicState()), kOn); }

    // Each row runs a few events from a state and lists the commands they asked for. Events:
    // "tick" (nothing playing), "tick:playing", "click", and a start's outcome "played",
    // "refused", "missing".
    void theStateTable_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("shown");
        QTest::newRow("waiting: the first tick plays") << true << "tick played"
                                                       << "start" << kOn;
        QTest::newRow("playing: ticks leave it") << true << "tick:playing tick:playing"
                                                 << "" << kOn;
        QTest::newRow("playing: a click pauses") << true << "click"
                                                 << "pause" << kOff;
        QTest::newRow("paused: ticks do nothing") << false << "tick tick"
                                                  << "" << kOff;
        QTest::newRow("paused: a click resumes") << false << "click"
                                                 << "resume" << kOn;
        QTest::newRow("two clicks: paused, then resumed") << true << "click click"
                                                          << "pause resume" << kOn;
        // The alias is still open at the end of a song, so its restart is refused: played once.
        QTest::newRow("ended: refused, off, and it stays off") << true << "tick refused tick tick"
                                                               << "start" << kOff;
        QTest::newRow("off: a click, then the next tick plays afresh")
            << false << "click tick played tick:playing"
            << "resume start" << kOn;
        QTest::newRow("file missing: tried at every tick") << true << "tick missing tick missing tick missing"
                                                           << "start start start" << kOn;
        QTest::newRow("file missing while off: stays off") << false << "missing tick"
                                                           << "" << kOff;
        QTest::newRow("ended, a click while still on: off") << true << "click tick"
                                                            << "pause" << kOff;
        // Deleted in the settings: the next start plays the empty path, which the device refuses.
        QTest::newRow("deleted while on: off at the next tick") << true << "tick:playing tick refused tick"
                                                                << "start" << kOff;
        // A new file or the defaults from the settings start the music, whatever the state.
        QTest::newRow("a new file while paused plays and switches on") << false << "played"
                                                                       << "" << kOn;
        QTest::newRow("an unplayable new file while on switches off") << true << "refused"
                                                                      << "" << kOff;
    }
    void theStateTable() {
        QFETCH(bool, on);
        QFETCH(QString, events);
        QFETCH(QString, commands);
        QFETCH(QString, shown);
        MusicState state = InState(on);
        QStringList asked;
        const auto note = [&asked](MusicCommand command) {
            switch (command) {
            case MusicCommand::None:
                break;
            case MusicCommand::Start:
                asked << QStringLiteral("start");
                break;
            case MusicCommand::Pause:
                asked << QStringLiteral("pause");
                break;
            case MusicCommand::Resume:
                asked << QStringLiteral("resume");
                break;
            }
        };
        for (const QString& event : events.split(u' ', Qt::SkipEmptyParts)) {
            if (event == QLatin1String("tick"))
                note(state.Tick(false));
            else if (event == QLatin1String("tick:playing"))
                note(state.Tick(true));
            else if (event == QLatin1String("click"))
                note(state.Click());
            else if (event == QLatin1String("played"))
                state.Started(MusicStart::Playing);
            else if (event == QLatin1String("refused"))
                state.Started(MusicStart::Refused);
            else if (event == QLatin1String("missing"))
                state.Started(MusicStart::FileMissing);
            else
                QFAIL(qPrintable(QStringLiteral("no event ") + event));
        }
        QCOMPARE(asked.join(u' '), commands);
        QCOMPARE(Shown(state), shown);
    }
};

QTEST_GUILESS_MAIN(TestMusicState)
#include "tst_music_state.moc"
