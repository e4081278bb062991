// A learner's progress: graded exams kept in the bank, the progress window, the mistakes review
// and its exam, the wrong choice in red, and a picture enlarged on a click.
#include "app/frmMain.h"
#include "common/BankLocks.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/SharedState.h"
#include "exam/frmAzmoon.h"
#include "progress/ProgressText.h"
#include "progress/frmEshtebahat.h"
#include "rules/Grading.h"
#include "ui/Look.h"
#include "ui/Modal.h"
#include "ui/PictureBox.h"
#include "ui/PictureZoom.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

#include <unistd.h>

namespace {
QColor textColour(QWidget* form, int k) {
    return form->findChild<QLabel*>(QStringLiteral("lblG%1").arg(k))->palette().color(QPalette::WindowText);
}
// The options shown green and red, as "g:2 r:4".
QString colours(QWidget* form) {
    QString green, red;
    for (int k = 1; k <= 4; ++k) {
        if (textColour(form, k) == look::kCorrectGreen)
            green += QString::number(k);
        if (textColour(form, k) == look::kRed)
            red += QString::number(k);
    }
    return QStringLiteral("g:%1 r:%2").arg(green, red);
}

struct KeptAnswer {
    int id, chosen, correct;
    bool operator==(const KeptAnswer&) const = default;
};
} // namespace

class TestProgress : public QObject {
    Q_OBJECT
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;
    QStringList shownTotals; // the result window's question count, each time it was shown

    int scalar(const QString& sql) {
        Connection c(bank->connectionString());
        QSqlQuery q(c.database());
        return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
    }
    QList<KeptAnswer> keptAnswers(int examId) {
        Connection c(bank->connectionString());
        QSqlQuery q(c.database());
        q.exec(QStringLiteral("SELECT QuestionID, Chosen, Correct FROM tblExamAnswers WHERE ExamID = %1 "
                              "ORDER BY Position")
                   .arg(examId));
        QList<KeptAnswer> out;
        while (q.next())
            out.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
        return out;
    }
    int bankCorrect(int id) {
        return scalar(QStringLiteral("SELECT G_Sahih FROM tblSoal WHERE ID = %1").arg(id));
    }
    // The exam's rows as shown: ID and shown correct option, in position order.
    QList<QPair<int, int>> examRows() {
        BoundSource s;
        s.setConnectionString(bank->connectionString());
        s.setRecordSource("Select * from tblAzmoon");
        s.refresh();
        QList<QPair<int, int>> out;
        for (s.moveFirst(); !s.isEOF(); s.moveNext())
            out.append({s.value("ID").toInt(), s.value("G_Sahih").toInt()});
        return out;
    }
    // Sets the answers: right at the positions listed, a wrong option elsewhere.
    void answer(const QSet<int>& rightAt) {
        const auto rows = examRows();
        for (int i = 1; i <= rows.size(); ++i)
            gAnswers[i] = quint8(rightAt.contains(i) ? rows[i - 1].second : rows[i - 1].second % 4 + 1);
    }
    QWidget* openExam() { return program->Open("Command6"); }

private slots:
    void init() {
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main);
        bank = std::make_unique<FixtureBank>();
        FixtureBank::fillExam(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        bank->useAsGlobals();
        gPassMark = 25;
        shownTotals.clear();
        SetModalHandler([this](QDialog* dialog) {
            shownTotals << ShownText(dialog, "Label1");
            ClickButton(dialog, "Command1");
            return dialog->result();
        });
    }
    void cleanup() {
        SetModalHandler({});
        program.reset();
    }

