// The bank's text sources, the tool that builds a data folder from them, and the schema's
// numbered steps that bring an older bank up to date.
#include "common/BankLocks.h"
#include "common/FixtureBank.h"
#include "data/BankSchema.h"
#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/Recordset.h"
#include "platform/Picture.h"
#include "rules/ExamAssembly.h"
#include "rules/ExamDraw.h"
#include "tools/bank/BankWriter.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// The rows a statement returns from the bank file, fields joined by '|', read past the program's
// own connection so that nothing is upgraded on the way.
QStringList rowsOf(const QString& path, const QString& sql) {
    QStringList out;
    const QString name = QStringLiteral("tst-bank-raw");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery q(db);
        if (db.open() && q.exec(sql)) {
            while (q.next()) {
                QStringList fields;
                for (int i = 0; i < q.record().count(); ++i)
                    fields << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
                out << fields.join(u'|');
            }
        }
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}
int versionOf(const QString& path) {
    return rowsOf(path, QStringLiteral("PRAGMA user_version")).value(0, QStringLiteral("-1")).toInt();
}
QStringList schemaOf(const QString& path) {
    return rowsOf(path, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name"));
}
QStringList namesOf(const QString& path, const char* type) {
    return rowsOf(path, QStringLiteral("SELECT name FROM sqlite_master WHERE type = '%1' ORDER BY name")
                            .arg(QLatin1String(type)));
}
QStringList columnsOf(const QString& path, const QString& table) {
    return rowsOf(path, QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM "
                                       "pragma_table_info('%1') ORDER BY cid")
                            .arg(table));
}
QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QStringList minus(QStringList a, const QStringList& b) {
    a.removeIf([&](const QString& x) { return b.contains(x); });
    return a;
}

// The history's tables as the release before the schema kept a version made them at run time.
const char* const kEarlierHistory[] = {
    "CREATE TABLE IF NOT EXISTS tblExamHistory ("
    " ExamID INTEGER PRIMARY KEY AUTOINCREMENT, TakenAt TEXT NOT NULL, Seconds INTEGER NOT NULL,"
    " PassMark INTEGER NOT NULL, Questions INTEGER NOT NULL, Correct INTEGER NOT NULL,"
    " Wrong INTEGER NOT NULL, Passed INTEGER NOT NULL CHECK (Passed IN (0, 1)),"
    " Kind TEXT NOT NULL DEFAULT 'main' CHECK (Kind IN ('main', 'mistakes')))",
    "CREATE TABLE IF NOT EXISTS tblExamAnswers ("
    " ExamID INTEGER NOT NULL REFERENCES tblExamHistory (ExamID) ON DELETE CASCADE,"
    " Position INTEGER NOT NULL, QuestionID INTEGER NOT NULL,"
    " Chosen INTEGER CHECK (Chosen BETWEEN 1 AND 4), Correct INTEGER CHECK (Correct BETWEEN 1 AND 4),"
    " PRIMARY KEY (ExamID, Position))",
    "CREATE INDEX IF NOT EXISTS tblExamAnswers_QuestionID ON tblExamAnswers (QuestionID)",
    "CREATE TABLE IF NOT EXISTS tblAzmoonTartib ("
    " Position INTEGER PRIMARY KEY, ID INTEGER NOT NULL UNIQUE,"
    " O1 INTEGER NOT NULL, O2 INTEGER NOT NULL, O3 INTEGER NOT NULL, O4 INTEGER NOT NULL)",
    "INSERT INTO tblExamHistory (TakenAt, Seconds, PassMark, Questions, Correct, Wrong, Passed) "
    "VALUES ('2025-01-02T10:00:00', 600, 27, 30, 28, 2, 1)",
};

const char* kRecord = "= 263 T_EKHTAR 2 signs/s\n"
                      "? این تابلو چه چیزی را هشدار می‌دهد؟\n"
                      "1 پایان راه اصلی\n"
                      "2 پیچ به راست\n"
                      "3 جاده لغزنده\n"
                      "4 راه باریک می‌شود\n";
} // namespace

class TestBank : public QObject {
    Q_OBJECT

