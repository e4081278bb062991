// The Leitner box over a bank: new questions joining by the day, a session on the window answered
// by key and by click, kept exams moving the cards, edited and removed questions leaving the box,
// and the chance of passing in the progress and Leitner windows.
#include "app/frmMain.h"
#include "card/SharhPanel.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/Settings.h"
#include "data/SharedState.h"
#include "exam/frmAzmoon.h"
#include "progress/frmLeitner.h"
#include "rules/LeitnerBox.h"
#include "ui/Look.h"
#include "ui/Modal.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QtTest>

namespace {
QColor textColour(QWidget* form, int k) {
    return form->findChild<QLabel*>(QStringLiteral("lblG%1").arg(k))->palette().color(QPalette::WindowText);
}
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
} // namespace

class TestLeitnerBox : public QObject {
    Q_OBJECT
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    const QDate day0{2026, 3, 21};

    int scalar(const QString& sql) {
        Connection c(bank->connectionString());
        QSqlQuery q(c.database());
        return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
    }
    int boxOf(int id) { return scalar(QStringLiteral("SELECT Box FROM tblLeitner WHERE ID = %1").arg(id)); }
    frmLeitner* openBox() {
        auto* form = qobject_cast<frmLeitner*>(program->Open("mnuLeitner"));
        return form;
    }
    // The shown option that is correct, 1..4.
    int shownCorrect(frmLeitner* form) { return form->card()->correctOptionText().toInt(); }

private slots:
    void init() {
        program = std::make_unique<RunningProgram>();
        QVERIFY(program->main);
        bank = std::make_unique<FixtureBank>();
        FixtureBank::fillExam(*bank);
        for (BankQuestion& q : bank->source.questions)
            q.explanation = QStringLiteral("شرح %1").arg(q.id);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        bank->useAsGlobals();
        gPassMark = 25;
        program->platform.clock.day = day0;
    }
    void cleanup() {
        SetModalHandler({});
        program.reset();
    }

    // Twenty new questions a day by default, the lowest numbers first; opening again the same day
    // adds none, the next day adds twenty more; a larger setting adds the difference at once.
    void newQuestionsJoinByTheDay() {
        LeitnerBox box = LeitnerBox::Open(bank->connectionString(), day0);
        QVERIFY(box.available());
        QCOMPARE(box.newPerDay(), 20);
        QCOMPARE(box.boxCounts()[0], 20);
        QCOMPARE(box.dueToday().size(), 20);
        QCOMPARE(box.dueToday().first(), 1);
        QCOMPARE(box.nextDue(), day0.addDays(1)); // today's questions, unanswered, are due again tomorrow
        QVERIFY(!box.dueToday().contains(200));   // the archive block is never in the box
        box = LeitnerBox::Open(bank->connectionString(), day0);
        QCOMPARE(box.boxCounts()[0], 20);
        QVERIFY(box.setNewPerDay(25));
        QCOMPARE(box.boxCounts()[0], 25);
        QCOMPARE(ReadSetting(bank->connectionString(), kLeitnerNewPerDaySetting, QString()),
                 QStringLiteral("25"));
        box = LeitnerBox::Open(bank->connectionString(), day0.addDays(1));
        QCOMPARE(box.boxCounts()[0], 50);
        // The clock set back a day: nothing more joins, and nothing is lost.
        box = LeitnerBox::Open(bank->connectionString(), day0);
        QCOMPARE(box.boxCounts()[0], 50);
    }

    // A bank that kept the number a day beside the box's state keeps it: it moves to the settings
    // once, and the settings have the last word from then on.
    void newPerDayMovesToTheSettings() {
        QVERIFY(bank->exec("INSERT INTO tblLeitnerState (ID, NewPerDay, LastNewDay, NewOnLastDay) "
                           "VALUES (1, 7, NULL, 0)"));
        LeitnerBox box = LeitnerBox::Open(bank->connectionString(), day0);
        QCOMPARE(box.newPerDay(), 7);
        QCOMPARE(box.boxCounts()[0], 7);
        QCOMPARE(ReadSetting(bank->connectionString(), kLeitnerNewPerDaySetting, QString()),
                 QStringLiteral("7"));
        QVERIFY(bank->exec("UPDATE tblLeitnerState SET NewPerDay = 9"));
        QCOMPARE(LeitnerBox::Open(bank->connectionString(), day0.addDays(1)).newPerDay(), 7);
        QVERIFY(WriteSetting(bank->connectionString(), kLeitnerNewPerDaySetting, QStringLiteral("3")));
        box = LeitnerBox::Open(bank->connectionString(), day0.addDays(2));
        QCOMPARE(box.newPerDay(), 3);
        QCOMPARE(box.boxCounts()[0], 17);
    }

