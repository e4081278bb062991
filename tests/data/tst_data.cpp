// The data layer over a real bank file: every SQL text the windows send, the bound source's
// cursor and notifications, writes, and banks that are missing or broken.
#include "common/BankLocks.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/Explanations.h"
#include "data/JetSql.h"
#include "data/Recordset.h"
#include "data/Settings.h"
#include "data/Sql.h"
#include "ui/Binding.h"

#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {
QList<int> ids(BoundSource& s) {
    QList<int> out;
    if (!s.moveFirst())
        return out;
    while (!s.isEOF()) {
        out.append(s.value(QStringLiteral("ID")).toInt());
        s.moveNext();
    }
    return out;
}

QStringList column(BoundSource& s, const QString& name) {
    QStringList out;
    if (!s.moveFirst())
        return out;
    while (!s.isEOF()) {
        out.append(s.text(name));
        s.moveNext();
    }
    return out;
}

bool ascending(const QList<int>& v) {
    return std::is_sorted(v.begin(), v.end()) && !v.isEmpty();
}

// The large category: question 60 of the standard fixture, then 3000 more with gaps between their
// numbers, so pages are found by key and never by arithmetic on IDs.
const QString kLargeCategory = QStringLiteral("Select * from qrySoalat Where NoeSoal ='R03'");
QList<int> largeIds() {
    QList<int> out{60};
    for (int id = 1000; id <= 9997; id += 3)
        out.append(id);
    return out;
}
constexpr int kMostRowsHeld = 3 * 32; // a few pages, whatever the size of the result

// The statements the data layer ran while it lived, as logged under ravex.sql.
struct StatementLog {
    LogCapture capture{"ravex.sql", QtDebugMsg};
    int count(const QString& part) const {
        return static_cast<int>(std::count_if(capture.messages.begin(), capture.messages.end(),
                                              [&](const QString& m) { return m.contains(part); }));
    }
};
} // namespace

class TestData : public QObject {
    Q_OBJECT
    FixtureBank* bank = nullptr;

    std::unique_ptr<BoundSource> open(const QString& sql) {
        auto s = std::make_unique<BoundSource>();
        s->setConnectionString(bank->connectionString());
        s->setRecordSource(sql);
        s->refresh();
        return s;
    }

    std::unique_ptr<BoundSource> openLarge() {
        const bool added =
            bank->exec("INSERT INTO tblSoal (ID, Majmooe, NoeSoal, SoorateSoal, G_Sahih) "
                       "WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 3 FROM n WHERE i < 9997) "
                       "SELECT i, 'general', 'R03', 'سؤال ' || i, 1 + i % 4 FROM n");
        return added ? open(kLargeCategory) : nullptr;
    }

private slots:
    void init() {
        bank = new FixtureBank;
        FixtureBank::fillStandard(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
    }
    void cleanup() { delete bank; }

    void connectionStrings_data() {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("file");
        QTest::newRow("windows example")
            << "Provider=Microsoft.jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\vkimgdir\\515;"
            << "C:\\WINDOWS\\system32\\vkimgdir\\515";
        QTest::newRow("linux")
            << "Provider=Microsoft.jet.OLEDB.4.0;Data Source=/root/.local/share/vkimgdir/515;"
            << "/root/.local/share/vkimgdir/515";
        QTest::newRow("blanks in the path") << "Provider=x;Data Source=/a b/c d/515;"
                                            << "/a b/c d/515";
        QTest::newRow("quoted with a semicolon") << "Provider=x;Data Source=\"/a;b/515\";"
                                                 << "/a;b/515";
        QTest::newRow("key case") << "data source=/x/515"
                                  << "/x/515";
        QTest::newRow("no source") << "Provider=Microsoft.jet.OLEDB.4.0;"
                                   << "";
    }
    void connectionStrings() {
        QFETCH(QString, connection);
        QFETCH(QString, file);
        QCOMPARE(DataSourceOf(connection), file);
    }

    void jetDialect() {
        QCOMPARE(jetsql::Adapt("Delete * from tblAzmoon"), QStringLiteral("DELETE FROM tblAzmoon"));
        QCOMPARE(jetsql::Adapt("tblAzmoon"), QStringLiteral("SELECT * FROM tblAzmoon"));
        QCOMPARE(jetsql::Adapt("Select * from qrySoalat"), QStringLiteral("Select * from qrySoalat"));
        QCOMPARE(jetsql::SourceTable("Select Music from tblTanzimat"), QStringLiteral("tblTanzimat"));
        QCOMPARE(jetsql::SourceTable("Select * from qryTabloha Where ID =5"), QStringLiteral("qryTabloha"));
        QCOMPARE(jetsql::QuoteText("O'Reilly"), QStringLiteral("O''Reilly"));
    }

    // Every text the windows send, word for word as the catalogue gives it, with what it must
    // return over the standard fixture: as this program writes the bank, and as another program
    // that has only the saved queries and the tables the windows name would.
    void everySqlText_data() {
        QTest::addColumn<bool>("foreign");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("firstId");
        for (const bool foreign : {false, true}) {
            const auto row = [foreign](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(QString::fromLatin1(name) + (foreign ? " foreign" : "")))
                       << foreign;
            };
            row("general") << sql::Questions(Collection::General) << "Select * from qrySoalat" << 31 << 1;
            row("general by category") << sql::CategoryFilterPrefix(Collection::General) + "R02'"
                                       << "Select * from qrySoalat Where NoeSoal ='R02'" << 5 << 2;
            row("signs") << sql::Questions(Collection::Signs) << "Select * from qryTabloha" << 25 << 300;
            row("signs by category") << sql::CategoryFilterPrefix(Collection::Signs) + "T_EKHTAR'"
                                     << "Select * from qryTabloha Where NoeSoal ='T_EKHTAR'" << 5 << 340;
            row("archive") << sql::Questions(Collection::Old) << "Select * from qrySoalatOLD" << 4 << 200;
            row("archive by category") << sql::CategoryFilterPrefix(Collection::Old) + "O86'"
                                       << "Select * from qrySoalatOLD Where NoeSoal ='O86'" << 1 << 268;
            row("exam pool range") << sql::ExamPoolNumbers(1, 301)
                                   << "Select ID from qrySoalateAzmoon Where ID >= 1 And ID < 301" << 32 << 1;
            row("exam pool by numbers")
                << sql::ExamPoolWhere("ID=3 Or ID=300 Or ID=200 Or ID=999")
                << "Select * from qrySoalateAzmoon Where (ID=3 Or ID=300 Or ID=200 Or ID=999)" << 2 << 3;
            row("exam pool by category")
                << sql::CategoryFilterPrefix(Collection::ExamPool) + "T_HOKM'"
                << "Select * from qrySoalateAzmoon Where NoeSoal ='T_HOKM'" << 6 << 360;
            row("editor lookup general")
                << sql::SaveLookups("5").value(0) << "Select * from qrySoalat Where ID =5" << 1 << 5;
            row("editor lookup general misses a sign")
                << sql::SaveLookups("300").value(0) << "Select * from qrySoalat Where ID =300" << 0 << 0;
            row("editor lookup signs")
                << sql::SaveLookups("300").value(1) << "Select * from qryTabloha Where ID =300" << 1 << 300;
            row("current exam") << sql::ExamQuestions() << "Select * from tblAzmoon" << 0 << 0;
            row("emptying the exam") << sql::ClearExam() << "Delete * from tblAzmoon" << 0 << 0;
            row("the exam by name") << sql::ExamTable() << "tblAzmoon" << 0 << 0;
            row("music") << sql::MusicSetting() << "Select Music from tblTanzimat" << 1 << 0;
        }
    }
    void everySqlText() {
        QFETCH(bool, foreign);
        QFETCH(QString, sql);
        QFETCH(QString, words);
        QFETCH(int, count);
        QFETCH(int, firstId);
        QCOMPARE(sql, words);
        if (foreign)
            QVERIFY2(bank->writeForeign(), qPrintable(bank->lastError));
        auto s = open(sql);
        QCOMPARE(s->recordCount(), count);
        const QList<int> got = ids(*s);
        if (firstId) {
            QCOMPARE(got.first(), firstId);
            QVERIFY(ascending(got));
        }
    }