    // A tiny bank folder: two categories, two questions, one sign and a stand-in for each of the
    // data folder's own pictures.
    void writeTinyBank(const QString& dir) {
        writeText(dir + "/categories.tsv",
                  "# code\torder\tcollection\ttitle\nT_EKHTAR\t2\tsigns\tعلائم اخطار كننده\n"
                  "R01\t10\tgeneral\tتعاریف\n");
        writeText(dir + "/questions/a.txt",
                  QString::fromUtf8(kRecord) + "\n= 5 R01 4 -\n? سؤال دوم\n1 یک\n2 دو\n3 سه\n4 چهار\n");
        const QString svg =
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\" viewBox=\"0 0 "
            "200 100\"><rect x=\"10\" y=\"10\" width=\"180\" height=\"80\" fill=\"#c00\"/></svg>";
        writeText(dir + "/pictures/signs/s.svg", svg);
        for (const ScreenPicture& s : ScreenPictures())
            writeText(dir + "/pictures/" + s.source + ".svg", svg);
    }

private slots:
    // A record with or without its explanation line; the record after it reads as well.
    void parsesARecord_data() {
        QTest::addColumn<QString>("explanationLine");
        QTest::addColumn<QString>("explanation");
        QTest::newRow("without an explanation") << QString() << QString();
        QTest::newRow("with an explanation") << QStringLiteral("! پیکان خمیده به راست یعنی پیچ به راست.\n")
                                             << QStringLiteral("پیکان خمیده به راست یعنی پیچ به راست.");
        QTest::newRow("blanks around it")
            << QStringLiteral("!   'چرا' \"همین\"   \r\n") << QStringLiteral("'چرا' \"همین\"");
    }
    void parsesARecord() {
        QFETCH(QString, explanationLine);
        QFETCH(QString, explanation);
        BankSource source;
        const QString record = QString::fromUtf8(kRecord) + explanationLine;
        ParseQuestions(record + "\n" + record, "x.txt", source);
        QVERIFY2(source.errors.isEmpty(), qPrintable(source.errors.join('\n')));
        QCOMPARE(source.questions.size(), 2);
        const BankQuestion& q = source.questions[0];
        QCOMPARE(q.id, 263);
        QCOMPARE(q.category, QStringLiteral("T_EKHTAR"));
        QCOMPARE(q.correct, 2);
        QCOMPARE(q.picture, QStringLiteral("signs/s"));
        QCOMPARE(q.text, QStringLiteral("این تابلو چه چیزی را هشدار می‌دهد؟"));
        QCOMPARE(q.options[3], QStringLiteral("راه باریک می‌شود"));
        QCOMPARE(q.explanation, explanation);
        QCOMPARE(q.where, QStringLiteral("x.txt:1"));
        QCOMPARE(source.questions[1].explanation, explanation);
        QCOMPARE(source.questions[1].where, QStringLiteral("x.txt:%1").arg(explanation.isEmpty() ? 8 : 9));
    }

