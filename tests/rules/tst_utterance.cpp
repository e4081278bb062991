#include "rules/Utterance.h"

#include <QTest>

// What the voice is given: numbers in words, the bank's letters made Persian, the question with its
// numbered options, the time left and the result.
class TestUtterance : public QObject {
    Q_OBJECT
private slots:
    void numbersInWords_data() {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("words");
        QTest::newRow("zero") << qint64(0) << "صفر";
        QTest::newRow("one") << qint64(1) << "یک";
        QTest::newRow("teen") << qint64(12) << "دوازده";
        QTest::newRow("round ten") << qint64(50) << "پنجاه";
        QTest::newRow("tens and ones") << qint64(27) << "بیست و هفت";
        QTest::newRow("hundreds") << qint64(305) << "سیصد و پنج";
        QTest::newRow("a bare thousand") << qint64(1000) << "هزار";
        QTest::newRow("year") << qint64(1405) << "هزار و چهارصد و پنج";
        QTest::newRow("thousands") << qint64(32767) << "سی و دو هزار و هفتصد و شصت و هفت";
        QTest::newRow("a million") << qint64(1'000'000) << "یک میلیون";
        QTest::newRow("gap in the middle") << qint64(2'000'030) << "دو میلیون و سی";
        QTest::newRow("billions") << qint64(3'000'000'001) << "سه میلیارد و یک";
        QTest::newRow("negative") << qint64(-3) << "منفی سه";
        QTest::newRow("too long: digit by digit")
            << qint64(1'000'000'000'000) << "یک صفر صفر صفر صفر صفر صفر صفر صفر صفر صفر صفر صفر";
    }
    void numbersInWords() {
        QFETCH(qint64, n);
        QFETCH(QString, words);
        QCOMPARE(NumberInWords(n), words);
    }

    void spokenText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("persian digits") << "۵۰"
                                        << "پنجاه";
        QTest::newRow("latin digits") << "حداكثر سرعت 60 است"
                                      << "حداکثر سرعت شصت است";
        QTest::newRow("arabic-indic digits") << "٣"
                                             << "سه";
        QTest::newRow("two numbers") << "بين ۳ تا ۳۰"
                                     << "بین سه تا سی";
        QTest::newRow("number glued to a word") << "۱۰متر"
                                                << "ده متر";
        QTest::newRow("word glued to a number") << "متر۱۰"
                                                << "متر ده";
        QTest::newRow("leading zero reads as a code") << "021"
                                                      << "صفر دو یک";
        QTest::newRow("decimal point") << "2.5 ثانيه"
                                       << "دو ممیز پنج ثانیه";
        QTest::newRow("persian decimal point") << "۲٫۵"
                                               << "دو ممیز پنج";
        QTest::newRow("full stop after a number") << "۵۰."
                                                  << "پنجاه.";
        QTest::newRow("date stays three numbers") << "1402/5/1"
                                                  << "هزار و چهارصد و دو/پنج/یک";
        QTest::newRow("arabic kaf and yeh") << "كدام يك"
                                            << "کدام یک";
        QTest::newRow("alef maksura") << "مصطفى"
                                      << "مصطفی";
        QTest::newRow("persian letters untouched") << "کدام یک"
                                                   << "کدام یک";
        QTest::newRow("empty") << ""
                               << "";
    }
    void spokenText() {
        QFETCH(QString, text);
        QFETCH(QString, spoken);
        QCOMPARE(SpokenText(text), spoken);
    }

    void aQuestionIsReadWithItsNumberedOptions() {
        const QString said = QuestionUtterance(
            QStringLiteral("حداكثر سرعت در جاده چند كيلومتر است؟"),
            {QStringLiteral("۵۰"), QStringLiteral("60"), QStringLiteral("هيچكدام"), QStringLiteral("۹۵")});
        QCOMPARE(said, QStringLiteral("حداکثر سرعت در جاده چند کیلومتر است؟\n"
                                      "گزینه یک: پنجاه\n"
                                      "گزینه دو: شصت\n"
                                      "گزینه سه: هیچکدام\n"
                                      "گزینه چهار: نود و پنج"));
    }

    void anEmptyOptionIsLeftOutWithItsNumber() {
        const QString said =
            QuestionUtterance(QStringLiteral("سؤال"),
                              {QStringLiteral("الف"), QStringLiteral("  "), QStringLiteral("ج"), QString()});
        QCOMPARE(said, QStringLiteral("سؤال\nگزینه یک: الف\nگزینه سه: ج"));
    }

    void timeLeft_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("said");
        QTest::newRow("minutes") << "00:25"
                                 << "بیست و پنج دقیقه وقت باقی است";
        QTest::newRow("one minute") << "00:01"
                                    << "یک دقیقه وقت باقی است";
        QTest::newRow("hour and minutes") << "01:05"
                                          << "یک ساعت و پنج دقیقه وقت باقی است";
        QTest::newRow("whole hour") << "01:00"
                                    << "یک ساعت وقت باقی است";
        QTest::newRow("time up") << "00:00"
                                 << "وقت آزمون تمام است";
        QTest::newRow("before the first tick") << "Time"
                                               << "";
    }
    void timeLeft() {
        QFETCH(QString, shown);
        QFETCH(QString, said);
        QCOMPARE(TimeLeftUtterance(shown), said);
    }

    void result_data() {
        QTest::addColumn<int>("correct");
        QTest::addColumn<bool>("passed");
        QTest::addColumn<QString>("said");
        QTest::newRow("passed") << 27 << true
                                << "نتیجه آزمون: قبول. بیست و هفت پاسخ درست و سه پاسخ نادرست، از سی سؤال.";
        QTest::newRow("failed") << 26 << false
                                << "نتیجه آزمون: مردود. بیست و شش پاسخ درست و چهار پاسخ نادرست، از سی سؤال.";
        QTest::newRow("none right") << 0 << false
                                    << "نتیجه آزمون: مردود. صفر پاسخ درست و سی پاسخ نادرست، از سی سؤال.";
    }
    void result() {
        QFETCH(int, correct);
        QFETCH(bool, passed);
        QFETCH(QString, said);
        QCOMPARE(ResultUtterance(30, correct, 30 - correct, passed), said);
    }
};

QTEST_GUILESS_MAIN(TestUtterance)
#include "tst_utterance.moc"
