// Drawing the exam's numbers and assembling the exam in a real bank: which numbers may come,
// redraws, the shuffled options, banks that can never give an exam, and writes that fail halfway.
#include "app/mdlRavex.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/Recordset.h"
#include "rules/ExamAssembly.h"

#include <QtTest>
#include <functional>

namespace {
const float kTop = 0.99999994f; // the largest float below 1

struct Row {
    int id = 0;
    QString text;
    std::array<QString, 4> options;
    int correct = 0;
    int shekl = 0;
    QString category;
    bool operator==(const Row&) const = default;
};

QList<Row> readRows(const QString& connection, const QString& sql) {
    QList<Row> out;
    Recordset rs;
    if (!rs.open(sql, connection))
        return out;
    for (bool more = rs.moveFirst(); more && !rs.isEOF(); more = rs.moveNext()) {
        Row r;
        r.id = rs.value("ID").toInt();
        r.text = rs.value("SoorateSoal").toString();
        for (int k = 0; k < 4; ++k)
            r.options[k] = rs.value(QStringLiteral("G%1").arg(k + 1)).toString();
        r.correct = rs.value("G_Sahih").toInt();
        r.shekl = rs.value("Shekl").toInt();
        r.category = rs.value("NoeSoal").toString();
        out.append(r);
    }
    return out;
}

int rangeOf(int id) {
    for (int i = 1; i <= kExamSize; ++i) {
        if (id >= gExamRanges[i] && id < gExamRanges[i + 1])
            return i;
    }
    return 0;
}

void fillBank(FixtureBank& bank, const std::function<bool(int)>& keep = {}) {
    FixtureBank::fillExam(bank, keep);
}

// Random values that draw the lowest number of each range; 323 and 324 are excluded, so range 21
// takes three values to come to 325.
QVector<float> lowestDraw() {
    QVector<float> v(20, 0.0f);
    v << 0.0f << 0.0625f << 0.125f;
    v << QVector<float>(9, 0.0f);
    return v;
}

// Random values that draw the first question of each range where the draw picks among the
// questions the bank holds: one value a range.
QVector<float> firstCandidates() {
    return QVector<float>(kExamSize, 0.0f);
}

// The order 3, 1, 4, 2 for every question's options.
QVector<float> fixedShuffles() {
    QVector<float> v;
    for (int i = 0; i < kExamSize; ++i)
        v << 0.5f << 0.0f << 0.75f << 0.25f;
    return v;
}

const QList<int> kLowestIds = {1,   15,  30,  45,  60,  75,  90,  105, 120, 135, 150, 165, 170, 173, 183,
                               263, 278, 286, 294, 310, 325, 339, 355, 371, 390, 413, 425, 448, 475, 496};

QString filterOf(const QList<int>& ids) {
    QStringList parts;
    for (int id : ids)
        parts << QStringLiteral("ID=%1").arg(id);
    return parts.join(" Or ");
}
} // namespace

class TestAssembly : public QObject {
    Q_OBJECT
    FixtureBank* bank = nullptr;

    void putMarkerExam() {
        QVERIFY(bank->exec("INSERT INTO tblAzmoon VALUES (7, 'marker 7', 'a', 'b', 'c', 'd', 2, 0, 'R01')"));
        QVERIFY(
            bank->exec("INSERT INTO tblAzmoon VALUES (21, 'marker 21', 'e', 'f', 'g', 'h', 4, 0, 'R01')"));
    }

    // What every assembled exam must be, whatever was drawn.
    void checkExam() {
        const QList<Row> exam = readRows(bank->connectionString(), "Select * from tblAzmoon");
        QCOMPARE(exam.size(), kExamSize);
        QHash<int, Row> source;
        for (const Row& r : readRows(bank->connectionString(), "Select * from tblSoal"))
            source.insert(r.id, r);
        for (int i = 0; i < kExamSize; ++i) {
            const Row& row = exam[i];
            QCOMPARE(rangeOf(row.id), i + 1); // one per range, in ascending order
            QVERIFY2(!IsExcludedFromExams(row.id), qPrintable(QString::number(row.id)));
            QCOMPARE(row.id, int(gExamIDs[i + 1]));
            QCOMPARE(gAnswers[i + 1], quint8(1));
            QVERIFY(source.contains(row.id));
            const Row& from = source[row.id];
            QCOMPARE(row.text, from.text);
            QCOMPARE(row.shekl, from.shekl);
            QCOMPARE(row.category, from.category);
            QVERIFY(row.correct >= 1 && row.correct <= 4);
            QCOMPARE(row.options[row.correct - 1], from.options[from.correct - 1]);
            auto shown = row.options;
            auto original = from.options;
            std::sort(shown.begin(), shown.end());
            std::sort(original.begin(), original.end());
            QCOMPARE(shown, original);
        }
    }

private slots:
    void initTestCase() { InitExamRanges(); }
    void init() {
        bank = new FixtureBank;
        gAnswers.fill(0);
    }
    void cleanup() {
        SetRandom(nullptr);
        delete bank;
    }