    void reportsMalformedRecords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("where");
        const QString r = QString::fromUtf8(kRecord);
        QTest::newRow("correct option 5") << QString(r).replace("T_EKHTAR 2", "T_EKHTAR 5") << "x.txt:1";
        QTest::newRow("no picture field") << QString(r).replace(" signs/s", "") << "x.txt:1";
        QTest::newRow("three options") << r.section('\n', 0, 4) + "\n"
                                       << "x.txt:1";
        QTest::newRow("options out of order") << QString(r).replace("\n3 ", "\n4 ") << "x.txt:1";
        QTest::newRow("no blank line between records") << r + r << "x.txt:7";
        QTest::newRow("second record broken") << r + "\n= 264 T_EKHTAR\n"
                                              << "x.txt:8";
        // An explanation belongs right after option 4 and nowhere else; the error names its line.
        QTest::newRow("explanation among the options")
            << QString(r).replace("\n3 ", "\n! چرا\n3 ") << "x.txt:5";
        QTest::newRow("explanation before the options")
            << QString(r).replace("\n1 ", "\n! چرا\n1 ") << "x.txt:3";
        QTest::newRow("explanation after the blank line") << r + "\n! چرا\n"
                                                          << "x.txt:8";
        QTest::newRow("two explanations") << r + "! یک\n! دو\n"
                                          << "x.txt:8";
        QTest::newRow("an empty explanation") << r + "!\n"
                                              << "x.txt:7";
        QTest::newRow("only blanks") << r + "!   \n"
                                     << "x.txt:7";
        QTest::newRow("no blank after the mark") << r + "!چرا\n"
                                                 << "x.txt:7";
    }
    void reportsMalformedRecords() {
        QFETCH(QString, text);
        QFETCH(QString, where);
        BankSource source;
        ParseQuestions(text, "x.txt", source);
        QCOMPARE(source.errors.size(), 1); // one fault, told once
        QVERIFY2(source.errors[0].startsWith(where + ":"), qPrintable(source.errors[0]));
    }

    void makesADataFolderAndNeverOverwritesIt() {
        QTemporaryDir work;
        const QString bank = work.filePath("bank");
        const QString out = work.filePath("share/vkimgdir");
        writeTinyBank(bank);
        QString report;
        QVERIFY2(MakeDataDir(bank, out, &report), qPrintable(report));
        QStringList made = {"263", "515"};
        for (const ScreenPicture& s : ScreenPictures())
            made << s.file;
        made.sort();
        QCOMPARE(QDir(out).entryList(QDir::Files), made);
        QCOMPARE(LoadPicture(out + "/263").size(), QSize(750, 375)); // drawn to fit, shape kept
        QVERIFY(!LoadPicture(out + "/0").isNull());
        QCOMPARE(QDir(out).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(versionOf(out + "/515"), NewestSchemaVersion());

        // The user's bank: an edit and an exam that must survive another build.
        const QString conn = "Provider=Microsoft.jet.OLEDB.4.0;Data Source=" + out + "/515;";
        BoundSource q;
        q.setConnectionString(conn);
        q.setRecordSource("Select * from qrySoalat Where ID =5");
        q.refresh();
        QVERIFY(q.setValue("SoorateSoal", QStringLiteral("ویرایش کاربر")));
        QVERIFY(q.update());
        QFile::remove(out + "/263");

        QVERIFY2(MakeDataDir(bank, out, &report), qPrintable(report));
        q.refresh();
        QCOMPARE(q.text("SoorateSoal"), QStringLiteral("ویرایش کاربر"));
        QVERIFY(QFile::exists(out + "/263")); // a lost picture comes back
    }

    void aBrokenSourceBuildsNothing() {
        QTemporaryDir work;
        const QString bank = work.filePath("bank");
        writeTinyBank(bank);
        writeText(bank + "/questions/b.txt", "= 6 R01 9 -\n");
        QString report;
        QVERIFY(!MakeDataDir(bank, work.filePath("out"), &report));
        QVERIFY(report.contains("questions/b.txt:1"));
        QVERIFY(!QFile::exists(work.filePath("out/515")));
    }

    void theStepsAreNumberedFromOne() {
        const QVector<SchemaStep>& steps = SchemaSteps();
        QVERIFY(steps.size() >= 2);
        for (int i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps[i].version, i + 1);
            QVERIFY(!steps[i].title.isEmpty());
            QVERIFY(steps[i].script.contains(QLatin1String("CREATE TABLE")));
        }
        QCOMPARE(NewestSchemaVersion(), int(steps.size()));
        QVERIFY(BaseSchema().contains(QLatin1String("CREATE TABLE tblNoeSoal")));
    }

    // An older bank, opened by the program, gets every step it lacks and ends as a bank made
    // afresh; giving it the steps again changes nothing.
    void everyStepFromAnOlderBank_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("from");
        QTest::newRow("version 0") << "version 0" << 0;
        QTest::newRow("version 1") << "version 1" << 1;
        QTest::newRow("version 2") << "version 2" << 2;
        QTest::newRow("version 0 with the earlier release's history") << "earlier history" << 0;
        QTest::newRow("another program's bank") << "foreign" << 0;
    }
    void everyStepFromAnOlderBank() {
        QFETCH(QString, kind);
        QFETCH(int, from);
        FixtureBank bank;
        FixtureBank::fillStandard(bank);
        if (kind == QLatin1String("foreign")) {
            QVERIFY2(bank.writeForeign(), qPrintable(bank.lastError));
        } else {
            QVERIFY2(bank.write(from), qPrintable(bank.lastError));
        }
        if (kind == QLatin1String("earlier history")) {
            for (const char* sql : kEarlierHistory)
                QVERIFY2(bank.exec(QString::fromLatin1(sql)), sql);
        }
        const QString path = bank.bankPath();
        QCOMPARE(versionOf(path), from);

        // What the steps add to a bank: what a new bank has beyond one of version 0.
        FixtureBank fresh, zero;
        FixtureBank::fillStandard(fresh);
        FixtureBank::fillStandard(zero);
        QVERIFY(fresh.write() && zero.write(0));
        const QStringList stepTables =
            minus(namesOf(fresh.bankPath(), "table"), namesOf(zero.bankPath(), "table"));
        const QStringList stepIndexes =
            minus(namesOf(fresh.bankPath(), "index"), namesOf(zero.bankPath(), "index"));
        QVERIFY(stepTables.contains(QStringLiteral("tblExamHistory")) &&
                stepTables.contains(QStringLiteral("tblSharh")) &&
                stepTables.contains(QStringLiteral("tblTanzimatJadid")));

        QVERIFY(Connection(bank.connectionString()).isOpen());
        QCOMPARE(versionOf(path), NewestSchemaVersion());
        for (const QString& table : stepTables)
            QCOMPARE(columnsOf(path, table), columnsOf(fresh.bankPath(), table));
        QCOMPARE(minus(stepIndexes, namesOf(path, "index")), QStringList());
        const int kept = kind == QLatin1String("earlier history") ? 1 : 0;
        QCOMPARE(rowsOf(path, "SELECT count(*) FROM tblExamHistory"), QStringList{QString::number(kept)});

        // Run twice = once: the steps find nothing to do, even when the version is turned back.
        const QStringList upgraded = schemaOf(path);
        {
            Connection again(bank.connectionString());
            const UpgradeOutcome outcome = UpgradeBank(again.database());
            QVERIFY(outcome.ok());
            QCOMPARE(outcome.stepsRun, 0);
            QVERIFY(QSqlQuery(again.database()).exec(QStringLiteral("PRAGMA user_version = %1").arg(from)));
            const UpgradeOutcome redone = UpgradeBank(again.database());
            QVERIFY2(redone.ok(), qPrintable(redone.error));
            QCOMPARE(redone.stepsRun, NewestSchemaVersion() - from);
        }
        QCOMPARE(schemaOf(path), upgraded);
        QCOMPARE(versionOf(path), NewestSchemaVersion());
        QCOMPARE(rowsOf(path, "SELECT count(*) FROM tblExamHistory"), QStringList{QString::number(kept)});
    }

    // A step that cannot be given leaves the bank as that step found it, and the program goes on
    // examining with it.
    void aFailedStepLeavesTheBankAsItWas_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("leftAt");
        QTest::newRow("history table of another shape")
            << 0 << "CREATE TABLE tblExamHistory (ExamID INTEGER PRIMARY KEY, Note TEXT)" << 0;
        QTest::newRow("explanations table of another shape")
            << 1 << "CREATE TABLE tblSharh (ID INTEGER PRIMARY KEY, Matn TEXT)" << 1;
        QTest::newRow("a view named as the explanations table")
            << 1 << "CREATE VIEW tblSharh AS SELECT ID, SoorateSoal AS Sharh FROM tblSoal" << 1;
        QTest::newRow("the second step fails after the first")
            << 0 << "CREATE TABLE tblSharh (ID INTEGER PRIMARY KEY, Matn TEXT)" << 1;
        QTest::newRow("settings table of another shape")
            << 2 << "CREATE TABLE tblTanzimatJadid (Name TEXT, Value INTEGER, Note TEXT)" << 2;
        QTest::newRow("the settings step fails after the first two")
            << 0 << "CREATE TABLE tblTanzimatJadid (Kelid TEXT PRIMARY KEY, Value TEXT)" << 2;
        QTest::newRow("read-only file") << 0 << "" << 0;
        QTest::newRow("read-only file, the settings step due") << 2 << "" << 2;
    }
    void aFailedStepLeavesTheBankAsItWas() {
        QFETCH(int, from);
        QFETCH(QString, damage);
        QFETCH(int, leftAt);
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(from), qPrintable(bank.lastError));
        if (!damage.isEmpty())
            QVERIFY(bank.exec(damage));
        const QString path = bank.bankPath();
        const QByteArray bytes = bytesOf(path);
        const QStringList schema = schemaOf(path);
        std::unique_ptr<Unwritable> readOnly;
        if (damage.isEmpty()) {
            readOnly = std::make_unique<Unwritable>(path);
            if (!readOnly->holds())
                QSKIP("this file system lets the bank be written whatever its permissions");
        }

        QVERIFY(Connection(bank.connectionString()).isOpen());
        QCOMPARE(versionOf(path), leftAt);
        if (leftAt == from) {
            QCOMPARE(schemaOf(path), schema);
            QVERIFY(bytesOf(path) == bytes);
        } else {
            QVERIFY(namesOf(path, "table").contains(QStringLiteral("tblExamAnswers"))); // the first step's
            QCOMPARE(minus(schema, schemaOf(path)), QStringList());
        }

        InitExamRanges();
        const ExamAssemblyResult exam = AssembleExam(bank.connectionString());
        QVERIFY2(exam.ok, qPrintable(exam.message));
        BoundSource questions;
        questions.setConnectionString(exam.examConnectionString);
        questions.setRecordSource(QStringLiteral("Select * from tblAzmoon"));
        QVERIFY(questions.refresh());
        QCOMPARE(questions.recordCount(), 30);
    }

    // An older bank another program holds when it is first opened gets its steps once let go.
    void aHeldBankGetsTheStepsOnceLetGo() {
        FixtureBank bank;
        FixtureBank::fillStandard(bank);
        QVERIFY(bank.write(0));
        {
            WriteLock other(bank.bankPath());
            QVERIFY(other.holds());
            Connection connection(bank.connectionString());
            QVERIFY(connection.isOpen());
            QCOMPARE(versionOf(bank.bankPath()), 0);
        }
        QVERIFY(Connection(bank.connectionString()).isOpen());
        QCOMPARE(versionOf(bank.bankPath()), NewestSchemaVersion());
    }

    // A bank that has every step, or steps this program does not know, or that is no question
    // bank at all, is not written by being opened.
    void aBankNotOlderIsLeftAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("the newest") << "newest";
        QTest::newRow("a later release's") << "later";
        QTest::newRow("no question bank") << "other";
    }
    void aBankNotOlderIsLeftAlone() {
        QFETCH(QString, kind);
        FixtureBank bank;
        FixtureBank::fillStandard(bank);
        QVERIFY(bank.write());
        if (kind == QLatin1String("later"))
            QVERIFY(bank.exec(QStringLiteral("PRAGMA user_version = %1").arg(NewestSchemaVersion() + 3)));
        if (kind == QLatin1String("other")) {
            QFile::remove(bank.bankPath());
            QVERIFY(bank.exec("CREATE TABLE notes (line TEXT)"));
        }
        const QByteArray bytes = bytesOf(bank.bankPath());
        const int version = versionOf(bank.bankPath());
        Connection connection(bank.connectionString());
        QVERIFY(connection.isOpen());
        const UpgradeOutcome outcome = UpgradeBank(connection.database());
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.stepsRun, 0);
        QCOMPARE(outcome.to, version);
        QVERIFY(bytesOf(bank.bankPath()) == bytes);
    }

    void aBankTheEngineRefusesIsNotLeftBehind() {
        FixtureBank bank;
        bank.addCategory("R01", 10, "general", "تعاریف");
        bank.addQuestion(1, "R01", 1);
        bank.addQuestion(1, "R01", 2); // the same number twice
        QVERIFY(!bank.write());
        QVERIFY(bank.lastError.contains("fixture:1"));
        QVERIFY(!QFile::exists(bank.bankPath()));
    }
};

QTEST_MAIN(TestBank)
#include "tst_bank.moc"