    void aGradedExamIsKeptOnce_data() {
        QTest::addColumn<bool>("byTimeUp");
        QTest::newRow("grade button") << false;
        QTest::newRow("time-up") << true;
    }
    void aGradedExamIsKeptOnce() {
        QFETCH(bool, byTimeUp);
        program->platform.clock.set(QTime(9, 30));
        program->platform.clock.day = QDate(2026, 3, 21);
        gExamTime = QTime(0, 11);
        QWidget* form = openExam();
        answer(
            {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26});
        if (byTimeUp) {
            program->platform.clock.advance(660);
            QMetaObject::invokeMethod(form, "tmrAzmoon_Timer");
            QCOMPARE(program->platform.messages.messages.size(), 1);
        } else {
            program->platform.clock.advance(125);
        }
        // A click on the grade button after time-up shows the result again; it is kept once.
        ClickButton(form, "cmdTashih");
        QCOMPARE(shownTotals.size(), byTimeUp ? 2 : 1);
        QCOMPARE(scalar("SELECT count(*) FROM tblExamHistory"), 1);
        QCOMPARE(scalar("SELECT count(*) FROM tblExamAnswers"), 30);
        QCOMPARE(scalar("SELECT Correct FROM tblExamHistory"), 26);
        QCOMPARE(scalar("SELECT Wrong FROM tblExamHistory"), 4);
        QCOMPARE(scalar("SELECT Passed FROM tblExamHistory"), 1);
        QCOMPARE(scalar("SELECT PassMark FROM tblExamHistory"), 25);
        QCOMPARE(scalar("SELECT Seconds FROM tblExamHistory"), byTimeUp ? 660 : 125);
        QCOMPARE(scalar("SELECT TakenAt = '2026-03-21T09:30:00' FROM tblExamHistory"), 0); // graded later
        QCOMPARE(scalar("SELECT substr(TakenAt, 1, 10) = '2026-03-21' FROM tblExamHistory"), 1);
        // Each answer in the source's numbering: the right ones name the bank's correct option.
        const QList<KeptAnswer> kept = keptAnswers(1);
        const auto rows = examRows();
        for (int i = 0; i < 30; ++i) {
            QCOMPARE(kept[i].id, rows[i].first);
            QCOMPARE(kept[i].correct, bankCorrect(rows[i].first));
            QCOMPARE(kept[i].chosen == kept[i].correct, i < 26);
        }
    }

    // What was answered stays as it was when the question is edited and the next exam reshuffles.
    void historySurvivesAnEditAndANewExam() {
        QWidget* form = openExam();
        answer({2, 4});
        ClickButton(form, "cmdTashih");
        const QList<KeptAnswer> before = keptAnswers(1);
        QCOMPARE(before.size(), 30);
        const int edited = before[1].id;
        QVERIFY(bank->exec(QStringLiteral("UPDATE tblSoal SET G_Sahih = %1 % 4 + 1, G1 = 'نو', G2 = 'نو' "
                                          "WHERE ID = %2")
                               .arg(before[1].correct)
                               .arg(edited)));
        ClickButton(form, "cmdAzmooneMojadad");
        QTest::qWait(0);
        QWidget* fresh = main->Child("frmAzmoon");
        QVERIFY(fresh && fresh != form);
        answer({});
        ClickButton(fresh, "cmdTashih");
        QCOMPARE(scalar("SELECT count(*) FROM tblExamHistory"), 2);
        QCOMPARE(keptAnswers(1), before);
        QVERIFY(before[1].chosen == before[1].correct);
        QVERIFY(bankCorrect(edited) != before[1].correct);
        // The second exam's answers follow the edited bank.
        for (const KeptAnswer& a : keptAnswers(2))
            QCOMPARE(a.correct, bankCorrect(a.id));
    }

