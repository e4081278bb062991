// The exam's countdown and time taken as the exam window and the result show them: hours and
// minutes, the seconds cut.
#include "rules/Grading.h"

#include <QtTest>

class TestCountdown : public QObject {
    Q_OBJECT
private slots:
    void remainingAndElapsed_data() {
        QTest::addColumn<QTime>("limit"); // the exam's time plus one minute
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QString>("elapsed");
        const QTime limit(0, 26);
        const auto at = [](int minutes, int seconds, int ms = 0) {
            return qint64(minutes) * 60'000 + seconds * 1000 + ms;
        };
        QTest::newRow("at the start") << limit << at(0, 0) << "00:26"
                                      << "00:00";
        QTest::newRow("a part of a second counts for nothing") << limit << at(0, 0, 999) << "00:26"
                                                               << "00:00";
        QTest::newRow("first second") << limit << at(0, 1) << "00:25"
                                      << "00:00";
        QTest::newRow("half a second into the last minute of 11") << QTime(0, 11) << at(10, 0, 500) << "00:01"
                                                                  << "00:10";
        QTest::newRow("seconds cut, not rounded") << limit << at(12, 59) << "00:13"
                                                  << "00:12";
        QTest::newRow("a quarter of an hour") << limit << at(15, 0) << "00:11"
                                              << "00:15";
        QTest::newRow("last second before zero") << limit << at(24, 59) << "00:01"
                                                 << "00:24";
        QTest::newRow("a whole minute left at the nominal time") << limit << at(25, 0) << "00:01"
                                                                 << "00:25";
        QTest::newRow("zero just after the nominal time") << limit << at(25, 1) << "00:00"
                                                          << "00:25";
        QTest::newRow("zero at the limit") << limit << at(26, 0) << "00:00"
                                           << "00:26";
        // Past the limit the countdown stays at zero instead of going round to "23:59".
        QTest::newRow("past the limit") << limit << at(30, 0) << "00:00"
                                        << "00:30";
        QTest::newRow("a day and more") << limit << at(25 * 60, 0) << "00:00"
                                        << "23:59";
        QTest::newRow("a clock gone back counts as no time") << limit << -at(0, 5) << "00:26"
                                                             << "00:00";
        QTest::newRow("an exam of more than an hour") << QTime(1, 31) << at(60, 0) << "00:31"
                                                      << "01:00";
        QTest::newRow("no limit") << QTime() << at(0, 0) << "00:00"
                                  << "00:00";
    }
    void remainingAndElapsed() {
        QFETCH(QTime, limit);
        QFETCH(qint64, elapsedMs);
        QFETCH(QString, remaining);
        QFETCH(QString, elapsed);
        QCOMPARE(RemainingText(limit, elapsedMs), remaining);
        QCOMPARE(ElapsedText(elapsedMs), elapsed);
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