    // A session on the window: a key answers right (green, one box up, due in two days), a click
    // answers wrong (the choice red, the correct green, back to box 1), the explanation shows at
    // once, and the counts follow.
    void aSessionByKeyAndClick() {
        frmLeitner* form = openBox();
        QVERIFY(form);
        QCOMPARE(ShownText(form, "lblJabe1"), QStringLiteral("جعبه ۱: ۲۰"));
        QCOMPARE(ShownText(form, "lblMoed"), QStringLiteral("براي امروز: ۲۰ سؤال"));
        QCOMPARE(colours(form), QStringLiteral("g: r:"));
        QVERIFY(!form->sharh()->button()->isVisible());
        const int first = form->shownId();
        const int right = shownCorrect(form);
        // The options are dealt: the shown correct option is the source's correct one.
        QCOMPARE(bank->source.questions[first - 1].id, first);
        QCOMPARE(form->order()[right - 1], bank->source.questions[first - 1].correct);
        PressKey(Qt::Key(Qt::Key_0 + right));
        QCOMPARE(colours(form), QStringLiteral("g:%1 r:").arg(right));
        QCOMPARE(boxOf(first), 2);
        QCOMPARE(form->box().boxOf(first), 2);
        QVERIFY(form->sharh()->isOpen());
        QCOMPARE(form->sharh()->explanation(), QStringLiteral("شرح %1").arg(first));
        QCOMPARE(ShownText(form, "lblJabe2"), QStringLiteral("جعبه ۲: ۱"));
        QCOMPARE(ShownText(form, "lblMoed"), QStringLiteral("براي امروز: ۱۹ سؤال"));
        // A second key on the answered question changes nothing.
        PressKey(Qt::Key(Qt::Key_0 + right % 4 + 1));
        QCOMPARE(boxOf(first), 2);

        ClickButton(form, "cmdBadi");
        const int second = form->shownId();
        QVERIFY(second != first);
        QCOMPARE(colours(form), QStringLiteral("g: r:"));
        const int wrong = shownCorrect(form) % 4 + 1;
        QTest::mouseClick(form->findChild<QLabel*>(QStringLiteral("lblG%1").arg(wrong)), Qt::LeftButton);
        QCOMPARE(colours(form), QStringLiteral("g:%1 r:%2").arg(shownCorrect(form)).arg(wrong));
        QCOMPARE(boxOf(second), 1);
        QCOMPARE(scalar("SELECT count(*) FROM tblPractice"), 2);
        QCOMPARE(scalar("SELECT sum(IsRight) FROM tblPractice"), 1);
        // Missed today, it comes again tomorrow, not in today's session.
        QVERIFY(!form->box().dueToday().contains(second));
        LeitnerBox tomorrow = LeitnerBox::Open(bank->connectionString(), day0.addDays(1));
        QVERIFY(tomorrow.dueToday().contains(second));
        QVERIFY(!tomorrow.dueToday().contains(first));
        QVERIFY(LeitnerBox::Open(bank->connectionString(), day0.addDays(2)).dueToday().contains(first));
    }

    // A kept exam moves its questions' cards: a miss to box 1, a right answer one box up.
    void examAnswersFeedTheBoxes() {
        LeitnerBox::Open(bank->connectionString(), day0); // 1..20 in box 1
        {
            Connection c(bank->connectionString());
            QSqlQuery q(c.database());
            QVERIFY(q.exec("UPDATE tblLeitner SET Box = 4 WHERE ID <= 20"));
        }
        QWidget* form = program->Open("Command6");
        auto* exam = qobject_cast<frmAzmoon*>(form);
        QVERIFY(exam);
        const QVector<ExamQuestion> questions = exam->session().questions();
        // Right at odd positions, wrong at even ones.
        for (int i = 1; i <= questions.size(); ++i) {
            const int correct = questions[i - 1].correct;
            exam->session().choose(i, i % 2 ? correct : correct % 4 + 1);
        }
        SetModalHandler([](QDialog* dialog) {
            ClickButton(dialog, "Command1");
            return dialog->result();
        });
        ClickButton(form, "cmdTashih");
        QCOMPARE(scalar("SELECT count(*) FROM tblExamHistory"), 1);
        for (int i = 1; i <= questions.size(); ++i) {
            const int id = questions[i - 1].id;
            const int was = id <= 20 ? 4 : 1;
            QCOMPARE(boxOf(id), i % 2 ? std::min(was + 1, 5) : 1);
        }
        // The answers' summaries took the exam in the same transaction.
        QCOMPARE(scalar("SELECT sum(Answered) FROM tblAnswerSummary"), questions.size());
        QCOMPARE(scalar("SELECT sum(RightCount) FROM tblAnswerSummary"), (questions.size() + 1) / 2);
        QCOMPARE(scalar(QStringLiteral("SELECT RightCount FROM tblAnswerSummary WHERE QuestionID = %1")
                            .arg(questions[0].id)),
                 1);
    }