    // Every number of the bank against the published list: the archive block and the 25 numbers
    // retired from exams, no more and no fewer.
    void excludedNumbers_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("excluded");
        const QSet<int> retired = {268, 296, 297, 301, 318, 323, 324, 353, 354, 356, 357, 358, 360,
                                   384, 392, 394, 395, 396, 399, 416, 417, 422, 439, 444, 446};
        for (int id = 1; id <= 513; ++id)
            QTest::addRow("%d", id) << id << ((id >= 195 && id <= 262) || retired.contains(id));
    }
    void excludedNumbers() {
        QFETCH(int, id);
        QFETCH(bool, excluded);
        QCOMPARE(IsExcludedFromExams(id), excluded);
    }

    // Fixed random values give a known draw; excluded numbers are drawn again, and the largest
    // value below 1 still lands inside its own range.
    void filterOfFixedDraws_data() {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("lowest of each range") << lowestDraw() << kLowestIds;

        QVector<float> top(14, kTop);
        top << kTop << 0.1f;            // 262 is excluded; 183 + int(80 * 0.1) = 191
        top << QVector<float>(6, kTop); // ranges 16..21
        top << kTop << 0.0f;            // 354 is excluded; 339
        top << QVector<float>(8, kTop); // ranges 23..30
        QTest::newRow("highest of each range")
            << top << QList<int>{14,  29,  44,  59,  74,  89,  104, 119, 134, 149, 164, 169, 172, 182, 191,
                                 277, 285, 293, 309, 322, 338, 339, 370, 389, 412, 424, 447, 474, 495, 513};
    }
    void filterOfFixedDraws() {
        QFETCH(QVector<float>, values);
        QFETCH(QList<int>, ids);
        SequenceRandom random(values);
        SetRandom(&random);
        gExamFilter = "ID=999 Or ";
        DrawExamQuestions();
        QCOMPARE(gExamFilter, filterOf(ids));
        QCOMPARE(QList<int>(gExamIDs.begin() + 1, gExamIDs.end()), ids);
        QCOMPARE(random.reseeds, 1);
        for (int i = 1; i <= kExamSize; ++i)
            QCOMPARE(gAnswers[i], quint8(1));
    }

    void filterText() {
        SequenceRandom random(lowestDraw());
        SetRandom(&random);
        DrawExamQuestions();
        QCOMPARE(gExamFilter, QStringLiteral("ID=1 Or ID=15 Or ID=30 Or ID=45 Or ID=60 Or ID=75 Or ID=90 Or "
                                             "ID=105 Or ID=120 Or ID=135 Or ID=150 Or ID=165 Or ID=170 Or "
                                             "ID=173 Or ID=183 Or ID=263 Or ID=278 Or ID=286 Or ID=294 Or "
                                             "ID=310 Or ID=325 Or ID=339 Or ID=355 Or ID=371 Or ID=390 Or "
                                             "ID=413 Or ID=425 Or ID=448 Or ID=475 Or ID=496"));
    }

    void realDrawsStayInTheirRanges() {
        SeededRandom random("realDrawsStayInTheirRanges");
        SetRandom(&random);
        QSet<int> seen15;
        for (int draw = 0; draw < 300; ++draw) {
            DrawExamQuestions();
            for (int i = 1; i <= kExamSize; ++i) {
                QVERIFY(gExamIDs[i] >= gExamRanges[i] && gExamIDs[i] < gExamRanges[i + 1]);
                QVERIFY(!IsExcludedFromExams(gExamIDs[i]));
            }
            QVERIFY(gExamIDs[15] >= 183 && gExamIDs[15] <= 194);
            seen15.insert(gExamIDs[15]);
        }
        QVERIFY(seen15.size() > 6); // the redraws spread over the range, not stuck on one number
    }

    void shuffle_data() {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<int>("correct");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("newCorrect");
        QTest::newRow("order 3 1 4 2")
            << QVector<float>{0.5f, 0.0f, 0.75f, 0.25f} << 2 << QStringList{"c", "a", "d", "b"} << 4;
        QTest::newRow("repeats drawn again")
            << QVector<float>{0.5f, 0.5f, 0.0f, 0.5f, 0.0f, 0.75f, 0.0f, 0.25f} << 3
            << QStringList{"c", "a", "d", "b"} << 1;
        QTest::newRow("unchanged order")
            << QVector<float>{0.0f, 0.25f, 0.5f, kTop} << 4 << QStringList{"a", "b", "c", "d"} << 4;
        QTest::newRow("answer 0 stays")
            << QVector<float>{0.75f, 0.5f, 0.25f, 0.0f} << 0 << QStringList{"d", "c", "b", "a"} << 0;
        QTest::newRow("answer 7 stays")
            << QVector<float>{0.75f, 0.5f, 0.25f, 0.0f} << 7 << QStringList{"d", "c", "b", "a"} << 7;
    }
    void shuffle() {
        QFETCH(QVector<float>, values);
        QFETCH(int, correct);
        QFETCH(QStringList, options);
        QFETCH(int, newCorrect);
        SequenceRandom random(values);
        SetRandom(&random);
        const ShuffledOptions s = Shuffle({"a", "b", "c", "d"}, correct);
        QCOMPARE(QStringList(s.options.begin(), s.options.end()), options);
        QCOMPARE(s.correct, newCorrect);
    }

    void realShufflesReachEveryOrder() {
        SeededRandom random("realShufflesReachEveryOrder");
        SetRandom(&random);
        QSet<QString> orders;
        for (int n = 0; n < 2000; ++n) {
            const int correct = 1 + n % 4;
            const ShuffledOptions s = Shuffle({"a", "b", "c", "d"}, correct);
            QCOMPARE(s.options[s.correct - 1], QString(QChar(u'a' + correct - 1)));
            orders.insert(s.options[0] + s.options[1] + s.options[2] + s.options[3]);
        }
        QCOMPARE(orders.size(), 24);
    }

    void realAssemblies() {
        SeededRandom random("realAssemblies");
        SetRandom(&random);
        fillBank(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        for (int n = 0; n < 20; ++n) {
            gAnswers.fill(0);
            const ExamAssemblyResult result = AssembleExam(bank->connectionString());
            QVERIFY2(result.ok, qPrintable(result.message));
            QVERIFY(result.message.isEmpty());
            QCOMPARE(result.draws, 1); // every number that may be drawn has its question
            checkExam();
        }
    }

    // The fixed draw and the fixed order 3, 1, 4, 2: each stored row is the source's options in
    // that order, with the answer following its option.
    void fixedAssembly() {
        fillBank(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        putMarkerExam();
        SequenceRandom random(firstCandidates() + fixedShuffles());
        SetRandom(&random);
        const ExamAssemblyResult result = AssembleExam(bank->connectionString());
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.draws, 1);
        checkExam();
        const QList<Row> exam = readRows(bank->connectionString(), "Select * from tblAzmoon");
        const int newPlace[] = {0, 2, 4, 1, 3}; // where order 3, 1, 4, 2 puts options 1..4
        for (int i = 0; i < kExamSize; ++i) {
            const Row& row = exam[i];
            QCOMPARE(row.id, kLowestIds[i]);
            const Row from = readRows(bank->connectionString(),
                                      QStringLiteral("Select * from tblSoal Where ID=%1").arg(row.id))
                                 .value(0);
            QCOMPARE(row.options, (std::array<QString, 4>{from.options[2], from.options[0], from.options[3],
                                                          from.options[1]}));
            QCOMPARE(row.correct, newPlace[from.correct]);
        }
    }

    // A number without a question is never drawn: the draw picks among the questions the bank has.
    void missingQuestionIsNeverDrawn() {
        fillBank(*bank, [](int id) { return id != 1; });
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        SequenceRandom random(firstCandidates() + fixedShuffles());
        SetRandom(&random);
        const ExamAssemblyResult result = AssembleExam(bank->connectionString());
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.draws, 1);
        checkExam();
        QCOMPARE(readRows(bank->connectionString(), "Select * from tblAzmoon").value(0).id, 2);
    }

    // A sparse but valid bank gives an exam every time, at the first draw, with the default limit.
    void sparseBanksAlwaysGiveAnExam() {
        // Range 1 has only question 7, range 15 only 190, and every other range just its first
        // drawable number: a plain redraw would find all 30 about once in 10^25 tries.
        fillBank(*bank, [](int id) {
            if (id < 15)
                return id == 7;
            if (id >= 183 && id <= 194)
                return id == 190;
            for (int j = gExamRanges[rangeOf(id)]; j < id; ++j) {
                if (!IsExcludedFromExams(j))
                    return false;
            }
            return true;
        });
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        SeededRandom random("sparseBanksAlwaysGiveAnExam");
        SetRandom(&random);
        for (int n = 0; n < 20; ++n) {
            const ExamAssemblyResult result = AssembleExam(bank->connectionString());
            QVERIFY2(result.ok, qPrintable(result.message));
            QCOMPARE(result.draws, 1);
            checkExam();
            const QList<Row> exam = readRows(bank->connectionString(), "Select * from tblAzmoon");
            QCOMPARE(exam[0].id, 7);
            QCOMPARE(exam[14].id, 190);
        }
    }

    // Questions beyond the ranges are never read: 30,000 of them change neither the numbers
    // drawn nor how many rows the draw reads.
    void questionsBeyondTheRangesAreNeverRead() {
        fillBank(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        const auto assemble = [&] {
            SequenceRandom random(QVector<float>{0.3f, 0.9f, 0.5f} + fixedShuffles() + fixedShuffles());
            SetRandom(&random);
            LogCapture log("ravex.sql", QtDebugMsg);
            const ExamAssemblyResult result = AssembleExam(bank->connectionString());
            SetRandom(nullptr);
            return std::make_pair(result.ok ? QList<int>(gExamIDs.begin() + 1, gExamIDs.end()) : QList<int>{},
                                  log.messages.filter(QStringLiteral("qrySoalateAzmoon")));
        };
        const auto [small, smallReads] = assemble();
        QCOMPARE(small.size(), kExamSize);
        QVERIFY(
            bank->exec("INSERT INTO tblSoal (ID, Majmooe, NoeSoal, G_Sahih) "
                       "WITH RECURSIVE n(i) AS (SELECT 600 UNION ALL SELECT i + 1 FROM n WHERE i < 30599) "
                       "SELECT i, 'general', 'R01', 1 FROM n"));
        const auto [large, largeReads] = assemble();
        QCOMPARE(large, small);
        QCOMPARE(smallReads.size(), 2);   // the numbers in the ranges, then the drawn questions
        QCOMPARE(largeReads, smallReads); // the same statements, reading the same numbers of rows
    }

    // Drawing among a range's questions keeps every one of them equally likely.
    void candidateDrawIsUniform() {
        QSet<int> available;
        for (int id = 1; id <= 513; ++id) {
            if (id != 3 && id != 9)
                available.insert(id);
        }
        SeededRandom random("candidateDrawIsUniform");
        SetRandom(&random);
        QMap<int, int> counts;
        const int draws = 12000;
        for (int n = 0; n < draws; ++n) {
            DrawExamQuestions(&available);
            ++counts[gExamIDs[1]];
            QVERIFY(available.contains(gExamIDs[15]) && gExamIDs[15] <= 194);
        }
        QCOMPARE(counts.size(), 12); // 1..14 without 3 and 9
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            // 1000 expected each; 5 standard deviations either side
            QVERIFY2(it.value() > 850 && it.value() < 1150, qPrintable(QString::number(it.key())));
        }
    }

    // Banks that can never give 30 questions end at once (or after the allowed draws) with a
    // message, and the exam already in the bank stays as it was.
    void impossibleBanks_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("draws");
        QTest::newRow("missing file") << "missing"
                                      << "بانك سؤالات پيدا نشد" << 0;
        QTest::newRow("not a database") << "garbage"
                                        << "بانك سؤالات پيدا نشد" << 0;
        QTest::newRow("missing view") << "view"
                                      << "سؤالات آزمون از بانك خوانده نشد" << 0;
        QTest::newRow("range without questions") << "range"
                                                 << "بازه سؤالات ۱۸۳ تا ۲۶۲" << 0;
        QTest::newRow("range of archive questions") << "archive"
                                                    << "بازه سؤالات ۱ تا ۱۴" << 0;
        QTest::newRow("range kept out of exams") << "azmoon"
                                                 << "بازه سؤالات ۴۹۶ تا ۵۱۳" << 0;
        // The only exam question of a range is a retired number: no draw can ever use it.
        QTest::newRow("range of a retired number only") << "retired"
                                                        << "بازه سؤالات ۲۶۳ تا ۲۷۷" << 0;
    }
    void impossibleBanks() {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        QFETCH(int, draws);
        if (damage == "range") {
            fillBank(*bank, [](int id) { return id < 183 || id > 194; });
        } else if (damage == "retired") {
            fillBank(*bank, [](int id) { return id < 263 || id > 277; });
        } else if (damage == "archive") {
            fillBank(*bank, [](int id) { return id >= 15; });
            for (int id = 1; id < 15; ++id)
                bank->addQuestion(id, "O85", 1);
        } else {
            fillBank(*bank);
        }
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        putMarkerExam();
        if (damage == "view")
            QVERIFY(bank->exec("DROP VIEW qrySoalateAzmoon"));
        if (damage == "azmoon")
            QVERIFY(bank->exec("UPDATE tblSoal SET Azmoon = 0 WHERE ID >= 496"));
        if (damage == "retired")
            QVERIFY(bank->exec("UPDATE tblSoal SET Majmooe = 'signs', Azmoon = 1 WHERE ID = 268"));
        const QList<Row> before = readRows(bank->connectionString(), "Select * from tblAzmoon");
        QCOMPARE(before.size(), 2);
        QString connection = bank->connectionString();
        if (damage == "missing")
            connection.replace("/515;", "/no-such-bank;");
        if (damage == "garbage")
            bank->writeFile("515", QByteArray(4096, 'x'));

        const ExamAssemblyResult result = AssembleExam(connection);
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
        QCOMPARE(result.draws, draws);
        if (damage != "garbage")
            QCOMPARE(readRows(bank->connectionString(), "Select * from tblAzmoon"), before);
    }

    // A learner with more than 30 mistakes gets 30 of them, the first 30 in the order given (most
    // missed first), never a 31st; excluded numbers are passed over.
    void aMistakesExamAsksAtMostThirty() {
        fillBank(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        QVector<int> ids;
        for (int id = 500; id >= 263; --id)
            if (!IsExcludedFromExams(id) && ids.size() < 45)
                ids.append(id);
        ids.prepend(268); // retired: never asked
        const ExamAssemblyResult result = AssembleExamOf(bank->connectionString(), ids);
        QVERIFY2(result.ok, qPrintable(result.message));
        const QList<Row> exam = readRows(bank->connectionString(), "Select * from tblAzmoon");
        QCOMPARE(exam.size(), 30);
        QSet<int> asked;
        for (int i = 1; i <= 30; ++i)
            asked.insert(gExamIDs[i]);
        QCOMPARE(asked, QSet<int>(ids.begin() + 1, ids.begin() + 31));
    }

    // The new exam replaces the old one whole or not at all.
    void failedWriteKeepsThePreviousExam_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("insert refused halfway")
            << "CREATE TRIGGER refuse BEFORE INSERT ON tblAzmoon WHEN NEW.ID = 173 "
               "BEGIN SELECT RAISE(ABORT, 'x'); END";
        QTest::newRow("last insert refused")
            << "CREATE TRIGGER refuse BEFORE INSERT ON tblAzmoon WHEN NEW.ID = 496 "
               "BEGIN SELECT RAISE(ABORT, 'x'); END";
        QTest::newRow("column dropped") << "ALTER TABLE tblAzmoon DROP COLUMN NoeSoal";
        QTest::newRow("exam table dropped") << "DROP TABLE tblAzmoon";
    }
    void failedWriteKeepsThePreviousExam() {
        QFETCH(QString, damage);
        fillBank(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        QVERIFY(AssembleExam(bank->connectionString()).ok);
        QVERIFY(bank->exec(damage));
        const QList<Row> before = readRows(bank->connectionString(), "Select * from tblAzmoon");

        SequenceRandom random(firstCandidates() + fixedShuffles());
        SetRandom(&random);
        const ExamAssemblyResult result = AssembleExam(bank->connectionString());
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains("آزمون جديد در بانك نوشته نشد"), qPrintable(result.message));
        QCOMPARE(result.draws, 1);
        QCOMPARE(readRows(bank->connectionString(), "Select * from tblAzmoon"), before);
        if (!damage.startsWith("DROP"))
            QCOMPARE(before.size(), kExamSize);
    }
};

QTEST_MAIN(TestAssembly)
#include "tst_assembly.moc"
