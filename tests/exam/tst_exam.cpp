// The exam window driven as a learner would: keys, picture buttons, the countdown on a clock the
// test moves, grading, the result window and a new exam.
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "card/QuestionCard.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/BoundSource.h"
#include "exam/Circle.h"
#include "exam/ExamOverview.h"
#include "exam/frmAzmoon.h"
#include "exam/frmNatije.h"
#include "platform/Clock.h"
#include "platform/PersianDigits.h"
#include "platform/Picture.h"
#include "platform/SystemDir.h"
#include "ui/Look.h"
#include "ui/Modal.h"
#include "ui/PictureBox.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
QLabel* label(QWidget* form, const char* name) {
    return form->findChild<QLabel*>(QString::fromLatin1(name));
}
int marker(QWidget* form) {
    return form->findChild<Circle*>("shpJavab")->y();
}
int markedOption(QWidget* form) {
    const int index = QList<int>{167, 235, 303, 371}.indexOf(marker(form));
    return index < 0 ? 0 : index + 1;
}
QString green(QWidget* form) {
    QString out;
    for (int k = 1; k <= 4; ++k) {
        if (form->findChild<QLabel*>(QStringLiteral("lblG%1").arg(k))
                ->palette()
                .color(QPalette::WindowText) == look::kCorrectGreen)
            out += QString::number(k);
    }
    return out;
}
void key(QWidget*, Qt::Key k, int times = 1) {
    PressKey(k, Qt::NoModifier, times);
}
void tick(QWidget* form) {
    QMetaObject::invokeMethod(form, "tmrAzmoon_Timer");
}
} // namespace

class TestExam : public QObject {
    Q_OBJECT
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;

    // What the result window showed, each time it was shown.
    struct Result {
        QString correct, wrong, elapsed, verdict, total;
    };
    QList<Result> results;
    QString closeResultBy = "ok";

    // The exam's stored correct options, in the order the exam shows its questions.
    QList<int> storedCorrect() {
        BoundSource s;
        s.setConnectionString(bank->connectionString());
        s.setRecordSource("Select * from tblAzmoon");
        s.refresh();
        QList<int> out;
        for (s.moveFirst(); !s.isEOF(); s.moveNext())
            out << s.value("G_Sahih").toInt();
        return out;
    }
    int storedPictures() {
        BoundSource s;
        s.setConnectionString(bank->connectionString());
        s.setRecordSource("Select * from tblAzmoon Where Shekl <> 0");
        s.refresh();
        return s.recordCount();
    }
    QWidget* openExam() {
        return program->Open("Command6"); // the keys then reach it, as a user's would
    }
    // Answers exactly `right` of the 30 questions correctly, the rest wrongly.
    void answer(int right) {
        const QList<int> correct = storedCorrect();
        QCOMPARE(correct.size(), 30);
        auto* exam = qobject_cast<frmAzmoon*>(main->Child("frmAzmoon"));
        QVERIFY(exam);
        for (int i = 1; i <= 30; ++i)
            exam->session().choose(i, i <= right ? correct[i - 1] : correct[i - 1] % 4 + 1);
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
        results.clear();
        closeResultBy = "ok";
        SetModalHandler([this](QDialog* dialog) {
            results.append({ShownText(dialog, "lblDorost"), ShownText(dialog, "lblNadorost"),
                            ShownText(dialog, "lblModateTeiShode"), ShownText(dialog, "lblJavabeNatije"),
                            ShownText(dialog, "Label1")});
            if (closeResultBy == "ok")
                ClickButton(dialog, "Command1");
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
            return dialog->result();
        });
    }
    void cleanup() {
        SetModalHandler({});
        program.reset();
    }

    // Questions and options are shown exactly as stored, markup and all; the layout is whole.
    void examTextIsShownAsItIsStored() {
        QVERIFY(bank->exec("UPDATE tblSoal SET SoorateSoal = '<b>' || SoorateSoal || ' &amp;</b>', "
                           "G1 = '<i>' || G1 || '</i>'"));
        LogCapture log("ravex.ui");
        QWidget* form = openExam();
        QVERIFY2(log.messages.isEmpty(), qPrintable(log.messages.join('\n')));
        QVERIFY(ShownText(form, "lblSoorateSoal").startsWith("<b>"));
        QVERIFY(ShownText(form, "lblSoorateSoal").endsWith(" &amp;</b>"));
        int marked = 0;
        for (int k = 1; k <= 4; ++k)
            marked +=
                ShownText(form, QStringLiteral("lblG%1").arg(k).toLatin1().constData()).startsWith("<i>");
        QCOMPARE(marked, 1);
        for (auto* l : form->findChildren<QLabel*>())
            QVERIFY2(l->textFormat() == Qt::PlainText, qPrintable(l->objectName()));
    }

