// The queue of exams and practice answers for a school server, without a server: what an item
// holds survives the queue file, items keep their order and their server, a server out of reach
// leaves them all and is told once, and a keep on the server's local copy lands in the queue.
#include "common/FixtureBank.h"
#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/SchoolLink.h"
#include "data/SharedState.h"
#include "data/UploadQueue.h"
#include "rules/ExamAssembly.h"
#include "rules/ExamDraw.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ExamRecord)
Q_DECLARE_METATYPE(LeitnerWrite)

namespace {
// Nothing listens on port 1: a server out of reach, refused at once.
const QString kGone = QStringLiteral("postgresql://ravex@127.0.0.1:1/ravex");
const QString kOther = QStringLiteral("postgresql://ravex@127.0.0.1:2/ravex");

ExamRecord exam(int answers, bool mistakes, QVariant chosen) {
    ExamRecord r;
    r.clientKey = NewClientKey();
    r.takenAt = QStringLiteral("2026-02-03T10:11:12");
    r.learner = mistakes ? QStringLiteral("مريم ك") : QString();
    r.seconds = 1234;
    r.passMark = 27;
    r.correct = answers / 2;
    r.wrong = answers - answers / 2;
    r.passed = false;
    r.mistakesExam = mistakes;
    for (int i = 0; i < answers; ++i)
        r.answers.append({100 + i, i == 0 ? chosen : QVariant(i % 4 + 1), QVariant((i + 1) % 4 + 1)});
    return r;
}

QString chosenText(const QVariant& v) {
    return v.isNull() ? QStringLiteral("null") : v.toString();
}
} // namespace

class TestUploadQueue : public QObject {
    Q_OBJECT
    QTemporaryDir data;

private slots:
    void init() {
        gDataDir = data.path() + u'/';
        QFile::remove(QueueFile());
        SetLinkedServer(QString());
        SetServerLostHandler({});
    }

