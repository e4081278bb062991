// A learner's progress: graded exams kept in the bank, the progress window, the mistakes review
// and its exam, the wrong choice in red, and a picture enlarged on a click.
#include "app/frmMain.h"
#include "card/SharhPanel.h"
#include "common/BankLocks.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/Explanations.h"
#include "data/SharedState.h"
#include "exam/frmAzmoon.h"
#include "progress/ProgressText.h"
#include "progress/frmAzmoonGozashte.h"
#include "progress/frmEshtebahat.h"
#include "progress/frmPishraft.h"
#include "rules/ExamSession.h"
#include "ui/Look.h"
#include "ui/Modal.h"
#include "ui/PictureBox.h"
#include "ui/PictureZoom.h"

#include <QChartView>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSqlQuery>
#include <QTableWidget>
#include <QToolTip>
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

// Where a point of a chart series is drawn, in its view's viewport.
QPoint placeOf(QChartView* view, QXYSeries* series, int index) {
    const QPointF inChart = view->chart()->mapToPosition(series->at(index), series);
    return view->mapFromScene(view->chart()->mapToScene(inChart));
}

// The chart's line of correct answers, and the ring around the chosen exam's point.
QLineSeries* correctLine(QChartView* view) {
    for (QAbstractSeries* s : view->chart()->series())
        if (s->type() == QAbstractSeries::SeriesTypeLine && s->name() == QStringLiteral("پاسخ درست"))
            return static_cast<QLineSeries*>(s);
    return nullptr;
}
QList<QPointF> ringPoints(QChartView* view) {
    for (QAbstractSeries* s : view->chart()->series())
        if (auto* ring = qobject_cast<QScatterSeries*>(s))
            return ring->points();
    return {};
}

