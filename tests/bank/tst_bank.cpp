// The bank's text sources and the tool that builds a data folder from them.
#include "common/FixtureBank.h"
#include "data/BoundSource.h"
#include "data/Recordset.h"
#include "platform/Picture.h"
#include "tools/bank/BankWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

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
