// The exam as a model, without a window: the marker keys, the counter, the countdown and grading.
#include "platform/Keys.h"
#include "rules/ExamSession.h"

#include <QtTest>

namespace {
// Five questions with IDs 10, 20, ... and correct options 1, 2, 3, 4, 1.
ExamSession fiveQuestions() {
    QVector<ExamQuestion> q;
    for (int i = 1; i <= 5; ++i)
        q.append({i * 10, (i - 1) % 4 + 1, {}});
    return ExamSession(q);
}
const QTime kExamTime(0, 26); // 25 minutes and the one added
} // namespace

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void aFreshSession() {
        ExamSession s = fiveQuestions();
        QCOMPARE(s.position(), 1);
        QVERIFY(s.shown(1) && !s.shown(2));
        for (int p = 1; p <= 5; ++p)
            QCOMPARE(s.answer(p), 1);
        QCOMPARE(s.answer(0), 0);
        QCOMPARE(s.answer(6), 0);
        QVERIFY(!s.graded());
        ExamSession empty;
        QCOMPARE(empty.position(), 0);
        QVERIFY(!empty.moveTo(1));
    }

    void theMarkerKeys_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("to");
        for (int k = 1; k <= 4; ++k) {
            QTest::addRow("up from %d", k) << k << true << (k == 1 ? 4 : k - 1);
            QTest::addRow("down from %d", k) << k << false << (k == 4 ? 1 : k + 1);
        }
    }
    void theMarkerKeys() {
        QFETCH(int, from);
        QFETCH(bool, up);
        QFETCH(int, to);
        ExamSession s = fiveQuestions();
        s.moveTo(3);
        s.choose(from);
        up ? s.markerUp() : s.markerDown();
        QCOMPARE(s.answer(3), to);
        QCOMPARE(s.answer(2), 1); // only the question shown
    }

    // Only 1 to 4 choose: the digit keys 0 and 5 to 9 (Latin or Persian) change nothing.
    void onlyOneToFourChoose_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("option");
        QTest::newRow("1") << int(Qt::Key_1) << 1;
        QTest::newRow("4") << int(Qt::Key_4) << 4;
        QTest::newRow("Persian 3") << 0x06F3 << 3;
        for (int d : {0, 5, 6, 7, 8, 9}) {
            QTest::addRow("%d", d) << int(Qt::Key_0) + d << 0;
            QTest::addRow("Persian %d", d) << 0x06F0 + d << 0;
        }
    }
    void onlyOneToFourChoose() {
        QFETCH(int, key);
        QFETCH(int, option);
        QCOMPARE(keycode::OptionNumber(key), option);
        ExamSession s = fiveQuestions();
        s.choose(2);
        s.choose(keycode::OptionNumber(key));
        QCOMPARE(s.answer(1), option ? option : 2);
    }

    // The position follows the row the card arrives at; the exam read afresh lands on its first
    // row, so the counter starts again at 1.
    void theCounterFollowsTheRows() {
        ExamSession s = fiveQuestions();
        s.arrivedAt(40);
        QCOMPARE(s.position(), 4);
        QVERIFY(s.shown(4) && !s.shown(3));
        s.arrivedAt(99); // not in the exam: the position stays
        QCOMPARE(s.position(), 4);
        s.arrivedAt(10);
        QCOMPARE(s.position(), 1);
        QVERIFY(!s.moveTo(6));
        QCOMPARE(s.position(), 1);
    }

    void flagsStayWithTheirQuestions() {
        ExamSession s = fiveQuestions();
        s.moveTo(3);
        s.toggleFlag();
        s.moveTo(5);
        QVERIFY(s.flagged(3) && !s.flagged(5));
        s.moveTo(3);
        s.toggleFlag();
        QVERIFY(!s.flagged(3));
    }

    // The display counts minutes left with the seconds cut, from the first tick on; a timer that
    // fires a little early still makes the first tick a second, and time-up comes once.
    void theCountdown_data() {
        QTest::addColumn<qint64>("atMs");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first tick on time") << qint64(1000) << 1 << "00:25";
        QTest::newRow("first tick 2 ms early") << qint64(998) << 1 << "00:25";
        QTest::newRow("first tick 40 ms early") << qint64(960) << 1 << "00:25";
        QTest::newRow("a minute in") << qint64(60'000) << 60 << "00:25";
        QTest::newRow("a minute and a second in") << qint64(61'000) << 61 << "00:24";
        QTest::newRow("tick 61 a little early") << qint64(60'990) << 61 << "00:24";
        QTest::newRow("a minute left") << qint64(1'500'000) << 1500 << "00:01";
        QTest::newRow("less than a minute left") << qint64(1'501'000) << 1501 << "00:00";
        // Ticks lost on a busy machine: the clock, not the count, says how long it ran.
        QTest::newRow("ticks lost") << qint64(1'501'000) << 3 << "00:00";
        // Ticks never run ahead of the clock by more than a moment.
        QTest::newRow("ticks ahead") << qint64(1000) << 200 << "00:25";
    }
    void theCountdown() {
        QFETCH(qint64, atMs);
        QFETCH(int, ticks);
        QFETCH(QString, shown);
        ExamSession s = fiveQuestions();
        s.start(5000);
        ExamSession::Tick t;
        for (int i = 1; i <= ticks; ++i)
            t = s.tick(5000 + (i == ticks ? atMs : std::min<qint64>(atMs, i * 1000 - 10)), kExamTime);
        QCOMPARE(t.text, shown);
        QCOMPARE(t.timeUp, shown == "00:00");
    }

    void timeUpComesOnce() {
        ExamSession s = fiveQuestions();
        s.start(0);
        QCOMPARE(s.tick(1000, QTime(0, 2)).text, QStringLiteral("00:01"));
        // The limit was taken at the first tick: a later setting does not touch the exam.
        QCOMPARE(s.tick(2000, QTime(0, 30)).text, QStringLiteral("00:01"));
        QVERIFY(!s.tick(60'000, QTime(0, 30)).timeUp);
        QVERIFY(s.tick(61'000, QTime(0, 30)).timeUp);
        QVERIFY(!s.tick(62'000, QTime(0, 30)).timeUp);
        QVERIFY(s.timeUpSeen());
    }

    // What the grade button asks first, naming the questions in Persian; nothing to ask, no text.
    void theCheckBeforeGrading_data() {
        QTest::addColumn<QList<int>>("unseen");
        QTest::addColumn<QList<int>>("flagged");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << QList<int>{} << QList<int>{} << QString();
        QTest::newRow("one unseen") << QList<int>{4} << QList<int>{}
                                    << QStringLiteral("سؤال ۴ را هنوز نديده ايد. آزمون تصحيح شود؟");
        QTest::newRow("two flagged") << QList<int>{} << QList<int>{9, 11}
                                     << QStringLiteral("سؤالهاي ۹ و ۱۱ علامت دارند. آزمون تصحيح شود؟");
        QTest::newRow("both") << QList<int>{4, 17, 22} << QList<int>{9}
                              << QStringLiteral("سؤالهاي ۴، ۱۷ و ۲۲ را هنوز نديده ايد و سؤال ۹ علامت دارد. "
                                                "آزمون تصحيح شود؟");
    }
    void theCheckBeforeGrading() {
        QFETCH(QList<int>, unseen);
        QFETCH(QList<int>, flagged);
        QFETCH(QString, text);
        QCOMPARE(BeforeGradingQuestion(unseen, flagged), text);
    }
    void theCheckFollowsTheSession() {
        ExamSession s = fiveQuestions();
        QCOMPARE(s.unseenPositions(), (QVector<int>{2, 3, 4, 5}));
        for (int p = 2; p <= 5; ++p)
            s.moveTo(p);
        QVERIFY(BeforeGradingQuestion(s).isEmpty());
        s.setFlagged(2, true);
        QCOMPARE(BeforeGradingQuestion(s), QStringLiteral("سؤال ۲ علامت دارد. آزمون تصحيح شود؟"));
    }

    void grading_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("passMark");
        QTest::addColumn<int>("correct");
        QTest::addColumn<bool>("passed");
        QTest::newRow("all left on 1") << QList<int>{1, 1, 1, 1, 1} << 2 << 2 << true;
        QTest::newRow("all right") << QList<int>{1, 2, 3, 4, 1} << 5 << 5 << true;
        QTest::newRow("one short of the mark") << QList<int>{1, 2, 3, 1, 2} << 4 << 3 << false;
        QTest::newRow("at the mark") << QList<int>{1, 2, 3, 1, 2} << 3 << 3 << true;
        QTest::newRow("none right, mark 1") << QList<int>{2, 3, 4, 1, 2} << 1 << 0 << false;
    }
    void grading() {
        QFETCH(QList<int>, chosen);
        QFETCH(int, passMark);
        QFETCH(int, correct);
        QFETCH(bool, passed);
        ExamSession s = fiveQuestions();
        s.start(0);
        for (int p = 1; p <= 5; ++p)
            s.choose(p, chosen[p - 1]);
        const ExamResult r = s.grade(passMark, 779'000);
        QCOMPARE(r.questions, 5);
        QCOMPARE(r.correct, correct);
        QCOMPARE(r.wrong, 5 - correct);
        QCOMPARE(r.passed, passed);
        QCOMPARE(r.verdictText(), passed ? QStringLiteral("قبول") : QStringLiteral("مردود"));
        QCOMPARE(r.elapsedText(), QStringLiteral("00:12"));
        QCOMPARE(r.outcomes.size(), 5);
        for (int p = 1; p <= 5; ++p) {
            QCOMPARE(r.outcomes[p - 1].id, p * 10);
            QCOMPARE(r.outcomes[p - 1].chosen, chosen[p - 1]);
            QCOMPARE(r.outcomes[p - 1].right, chosen[p - 1] == (p - 1) % 4 + 1);
        }
    }

    // A question whose stored correct option is no whole number 1..4 counts wrong whatever is
    // chosen; grading again counts the answers as they then stand.
    void gradingAgainAndBadRows() {
        ExamSession s({{1, 0, {}}, {2, 3, {}}});
        s.start(0);
        s.choose(2, 3);
        QCOMPARE(s.grade(1, 0).correct, 1);
        s.choose(2, 4);
        const ExamResult again = s.grade(1, 0);
        QCOMPARE(again.correct, 0);
        QVERIFY(!again.passed);
        QCOMPARE(s.timesGraded(), 2);
        QVERIFY(s.graded());
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