    // The exam's source read afresh lands on the ID it stood on: its counter starts again at 1,
    // where a review window's would stay.
    void readingTheExamAfreshRestartsTheCounter() {
        QWidget* form = openExam();
        key(form, Qt::Key_Right, 6);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("7"));
        QCOMPARE(int(gAnswers[7]), 1);
        // Read afresh while showing the seventh question, it stands on the first row: position 1.
        form->findChild<BoundSource*>("adoSoalat")->refresh();
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
    }

    void aFreshExam() {
        QWidget* form = openExam();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("فرم آزمون"));
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("آزمون اصلي"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("30"));
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("Time"));
        QCOMPARE(marker(form), 167);
        QCOMPARE(green(form), QString()); // nothing coloured while answering
        QVERIFY(!ShownText(form, "lblSoorateSoal").isEmpty());
        QVERIFY(form->findChild<QPushButton*>("cmdTashih")->isVisible());
        QVERIFY(form->findChild<QPushButton*>("cmdAzmooneMojadad")->isHidden());
        QVERIFY(label(form, "lblNatije")->isHidden());
        QVERIFY(form->findChild<QTimer*>("tmrAzmoon")->isActive());
        for (int i = 1; i <= 30; ++i)
            QCOMPARE(gAnswers[i], quint8(1));
        QVERIFY(program->platform.messages.messages.isEmpty());

        // Opening it again brings the running exam to the front; nothing is drawn anew.
        const QList<int> before = storedCorrect();
        key(form, Qt::Key_Right);
        PressKey(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(main->Child("frmAzmoon"), form);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));
        QCOMPARE(storedCorrect(), before);
    }

    void theMarkerGoesRound() {
        QWidget* form = openExam();
        key(form, Qt::Key_Down, 4);
        QCOMPARE(markedOption(form), 1);
        key(form, Qt::Key_Up);
        QCOMPARE(markedOption(form), 4);
        QCOMPARE(gAnswers[1], quint8(4));
        ClickButton(form, "cmdDown"); // the picture buttons act as the keys do
        QCOMPARE(markedOption(form), 1);
        ClickButton(form, "cmdUp");
        ClickButton(form, "cmdUp");
        QCOMPARE(markedOption(form), 3);
        QCOMPARE(gAnswers[1], quint8(3));
    }

    // A click on an option's text or circle, or its digit key, chooses it exactly as the arrow
    // keys would: the marker moves onto it and the answer is stored for the question shown.
    void choosingAnOption_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("option");
        QTest::newRow("text 3") << "text" << 3;
        QTest::newRow("text 1") << "text" << 1;
        QTest::newRow("circle 4") << "circle" << 4;
        QTest::newRow("circle 2") << "circle" << 2;
        QTest::newRow("digit 2") << "digit" << 2;
        QTest::newRow("digit 4") << "digit" << 4;
        QTest::newRow("keypad 3") << "keypad" << 3;
        QTest::newRow("Persian digit 3") << "persian" << 3;
        QTest::newRow("Arabic-Indic digit 4") << "arabic" << 4;
    }
    void choosingAnOption() {
        QFETCH(QString, how);
        QFETCH(int, option);
        QWidget* form = openExam();
        key(form, Qt::Key_Right, 2);
        auto* circle = form->findChild<Circle*>(QStringLiteral("Shape%1").arg(option));
        auto* text = label(form, QStringLiteral("lblG%1").arg(option).toLatin1().constData());
        if (how == "text" || how == "circle") {
            QWidget* target = how == "text" ? static_cast<QWidget*>(text) : circle;
            // What lies under the pointer is the option itself, not the marker above it.
            const QPoint centre = target->geometry().center();
            QCOMPARE(form->childAt(centre), target);
            QTest::mouseClick(target, Qt::LeftButton);
        } else if (how == "digit") {
            PressKey(Qt::Key(Qt::Key_0 + option));
        } else if (how == "keypad") {
            PressKey(Qt::Key(Qt::Key_0 + option), Qt::KeypadModifier);
        } else {
            // A Persian layout's digit key: QTest types only Latin keys, so the event is made here
            // and sent where a user's key goes.
            const int code = (how == "persian" ? 0x06F0 : 0x0660) + option;
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(QChar(code)));
            QVERIFY(QApplication::focusWidget());
            QApplication::sendEvent(QApplication::focusWidget(), &press);
        }
        QCOMPARE(markedOption(form), option);
        QCOMPARE(int(gAnswers[3]), option);
        QCOMPARE(int(gAnswers[2]), 1); // only the question shown
        // The keys keep working after a click: the focus stays with the exam.
        key(form, Qt::Key_Down);
        QCOMPARE(int(gAnswers[3]), option % 4 + 1);
    }

    // Answers given by clicks and digits are graded as the arrow keys' are; the marker is a dot.
    void clickedAndTypedAnswersAreGraded() {
        QWidget* form = openExam();
        const QList<int> correct = storedCorrect();
        for (int i = 1; i <= 30; ++i) {
            const int right = correct[i - 1];
            if (i <= 10)
                QTest::mouseClick(label(form, QStringLiteral("lblG%1").arg(right).toLatin1().constData()),
                                  Qt::LeftButton);
            else if (i <= 20)
                QTest::mouseClick(form->findChild<Circle*>(QStringLiteral("Shape%1").arg(right)),
                                  Qt::LeftButton);
            else if (i <= 27)
                PressKey(Qt::Key(Qt::Key_0 + right));
            else
                PressKey(Qt::Key(Qt::Key_0 + right % 4 + 1)); // three wrong
            key(form, Qt::Key_Right);
        }
        // Filled: the marker's ring band is dark, not the white of the circle under it.
        const QImage dot = form->findChild<Circle*>("shpJavab")->grab().toImage();
        QVERIFY(qGray(dot.pixel(dot.width() / 5, dot.height() / 2)) < 100);
        ClickButton(form, "cmdTashih");
        QCOMPARE(results.size(), 1);
        QCOMPARE(results[0].correct, QStringLiteral("27"));
        QCOMPARE(results[0].verdict, QStringLiteral("قبول"));
    }

    // A click on the main window's strip (the music button, the exam's own button) leaves the
    // keyboard with the exam: its keys still answer.
    void theExamKeepsItsKeysAfterAStripClick_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("music") << "cmdMusic";
        QTest::newRow("the exam's own") << "Command6";
    }
    void theExamKeepsItsKeysAfterAStripClick() {
        QFETCH(QString, button);
        QWidget* form = openExam();
        QTest::mouseClick(main->findChild<QPushButton*>(button), Qt::LeftButton);
        QVERIFY(form->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == form);
        key(form, Qt::Key_Down);
        QCOMPARE(markedOption(form), 2);
        PressKey(Qt::Key_4);
        QCOMPARE(int(gAnswers[1]), 4);
    }

    // Tab reaches the grade button, which shows it has the focus; the arrows still answer; Enter
    // grades, and then Tab and Enter start a new exam.
    // Enter grades, Enter closes the result, and a third Enter must not throw the graded exam
    // away: the keys go back to the graded card, whose arrows review it.
    void enterAfterTheResultKeepsTheGradedExam() {
        QWidget* form = openExam();
        auto* grade = form->findChild<QPushButton*>("cmdTashih");
        for (int i = 0; i < 40 && QApplication::focusWidget() != grade; ++i)
            PressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grade);
        PressKey(Qt::Key_Return); // the result window closes by its OK, as Enter would
        QCOMPARE(results.size(), 1);
        QPointer<QWidget> graded = form;
        QCOMPARE(QApplication::focusWidget(), form);
        PressKey(Qt::Key_Return);
        PressKey(Qt::Key_Enter);
        QTest::qWait(0);
        QVERIFY(graded);
        QCOMPARE(main->Child("frmAzmoon"), form);
        QVERIFY(static_cast<frmAzmoon*>(form)->graded());
        PressKey(Qt::Key_Right);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));
    }

    // The real timer on the real clock: the first tick, about a second in, already reads one
    // second gone, even when the timer fires a little early.
    void theRealTimerCountsFromTheFirstTick() {
        SetClock(nullptr);
        gExamTime = QTime(0, 26);
        QWidget* form = openExam();
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("Time"));
        QTRY_COMPARE_WITH_TIMEOUT(ShownText(form, "lblTime"), QStringLiteral("00:25"), 3000);
        QTest::qWait(1500);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:25"));
        QVERIFY(static_cast<frmAzmoon*>(form)->session().elapsedMs(MonotonicMs()) >= 1000);
    }

    // The session knows each question's deal: the option shown in each place is the source's
    // option its order names, and the correct option follows it.
    void theSessionKnowsEachDeal() {
        auto* form = qobject_cast<frmAzmoon*>(openExam());
        for (int p = 1; p <= 30; p += 7) {
            const ExamQuestion q = form->session().question(p);
            QList<int> order(q.order.begin(), q.order.end());
            std::sort(order.begin(), order.end());
            QCOMPARE(order, (QList<int>{1, 2, 3, 4}));
            BoundSource source;
            source.setConnectionString(bank->connectionString());
            source.setRecordSource(QStringLiteral("Select * from tblSoal Where ID=%1").arg(q.id));
            QVERIFY(source.refresh());
            form->findChild<QuestionCard*>()->NavigateTo(p);
            for (int k = 1; k <= 4; ++k)
                QCOMPARE(ShownText(form, QStringLiteral("lblG%1").arg(k).toLatin1().constData()),
                         source.value(QStringLiteral("G%1").arg(q.order[k - 1])).toString());
            QCOMPARE(q.order[q.correct - 1], source.value("G_Sahih").toInt());
        }
    }

    // The overview follows the exam: the current cell, cells shown and not yet shown, flags, and
    // once graded right and wrong; a click on a cell moves the card as the keys would.
    void theOverviewFollowsTheExam() {
        auto* form = qobject_cast<frmAzmoon*>(openExam());
        auto* overview = form->findChild<ExamOverview*>("pnlFehrest");
        QVERIFY(overview && overview->isVisible());
        const auto cell = [form](int p) {
            return form->findChild<OverviewCell*>(QStringLiteral("cmdFehrest%1").arg(p));
        };
        QVERIFY(cell(1)->isCurrent());
        QCOMPARE(cell(1)->state(), OverviewCell::State::Shown);
        QCOMPARE(cell(2)->state(), OverviewCell::State::NotShown);
        key(form, Qt::Key_Right, 2);
        QVERIFY(cell(3)->isCurrent() && !cell(1)->isCurrent());
        QCOMPARE(cell(2)->state(), OverviewCell::State::Shown);

        // A flag by its key, then by the box, goes with its question.
        key(form, frmAzmoon::kFlagKey);
        QVERIFY(cell(3)->isFlagged());
        auto* box = form->findChild<QCheckBox*>("chkAlamat");
        QVERIFY(box->isChecked());
        QCOMPARE(cell(3)->accessibleName(), QStringLiteral("سؤال ۳، سؤال جاري، ديده شده، علامت دار"));
        key(form, Qt::Key_Right);
        QVERIFY(!box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(cell(4)->isFlagged());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!cell(4)->isFlagged());
        QCOMPARE(QApplication::focusWidget(), form); // the keys stay with the exam

        // A click on a cell: the counter, the marker on that question's answer, its picture.
        key(form, Qt::Key_Down); // question 4 answered 2
        QTest::mouseClick(cell(20), Qt::LeftButton);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("20"));
        QCOMPARE(markedOption(form), 1);
        QCOMPARE(form->session().position(), 20);
        QTest::mouseClick(cell(4), Qt::LeftButton);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("4"));
        QCOMPARE(markedOption(form), 2);
        QTest::mouseClick(cell(30), Qt::LeftButton);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("30"));
        QTest::mouseClick(cell(1), Qt::LeftButton);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(cell(5)->state(), OverviewCell::State::NotShown);  // stepped over, never shown
        QCOMPARE(cell(19)->state(), OverviewCell::State::NotShown); // jumped over: not shown

        answer(10);
        ClickButton(form, "cmdTashih");
        for (int p = 1; p <= 30; ++p)
            QCOMPARE(cell(p)->state(), p <= 10 ? OverviewCell::State::Right : OverviewCell::State::Wrong);
        QTest::mouseClick(cell(12), Qt::LeftButton);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("12"));
        QCOMPARE(green(form), QString::number(storedCorrect()[11]));
    }

    // The grade button asks first about questions never shown and flagged; No goes back to the
    // exam, its countdown running; nothing unseen and nothing flagged asks nothing.
    void theCheckBeforeGrading() {
        auto* form = qobject_cast<frmAzmoon*>(openExam());
        auto& asked = program->platform.messages;
        key(form, Qt::Key_Right);
        key(form, frmAzmoon::kFlagKey);
        asked.answer = Answer::No;
        ClickButton(form, "cmdTashih");
        QCOMPARE(asked.questions.size(), 1);
        QString unseen;
        for (int p = 3; p <= 29; ++p)
            unseen += PersianNumber(p) + (p < 29 ? QStringLiteral("، ") : QString());
        QCOMPARE(asked.questions[0].prompt,
                 QStringLiteral("سؤالهاي %1 و ۳۰ را هنوز نديده ايد و سؤال ۲ علامت دارد. "
                                "آزمون تصحيح شود؟")
                     .arg(unseen));
        QVERIFY(!form->graded());
        QVERIFY(results.isEmpty());
        QVERIFY(form->findChild<QTimer*>("tmrAzmoon")->isActive());
        QVERIFY(form->findChild<QPushButton*>("cmdTashih")->isVisible());

        // Every question seen and no flag: graded at once.
        key(form, frmAzmoon::kFlagKey);
        key(form, Qt::Key_Right, 29);
        asked.answer = Answer::Yes;
        ClickButton(form, "cmdTashih");
        QCOMPARE(asked.questions.size(), 1);
        QVERIFY(form->graded());
        QCOMPARE(results.size(), 1);
    }

    // Turned off in the settings window, the check stays off in the next run: start-up reads it
    // from the bank, and the grade button grades at once, unseen questions and all.
    void theCheckTurnedOffOutlivesARestart() {
        QWidget* settings = program->Open("Command9");
        auto* box = settings->findChild<QCheckBox*>("chkBarrasiPishAzTashih");
        QVERIFY(box && box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!gCheckBeforeGrading);

        // The next run, over the same bank where start-up looks for it: the data folder under the
        // system folder.
        program.reset();
        QTemporaryDir system;
        QVERIFY(QFile::link(QDir(bank->dataDir()).absolutePath(), system.filePath("vkimgdir")));
        FakePlatform platform;
        SetSystemDirectoryProvider([&system] { return system.path(); });
        const auto end = qScopeGuard([] {
            if (frmMain::Instance())
                frmMain::Instance()->close();
            QTest::qWait(0);
            SetSystemDirectoryProvider({});
        });
        gCheckBeforeGrading = true; // the last run's memory is gone
        QVERIFY(Main());
        QVERIFY(!gCheckBeforeGrading);
        main = frmMain::Instance();
        main->showNormal();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTest::mouseClick(main->findChild<QPushButton*>("Command6"), Qt::LeftButton);
        auto* form = qobject_cast<frmAzmoon*>(main->Child("frmAzmoon"));
        QVERIFY(form);
        key(form, Qt::Key_Right);
        key(form, frmAzmoon::kFlagKey);
        ClickButton(form, "cmdTashih");
        QVERIFY(platform.messages.questions.isEmpty());
        QVERIFY(form->graded());
        QCOMPARE(results.size(), 1);
    }

    // Time runs out while the question is open: it gives way, time-up is said once and the exam
    // is graded once, whatever the question would have been answered.
    void timeUpDuringTheCheckGradesOnce() {
        gExamTime = QTime(0, 2);
        auto* form = qobject_cast<frmAzmoon*>(openExam());
        tick(form);
        auto& asked = program->platform.messages;
        asked.answer = Answer::No;
        asked.onQuestion = [this, form] {
            program->platform.clock.advance(61);
            tick(form);
            tick(form);
        };
        ClickButton(form, "cmdTashih");
        QCOMPARE(asked.questions.size(), 1);
        QCOMPARE(asked.messages.size(), 1);
        QCOMPARE(asked.messages[0].prompt, QStringLiteral("زمان به پايان رسيد"));
        QCOMPARE(results.size(), 1);
        QVERIFY(form->graded());
        QCOMPARE(form->session().timesGraded(), 1);
        QVERIFY(!form->findChild<QTimer*>("tmrAzmoon")->isActive());
    }

    // The explanation would give the answer away: it is hidden, key and button, until the exam
    // is graded; then it shows the shown question's own, and follows the card.
    void theExplanationOnlyOnceGraded() {
        QVERIFY(bank->exec("INSERT INTO tblSharh (ID, Sharh) SELECT ID, 'شرح سؤال ' || ID FROM tblSoal"));
        auto* form = qobject_cast<frmAzmoon*>(openExam());
        auto* button = form->findChild<QPushButton*>("cmdSharh");
        auto* label = form->findChild<QLabel*>("lblSharh");
        QVERIFY(button && label);
        QVERIFY(!button->isVisible());
        key(form, Qt::Key_F2);
        QVERIFY(!label->isVisible());
        key(form, Qt::Key_Right, 29);
        ClickButton(form, "cmdTashih");
        QVERIFY(button->isVisible());
        key(form, Qt::Key_F2);
        QVERIFY(label->isVisible());
        const int first = form->session().question(1).id;
        QVERIFY(label->text().endsWith(QStringLiteral("شرح سؤال %1").arg(first)));
        key(form, Qt::Key_Right);
        QVERIFY(label->text().endsWith(QStringLiteral("شرح سؤال %1").arg(form->session().question(2).id)));
    }

    // The additions stand where no control of the exam's own does, at the designed size.
    void theAdditionsCoverNothing() {
        QWidget* form = openExam();
        key(form, Qt::Key_Right, 29);
        ClickButton(form, "cmdTashih"); // the explanation's controls show once graded
        key(form, Qt::Key_F2);
        const QStringList added = {"pnlFehrest", "chkAlamat", "cmdSharh", "scrSharh"};
        auto* box = form->findChild<QCheckBox*>("chkAlamat");
        QVERIFY2(box->sizeHint().width() <= box->width(),
                 qPrintable(QStringLiteral("the flag box needs %1 of %2")
                                .arg(box->sizeHint().width())
                                .arg(box->width())));
        for (const QString& name : added) {
            const QRect mine = form->findChild<QWidget*>(name)->geometry();
            QVERIFY2(form->rect().contains(mine), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
                                                                 .arg(name)
                                                                 .arg(mine.x())
                                                                 .arg(mine.y())
                                                                 .arg(mine.width())
                                                                 .arg(mine.height())
                                                                 .arg(form->width())
                                                                 .arg(form->height())));
            for (QWidget* other : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (added.contains(other->objectName()) || other->objectName().isEmpty() ||
                    !other->isVisible())
                    continue;
                QVERIFY2(!mine.intersects(other->geometry()),
                         qPrintable(name + QStringLiteral(" covers ") + other->objectName()));
            }
        }
    }

    void theGradeButtonByTabAndEnter() {
        QWidget* form = openExam();
        auto* grade = form->findChild<QPushButton*>("cmdTashih");
        for (int i = 0; i < 40 && QApplication::focusWidget() != grade; ++i)
            PressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grade);
        const QImage focused = grade->grab().toImage();
        grade->clearFocus();
        QVERIFY(focused != grade->grab().toImage()); // the focus frame is drawn
        grade->setFocus();
        key(form, Qt::Key_Down);
        QCOMPARE(markedOption(form), 2);
        PressKey(Qt::Key_Return);
        QCOMPARE(results.size(), 1);
        QVERIFY(static_cast<frmAzmoon*>(form)->graded());
        QPointer<QWidget> old = form;
        auto* again = form->findChild<QPushButton*>("cmdAzmooneMojadad");
        for (int i = 0; i < 40 && QApplication::focusWidget() != again; ++i)
            PressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), again);
        PressKey(Qt::Key_Enter);
        QTest::qWait(0);
        QVERIFY(!old);
        QVERIFY(main->Child("frmAzmoon"));
    }

    // Whatever shows no text of its own has a Persian name for a screen reader.
    void controlsWithoutTextAreNamed() {
        QWidget* form = openExam();
        for (const char* name :
             {"cmdFirst", "cmdEnd", "cmdPrevious", "cmdNext", "cmdUp", "cmdDown", "cmdTashih",
              "cmdAzmooneMojadad", "Shape1", "Shape4", "shpJavab", "imgShekl"}) {
            auto* w = form->findChild<QWidget*>(name);
            QVERIFY2(w, name);
            QVERIFY2(!w->accessibleName().isEmpty(), name);
            QVERIFY2(w->accessibleName().contains(QRegularExpression("[\\x{0600}-\\x{06FF}]")), name);
        }
        QCOMPARE(form->findChild<QWidget*>("Shape3")->accessibleName(), QStringLiteral("گزينه ۳"));
    }

    void answersStayWithTheirQuestions() {
        QWidget* form = openExam();
        key(form, Qt::Key_Right, 4);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("5"));
        key(form, Qt::Key_Down, 2);
        key(form, Qt::Key_Right, 4);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("9"));
        QCOMPARE(markedOption(form), 1); // never touched
        key(form, Qt::Key_Left, 4);
        QCOMPARE(markedOption(form), 3);
        QCOMPARE(gAnswers[5], quint8(3));
        QCOMPARE(gAnswers[9], quint8(1));
        ClickButton(form, "cmdNext"); // a click moves without storing anything
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("6"));
        QCOMPARE(markedOption(form), 1);
    }

    void movingToTheEnds() {
        QWidget* form = openExam();
        const QString first = ShownText(form, "lblSoorateSoal");
        key(form, Qt::Key_PageUp);
        key(form, Qt::Key_Left);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), first);
        key(form, Qt::Key_PageDown);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("30"));
        const QString last = ShownText(form, "lblSoorateSoal");
        key(form, Qt::Key_PageDown);
        key(form, Qt::Key_Right);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("30"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), last);
        key(form, Qt::Key_Home);
        key(form, Qt::Key_End);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("30"));
        ClickButton(form, "cmdFirst");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        ClickButton(form, "cmdEnd");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("30"));
    }

    void theCountdown() {
        program->platform.clock.set(QTime(10, 0));
        gExamTime = QTime(0, 11);
        QWidget* form = openExam();
        auto* timer = form->findChild<QTimer*>("tmrAzmoon");
        bool stoppedBeforeTheMessage = false;
        program->platform.messages.onMessage = [&] { stoppedBeforeTheMessage = !timer->isActive(); };

        program->platform.clock.advance(1);
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:10"));
        gExamTime = QTime(0, 46);             // a change in the settings does not touch a running exam
        program->platform.clock.advance(599); // 10:10:00
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:01"));
        QVERIFY(program->platform.messages.messages.isEmpty());
        QVERIFY(!static_cast<frmAzmoon*>(form)->graded());

        program->platform.clock.advance(1);
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:00"));
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QCOMPARE(program->platform.messages.messages[0].prompt, QStringLiteral("زمان به پايان رسيد"));
        QCOMPARE(program->platform.messages.messages[0].title, QStringLiteral("Ravex V3"));
        QVERIFY(stoppedBeforeTheMessage);
        QVERIFY(!timer->isActive());
        QCOMPARE(results.size(), 1); // graded once the message was closed
        QCOMPARE(results[0].elapsed, QStringLiteral("00:10"));
        QVERIFY(static_cast<frmAzmoon*>(form)->graded());

        // Time-up leaves the grade button; grading again shows the result again, then switches.
        QVERIFY(form->findChild<QPushButton*>("cmdTashih")->isVisible());
        QVERIFY(form->findChild<QPushButton*>("cmdAzmooneMojadad")->isHidden());
        ClickButton(form, "cmdTashih");
        QCOMPARE(results.size(), 2);
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QVERIFY(form->findChild<QPushButton*>("cmdTashih")->isHidden());
        QVERIFY(form->findChild<QPushButton*>("cmdAzmooneMojadad")->isVisible());
    }

    void theCountdownAcrossMidnight() {
        program->platform.clock.set(QTime(23, 55));
        gExamTime = QTime(0, 26);
        QWidget* form = openExam();
        program->platform.clock.advance(12 * 60 + 30); // 00:07:30
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:13"));
        ClickButton(form, "cmdTashih");
        QCOMPARE(results.at(0).elapsed, QStringLiteral("00:12"));
    }

    // The wall clock set forward (a resume, a time-zone or time-service step) neither ends the exam
    // early nor stalls it; set back, it never shows more time than the exam has.
    void theCountdownIgnoresWallClockJumps() {
        auto& clock = program->platform.clock;
        clock.set(QTime(10, 0));
        gExamTime = QTime(0, 26);
        QWidget* form = openExam();
        clock.advance(61);
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:24"));
        clock.set(QTime(13, 0)); // three hours forward: past the exam's end by the wall clock
        clock.advance(1);
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:24"));
        clock.set(QTime(9, 0)); // back before the start
        clock.advance(1);
        tick(form);
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:24"));
        QVERIFY(program->platform.messages.messages.isEmpty());
        clock.advance(23 * 60);
        tick(form); // 24:01 taken: a minute and less is left
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:01"));
        clock.advance(60);
        tick(form); // time-up comes at the first tick past the end, once
        QCOMPARE(ShownText(form, "lblTime"), QStringLiteral("00:00"));
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QCOMPARE(results.size(), 1);
        QCOMPARE(results[0].elapsed, QStringLiteral("00:25"));
        QVERIFY(!form->findChild<QTimer*>("tmrAzmoon")->isActive());
    }

    void passMarks_data() {
        QTest::addColumn<int>("passMark");
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("27 of 27") << 27 << 27 << "قبول";
        QTest::newRow("26 of 27") << 27 << 26 << "مردود";
        QTest::newRow("30 of 30") << 30 << 30 << "قبول";
        QTest::newRow("29 of 30") << 30 << 29 << "مردود";
        QTest::newRow("1 of 1") << 1 << 1 << "قبول";
        QTest::newRow("0 of 1") << 1 << 0 << "مردود";
    }
    void passMarks() {
        QFETCH(int, passMark);
        QFETCH(int, right);
        QFETCH(QString, verdict);
        QWidget* form = openExam();
        gPassMark = quint8(passMark); // the mark in force when grading counts
        answer(right);
        ClickButton(form, "cmdTashih");
        QCOMPARE(results.size(), 1);
        QCOMPARE(results[0].total, QStringLiteral("30"));
        QCOMPARE(results[0].correct, QString::number(right));
        QCOMPARE(results[0].wrong, QString::number(30 - right));
        QCOMPARE(results[0].verdict, verdict);
        QCOMPARE(results[0].elapsed, QStringLiteral("00:00"));
        QVERIFY(label(form, "lblNatije")->isVisible() && label(form, "lblNatije2")->isVisible());
        QCOMPARE(ShownText(form, "lblNatije"), QString::number(30 - right));
        QCOMPARE(label(form, "lblNatije")->palette().color(QPalette::WindowText),
                 verdict == "قبول" ? QColor(128, 0, 0) : QColor(255, 0, 0));
        QCOMPARE(form->findChild<Circle*>("shpJavab")->fill(), QColor(0, 0, 128));
    }

    void aGradedExamShowsEveryAnswerAndItsCorrectOption() {
        QWidget* form = openExam();
        answer(20);
        qobject_cast<frmAzmoon*>(form)->session().choose(2, storedCorrect()[1] % 4 + 1);
        program->platform.clock.advance(12 * 60 + 59);
        ClickButton(form, "cmdTashih");
        QCOMPARE(results[0].correct, QStringLiteral("19"));
        QCOMPARE(results[0].elapsed, QStringLiteral("00:12"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        const QList<int> correct = storedCorrect();
        for (int i = 1; i <= 30; ++i) {
            QCOMPARE(green(form), QString::number(correct[i - 1]));
            QCOMPARE(markedOption(form), int(gAnswers[i]));
            key(form, Qt::Key_Right);
        }
        // The marker still moves after grading, and the answers follow it.
        const int before = markedOption(form);
        key(form, Qt::Key_Down);
        QCOMPARE(markedOption(form), before % 4 + 1);
        QCOMPARE(int(gAnswers[30]), markedOption(form));
    }

    // Grading passes over every question and comes back to the first: only the picture left
    // on show is decoded, once, when it is drawn.
    void gradingDecodesOnlyThePictureLeftShown() {
        // Every question gets a picture of its own, so the pass crosses 30 of them.
        QVERIFY(bank->exec("UPDATE tblSoal SET Shekl = ID"));
        for (int id = 1; id <= 513; ++id)
            bank->writePicture(QString::number(id));
        QWidget* form = openExam();
        QCOMPARE(storedPictures(), 30);
        QApplication::processEvents();
        const quint64 before = PictureDecodes();
        ClickButton(form, "cmdTashih");
        QApplication::processEvents();
        auto* picture = form->findChild<PictureBox*>("imgShekl");
        QVERIFY(PictureDecodes() - before <= (picture->isVisible() ? 1u : 0u));
    }

    void aPassAfterAFailShowsTheCountInMaroonAgain() {
        program->platform.clock.set(QTime(9, 0));
        gExamTime = QTime(0, 11);
        QWidget* form = openExam();
        answer(3);
        program->platform.clock.advance(10 * 60 + 30);
        tick(form); // time-up grades a failing exam
        QCOMPARE(results.at(0).verdict, QStringLiteral("مردود"));
        QCOMPARE(label(form, "lblNatije")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        answer(30); // the marker still moves after grading; now every answer is right
        ClickButton(form, "cmdTashih");
        QCOMPARE(results.at(1).verdict, QStringLiteral("قبول"));
        QCOMPARE(ShownText(form, "lblNatije"), QStringLiteral("0"));
        QCOMPARE(label(form, "lblNatije")->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    }

    void closingTheResultAnyWayKeepsTheWrongCount() {
        closeResultBy = "escape";
        QWidget* form = openExam();
        answer(10);
        ClickButton(form, "cmdTashih");
        QCOMPARE(results.size(), 1);
        QVERIFY(label(form, "lblNatije")->isVisible());
        QCOMPARE(ShownText(form, "lblNatije"), QStringLiteral("20"));
    }

    void aNewExam() {
        QWidget* form = openExam();
        key(form, Qt::Key_Down, 2);
        ClickButton(form, "cmdTashih");
        QPointer<QWidget> old = form;
        ClickButton(form, "cmdAzmooneMojadad");
        QTest::qWait(0);
        QWidget* fresh = main->Child("frmAzmoon");
        QVERIFY(fresh && fresh != old);
        QVERIFY(!static_cast<frmAzmoon*>(fresh)->graded());
        for (int i = 1; i <= 30; ++i)
            QCOMPARE(gAnswers[i], quint8(1));
        QCOMPARE(marker(fresh), 167);
        QCOMPARE(green(fresh), QString());
        QVERIFY(label(fresh, "lblNatije")->isHidden());
        QVERIFY(fresh->findChild<QPushButton*>("cmdAzmooneMojadad")->isHidden());
        QCOMPARE(main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(!old);
    }

    // No exam can be drawn: the learner is told why and no window opens, empty or otherwise.
    void aBankThatCannotGiveAnExam() {
        QVERIFY(bank->exec("INSERT INTO tblAzmoon (ID, G_Sahih) VALUES (7, 2)"));
        QVERIFY(bank->exec("UPDATE tblSoal SET Azmoon = 0 WHERE ID BETWEEN 170 AND 172"));
        main->findChild<QPushButton*>("Command6")->click();
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QCOMPARE(program->platform.messages.messages[0].title, QStringLiteral("Ravex V4"));
        QVERIFY(program->platform.messages.messages[0].prompt.contains(QStringLiteral("۱۷۰")));
        QCOMPARE(storedCorrect(), QList<int>{2}); // the last exam is left as it was
        QVERIFY(!main->Child("frmAzmoon"));
        QCoreApplication::processEvents();
        QVERIFY(main->mdiArea()->subWindowList().isEmpty());
        QVERIFY(results.isEmpty());
    }
};

QTEST_MAIN(TestExam)
#include "tst_exam.moc"