    void aReadOnlyBankStillExamines() {
        QWidget* form = openExam();
        answer({1, 2, 3});
        {
            Unwritable readOnly(bank->bankPath());
            if (!readOnly.holds())
                QSKIP("this file system lets the bank be written whatever its permissions");
            ClickButton(form, "cmdTashih");
            QCOMPARE(shownTotals, QStringList{"30"});
            QCOMPARE(ShownText(form, "lblNatije"), QStringLiteral("27"));
            QVERIFY(form->findChild<QPushButton*>("cmdAzmooneMojadad")->isVisible());
            QWidget* progress = program->Open("mnuPishraft");
            QVERIFY(progress && progress != form);
            QVERIFY2(ShownText(progress, "lblVaziat").contains(QStringLiteral("فقط خواندني")),
                     qPrintable(ShownText(progress, "lblVaziat")));
        }
        QCOMPARE(scalar("SELECT count(*) FROM tblExamHistory"), 0);
        QCOMPARE(program->platform.messages.messages.size(), 0);
    }

    // A bank an earlier release made, without the history's tables, keeps its very next exam.
    void anOlderBankGetsTheTables() {
        QVERIFY2(bank->write(0), qPrintable(bank->lastError));
        QVERIFY(!bank->exec("SELECT 1 FROM tblExamHistory"));
        QWidget* form = openExam();
        ClickButton(form, "cmdTashih");
        QCOMPARE(scalar("SELECT count(*) FROM tblExamHistory"), 1);
        QCOMPARE(scalar("SELECT count(*) FROM tblExamAnswers"), 30);
    }

    // Another program's bank, with only the saved queries and tables the windows name (no tblSoal,
    // no collection or order columns): its exams are kept, and the mistakes review and the
    // category figures find its questions through the collections' queries.
    void aForeignBanksMistakesAndCategories() {
        QVERIFY2(bank->writeForeign(), qPrintable(bank->lastError));
        QVERIFY(!bank->exec("SELECT 1 FROM tblSoal"));
        QWidget* form = openExam();
        QSet<int> rightAt;
        for (int i = 1; i <= 20; ++i)
            rightAt.insert(i);
        answer(rightAt);
        const auto rows = examRows();
        ClickButton(form, "cmdTashih");
        QCOMPARE(scalar("PRAGMA user_version"), NewestSchemaVersion());
        QCOMPARE(scalar("SELECT count(*) FROM tblExamAnswers"), 30);
        form->parentWidget()->close();
        QTest::qWait(0);

        QWidget* review = program->Open("mnuEshtebahat");
        QCOMPARE(ShownText(review, "lblCount"), QStringLiteral("10"));
        QSet<int> wrongIds;
        for (int i = 20; i < 30; ++i)
            wrongIds.insert(rows[i].first);
        const QVector<int>& shown = qobject_cast<frmEshtebahat*>(review)->questionIds();
        QCOMPARE(QSet<int>(shown.begin(), shown.end()), wrongIds);
        QCOMPARE(ShownText(review, "lblSoorateSoal"), QStringLiteral("متن سؤال %1").arg(shown[0]));
        const int correct =
            scalar(QStringLiteral("SELECT G_Sahih FROM qrySoalateAzmoon WHERE ID = %1").arg(shown[0]));
        QCOMPARE(colours(review), QStringLiteral("g:%1 r:").arg(correct));

        // The fixture's exam questions are general (R01) below 263 and signs (T_HOKM) above.
        QMap<QString, QPair<int, int>> expected; // title -> answers, right answers
        for (int i = 0; i < 30; ++i) {
            auto& e =
                expected[rows[i].first < 263 ? QStringLiteral("تعاریف") : QStringLiteral("علائم حكم كننده")];
            ++e.first;
            e.second += i < 20 ? 1 : 0;
        }
        QWidget* progress = program->Open("mnuPishraft");
        auto* categories = progress->findChild<QTableWidget*>("grdMozooat");
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        QMap<QString, QPair<int, int>> shownFigures;
        for (int r = 0; r < categories->rowCount(); ++r)
            shownFigures[categories->item(r, 0)->text()] = {persian.toInt(categories->item(r, 1)->text()),
                                                            persian.toInt(categories->item(r, 2)->text())};
        QCOMPARE(shownFigures, expected);
    }