void clickCell(QTableWidget* grid, int row, bool twice = false) {
    const QPoint at = grid->visualItemRect(grid->item(row, 0)).center();
    if (twice)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
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
        // The exam being taken: the one open window not graded yet.
        frmAzmoon* exam = nullptr;
        for (auto* form : main->findChildren<frmAzmoon*>())
            if (!form->graded() && form->isVisible())
                exam = form;
        QVERIFY(exam);
        for (int i = 1; i <= rows.size(); ++i)
            exam->session().choose(i, rightAt.contains(i) ? rows[i - 1].second : rows[i - 1].second % 4 + 1);
    }
    QWidget* openExam() { return program->Open("Command6"); }
    // Opens the progress window's exam of that row as a learner would: a double-click, Enter, or
    // the row chosen and the button clicked.
    frmAzmoonGozashte* openPastExam(int row, const QString& how) {
        QWidget* progress = program->Open("mnuPishraft");
        auto* exams = progress->findChild<QTableWidget*>("grdAzmoonha");
        if (!exams || row >= exams->rowCount())
            return nullptr;
        clickCell(exams, row);
        if (how == "Enter")
            PressKey(Qt::Key_Return);
        else if (how == "double-click")
            clickCell(exams, row, true);
        else
            ClickButton(progress, "cmdMoroorAzmoon");
        return qobject_cast<frmAzmoonGozashte*>(main->Child("frmAzmoonGozashte"));
    }
    // The colours each kept answer should show: the correct option green, a wrong choice red.
    static QString keptColours(const KeptAnswer& a) {
        return QStringLiteral("g:%1 r:%2")
            .arg(a.correct)
            .arg(a.chosen != a.correct ? QString::number(a.chosen) : QString());
    }
    // The category table as title -> answers, right answers, in its rows' order of shares.
    static QMap<QString, QPair<int, int>> categoryFigures(QWidget* form, QList<double>* shares = nullptr) {
        auto* categories = form->findChild<QTableWidget*>("grdMozooat");
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        QMap<QString, QPair<int, int>> out;
        for (int r = 0; r < categories->rowCount(); ++r) {
            const int answers = persian.toInt(categories->item(r, 1)->text());
            const int right = persian.toInt(categories->item(r, 2)->text());
            out[categories->item(r, 0)->text()] = {answers, right};
            if (shares)
                shares->append(answers > 0 ? double(right) / answers : 0);
        }
        return out;
    }
    // What one kept exam's categories should show, from its answers.
    QMap<QString, QPair<int, int>> expectedFigures(int examId) {
        QMap<QString, QPair<int, int>> expected;
        for (const KeptAnswer& a : keptAnswers(examId)) {
            if (bankCorrect(a.id) < 0)
                continue; // not in the bank any more: its category is not known
            auto& e = expected[a.id < 263 ? QStringLiteral("تعاریف") : QStringLiteral("علائم حكم كننده")];
            ++e.first;
            e.second += a.chosen == a.correct ? 1 : 0;
        }
        return expected;
    }
    // Grades one exam a day from 1405/01/01 on, each with the given number of right answers.
    void gradeExams(const QList<int>& rights) {
        const QDate first = QDate(2026, 3, 21);
        for (const int right : rights) {
            QWidget* form = main->Child("frmAzmoon");
            if (form) {
                program->platform.clock.day = program->platform.clock.day.addDays(1);
                ClickButton(form, "cmdAzmooneMojadad");
                QTest::qWait(0);
                form = main->Child("frmAzmoon");
            } else {
                program->platform.clock.day = first;
                form = openExam();
            }
            QSet<int> rightAt;
            for (int i = 1; i <= right; ++i)
                rightAt.insert(i);
            answer(rightAt);
            ClickButton(form, "cmdTashih");
        }
    }

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
        gradeExams({20, 24, 28});
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

    // A graded exam left open to read is not an exam being taken: the mistakes exam opens beside
    // it and works, the graded one keeps showing its own questions and answers, and the other way
    // round a graded mistakes exam does not stop a main exam. An exam still being taken refuses
    // the other with a message and opens nothing.
    void aGradedExamDoesNotBlockTheOther() {
        auto* form = qobject_cast<frmAzmoon*>(openExam());
        answer({});
        ClickButton(form, "cmdTashih");
        const QString firstQuestion = ShownText(form, "lblSoorateSoal");
        const int firstAnswer = form->session().answer(1);

        QWidget* review = program->Open("mnuEshtebahat");
        ClickButton(review, "cmdAzmooneEshtebahat");
        auto* again = qobject_cast<frmAzmoon*>(main->Child("frmAzmooneEshtebahat"));
        QVERIFY(again);
        QVERIFY(program->platform.messages.messages.isEmpty());
        QCOMPARE(ShownText(again, "lblCount"), QStringLiteral("30"));
        QVERIFY(again->findChild<QTimer*>("tmrAzmoon")->isActive());
        QVERIFY(again->findChild<QPushButton*>("cmdTashih")->isVisible());
        // The graded exam, though the bank's exam table now holds the other, reads as it did.
        QCOMPARE(ShownText(form, "lblSoorateSoal"), firstQuestion);
        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
        form->setFocus();
        PressKey(Qt::Key_Right);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));
        PressKey(Qt::Key_Left);
        QCOMPARE(ShownText(form, "lblSoorateSoal"), firstQuestion);
        QCOMPARE(form->session().answer(1), firstAnswer);

        // Now the mistakes exam is being taken: a main exam is refused, and nothing opens.
        form->parentWidget()->close();
        QTest::qWait(0);
        main->findChild<QPushButton*>("Command6")->click();
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QCOMPARE(program->platform.messages.messages[0].prompt,
                 QStringLiteral("آزمون ديگري باز است؛ نخست آن را ببنديد."));
        QVERIFY(!main->Child("frmAzmoon"));

        // Graded, it no longer stands in the way.
        answer({1});
        ClickButton(again, "cmdTashih");
        main->findChild<QPushButton*>("Command6")->click();
        auto* main2 = qobject_cast<frmAzmoon*>(main->Child("frmAzmoon"));
        QVERIFY(main2);
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QCOMPARE(ShownText(main2, "lblCount"), QStringLiteral("30"));
        QVERIFY(!main2->graded());
    }

    // A duration never reads as a time of day: minutes and seconds in words, hours only past one.
    void durations_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << qint64(0) << QStringLiteral("۰ ثانيه");
        QTest::newRow("under a minute") << qint64(59) << QStringLiteral("۵۹ ثانيه");
        QTest::newRow("a whole minute") << qint64(60) << QStringLiteral("۱ دقيقه");
        QTest::newRow("a minute and a second") << qint64(61) << QStringLiteral("۱ دقيقه و ۱ ثانيه");
        QTest::newRow("12 min 30 s") << qint64(750) << QStringLiteral("۱۲ دقيقه و ۳۰ ثانيه");
        QTest::newRow("an hour") << qint64(3600) << QStringLiteral("۱ ساعت");
        QTest::newRow("an hour and seconds") << qint64(3605) << QStringLiteral("۱ ساعت و ۵ ثانيه");
        QTest::newRow("over an hour") << qint64(3725) << QStringLiteral("۱ ساعت و ۲ دقيقه و ۵ ثانيه");
        QTest::newRow("a clock set back") << qint64(-40) << QStringLiteral("۰ ثانيه");
    }
    void durations() {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(DurationText(seconds), text);
    }

    // The chosen exam is the same exam after a new one is kept with the window open, in the
    // table and in the chart's ring, though it moved down a row.
    void theChosenExamFollowsANewExam() {
        gradeExams({20, 24, 28});
        auto* progress = qobject_cast<frmPishraft*>(program->Open("mnuPishraft"));
        QVERIFY(progress);
        auto* exams = progress->findChild<QTableWidget*>("grdAzmoonha");
        auto* chart = progress->findChild<QChartView*>("chtDorost");
        QVERIFY(exams && chart);
        clickCell(exams, 1);
        const int chosen = progress->selectedExamId();
        QCOMPARE(chosen, 2);
        QCOMPARE(ringPoints(chart), QList<QPointF>{QPointF(2, 24)});

        gradeExams({10});
        QCOMPARE(exams->rowCount(), 4);
        QCOMPARE(progress->selectedExamId(), chosen);
        QCOMPARE(exams->selectedItems().first()->row(), 2);
        QCOMPARE(exams->item(2, 3)->text(), QStringLiteral("۲۴"));
        QCOMPARE(exams->item(0, 3)->text(), QStringLiteral("۱۰"));
        QCOMPARE(ringPoints(chart), QList<QPointF>{QPointF(3, 24)});
        // With nothing chosen, a new exam chooses nothing either.
        exams->clearSelection();
        QVERIFY(ringPoints(chart).isEmpty());
        gradeExams({12});
        QCOMPARE(exams->rowCount(), 5);
        QCOMPARE(progress->selectedExamId(), 0);
        QVERIFY(ringPoints(chart).isEmpty());
    }

    // The chart reads as the table: its exam 1 is the table's first row, at the right, and so on
    // leftwards; the pointer over a point names that exam, a click on it chooses its row.
    void theChartReadsAsTheTable() {
        gradeExams({20, 24, 28});
        QWidget* progress = program->Open("mnuPishraft");
        auto* exams = progress->findChild<QTableWidget*>("grdAzmoonha");
        auto* chart = progress->findChild<QChartView*>("chtDorost");
        QVERIFY(exams && chart);
        QLineSeries* line = correctLine(chart);
        QVERIFY(line);
        QCOMPARE(line->count(), exams->rowCount());
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        for (int r = 0; r < exams->rowCount(); ++r) {
            QCOMPARE(line->at(r).x(), r + 1);
            QCOMPARE(int(line->at(r).y()), persian.toInt(exams->item(r, 3)->text()));
            QCOMPARE(exams->verticalHeaderItem(r)->text(), PersianNumber(r + 1));
            if (r > 0)
                QVERIFY(placeOf(chart, line, r).x() < placeOf(chart, line, r - 1).x());
        }
        for (int r = 0; r < exams->rowCount(); ++r) {
            QTest::mouseMove(chart->viewport(), placeOf(chart, line, r) + QPoint(2, -1));
            QTRY_VERIFY(QToolTip::isVisible());
            const QString tip = QToolTip::text();
            QVERIFY2(tip.contains(exams->item(r, 0)->text() + QStringLiteral(" ساعت ") +
                                  exams->item(r, 1)->text()),
                     qPrintable(tip));
            QVERIFY2(tip.contains(QStringLiteral("درست: %1 از ۳۰").arg(exams->item(r, 3)->text())),
                     qPrintable(tip));
        }
        QCOMPARE(QToolTip::text(),
                 QStringLiteral("آزمون اصلي، ۱۴۰۵/۰۱/۰۱ ساعت ۱۰:۰۰\nدرست: ۲۰ از ۳۰، حد قبولي: ۲۵"));
        // Away from every point the tip goes.
        QTest::mouseMove(chart->viewport(), QPoint(3, 3));
        QTRY_VERIFY(!QToolTip::isVisible());

        QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, placeOf(chart, line, 2));
        QCOMPARE(exams->selectedItems().first()->row(), 2);
        QCOMPARE(QApplication::focusWidget(), exams);
        QCOMPARE(ringPoints(chart), QList<QPointF>{line->at(2)});
        PressKey(Qt::Key_Up, Qt::NoModifier, 2);
        QCOMPARE(exams->selectedItems().first()->row(), 0);
        QCOMPARE(ringPoints(chart), QList<QPointF>{line->at(0)});
        // A click beside the points leaves the choice as it was.
        QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(exams->selectedItems().first()->row(), 0);
    }

    void aCategoryOpensTheMistakes_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("double-click") << false;
        QTest::newRow("Enter") << true;
    }
    void aCategoryOpensTheMistakes() {
        QFETCH(bool, byEnter);
        gradeExams({20});
        main->Child("frmAzmoon")->parentWidget()->close();
        QTest::qWait(0);
        QWidget* progress = program->Open("mnuPishraft");
        auto* categories = progress->findChild<QTableWidget*>("grdMozooat");
        QVERIFY(categories->rowCount() > 1);
        clickCell(categories, 1);
        QVERIFY(!main->Child("frmEshtebahat")); // a click only chooses
        if (byEnter)
            PressKey(Qt::Key_Return);
        else
            clickCell(categories, 1, true);
        QWidget* review = main->Child("frmEshtebahat");
        QVERIFY(review);
        QCOMPARE(ShownText(review, "lblCount"), QStringLiteral("10"));
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

    // A kept exam opens from the list and is stepped through by keys and buttons, each question
    // with the option chosen and the correct one as they were kept.
    void aKeptExamOpensFromTheList_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("double-click") << QStringLiteral("double-click");
        QTest::newRow("Enter") << QStringLiteral("Enter");
        QTest::newRow("button") << QStringLiteral("button");
    }
    void aKeptExamOpensFromTheList() {
        QFETCH(QString, how);
        gradeExams({20});
        const QList<KeptAnswer> kept = keptAnswers(1);
        QCOMPARE(kept.size(), 30);
        frmAzmoonGozashte* past = openPastExam(0, how);
        QVERIFY(past);
        QCOMPARE(past->windowTitle(), QStringLiteral("مرور آزمون"));
        QCOMPARE(past->examId(), 1);
        QCOMPARE(ShownText(past, "lblCount"), QStringLiteral("30"));
        QCOMPARE(ShownText(past, "lblAzmoon"),
                 QStringLiteral("آزمون اصلي، ۱۴۰۵/۰۱/۰۱ ساعت ۱۰:۰۰\nدرست: ۲۰ از ۳۰، حد قبولي: ۲۵، مردود"));
        QVERIFY(!past->findChild<QLabel*>("lblKhali")->isVisible());
        past->findChild<QPushButton*>("cmdNext")->setFocus();
        for (int i = 0; i < 30; ++i) {
            const QByteArray at = QByteArray::number(i + 1);
            QVERIFY2(ShownText(past, "lblShomareSoal") == QString::number(i + 1), at);
            QVERIFY2(ShownText(past, "lblSoorateSoal") == QStringLiteral("متن سؤال %1").arg(kept[i].id), at);
            QVERIFY2(colours(past) == keptColours(kept[i]), qPrintable(colours(past) + " at " + at));
            QVERIFY2(ShownText(past, "lblPasokh")
                         .contains(i < 20 ? QStringLiteral("درست") : QStringLiteral("نادرست")),
                     at);
            if (i % 2 == 0)
                PressKey(Qt::Key_Right);
            else
                ClickButton(past, "cmdNext");
        }
        QCOMPARE(ShownText(past, "lblShomareSoal"), QStringLiteral("30"));
        PressKey(Qt::Key_PageUp);
        QCOMPARE(ShownText(past, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(colours(past), keptColours(kept[0]));
        PressKey(Qt::Key_PageDown);
        PressKey(Qt::Key_Left);
        QCOMPARE(ShownText(past, "lblShomareSoal"), QStringLiteral("29"));
        QCOMPARE(colours(past), keptColours(kept[28]));
    }

    // The exam's own categories, weakest first; a second exam opened shows in the same window,
    // with its answers and its figures, not the first one's.
    void categorySharesAndASecondExam() {
        gradeExams({20, 28});
        frmAzmoonGozashte* past = openPastExam(1, QStringLiteral("button")); // the older exam
        QVERIFY(past);
        QCOMPARE(past->examId(), 1);
        QList<double> shares;
        QCOMPARE(categoryFigures(past, &shares), expectedFigures(1));
        QVERIFY(std::is_sorted(shares.begin(), shares.end()));
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        auto* categories = past->findChild<QTableWidget*>("grdMozooat");
        for (int r = 0; r < categories->rowCount(); ++r)
            QCOMPARE(categories->item(r, 3)->text(), PersianNumber(qRound(shares[r] * 100)) + u'٪');

        frmAzmoonGozashte* again = openPastExam(0, QStringLiteral("Enter"));
        QCOMPARE(again, past);
        QCOMPARE(main->findChildren<frmAzmoonGozashte*>().size(), 1);
        QCOMPARE(past->examId(), 2);
        QVERIFY(ShownText(past, "lblAzmoon").contains(QStringLiteral("درست: ۲۸ از ۳۰")));
        QVERIFY(ShownText(past, "lblAzmoon").endsWith(QStringLiteral("قبول")));
        QCOMPARE(ShownText(past, "lblShomareSoal"), QStringLiteral("1"));
        const QList<KeptAnswer> second = keptAnswers(2);
        QCOMPARE(ShownText(past, "lblSoorateSoal"), QStringLiteral("متن سؤال %1").arg(second[0].id));
        QCOMPARE(categoryFigures(past), expectedFigures(2));
        QVERIFY(categoryFigures(past) != expectedFigures(1));
        past->findChild<QPushButton*>("cmdNext")->setFocus();
        PressKey(Qt::Key_PageDown);
        QCOMPARE(colours(past), keptColours(second[29]));
    }

    // A question taken out of the bank since keeps its place, with its number and a note, and the
    // rest of the exam shows as kept; its explanation is not offered.
    void aQuestionDeletedSince() {
        gradeExams({20});
        const QList<KeptAnswer> kept = keptAnswers(1);
        const int gone = kept[2].id;
        for (const int id : {kept[0].id, gone})
            QVERIFY(SaveExplanation(bank->connectionString(), id, QStringLiteral("شرح سؤال %1").arg(id)));
        QVERIFY(bank->exec(QStringLiteral("DELETE FROM tblSoal WHERE ID = %1").arg(gone)));
        frmAzmoonGozashte* past = openPastExam(0, QStringLiteral("double-click"));
        QVERIFY(past);
        QCOMPARE(ShownText(past, "lblCount"), QStringLiteral("30"));
        past->findChild<QPushButton*>("cmdNext")->setFocus();
        PressKey(Qt::Key_F2);
        QVERIFY(past->sharh()->strip()->isVisible());
        QCOMPARE(past->sharh()->explanation(), QStringLiteral("شرح سؤال %1").arg(kept[0].id));
        PressKey(Qt::Key_Right, Qt::NoModifier, 2);
        QCOMPARE(ShownText(past, "lblShomareSoal"), QStringLiteral("3"));
        QCOMPARE(ShownText(past, "lblSoorateSoal"),
                 QStringLiteral("سؤال %1، اين سؤال ديگر در بانك نيست").arg(PersianNumber(gone)));
        for (int k = 1; k <= 4; ++k)
            QVERIFY(!past->findChild<QLabel*>(QStringLiteral("lblG%1").arg(k))->isVisible());
        QVERIFY(!past->sharh()->button()->isVisible());
        QVERIFY(!past->sharh()->strip()->isVisible());
        PressKey(Qt::Key_Right);
        QCOMPARE(ShownText(past, "lblShomareSoal"), QStringLiteral("4"));
        QCOMPARE(ShownText(past, "lblSoorateSoal"), QStringLiteral("متن سؤال %1").arg(kept[3].id));
        QVERIFY(past->findChild<QLabel*>("lblG1")->isVisible());
        QCOMPARE(colours(past), keptColours(kept[3]));
        QCOMPARE(categoryFigures(past), expectedFigures(1));
    }

    // An exam that cannot be shown says why in the window, which stays usable and opens the next.
    void aBrokenKeptExam_data() {
        QTest::addColumn<QString>("breakIt");
        QTest::addColumn<int>("examId");
        QTest::addColumn<QString>("message");
        QTest::newRow("ExamID gone") << QString() << 99 << QStringLiteral("اين آزمون در كارنامه نيست");
        QTest::newRow("answers missing") << QStringLiteral("DELETE FROM tblExamAnswers WHERE ExamID = 1") << 1
                                         << QStringLiteral("پاسخهاي اين آزمون در كارنامه نمانده است");
        QTest::newRow("no history tables") << QStringLiteral("DROP TABLE tblExamAnswers") << 1
                                           << QStringLiteral("بانك سؤالات كارنامه آزمونها را ندارد");
    }
    void aBrokenKeptExam() {
        QFETCH(QString, breakIt);
        QFETCH(int, examId);
        QFETCH(QString, message);
        gradeExams({20});
        frmAzmoonGozashte* past = openPastExam(0, QStringLiteral("button"));
        QVERIFY(past);
        if (!breakIt.isEmpty())
            QVERIFY(bank->exec(breakIt));
        past->ShowExam(examId);
        auto* note = past->findChild<QLabel*>("lblKhali");
        QVERIFY(note->isVisible());
        QVERIFY2(note->text().startsWith(message), qPrintable(note->text()));
        QCOMPARE(ShownText(past, "lblCount"), QStringLiteral("0"));
        QVERIFY(!past->findChild<QWidget*>("lblSoorateSoal")->isVisible());
        QCOMPARE(past->findChild<QTableWidget*>("grdMozooat")->rowCount(), 0);
        past->findChild<QPushButton*>("cmdNext")->setFocus();
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_PageUp})
            PressKey(key);
        ClickButton(past, "cmdNext");
        QVERIFY(!past->findChild<QWidget*>("lblSoorateSoal")->isVisible());
        if (breakIt.startsWith(QLatin1String("DROP")))
            return;
        // The window shows the next exam asked for as though nothing had happened.
        past->ShowExam(examId == 1 ? 99 : 1);
        if (examId == 99) {
            QVERIFY(!note->isVisible());
            QCOMPARE(ShownText(past, "lblCount"), QStringLiteral("30"));
        }
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