    void categoryListsFollowTheOrderColumn_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("words");
        QTest::newRow("signs")
            << sql::CategoryList(Collection::Signs)
            << QStringList{"T_AKHBARI", "T_CHAHARRAH", "T_EKHTAR", "T_HOKM", "T_SEHRAH"}
            << "Select qryNoeSoaleTabloha.NoeSoal,tblNoeSoal.Farsi from qryNoeSoaleTabloha,"
               "tblNoeSoal Where tblNoeSoal.NoeSoal = qryNoeSoaleTabloha.NoeSoal";
        QTest::newRow("general")
            << sql::CategoryList(Collection::General) << QStringList{"R01", "R02", "R03"}
            << "Select qryNoeSoal.NoeSoal,tblNoeSoal.Farsi from qryNoeSoal,tblNoeSoal Where "
               "tblNoeSoal.NoeSoal = qryNoeSoal.NoeSoal";
        QTest::newRow("archive") << sql::CategoryList(Collection::Old) << QStringList{"O85", "O86"}
                                 << "Select qryNoeSoalatOLD.NoeSoal,tblNoeSoal.Farsi from qryNoeSoalatOLD,"
                                    "tblNoeSoal Where tblNoeSoal.NoeSoal = qryNoeSoalatOLD.NoeSoal";
        QTest::newRow("exam pool")
            << sql::CategoryList(Collection::ExamPool)
            << QStringList{"T_AKHBARI", "T_CHAHARRAH", "T_EKHTAR", "T_HOKM", "T_SEHRAH", "R01", "R02", "R03"}
            << "Select qryNoeSoaleAzmoon.NoeSoal,tblNoeSoal.Farsi from qryNoeSoaleAzmoon,"
               "tblNoeSoal Where tblNoeSoal.NoeSoal = qryNoeSoaleAzmoon.NoeSoal";
    }
    void categoryListsFollowTheOrderColumn() {
        QFETCH(QString, sql);
        QFETCH(QStringList, codes);
        QFETCH(QString, words);
        QCOMPARE(sql, words);
        // Store the categories in the reverse of their list order, so only the order column
        // can put them right.
        QVERIFY(bank->exec("UPDATE tblNoeSoal SET rowid = 1000 - Tartib"));
        auto s = open(sql);
        QCOMPARE(column(*s, QStringLiteral("NoeSoal")), codes);
        QCOMPARE(column(*s, QStringLiteral("Farsi")).count(QString()), 0);
    }

    void signTitlesMatchTheButtons() {
        auto s = open("Select qryNoeSoaleTabloha.NoeSoal,tblNoeSoal.Farsi from qryNoeSoaleTabloha,tblNoeSoal "
                      "Where tblNoeSoal.NoeSoal = qryNoeSoaleTabloha.NoeSoal");
        QCOMPARE(column(*s, QStringLiteral("Farsi")),
                 (QStringList{"علائم اخباري", "حق تقدم در چهارراه", "علائم اخطار كننده", "علائم حكم كننده",
                              "حق تقدم در سه راه"}));
    }

    void codesAreQuotedSafely() {
        bank->addCategory(QStringLiteral("O'X"), 60, QStringLiteral("general"),
                          QStringLiteral("با آپوستروف"));
        bank->addQuestion(70, QStringLiteral("O'X"), 1);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        auto s = open("Select * from qrySoalat Where NoeSoal ='" + jetsql::QuoteText("O'X") + "'");
        QCOMPARE(ids(*s), QList<int>{70});
        auto injected =
            open("Select * from qrySoalat Where NoeSoal ='" + jetsql::QuoteText("x' Or '1'='1") + "'");
        QCOMPARE(injected->recordCount(), 0);
    }

    void movesCountsAndEnds() {
        auto s = open("Select * from qrySoalat Where NoeSoal ='R02'");
        QCOMPARE(s->recordCount(), 5);
        QVERIFY(!s->isBOF() && !s->isEOF());
        QCOMPARE(s->value("ID").toInt(), 2);
        QVERIFY(s->moveLast());
        QCOMPARE(s->value("ID").toInt(), 10);
        QVERIFY(s->moveNext()); // onto end-of-file
        QVERIFY(s->isEOF() && !s->isBOF());
        QVERIFY(!s->value("ID").isValid());
        QVERIFY(!s->moveNext()); // past it: refused
        QVERIFY(s->movePrevious());
        QCOMPARE(s->value("ID").toInt(), 10);
        QVERIFY(s->moveFirst());
        QVERIFY(s->movePrevious()); // onto begin-of-file
        QVERIFY(s->isBOF());
        QVERIFY(!s->movePrevious());
        QVERIFY(s->moveFromFirst(3));
        QCOMPARE(s->value("ID").toInt(), 8);
        QVERIFY(s->moveFromFirst(5));
        QVERIFY(s->isEOF());
        QVERIFY(!s->moveFromFirst(6));
        QCOMPARE(s->recordCount(), 5);
    }

    void notificationsAroundEveryMove() {
        auto s = open("Select * from qrySoalat Where NoeSoal ='R02'");
        QStringList events;
        connect(s.get(), &BoundSource::willMove, [&] { events << "will:" + s->text("ID"); });
        connect(s.get(), &BoundSource::moveComplete, [&] { events << "done:" + s->text("ID"); });
        s->moveNext();
        s->moveLast();
        s->moveNext();
        s->moveNext(); // refused: no notification
        s->refresh();  // a fresh result announces its first row on both sides
        QCOMPARE(events, (QStringList{"will:2", "done:4", "will:4", "done:10", "will:10", "done:", "will:2",
                                      "done:2"}));
    }

    // A result of thousands of rows walked both ways: every row once, in order, across every page
    // boundary, with only a few pages ever held.
    void largeResultWalkedBothWays() {
        auto s = openLarge();
        QVERIFY(s);
        const QList<int> expected = largeIds();
        QCOMPARE(s->recordCount(), expected.size());
        QList<int> forward;
        int mostHeld = 0;
        for (bool more = s->moveFirst(); more && !s->isEOF(); more = s->moveNext()) {
            forward.append(s->value("ID").toInt());
            mostHeld = std::max(mostHeld, s->heldRows());
        }
        QCOMPARE(forward, expected);
        QVERIFY(s->isEOF() && !s->isBOF());
        QList<int> backward;
        for (bool more = s->moveLast(); more && !s->isBOF(); more = s->movePrevious()) {
            backward.prepend(s->value("ID").toInt());
            mostHeld = std::max(mostHeld, s->heldRows());
        }
        QCOMPARE(backward, expected);
        QVERIFY(s->isBOF() && !s->isEOF());
        QVERIFY(mostHeld <= kMostRowsHeld);
        QVERIFY(!s->movePrevious()); // begin-of-file: refused
        QVERIFY(s->moveNext());
        QCOMPARE(s->value("ID").toInt(), 60);
    }

    void largeResultMovedByN_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("id"); // 0: end-of-file; -1: refused
        const QList<int> all = largeIds();
        QTest::newRow("first") << 0 << 60;
        QTest::newRow("last of the first page") << 31 << all[31];
        QTest::newRow("first of the second page") << 32 << all[32];
        QTest::newRow("middle") << 1500 << all[1500];
        QTest::newRow("last") << int(all.size()) - 1 << all.last();
        QTest::newRow("end-of-file") << int(all.size()) << 0;
        QTest::newRow("beyond") << int(all.size()) + 1 << -1;
        QTest::newRow("negative") << -1 << -1;
    }
    void largeResultMovedByN() {
        QFETCH(int, n);
        QFETCH(int, id);
        auto s = openLarge();
        QVERIFY(s);
        QVERIFY(s->moveNext()); // away from the first row, so the move has somewhere to go
        const bool moved = s->moveFromFirst(n);
        QCOMPARE(moved, id >= 0);
        if (id > 0) {
            QCOMPARE(s->value("ID").toInt(), id);
            // its neighbours are the result's, whichever page they were read from
            const QList<int> all = largeIds();
            if (s->movePrevious() && !s->isBOF())
                QCOMPARE(s->value("ID").toInt(), all[n - 1]);
        } else if (id == 0) {
            QVERIFY(s->isEOF());
            QVERIFY(s->movePrevious()); // back onto the last row
            QCOMPARE(s->value("ID").toInt(), largeIds().last());
        } else {
            QCOMPARE(s->value("ID").toInt(), largeIds()[1]); // a refused move stays put
        }
        QVERIFY(s->heldRows() <= kMostRowsHeld);
    }

    // Only the rows a move needs are read, and the first of them only when something looks.
    void rowsAreReadOnlyWhenLookedAt() {
        auto s = openLarge();
        QVERIFY(s);
        StatementLog log;
        s->setRecordSource("Select * from qrySoalat Where NoeSoal ='R01'");
        QVERIFY(s->refresh()); // replaced below before anyone reads it
        s->setRecordSource("Select * from qryTabloha Where NoeSoal ='T_HOKM'");
        QVERIFY(s->refresh());
        s->setRecordSource(kLargeCategory);
        QVERIFY(s->refresh());
        QCOMPARE(log.capture.messages.size(), 0);
        QCOMPARE(s->value("ID").toInt(), 60); // the first page, and nothing else
        QCOMPARE(log.capture.messages.size(), 1);
        QCOMPARE(log.count("R01") + log.count("T_HOKM") + log.count("count("), 0);
        for (int i = 0; i < 31; ++i)
            QVERIFY(s->moveNext()); // within the page: nothing read
        QCOMPARE(log.capture.messages.size(), 1);
        QVERIFY(s->moveNext()); // onto the second page
        QCOMPARE(log.capture.messages.size(), 2);
        QCOMPARE(s->recordCount(), largeIds().size()); // counted once, when asked
        QCOMPARE(s->recordCount(), largeIds().size());
        QCOMPARE(log.count("count("), 1);
    }

    void notificationsAcrossPages() {
        auto s = openLarge();
        QVERIFY(s);
        const QList<int> all = largeIds();
        QVERIFY(s->moveFromFirst(31));
        QStringList events;
        connect(s.get(), &BoundSource::willMove, [&] { events << "will:" + s->text("ID"); });
        connect(s.get(), &BoundSource::currentRowChanged, [&] { events << "row:" + s->text("ID"); });
        connect(s.get(), &BoundSource::moveComplete, [&] { events << "done:" + s->text("ID"); });
        s->moveNext();     // reads the next page
        s->movePrevious(); // back, within what is held
        s->moveFromFirst(int(all.size()));
        s->moveNext(); // refused at end-of-file: nothing said
        const auto id = [&](int n) { return QString::number(all[n]); };
        QCOMPARE(events, (QStringList{"will:" + id(31), "row:" + id(32), "done:" + id(32), "will:" + id(32),
                                      "row:" + id(31), "done:" + id(31), "will:" + id(31), "row:", "done:"}));
    }

    // A row far into the result, reached by moving or by position, is written back by its ID.
    void updateInALaterPage_data() {
        QTest::addColumn<bool>("byStepping");
        QTest::newRow("stepped to") << true;
        QTest::newRow("moved to by position") << false;
    }
    void updateInALaterPage() {
        QFETCH(bool, byStepping);
        auto s = openLarge();
        QVERIFY(s);
        const int n = 2000;
        if (byStepping) {
            for (int i = 0; i < n; ++i)
                QVERIFY(s->moveNext());
        } else {
            QVERIFY(s->moveFromFirst(n));
        }
        const int id = s->value("ID").toInt();
        QCOMPARE(id, largeIds()[n]);
        QVERIFY(s->setValue("SoorateSoal", QStringLiteral("متن تازه")));
        QVERIFY(s->update());
        QVERIFY(s->moveFirst() && s->moveFromFirst(n)); // away and back: read afresh
        QCOMPARE(s->text("SoorateSoal"), QStringLiteral("متن تازه"));
        auto check = open(QStringLiteral("Select * from qrySoalat Where ID =%1").arg(id));
        QCOMPARE(check->text("SoorateSoal"), QStringLiteral("متن تازه"));
        auto neighbour = open(QStringLiteral("Select * from qrySoalat Where ID =%1").arg(id + 3));
        QCOMPARE(neighbour->text("SoorateSoal"), QStringLiteral("سؤال %1").arg(id + 3));
    }

    void emptyResult() {
        auto s = open("Select * from qrySoalat Where NoeSoal ='NONE'");
        int notes = 0;
        connect(s.get(), &BoundSource::willMove, [&] { ++notes; });
        QCOMPARE(s->recordCount(), 0);
        QVERIFY(s->isBOF() && s->isEOF());
        QVERIFY(!s->moveFirst() && !s->moveLast() && !s->moveNext() && !s->movePrevious());
        QVERIFY(!s->moveFromFirst(0));
        QCOMPARE(notes, 0);
        QVERIFY(!s->value("ID").isValid());
        QVERIFY(!s->update());
    }

    void boundWidgetsChangeOnlyWithTheirText() {
        auto s = open("Select * from qrySoalat Where NoeSoal ='R01'"); // G_Sahih 1,2,3,4,1,...
        QLabel sahih;
        QLabel text;
        int sahihChanges = 0;
        auto* binder = new Binder(s.get());
        binder->bind("G_Sahih", &sahih, [&] { ++sahihChanges; });
        binder->bind("SoorateSoal", &text);
        QCOMPARE(sahih.text(), QStringLiteral("1"));
        QCOMPARE(text.text(), QStringLiteral("متن سؤال 1"));
        QCOMPARE(sahihChanges, 1);
        s->moveNext();
        QCOMPARE(sahih.text(), QStringLiteral("2"));
        QCOMPARE(sahihChanges, 2);
        s->refresh(); // back on the first row: "1" again
        QCOMPARE(sahihChanges, 3);
        s->refresh(); // same row, same text: no change
        QCOMPARE(sahihChanges, 3);
        s->setRecordSource("Select * from qrySoalat Where NoeSoal ='NONE'");
        s->refresh();
        QCOMPARE(sahih.text(), QString());
        QCOMPARE(text.text(), QString());
    }

    void writesThroughTheUpdatableViews() {
        auto general = open("Select * from qrySoalat Where ID =3");
        QVERIFY(general->setValue("SoorateSoal", QStringLiteral("متن تازه")));
        QVERIFY(general->setValue("G_Sahih", QStringLiteral("4")));
        QVERIFY(general->update());
        auto signs = open("Select * from qryTabloha Where ID =300");
        QVERIFY(signs->setValue("G2", QStringLiteral("گزینه تازه")));
        QVERIFY(signs->update());

        auto check = open("Select * from qrySoalateAzmoon Where (ID=3 Or ID=300)");
        QCOMPARE(check->text("SoorateSoal"), QStringLiteral("متن تازه"));
        QCOMPARE(check->value("G_Sahih"), QVariant(4)); // stored as a number
        check->moveNext();
        QCOMPARE(check->text("G2"), QStringLiteral("گزینه تازه"));
    }

    void theBankRefusesWhatItMustRefuse_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("G_Sahih 2.5") << "G_Sahih" << QVariant(QStringLiteral("2.5"));
        QTest::newRow("G_Sahih 5") << "G_Sahih" << QVariant(5);
        QTest::newRow("G_Sahih 0") << "G_Sahih" << QVariant(0);
        QTest::newRow("G_Sahih text") << "G_Sahih" << QVariant(QStringLiteral("x"));
        QTest::newRow("unknown category") << "NoeSoal" << QVariant(QStringLiteral("NOPE"));
    }
    void theBankRefusesWhatItMustRefuse() {
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        auto s = open("Select * from qrySoalat Where ID =3");
        const QString before = s->text(column);
        QVERIFY(s->setValue(column, value));
        QVERIFY(!s->update());
        auto again = open("Select * from qrySoalat Where ID =3");
        QCOMPARE(again->text(column), before);
    }

    void idsStayWithinTheirRange() {
        QVERIFY(!bank->exec(
            "INSERT INTO tblSoal (ID, Majmooe, NoeSoal, G_Sahih) VALUES (32768, 'general', 'R01', 1)"));
        QVERIFY(!bank->exec(
            "INSERT INTO tblSoal (ID, Majmooe, NoeSoal, G_Sahih) VALUES (3, 'general', 'R01', 1)"));
        QVERIFY(bank->exec(
            "INSERT INTO tblSoal (ID, Majmooe, NoeSoal, G_Sahih) VALUES (32767, 'general', 'R01', 1)"));
    }

    void currentExamIsEmptiedAndAppendedByName() {
        Recordset rs;
        QVERIFY(rs.open("tblAzmoon", bank->connectionString()));
        for (int id : {5, 3, 9}) {
            QVERIFY(rs.addRow({{"ID", id},
                               {"SoorateSoal", "q"},
                               {"G1", "a"},
                               {"G2", "b"},
                               {"G3", "c"},
                               {"G4", "d"},
                               {"G_Sahih", 2},
                               {"Shekl", 0},
                               {"NoeSoal", "R01"}}));
        }
        rs.close();
        auto exam = open("Select * from tblAzmoon");
        QCOMPARE(ids(*exam), (QList<int>{3, 5, 9}));

        QVERIFY(rs.open("Delete * from tblAzmoon", bank->connectionString()));
        QCOMPARE(rs.recordCount(), 0);
        rs.close();
        exam->refresh();
        QCOMPARE(exam->recordCount(), 0);
    }

    // Rows appended one after another share one prepared statement: a row that fails (a number
    // already there) leaves the next one free to go in, and other columns get their own.
    void appendsShareAStatement() {
        Connection c(bank->connectionString());
        Recordset rs;
        QVERIFY(rs.open("tblAzmoon", c));
        QVERIFY(rs.addRow({{"ID", 4}, {"G_Sahih", 1}}));
        QVERIFY(rs.addRow({{"ID", 6}, {"G_Sahih", 2}}));
        QVERIFY(!rs.addRow({{"ID", 4}, {"G_Sahih", 3}}));
        QVERIFY(rs.addRow({{"ID", 8}, {"G_Sahih", 4}}));
        QVERIFY(rs.addRow({{"ID", 2}, {"G_Sahih", 1}, {"NoeSoal", "R01"}}));
        rs.close();
        auto exam = open("Select * from tblAzmoon");
        QCOMPARE(ids(*exam), (QList<int>{2, 4, 6, 8}));
        QCOMPARE(column(*exam, "G_Sahih"), (QStringList{"1", "1", "2", "4"}));
    }

    // Grading reads the first rows' answers without taking the card through each: one move
    // (to the first row) is all the bound controls see.
    void firstRowsWithoutWalking() {
        auto s = open("Select * from qrySoalat");
        const QList<int> all = ids(*s);
        QVERIFY(all.size() > 3);
        s->moveLast();
        int moves = 0;
        connect(s.get(), &BoundSource::moveComplete, this, [&moves] { ++moves; });
        const QVector<QVariantList> rows = s->firstRows({"ID", "G_Sahih"}, 3);
        QCOMPARE(rows.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rows[i].value(0).toInt(), all[i]);
        QCOMPARE(moves, 1);
        QCOMPARE(s->value("ID").toInt(), all.first());
        QCOMPARE(s->firstRows({"ID"}, all.size() + 5).size(), all.size());
    }

    // The driver loaded ahead on its own thread leaves no connection of its own behind.
    void driverPreloadLeavesNothing() {
        PreloadBankDriver();
        Connection c(bank->connectionString());
        QVERIFY(c.isOpen());
        QVERIFY(!QSqlDatabase::connectionNames().contains(QStringLiteral("bank-driver-preload")));
    }

    void aTransactionLeavesTheOldExamOrTheNewOne() {
        QVERIFY(bank->exec("INSERT INTO tblAzmoon (ID, G_Sahih) VALUES (1, 1)"));
        {
            Connection c(bank->connectionString());
            QVERIFY(c.begin());
            Recordset rs;
            QVERIFY(rs.open("Delete * from tblAzmoon", c));
            QVERIFY(rs.open("tblAzmoon", c));
            QVERIFY(rs.addRow({{"ID", 7}, {"G_Sahih", 3}}));
            // the connection goes away without a commit, as a crash would leave it
        }
        auto exam = open("Select * from tblAzmoon");
        QCOMPARE(ids(*exam), QList<int>{1});
    }

    void musicSettingRow() {
        Recordset rs;
        QVERIFY(rs.open("Select Music from tblTanzimat", bank->connectionString()));
        QVERIFY(!rs.isEOF());
        QVERIFY(rs.setValue("Music", QStringLiteral("/home/u/آهنگ من.mp3")));
        QVERIFY(rs.update());
        rs.close();
        QVERIFY(rs.open("Select Music from tblTanzimat", bank->connectionString()));
        QCOMPARE(rs.value("Music").toString(), QStringLiteral("/home/u/آهنگ من.mp3"));
    }

    // The bank keeps each question's explanation exactly as written, whatever it holds, and
    // hands it back by the question's ID; an empty one takes it away.
    void explanationsRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("persian") << QStringLiteral("حق تقدم با خودروی سمت راست است.");
        QTest::newRow("apostrophes") << QStringLiteral("the driver's lane isn't 'free'");
        QTest::newRow("quotes and sql") << QStringLiteral("\"x\"'); DELETE FROM tblSharh; --");
        QTest::newRow("emoji") << QStringLiteral("چراغ 🚦 قرمز یعنی 🛑 ایست");
        QTest::newRow("markup") << QStringLiteral("<b>پررنگ</b> &amp;");
        QTest::newRow("two lines") << QStringLiteral("سطر یک\nسطر دو");
    }
    void explanationsRoundTrip() {
        QFETCH(QString, text);
        QCOMPARE(ExplanationOf(bank->connectionString(), 3), QString()); // none yet
        BankError why = BankError::Busy;
        QVERIFY(SaveExplanation(bank->connectionString(), 3, text, &why));
        QCOMPARE(why, BankError::None);
        QCOMPARE(ExplanationOf(bank->connectionString(), 3), text);
        QCOMPARE(ExplanationOf(bank->connectionString(), 5), QString()); // the next one untouched

        // Saved again it replaces the first, trimmed; an empty or blank one deletes the row.
        QVERIFY(SaveExplanation(bank->connectionString(), 3,
                                QStringLiteral("  \n") + text + QStringLiteral(" \t")));
        QCOMPARE(ExplanationOf(bank->connectionString(), 3), text);
        QVERIFY(SaveExplanation(bank->connectionString(), 3, QStringLiteral(" \n ")));
        QCOMPARE(ExplanationOf(bank->connectionString(), 3), QString());
        Recordset rows;
        QVERIFY(rows.open("Select count(*) AS n from tblSharh", bank->connectionString()));
        QCOMPARE(rows.value("n").toInt(), 0);
    }

    // The writer fills the table from the sources; one connection reads question after question.
    void explanationsComeFromTheSources() {
        delete bank;
        bank = new FixtureBank;
        FixtureBank::fillStandard(*bank);
        bank->source.questions[0].explanation = QStringLiteral("شرح یک");  // ID 1
        bank->source.questions[2].explanation = QStringLiteral("شرح پنج"); // ID 5
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        Connection connection(bank->connectionString());
        QCOMPARE(ExplanationOf(connection, 1), QStringLiteral("شرح یک"));
        QCOMPARE(ExplanationOf(connection, 3), QString());
        QCOMPARE(ExplanationOf(connection, 5), QStringLiteral("شرح پنج"));
        // Nothing is left open that would keep a writer waiting.
        QVERIFY(SaveExplanation(bank->connectionString(), 1, QStringLiteral("شرح تازه")));
        QCOMPARE(ExplanationOf(connection, 1), QStringLiteral("شرح تازه"));
    }

    // An older bank without the table reads as one without explanations, says so only at debug
    // level, and is given the table by the first save.
    void aBankWithoutExplanations() {
        QVERIFY(bank->exec("DROP TABLE tblSharh"));
        {
            LogCapture warnings("ravex.sharh");
            QCOMPARE(ExplanationOf(bank->connectionString(), 1), QString());
            QVERIFY2(warnings.messages.isEmpty(), qPrintable(warnings.messages.join('\n')));
        }
        LogCapture debug("ravex.sharh", QtDebugMsg);
        QCOMPARE(ExplanationOf(bank->connectionString(), 1), QString());
        QCOMPARE(debug.messages.size(), 1);
        QVERIFY(SaveExplanation(bank->connectionString(), 1, QStringLiteral("شرح")));
        QCOMPARE(ExplanationOf(bank->connectionString(), 1), QStringLiteral("شرح"));
    }

    // A bank that refuses the write keeps what it had and says why.
    void aRefusedExplanationSave_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only file") << "read-only";
        QTest::newRow("another program writing") << "locked";
        QTest::newRow("missing bank") << "missing";
    }
    void aRefusedExplanationSave() {
        QFETCH(QString, how);
        QVERIFY(SaveExplanation(bank->connectionString(), 1, QStringLiteral("پیشین")));
        std::unique_ptr<Unwritable> readOnly;
        std::unique_ptr<WriteLock> lock;
        BankError expected = BankError::ReadOnly;
        if (how == "read-only") {
            readOnly = std::make_unique<Unwritable>(bank->bankPath());
            if (!readOnly->holds())
                QSKIP("this file system lets the bank be written whatever its permissions");
        } else if (how == "locked") {
            lock = std::make_unique<WriteLock>(bank->bankPath());
            QVERIFY(lock->holds());
            expected = BankError::Busy;
        } else {
            QVERIFY(QFile::rename(bank->bankPath(), bank->bankPath() + ".away"));
            expected = BankError::Missing;
        }
        BankError why = BankError::None;
        QVERIFY(!SaveExplanation(bank->connectionString(), 1, QStringLiteral("تازه"), &why));
        QCOMPARE(why, expected);
        QVERIFY(!SaveExplanation(bank->connectionString(), 1, QString(), &why)); // nor a delete
        readOnly.reset();
        lock.reset();
        if (how == "missing") {
            QVERIFY(!QFile::exists(bank->bankPath())); // never made
            QVERIFY(QFile::rename(bank->bankPath() + ".away", bank->bankPath()));
        }
        QCOMPARE(ExplanationOf(bank->connectionString(), 1), QStringLiteral("پیشین"));
    }

    // A setting reads back as written, replaced by the next write; an on/off one takes only "1"
    // and "0", anything else stored (or nothing) giving the default asked for.
    void settingsRoundTrip_data() {
        QTest::addColumn<QVariant>("stored"); // invalid: no row; a null string: a NULL value
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<bool>("read");
        QTest::newRow("none stored, on") << QVariant() << true << true;
        QTest::newRow("none stored, off") << QVariant() << false << false;
        QTest::newRow("1") << QVariant(QStringLiteral("1")) << false << true;
        QTest::newRow("0") << QVariant(QStringLiteral("0")) << true << false;
        QTest::newRow("NULL") << QVariant(QString()) << true << true;
        QTest::newRow("a word") << QVariant(QStringLiteral("yes")) << false << false;
        QTest::newRow("a number") << QVariant(QStringLiteral("2")) << true << true;
    }
    void settingsRoundTrip() {
        QFETCH(QVariant, stored);
        QFETCH(bool, fallback);
        QFETCH(bool, read);
        const QString cs = bank->connectionString();
        if (stored.isValid()) {
            Connection connection(cs);
            QSqlQuery q(connection.database());
            QVERIFY(q.prepare("INSERT INTO tblTanzimatJadid (Name, Value) VALUES ('CheckBeforeGrading', ?)"));
            q.addBindValue(stored.toString().isNull() ? QVariant(QMetaType::fromType<QString>()) : stored);
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, fallback), read);
        for (const bool on : {!read, read}) {
            BankError why = BankError::Corrupt;
            QVERIFY(WriteFlag(cs, kCheckBeforeGradingSetting, on, &why));
            QCOMPARE(why, BankError::None);
            QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, !on), on);
        }
        // One row a name, whatever the writes; other names are kept apart, text as written.
        QVERIFY(WriteSetting(cs, QStringLiteral("Voice"), QStringLiteral("صداي 'دوم'")));
        QCOMPARE(ReadSetting(cs, QStringLiteral("Voice"), QString()), QStringLiteral("صداي 'دوم'"));
        QCOMPARE(ReadSetting(cs, QStringLiteral("voice"), QStringLiteral("-")), QStringLiteral("-"));
        Recordset rs;
        QVERIFY(rs.open("Select Name from tblTanzimatJadid", cs));
        QCOMPARE(rs.recordCount(), 2);
    }

    // A bank without the table (an older one that could not be given it, being read-only) reads
    // every default and says so at debug level only; a write gives it the table where it can.
    void aBankWithoutTheSettingsTable_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("older read-only bank") << true;
        QTest::newRow("table gone from a current bank") << false;
    }
    void aBankWithoutTheSettingsTable() {
        QFETCH(bool, readOnly);
        std::unique_ptr<Unwritable> unwritable;
        if (readOnly) {
            QVERIFY2(bank->write(2), qPrintable(bank->lastError)); // the version before the settings table
            unwritable = std::make_unique<Unwritable>(bank->bankPath());
            if (!unwritable->holds())
                QSKIP("this file system lets the bank be written whatever its permissions");
        } else {
            QVERIFY(bank->exec("DROP TABLE tblTanzimatJadid"));
        }
        const QString cs = bank->connectionString();
        {
            LogCapture warnings("ravex.settings.store");
            QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, true), true);
            QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, false), false);
            QVERIFY2(warnings.messages.isEmpty(), qPrintable(warnings.messages.join('\n')));
        }
        LogCapture debug("ravex.settings.store", QtDebugMsg);
        QCOMPARE(ReadSetting(cs, kCheckBeforeGradingSetting, QStringLiteral("d")), QStringLiteral("d"));
        QCOMPARE(debug.messages.size(), 1);
        BankError why = BankError::Corrupt;
        QCOMPARE(WriteFlag(cs, kCheckBeforeGradingSetting, false, &why), !readOnly);
        QCOMPARE(why, readOnly ? BankError::ReadOnly : BankError::None);
        QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, true), readOnly);
    }

    // A write the bank refuses lands nothing and says why; the value stored before stays.
    void aRefusedSettingWrite_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only file") << "read-only";
        QTest::newRow("another program writing") << "locked";
        QTest::newRow("missing bank") << "missing";
    }
    void aRefusedSettingWrite() {
        QFETCH(QString, how);
        const QString cs = bank->connectionString();
        QVERIFY(WriteFlag(cs, kCheckBeforeGradingSetting, false));
        std::unique_ptr<Unwritable> readOnly;
        std::unique_ptr<WriteLock> lock;
        BankError expected = BankError::ReadOnly;
        if (how == "read-only") {
            readOnly = std::make_unique<Unwritable>(bank->bankPath());
            if (!readOnly->holds())
                QSKIP("this file system lets the bank be written whatever its permissions");
        } else if (how == "locked") {
            lock = std::make_unique<WriteLock>(bank->bankPath());
            QVERIFY(lock->holds());
            expected = BankError::Busy;
        } else {
            QVERIFY(QFile::rename(bank->bankPath(), bank->bankPath() + ".away"));
            expected = BankError::Missing;
        }
        BankError why = BankError::None;
        QVERIFY(!WriteFlag(cs, kCheckBeforeGradingSetting, true, &why));
        QCOMPARE(why, expected);
        if (how == "missing") {
            QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, true), true); // the default, nothing made
            QVERIFY(!QFile::exists(bank->bankPath()));
            QVERIFY(QFile::rename(bank->bankPath() + ".away", bank->bankPath()));
        }
        readOnly.reset();
        lock.reset();
        QCOMPARE(ReadFlag(cs, kCheckBeforeGradingSetting, true), false);
    }

    // A bank that is missing or broken gives empty sources and false, never a crash, and is
    // never created or written.
    void brokenBanks_data() {
        QTest::addColumn<QByteArray>("damage");
        QTest::newRow("missing file") << QByteArray("missing");
        QTest::newRow("random bytes") << QByteArray("random");
        QTest::newRow("empty file") << QByteArray("empty");
        QTest::newRow("missing view") << QByteArray("view");
        QTest::newRow("missing table") << QByteArray("table");
    }
    void brokenBanks() {
        QFETCH(QByteArray, damage);
        QByteArray bytes;
        if (damage == "missing") {
            QFile::remove(bank->bankPath());
        } else if (damage == "random") {
            for (int i = 0; i < 4096; ++i)
                bytes.append(char(QRandomGenerator::global()->bounded(256)));
            bank->writeFile("515", bytes);
        } else if (damage == "empty") {
            bank->writeFile("515", {});
        } else if (damage == "view") {
            QVERIFY(bank->exec("DROP VIEW qrySoalat"));
        } else {
            QVERIFY(bank->exec("DROP TABLE tblAzmoon"));
        }
        auto s = std::make_unique<BoundSource>();
        s->setConnectionString(bank->connectionString());
        s->setRecordSource("Select * from qrySoalat");
        const bool ok = s->refresh();
        QCOMPARE(ok, damage == "table");
        if (!ok) {
            QCOMPARE(s->recordCount(), 0);
            QVERIFY(s->isBOF() && s->isEOF());
            QVERIFY(!s->moveNext());
        }
        Recordset rs;
        const bool examTable = damage == "view";
        QCOMPARE(rs.open("tblAzmoon", bank->connectionString()), examTable);
        QCOMPARE(rs.addRow({{"ID", 1}}), examTable);
        QCOMPARE(QFile::exists(bank->bankPath()), damage != "missing");
        if (damage == "random") {
            QFile f(bank->bankPath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), bytes);
        }
    }
};

QTEST_MAIN(TestData)
#include "tst_data.moc"