    // An exam's every field and answer, a null choice included, read back as it was queued.
    void anExamSurvivesTheQueue_data() {
        QTest::addColumn<ExamRecord>("record");
        QTest::newRow("thirty, first unanswered") << exam(30, false, QVariant(QMetaType(QMetaType::Int)));
        QTest::newRow("mistakes exam") << exam(12, true, QVariant(4));
        QTest::newRow("no answers") << exam(0, false, QVariant(1));
    }
    void anExamSurvivesTheQueue() {
        QFETCH(ExamRecord, record);
        QVERIFY(EnqueueExam(kGone, record));
        const QVector<QueuedItem> items = QueuedItems(kGone);
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].clientKey, record.clientKey);
        ExamRecord back;
        back.clientKey = items[0].clientKey;
        QVERIFY(DecodeExam(items[0].body, &back));
        QCOMPARE(back.takenAt, record.takenAt);
        QCOMPARE(back.seconds, record.seconds);
        QCOMPARE(back.mistakesExam, record.mistakesExam);
        QCOMPARE(back.correct, record.correct);
        QCOMPARE(back.learner, record.learner);
        QCOMPARE(back.answers.size(), record.answers.size());
        for (int i = 0; i < record.answers.size(); ++i) {
            QCOMPARE(back.answers[i].id, record.answers[i].id);
            QCOMPARE(chosenText(back.answers[i].chosen), chosenText(record.answers[i].chosen));
            QCOMPARE(chosenText(back.answers[i].correct), chosenText(record.answers[i].correct));
        }
    }

    // A step of the box: its cards, removals, settings (with or without a last day) and practice
    // answers, each answer under a key of its own.
    void aStepOfTheBoxSurvivesTheQueue_data() {
        QTest::addColumn<LeitnerWrite>("write");
        LeitnerWrite practice;
        practice.put.append({3, 2, QDate(2026, 1, 5), QStringLiteral("ab")});
        practice.practice.append({3, QDate(2026, 1, 2), true});
        practice.practice.append({4, QDate(2026, 1, 2), false});
        QTest::newRow("practice") << practice;
        LeitnerWrite state;
        state.remove = {7, 8};
        state.writeState = true;
        state.state = {15, QDate(2026, 1, 2), 4};
        QTest::newRow("settings") << state;
        LeitnerWrite noDay;
        noDay.writeState = true;
        noDay.state = {20, QDate(), 0};
        QTest::newRow("settings, no day yet") << noDay;
    }
    void aStepOfTheBoxSurvivesTheQueue() {
        QFETCH(LeitnerWrite, write);
        const LeitnerRecord record = KeyedLeitner(write);
        QCOMPARE(record.practiceKeys.size(), write.practice.size());
        QCOMPARE(QSet<QString>(record.practiceKeys.begin(), record.practiceKeys.end()).size(),
                 write.practice.size());
        LeitnerRecord back;
        QVERIFY(DecodeLeitner(EncodeLeitner(record), &back));
        QCOMPARE(back.practiceKeys, record.practiceKeys);
        QCOMPARE(back.write.remove, write.remove);
        QCOMPARE(back.write.writeState, write.writeState);
        QCOMPARE(back.write.state.newPerDay, write.state.newPerDay);
        QCOMPARE(back.write.state.lastNewDay, write.state.lastNewDay);
        QCOMPARE(back.write.state.newOnLastDay, write.state.newOnLastDay);
        QCOMPARE(back.write.put.size(), write.put.size());
        for (int i = 0; i < write.put.size(); ++i) {
            QCOMPARE(back.write.put[i].id, write.put[i].id);
            QCOMPARE(back.write.put[i].due, write.put[i].due);
            QCOMPARE(back.write.put[i].fingerprint, write.put[i].fingerprint);
        }
        for (int i = 0; i < write.practice.size(); ++i) {
            QCOMPARE(back.write.practice[i].id, write.practice[i].id);
            QCOMPARE(back.write.practice[i].day, write.practice[i].day);
            QCOMPARE(back.write.practice[i].right, write.practice[i].right);
        }
    }

    // A damaged text is refused rather than sent up half read.
    void aDamagedItemIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isExam");
        QTest::newRow("exam: not json") << "{oops" << true;
        QTest::newRow("exam: no answers") << R"({"takenAt":"2026-01-01T00:00:00"})" << true;
        QTest::newRow("exam: short answer") << R"({"takenAt":"x","answers":[[1,2]]})" << true;
        QTest::newRow("box: not json") << "" << false;
        QTest::newRow("box: practice without key")
            << R"({"put":[],"practice":[[1,"2026-01-01",true,""]]})" << false;
        QTest::newRow("box: practice without day") << R"({"put":[],"practice":[[1,"",true,"%1"]]})" << false;
        QTest::newRow("box: short card") << R"({"put":[[1,2]],"practice":[]})" << false;
    }
    void aDamagedItemIsRefused() {
        QFETCH(QString, text);
        QFETCH(bool, isExam);
        text = text.contains(QLatin1String("%1")) ? text.arg(NewClientKey()) : text;
        ExamRecord e;
        LeitnerRecord l;
        QVERIFY(!(isExam ? DecodeExam(text, &e) : DecodeLeitner(text, &l)));
    }

    // Items come back oldest first, each server's apart.
    void itemsKeepTheirOrderAndServer() {
        const ExamRecord a = exam(1, false, 1), b = exam(1, false, 2), c = exam(1, false, 3);
        QVERIFY(EnqueueExam(kGone, a));
        QVERIFY(EnqueueExam(kOther, b));
        QVERIFY(EnqueueLeitner(kGone, KeyedLeitner(LeitnerWrite())));
        QVERIFY(EnqueueExam(kGone, c));
        QStringList kinds;
        for (const QueuedItem& item : QueuedItems(kGone))
            kinds << item.kind + u':' + (item.kind == QLatin1String("exam") ? item.clientKey : QString());
        QCOMPARE(kinds, (QStringList{QStringLiteral("exam:") + a.clientKey, QStringLiteral("leitner:"),
                                     QStringLiteral("exam:") + c.clientKey}));
        QCOMPARE(WaitingCount(kOther), 1);
        QCOMPARE(QueuedItems().size(), 4);
        QVERIFY(!EnqueueExam(kGone, a)); // a key is queued once
    }

    // A server out of reach takes nothing and the queue stays whole; the learner is told once an
    // outage, and again after the server was back.
    void aServerOutOfReachLeavesTheQueueAndIsToldOnce() {
        if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kServerDriver)))
            QSKIP("Qt's PostgreSQL driver is not installed");
        SetLinkedServer(kGone);
        int told = 0;
        SetServerLostHandler([&told] { ++told; });
        QVERIFY(EnqueueExam(kGone, exam(3, false, 1)));
        QVERIFY(EnqueueExam(kGone, exam(3, false, 2)));
        for (int i = 0; i < 2; ++i) {
            const UploadOutcome out = UploadQueue(kGone);
            QVERIFY(!out.reached);
            QCOMPARE(out.uploaded, 0);
            QCOMPARE(out.waiting, 2);
        }
        QCoreApplication::processEvents();
        QCOMPARE(told, 1);
        QVERIFY(ServerLost());
        NoteServerBack();
        UploadQueue(kGone);
        QCoreApplication::processEvents();
        QCOMPARE(told, 2);
        QCOMPARE(WaitingCount(kGone), 2);
    }

    // What a server's failure means for a queued item: only a statement the server rejects as wrong
    // sets the item aside; a lost connection, a lock, a right or a full disk leave it waiting.
    void whatAFailureMeansForAnItem_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("delivery");
        const int later = int(Delivery::Later), refused = int(Delivery::Refused);
        QTest::newRow("connection lost in words") << ""
                                                  << "server closed the connection unexpectedly" << later;
        QTest::newRow("connection failure") << "08006"
                                            << "" << later;
        QTest::newRow("administrator shutdown") << "57P01"
                                                << "" << later;
        QTest::newRow("lock not available") << "55P03"
                                            << "" << later;
        QTest::newRow("deadlock") << "40P01"
                                  << "" << later;
        QTest::newRow("no right to write") << "42501"
                                           << "" << later;
        QTest::newRow("disk full") << "53100"
                                   << "" << later;
        QTest::newRow("check violated") << "23514"
                                        << "" << refused;
        QTest::newRow("not null violated") << "23502"
                                           << "" << refused;
        QTest::newRow("no such column") << "42703"
                                        << "" << refused;
    }
    void whatAFailureMeansForAnItem() {
        if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kServerDriver)))
            QSKIP("Qt's PostgreSQL driver is not installed");
        QFETCH(QString, state);
        QFETCH(QString, text);
        QFETCH(int, delivery);
        const QString name = QStringLiteral("classify");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kServerDriver), name);
            const QSqlError error(QString(), text, QSqlError::StatementError, state);
            QCOMPARE(int(DeliveryOf(db, error)), delivery);
        }
        QSqlDatabase::removeDatabase(name);
    }

    // Which banks' writes go by the queue, and for which server.
    void whichBanksAreLinked_data() {
        QTest::addColumn<QString>("linked");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("isLinked");
        QTest::addColumn<bool>("localCopy");
        QTest::addColumn<QString>("server");
        QTest::newRow("a file, no server") << ""
                                           << "FILE:515" << false << false << "";
        QTest::newRow("the copy, no server") << ""
                                             << "FILE:515-school" << false << false << "";
        QTest::newRow("a server") << "" << kOther << true << false << kOther;
        QTest::newRow("the copy of the server") << kGone << "FILE:515-school" << true << true << kGone;
        QTest::newRow("the bank file beside it") << kGone << "FILE:515" << false << false << kGone;
        QTest::newRow("another server") << kGone << kOther << true << false << kOther;
    }
    void whichBanksAreLinked() {
        QFETCH(QString, linked);
        QFETCH(QString, source);
        QFETCH(bool, isLinked);
        QFETCH(bool, localCopy);
        QFETCH(QString, server);
        SetLinkedServer(linked);
        source.replace(QStringLiteral("FILE:"), gDataDir);
        const QString cs = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + source + u';';
        QCOMPARE(LinkedBank(cs), isLinked);
        QCOMPARE(IsLocalCopy(cs), localCopy);
        QCOMPARE(ServerOf(cs), server);
    }

    // On the local copy of a server out of reach, a graded exam is kept in the copy for this run's
    // windows and waits in the queue in the source's numbering; so does a step of the box.
    void aKeepOnTheLocalCopyWaitsInTheQueue() {
        FixtureBank fixture;
        fixture.addCategory(QStringLiteral("A"), 1, QStringLiteral("general"), QStringLiteral("الف"));
        for (int id = 1; id <= 40; ++id)
            fixture.addQuestion(id, QStringLiteral("A"), id % 4 + 1);
        QVERIFY2(fixture.write(), qPrintable(fixture.lastError));
        gDataDir = fixture.dataDir();
        QVERIFY(QFile::copy(fixture.bankPath(), LocalCopyFile()));
        SetLinkedServer(kGone);
        int told = 0;
        SetServerLostHandler([&told] { ++told; });
        const QString copy =
            QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + LocalCopyFile() + u';';
        InitExamRanges();
        QVector<int> ids;
        for (int id = 1; id <= 30; ++id)
            ids << id;
        QVERIFY(AssembleExamOf(copy, ids).ok);
        GradedExam graded;
        graded.takenAt = QDateTime(QDate(2026, 1, 1), QTime(10, 0));
        graded.passMark = 27;
        Connection c(copy);
        QSqlQuery q(c.database());
        QVERIFY(q.exec(QStringLiteral("SELECT ID, O1 FROM tblAzmoonTartib ORDER BY Position")));
        QHash<int, int> shownOfFirst; // where source option 1 was shown
        while (q.next()) {
            graded.ids << q.value(0).toInt();
            graded.shownChosen << 1;
            graded.shownCorrect << QVariant(1);
            shownOfFirst.insert(q.value(0).toInt(), q.value(1).toInt());
        }
        QCOMPARE(graded.ids.size(), 30);
        const KeepResult kept = KeepExam(copy, graded);
        QVERIFY2(kept.kept, qPrintable(kept.reason));
        QCOMPARE(KeptExams(copy).size(), 1);
        const QVector<QueuedItem> items = QueuedItems(kGone);
        QCOMPARE(items.size(), 1);
        ExamRecord record;
        QVERIFY(DecodeExam(items[0].body, &record));
        QCOMPARE(record.answers.size(), 30);
        for (const ExamRecord::Answer& a : record.answers)
            QCOMPARE(a.chosen.toInt(), shownOfFirst.value(a.id)); // the source's numbering

        LeitnerWrite step;
        step.put.append({2, 1, QDate(2026, 1, 2), QStringLiteral("x")});
        step.practice.append({2, QDate(2026, 1, 1), true});
        QVERIFY(WriteLeitner(copy, step));
        QCOMPARE(QueuedItems(kGone).size(), 2);
        QCOMPARE(QueuedItems(kGone).last().kind, QStringLiteral("leitner"));
        QVERIFY(q.exec(QStringLiteral("SELECT Box FROM tblLeitner WHERE ID = 2")) && q.next());
    }
};

QTEST_MAIN(TestUploadQueue)
#include "tst_upload_queue.moc"