    void jalaliDates_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("Nowruz 1405") << QDate(2026, 3, 21) << QStringLiteral("۱۴۰۵/۰۱/۰۱");
        QTest::newRow("last day of leap 1403") << QDate(2025, 3, 20) << QStringLiteral("۱۴۰۳/۱۲/۳۰");
        QTest::newRow("new year 2024") << QDate(2024, 1, 1) << QStringLiteral("۱۴۰۲/۱۰/۱۱");
        QTest::newRow("no date") << QDate() << QString();
    }
    void jalaliDates() {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(JalaliDateText(date), text);
    }

    void theProgressWindow() {
        for (int exam = 0; exam < 3; ++exam) {
            program->platform.clock.day = QDate(2026, 3, 21).addDays(exam);
            QWidget* form = main->Child("frmAzmoon");
            if (form) {
                ClickButton(form, "cmdAzmooneMojadad");
                QTest::qWait(0);
            }
            form = form ? main->Child("frmAzmoon") : openExam();
            QSet<int> right;
            for (int i = 1; i <= 20 + 4 * exam; ++i)
                right.insert(i);
            answer(right);
            ClickButton(form, "cmdTashih");
        }
        QWidget* progress = program->Open("mnuPishraft");
        QCOMPARE(progress->windowTitle(), QStringLiteral("پیشرفت من"));
        auto* exams = progress->findChild<QTableWidget*>("grdAzmoonha");
        QCOMPARE(exams->rowCount(), 3);
        QCOMPARE(exams->item(0, 0)->text(), QStringLiteral("۱۴۰۵/۰۱/۰۳")); // newest first
        QCOMPARE(exams->item(0, 3)->text(), QStringLiteral("۲۸"));
        QCOMPARE(exams->item(0, 4)->text(), QStringLiteral("۲"));
        QCOMPARE(exams->item(0, 7)->text(), QStringLiteral("قبول"));
        QCOMPARE(exams->item(2, 0)->text(), QStringLiteral("۱۴۰۵/۰۱/۰۱"));
        QCOMPARE(exams->item(2, 3)->text(), QStringLiteral("۲۰"));
        QCOMPARE(exams->item(2, 4)->text(), QStringLiteral("۱۰"));
        QCOMPARE(exams->item(2, 7)->text(), QStringLiteral("مردود"));
        auto* categories = progress->findChild<QTableWidget*>("grdMozooat");
        QVERIFY(categories->rowCount() > 0);
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        double last = -1;
        for (int r = 0; r < categories->rowCount(); ++r) { // weakest first
            const double share = persian.toInt(categories->item(r, 2)->text()) /
                                 double(persian.toInt(categories->item(r, 1)->text()));
            QVERIFY(share >= last);
            last = share;
        }
    }

    // A question answered wrongly stays to re-drill until it is answered right; the mistakes exam
    // asks them, graded against the scaled pass mark.
    void mistakesUntilAnsweredRight() {
        QWidget* form = openExam();
        answer({});
        ClickButton(form, "cmdTashih");
        const QList<KeptAnswer> first = keptAnswers(1);
        form->parentWidget()->close();
        QTest::qWait(0);

        QWidget* review = program->Open("mnuEshtebahat");
        QCOMPARE(review->windowTitle(), QStringLiteral("مرور اشتباهات"));
        QCOMPARE(ShownText(review, "lblCount"), QStringLiteral("30"));
        QCOMPARE(ShownText(review, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(colours(review), QStringLiteral("g:%1 r:").arg(ShownText(review, "lblG_Sahih")));
        PressKey(Qt::Key_Right, Qt::NoModifier, 3);
        QCOMPARE(ShownText(review, "lblShomareSoal"), QStringLiteral("4"));

        ClickButton(review, "cmdAzmooneEshtebahat");
        QWidget* again = main->Child("frmAzmooneEshtebahat");
        QVERIFY(again);
        QCOMPARE(ShownText(again, "lblTedadeNoeSoal"), QStringLiteral("آزمون اشتباهات"));
        QCOMPARE(ShownText(again, "lblCount"), QStringLiteral("30"));
        answer({1});
        ClickButton(again, "cmdTashih");
        const int rightId = examRows()[0].first;
        QVERIFY(
            std::any_of(first.begin(), first.end(), [&](const KeptAnswer& a) { return a.id == rightId; }));

        const QVector<Mistake> left = Mistakes(bank->connectionString());
        QCOMPARE(left.size(), 29);
        QVERIFY(std::none_of(left.begin(), left.end(), [&](const Mistake& m) { return m.id == rightId; }));
        QVERIFY(std::all_of(left.begin(), left.end(), [](const Mistake& m) { return m.misses == 2; }));
        QCOMPARE(scalar("SELECT Kind = 'mistakes' FROM tblExamHistory WHERE ExamID = 2"), 1);
    }

    // The mistakes review and the progress window, left open, follow each exam kept meanwhile.
    void openWindowsFollowTheGrading() {
        QWidget* review = program->Open("mnuEshtebahat");
        QWidget* progress = program->Open("mnuPishraft");
        QVERIFY(review && progress);
        QVERIFY(review->findChild<QLabel*>("lblKhali")->isVisibleTo(review));

        QWidget* form = openExam();
        answer({});
        ClickButton(form, "cmdTashih");
        QCOMPARE(ShownText(review, "lblCount"), QStringLiteral("30"));
        QVERIFY(!review->findChild<QLabel*>("lblKhali")->isVisibleTo(review));
        QCOMPARE(ShownText(progress, "lblVaziat"), QStringLiteral("۱ آزمون، ۰ قبول"));

        form->parentWidget()->close(); // one exam at a time
        QTest::qWait(0);
        for (int i = 0; i < 3; ++i)
            ClickButton(review, "cmdNext");
        QCOMPARE(ShownText(review, "lblShomareSoal"), QStringLiteral("4"));
        ClickButton(review, "cmdAzmooneEshtebahat");
        QWidget* again = main->Child("frmAzmooneEshtebahat");
        QVERIFY(again);
        answer({1});
        ClickButton(again, "cmdTashih");
        const int rightId = examRows()[0].first;
        QCOMPARE(ShownText(review, "lblCount"), QStringLiteral("29"));
        QCOMPARE(ShownText(review, "lblShomareSoal"), QStringLiteral("1"));
        const QVector<int>& shown = qobject_cast<frmEshtebahat*>(review)->questionIds();
        QVERIFY(!shown.contains(rightId));
        QCOMPARE(ShownText(progress, "lblVaziat"), QStringLiteral("۲ آزمون، ۰ قبول"));
        QCOMPARE(progress->findChild<QTableWidget*>("grdAzmoonha")->rowCount(), 2);
    }

    void theMistakesExamsPassMark_data() {
        QTest::addColumn<int>("passMark");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("scaled");
        QTest::newRow("a whole exam") << 25 << 30 << 25;
        QTest::newRow("ten questions round up") << 25 << 10 << 9;
        QTest::newRow("one question") << 25 << 1 << 1;
        QTest::newRow("exactly a third") << 27 << 10 << 9;
        QTest::newRow("no pass mark") << 0 << 12 << 0;
        QTest::newRow("everything to pass") << 30 << 7 << 7;
    }
    void theMistakesExamsPassMark() {
        QFETCH(int, passMark);
        QFETCH(int, questions);
        QFETCH(int, scaled);
        QCOMPARE(ScaledPassMark(passMark, questions), scaled);
    }

    // Ten mistakes make a ten-question exam: 9 right passes at a pass mark of 25, 8 does not.
    void aShortMistakesExam_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("9 of 10") << 9 << QStringLiteral("قبول");
        QTest::newRow("8 of 10") << 8 << QStringLiteral("مردود");
    }
    void aShortMistakesExam() {
        QFETCH(int, right);
        QFETCH(QString, verdict);
        QWidget* form = openExam();
        answer({11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30});
        ClickButton(form, "cmdTashih");
        form->parentWidget()->close();
        QTest::qWait(0);
        QWidget* review = program->Open("mnuEshtebahat");
        QCOMPARE(ShownText(review, "lblCount"), QStringLiteral("10"));
        ClickButton(review, "cmdAzmooneEshtebahat");
        QWidget* exam = main->Child("frmAzmooneEshtebahat");
        QCOMPARE(ShownText(exam, "lblCount"), QStringLiteral("10"));
        PressKey(Qt::Key_PageDown);
        QCOMPARE(ShownText(exam, "lblShomareSoal"), QStringLiteral("10"));
        QSet<int> rightAt;
        for (int i = 1; i <= right; ++i)
            rightAt.insert(i);
        answer(rightAt);
        ClickButton(exam, "cmdTashih");
        QCOMPARE(shownTotals.last(), QStringLiteral("10"));
        QCOMPARE(ShownText(exam, "lblNatije"), QString::number(10 - right));
        QCOMPARE(scalar("SELECT PassMark FROM tblExamHistory WHERE ExamID = 2"), 9);
        QCOMPARE(scalar("SELECT Questions FROM tblExamHistory WHERE ExamID = 2"), 10);
        QCOMPARE(scalar("SELECT Passed FROM tblExamHistory WHERE ExamID = 2"), verdict == "قبول" ? 1 : 0);
    }

    void theWrongChoiceInRedOnlyWhereWrong() {
        QWidget* form = openExam();
        answer({2});
        const auto rows = examRows();
        PressKey(Qt::Key_Right, Qt::NoModifier, 2);
        QCOMPARE(colours(form), QStringLiteral("g: r:")); // nothing coloured while answering
        ClickButton(form, "cmdTashih");
        const int wrong1 = rows[0].second % 4 + 1;
        QCOMPARE(colours(form), QStringLiteral("g:%1 r:%2").arg(rows[0].second).arg(wrong1));
        PressKey(Qt::Key_Right);
        QCOMPARE(colours(form), QStringLiteral("g:%1 r:").arg(rows[1].second));
        ClickButton(form, "cmdNext");
        QCOMPARE(colours(form), QStringLiteral("g:%1 r:%2").arg(rows[2].second).arg(rows[2].second % 4 + 1));
        PressKey(Qt::Key_PageUp);
        QCOMPARE(colours(form), QStringLiteral("g:%1 r:%2").arg(rows[0].second).arg(wrong1));
    }

    void aPictureZoomsAndCloses() {
        QWidget* form = openExam();
        auto* picture = form->findChild<PictureBox*>("imgShekl");
        for (int i = 0; i < 30 && !picture->isVisible(); ++i)
            PressKey(Qt::Key_Right);
        QVERIFY(picture->isVisible());
        const QString position = ShownText(form, "lblShomareSoal");
        for (const char* how : {"click", "escape"}) {
            QTest::mouseClick(picture, Qt::LeftButton, {}, picture->pictureRect().center());
            auto* zoom = main->findChild<PictureZoom*>();
            QVERIFY(zoom && zoom->isVisible());
            QVERIFY(zoom->pictureRect().width() > picture->pictureRect().width());
            QVERIFY(main->rect().contains(zoom->geometry()));
            QPointer<PictureZoom> watch = zoom;
            if (QByteArray(how) == "click")
                QTest::mouseClick(zoom, Qt::LeftButton);
            else
                PressKey(Qt::Key_Escape);
            QTest::qWait(0);
            QVERIFY2(!watch, how);
        }
        // The exam has its keys back.
        const bool atFirst = position == QLatin1String("1");
        PressKey(atFirst ? Qt::Key_PageDown : Qt::Key_PageUp);
        QCOMPARE(ShownText(form, "lblShomareSoal"), atFirst ? QStringLiteral("30") : QStringLiteral("1"));
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