    // An edited question leaves the box and joins again as new; a removed one leaves it; the box
    // opens whole either way.
    void editedAndRemovedQuestionsLeave() {
        LeitnerBox box = LeitnerBox::Open(bank->connectionString(), day0);
        QVERIFY(box.answer(3, true));
        QVERIFY(box.answer(4, true));
        QVERIFY(bank->exec("UPDATE tblSoal SET G1 = 'تازه' WHERE ID = 3"));
        QVERIFY(bank->exec("DELETE FROM tblSoal WHERE ID = 4"));
        box = LeitnerBox::Open(bank->connectionString(), day0.addDays(1));
        QCOMPARE(box.boxOf(3), 1); // back as new the next day
        QCOMPARE(box.boxOf(4), 0);
        QCOMPARE(scalar("SELECT count(*) FROM tblLeitner WHERE ID = 4"), 0);
        QVERIFY(!box.answer(4, true));
    }

    // The chance: with no history every question has the even chance; right answers raise it.
    void theChanceInBothWindows() {
        frmLeitner* form = openBox();
        const Readiness none = ReadReadiness(bank->connectionString(), 25, day0);
        QCOMPARE(none.rangeChance.size(), 30);
        for (const double c : none.rangeChance)
            QCOMPARE(c, 0.5);
        QCOMPARE(ShownText(form, "lblShansQabooli"), QStringLiteral("شانس قبولي: ۰٪"));
        LeitnerBox box = LeitnerBox::Open(bank->connectionString(), day0);
        for (int id = 1; id <= 513; ++id)
            box.answer(id, true);
        const QVector<KeptAnswer> kept = ReadKeptAnswers(bank->connectionString());
        QCOMPARE(kept.size(), 513 - 68 - 25); // the archive block and the retired numbers are not in the box
        QCOMPARE(kept.first().day, day0);     // read back on the local day it was given
        const Readiness after = ReadReadiness(bank->connectionString(), 25, day0);
        QVERIFY(after.pass > 0.5);
        QCOMPARE(scalar("SELECT sum(Answered) FROM tblAnswerSummary"), kept.size());
        // Summaries lost (as in a bank from before them) are made again from the answers and kept;
        // the chance is the same either way, and a month on it is the answers' own.
        QVERIFY(bank->exec("DELETE FROM tblAnswerSummary WHERE QuestionID < 100"));
        QCOMPARE(ReadReadiness(bank->connectionString(), 25, day0).pass, after.pass);
        QCOMPARE(scalar("SELECT sum(Answered) FROM tblAnswerSummary"), kept.size());
        ReadinessInput input;
        input.today = day0.addDays(30);
        input.passMark = 25;
        input.categoryOf = ReadQuestionCategories(bank->connectionString());
        for (const PoolQuestion& q : ReadLeitner(bank->connectionString()).pool)
            input.available.insert(q.examPool ? q.id : 0);
        input.available.remove(0);
        for (const KeptAnswer& a : kept)
            input.answers.append({a.id, a.day, a.right});
        QVERIFY(qAbs(ReadReadiness(bank->connectionString(), 25, input.today).pass -
                     ComputeReadiness(input).pass) < 1e-9);
        // Every question answered right sits in box 2, due again in two days, shown as a Jalali date.
        form->RefreshHistory();
        QCOMPARE(ShownText(form, "lblMoedBadi"), QStringLiteral("نوبت بعد: ۱۴۰۵/۰۱/۰۳"));
        QWidget* progress = program->Open("mnuPishraft");
        QCOMPARE(ShownText(progress, "lblShansQabooli"),
                 QStringLiteral("شانس قبولي: %1").arg(ReadinessText(after)));
    }
};

QTEST_MAIN(TestLeitnerBox)
#include "tst_leitner_box.moc"
