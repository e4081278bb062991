// Learners, roles and the instructor's report on a real PostgreSQL server: each learner's exams
// and practice apart, the learner's role refused a change to the bank, the report's figures, the
// learner asked for by keys.
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "common/FixtureBank.h"
#include "common/SchoolServer.h"
#include "common/TestPlatform.h"
#include "data/Classroom.h"
#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/Explanations.h"
#include "data/Recordset.h"
#include "data/Settings.h"
#include "data/SharedState.h"
#include "editor/frmViraiesh.h"
#include "progress/frmGozareshMorabi.h"
#include "progress/frmShagerd.h"
#include "rules/ClassReport.h"
#include "rules/ExamAssembly.h"
#include "rules/ExamDraw.h"
#include "rules/LeitnerBox.h"
#include "rules/QuestionEdit.h"
#include "tools/bank/BankWriter.h"
#include "ui/Modal.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

namespace {
QString connectionTo(const QString& source) {
    return QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + source + u';';
}

// The learner named on every connection made while it lives.
struct AsLearner {
    explicit AsLearner(const QString& name) : before(ServerLearner()) { SetServerLearner(name); }
    ~AsLearner() { SetServerLearner(before); }
    QString before;
};

// Draws an exam on the server and keeps it graded with `right` of its 30 answered right.
bool keepExam(const QString& cs, int right) {
    if (!AssembleExam(cs).ok)
        return false;
    Recordset order;
    if (!order.open(QStringLiteral("Select * from tblAzmoonTartib Order By Position"), cs))
        return false;
    GradedExam exam;
    exam.takenAt = QDateTime(QDate::currentDate(), QTime(9, 0));
    exam.passMark = 27;
    for (bool more = order.moveFirst(); more && !order.isEOF(); more = order.moveNext()) {
        const int i = int(exam.ids.size());
        exam.ids << order.value(QStringLiteral("ID")).toInt();
        exam.shownCorrect << QVariant(1);
        exam.shownChosen << (i < right ? 1 : 2);
    }
    exam.correct = right;
    exam.wrong = int(exam.ids.size()) - right;
    exam.passed = right >= exam.passMark;
    return KeepExam(cs, exam).kept;
}

QString firstQuestionText(const QString& cs, int id) {
    Recordset rs;
    return rs.open(QStringLiteral("Select * from qrySoalat Where ID=%1").arg(id), cs) && !rs.isEOF()
               ? rs.value(QStringLiteral("SoorateSoal")).toString()
               : QStringLiteral("<none>");
}

int firstGeneralId(const QString& cs) {
    Recordset rs;
    return rs.open(QStringLiteral("Select * from qrySoalateAzmoon"), cs)
               ? rs.value(QStringLiteral("ID")).toInt()
               : 0;
}

// "learner:id:right ..." as the records' answers; ids 1-3 are category c1, 4-6 c2, and so on.
ClassRecords madeUpClass(const QString& answers, const QString& exams) {
    ClassRecords r;
    r.ok = true;
    for (int id = 1; id <= 12; ++id) {
        const QString code = QStringLiteral("c%1").arg((id - 1) / 3 + 1);
        r.categoryOf.insert(id, code);
        r.titleOf.insert(code, code);
        r.examPool.insert(id);
    }
    for (const QString& a : answers.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList f = a.split(u':');
        r.answers << ClassAnswer{f[0], f[1].toInt(), QDate(2026, 3, 1), f[2] == QLatin1String("1")};
        if (!r.learners.contains(f[0]))
            r.learners << f[0];
    }
    for (const QString& e : exams.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList f = e.split(u':');
        r.exams << ClassExam{f[0], f[1].toInt(), {}, 30, f[2].toInt(), f[2].toInt() >= 27};
        if (!r.learners.contains(f[0]))
            r.learners << f[0];
    }
    return r;
}
} // namespace

class TestLearners : public QObject {
    Q_OBJECT
    std::unique_ptr<SchoolServer> server;
    QString instructor; // the login that made the bank: an instructor
    QString morabi;     // a login granted the instructor's role
    QString ana;        // a login granted the learner's role

    void needServer() {
        if (server->missing())
            QSKIP(qPrintable(server->error()));
        QVERIFY2(!server->url().isEmpty(), qPrintable(server->error()));
    }

private slots:
    void initTestCase() {
        InitExamRanges();
        server = std::make_unique<SchoolServer>();
        if (server->missing() || server->url().isEmpty())
            return;
        const BankSource source = ReadBankSource(qEnvironmentVariable("RAVEX_BANK_DIR"));
        QString message;
        QCOMPARE(WriteServerBank(server->url(), source, &message), ServerLoad::Made);
        QVERIFY2(server->superuser(QStringLiteral("postgres"),
                                   {QStringLiteral("CREATE ROLE morabi LOGIN IN ROLE ravex_instructor"),
                                    QStringLiteral("CREATE ROLE ana LOGIN IN ROLE ravex_learner")}),
                 qPrintable(server->error()));
        instructor = connectionTo(server->url());
        morabi = connectionTo(server->urlOf(QStringLiteral("ravex"), QStringLiteral("morabi")));
        ana = connectionTo(server->urlOf(QStringLiteral("ravex"), QStringLiteral("ana")));
    }
    void cleanupTestCase() { server.reset(); }

    // make-datadir made the two roles for no one to log in as, and made its own login an
    // instructor; loading again leaves them be.
    void theRolesAreMade() {
        needServer();
        Connection c(instructor);
        QSqlQuery q(c.database());
        QVERIFY(q.exec(QStringLiteral("SELECT rolname, rolcanlogin::int, pg_has_role(rolname, 'MEMBER')::int "
                                      "FROM pg_roles WHERE rolname LIKE 'ravex\\_%' ORDER BY 1")));
        QStringList roles;
        while (q.next())
            roles << q.value(0).toString() + u'/' + q.value(1).toString() + u'/' + q.value(2).toString();
        QCOMPARE(roles, (QStringList{"ravex_instructor/0/1", "ravex_learner/0/0"}));
    }

    // A learner's login reads the bank but may not change a question or an explanation, and is
    // told so; the instructor's correction is what every login reads next.
    void onlyTheInstructorChangesTheBank() {
        needServer();
        QVERIFY(!MayEditQuestions(ana));
        QVERIFY(MayEditQuestions(morabi));
        QVERIFY(MayEditQuestions(instructor));
        const int id = firstGeneralId(ana);
        QVERIFY(id > 0);
        const QString before = firstQuestionText(ana, id);
        EditedQuestion edit;
        edit.soorateSoal = QStringLiteral("متن اصلاح شده مربي");
        edit.options = {QStringLiteral("الف"), QStringLiteral("ب"), QStringLiteral("ج"), QStringLiteral("د")};
        edit.correct = QStringLiteral("2");
        QCOMPARE(SaveQuestion(ana, id, edit), SaveOutcome::NotPermitted);
        QCOMPARE(firstQuestionText(morabi, id), before);
        BankError why = BankError::None;
        QVERIFY(!SaveExplanation(ana, id, QStringLiteral("شرح شاگرد"), &why));
        QCOMPARE(why, BankError::NotPermitted);

        QCOMPARE(SaveQuestion(morabi, id, edit), SaveOutcome::Written);
        QCOMPARE(firstQuestionText(ana, id), edit.soorateSoal);
        QVERIFY(SaveExplanation(morabi, id, QStringLiteral("شرح مربي"), &why));
        QCOMPARE(ExplanationOf(ana, id), QStringLiteral("شرح مربي"));
    }

    // The editor opened by a learner's login says editing is the instructor's before anything is
    // typed, and its boxes take no text.
    void theEditorTellsALearner() {
        needServer();
        qputenv("RAVEX_SERVER", server->urlOf(QStringLiteral("ravex"), QStringLiteral("ana")).toUtf8());
        const auto unset = qScopeGuard([] { qunsetenv("RAVEX_SERVER"); });
        SetModalHandler([](QDialog* d) {
            d->reject();
            return d->result();
        });
        const auto unhandle = qScopeGuard([] { SetModalHandler({}); });
        RunningProgram program;
        QVERIFY(program.main);
        auto* editor = qobject_cast<frmViraiesh*>(program.Open("mnuViraiesh"));
        QVERIFY(editor);
        QCOMPARE(program.platform.messages.messages.size(), 1);
        QCOMPARE(program.platform.messages.messages[0].prompt, kInstructorOnlyText);
        auto* box = editor->findChild<QLineEdit*>(QStringLiteral("txtSoorateSoal"));
        QVERIFY(box && box->isReadOnly());

        // An explanation written all the same is refused by the server, and said so.
        auto* combo = editor->findChild<QComboBox*>(QStringLiteral("cboNoeSoal"));
        QVERIFY(combo && combo->count() > 0);
        combo->setCurrentIndex(0);
        emit combo->activated(0); // as a pick from the drop-down list
        QString left;
        SetModalHandler([&](QDialog* dialog) {
            dialog->show();
            QApplication::setActiveWindow(dialog);
            auto* sharh = dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtSharh"));
            if (!sharh || !QTest::qWaitForWindowActive(dialog))
                return int(QDialog::Rejected);
            sharh->setFocus();
            PressKey(Qt::Key_End, Qt::ControlModifier);
            for (const QChar letter : QStringLiteral("شرح"))
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                    QString(letter), Qt::NoModifier);
            ClickButton(dialog, "cmdOK");
            left = sharh->toPlainText(); // kept for another try
            dialog->reject();
            return dialog->result();
        });
        ClickButton(editor, "cmdViraieshSharh");
        QCOMPARE(program.platform.messages.messages.size(), 2);
        QCOMPARE(program.platform.messages.messages[1].prompt, kInstructorOnlyText);
        QVERIFY(left.endsWith(QStringLiteral("شرح")));
    }

    // Each learner's exams, mistakes, answers and Leitner box are their own; a login of the
    // instructor's role naming no learner reads every learner's history, a learner's login none
    // but what was kept under no name; no one writes under another's name.
    void learnersKeepTheirOwnRecords() {
        needServer();
        const QDate today = QDate::currentDate();
        {
            AsLearner a(QStringLiteral("آرش"));
            QVERIFY(keepExam(ana, 20));
            LeitnerBox box = LeitnerBox::Open(ana, today);
            QVERIFY(box.available());
            QVERIFY(!box.dueToday().isEmpty());
            QVERIFY(box.answer(box.dueToday().first(), false));
        }
        {
            AsLearner b(QStringLiteral("بهار"));
            QCOMPARE(KeptExams(ana).size(), 0);
            QCOMPARE(Mistakes(ana).size(), 0);
            QCOMPARE(ReadKeptAnswers(ana).size(), 0);
            QCOMPARE(LeitnerBox::Open(ana, today).boxCounts()[1], 0); // box 2 holds none of آرش's
            QVERIFY(keepExam(ana, 29));
            QVERIFY(keepExam(ana, 28));
            QCOMPARE(KeptExams(ana).size(), 2);
            QCOMPARE(KeptExams(ana).first().correct, 28);
            QVERIFY(Mistakes(ana).size() >= 2); // the second exam's two wrong, at least
            // A row under another's name is refused.
            Connection c(ana);
            QSqlQuery q(c.database());
            QVERIFY(
                !q.exec(QStringLiteral("INSERT INTO tblPractice (AnsweredAt, QuestionID, IsRight, Learner) "
                                       "VALUES ('2026-03-01', 1, 1, 'آرش')")));
        }
        {
            AsLearner a(QStringLiteral("آرش"));
            const QVector<KeptExamRow> exams = KeptExams(ana);
            QCOMPARE(exams.size(), 1);
            QCOMPARE(exams.first().correct, 20);
            QCOMPARE(Mistakes(ana).size(), 10);
            QCOMPARE(ReadKeptAnswers(ana).size(), 31); // 30 in the exam, one practice
        }
        AsLearner none{QString()};
        QCOMPARE(KeptExams(morabi).size(), 3);
        QCOMPARE(KeptExams(instructor).size(), 3);
        QCOMPARE(KeptExams(ana).size(), 0);
    }

    // The report over the class kept above: every learner with their own figures, the chance of
    // passing the same the Leitner window shows each of them, and the questions missed most.
    void theReportOfTheClass() {
        needServer();
        QVERIFY(AddLearner(ana, QStringLiteral("سارا"))); // named, nothing taken yet
        const ClassRecords records = ReadClassRecords(morabi);
        QVERIFY2(records.ok, qPrintable(records.problem));
        const QDate today = QDate::currentDate();
        const ClassReport report = BuildClassReport(records, 27, today);
        QHash<QString, LearnerReport> of;
        for (const LearnerReport& l : report.learners)
            of.insert(l.name, l);
        QVERIFY(of.contains(QStringLiteral("سارا")));
        QCOMPARE(of[QStringLiteral("سارا")].exams, 0);
        QVERIFY(!of[QStringLiteral("سارا")].last);
        QCOMPARE(of[QStringLiteral("آرش")].exams, 1);
        QCOMPARE(of[QStringLiteral("آرش")].last->correct, 20);
        QCOMPARE(of[QStringLiteral("بهار")].exams, 2);
        QCOMPARE(of[QStringLiteral("بهار")].last->correct, 28);
        QVERIFY(!of[QStringLiteral("آرش")].weakest.isEmpty());
        for (const QString& name : {QStringLiteral("آرش"), QStringLiteral("بهار")}) {
            AsLearner as(name);
            const Readiness own = ReadReadiness(ana, 27, today);
            QCOMPARE(ReadinessText(of[name].readiness), ReadinessText(own));
        }
        QVERIFY(!report.mostMissed.isEmpty());
        QVERIFY(!report.mostMissed.first().text.isEmpty());
        // A learner's login reads no one's records for the report.
        const ClassRecords seen = ReadClassRecords(ana);
        QVERIFY(seen.ok);
        QCOMPARE(seen.exams.size(), 0);

        // The command-line report prints the same lines.
        QProcess tool;
        tool.start(QStringLiteral(RAVEX_REPORT), {server->url()});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        const QStringList printed = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n');
        for (const QString& line : ClassReportLines(report))
            QVERIFY2(printed.contains(line), qPrintable(line));
    }

    // The report window over the server lists the class; over a bank in a file it says the report
    // is for a school server.
    void theReportWindow() {
        needServer();
        SetModalHandler([](QDialog* d) {
            d->reject();
            return d->result();
        });
        const auto unhandle = qScopeGuard([] { SetModalHandler({}); });
        {
            RunningProgram program;
            QVERIFY(program.main);
            QWidget* form = program.Open("mnuGozareshMorabi");
            QVERIFY(qobject_cast<frmGozareshMorabi*>(form));
            QCOMPARE(ShownText(form, "lblVaziat"), kReportNeedsServerText);
            QCOMPARE(form->findChild<QTableWidget*>(QStringLiteral("grdShagerdan"))->rowCount(), 0);
        }
        qputenv("RAVEX_SERVER", server->url().toUtf8());
        const auto unset = qScopeGuard([] { qunsetenv("RAVEX_SERVER"); });
        RunningProgram program;
        QVERIFY(program.main);
        auto* form = qobject_cast<frmGozareshMorabi*>(program.Open("mnuGozareshMorabi"));
        QVERIFY(form);
        auto* grid = form->findChild<QTableWidget*>(QStringLiteral("grdShagerdan"));
        QCOMPARE(grid->rowCount(), int(form->report().learners.size()));
        QStringList names;
        for (int row = 0; row < grid->rowCount(); ++row)
            names << grid->item(row, 0)->text();
        QVERIFY(names.contains(QStringLiteral("بهار")));
        const int row = int(names.indexOf(QStringLiteral("بهار")));
        QCOMPARE(grid->item(row, 1)->text(), QStringLiteral("۲"));
        QCOMPARE(grid->item(row, 2)->text(), QStringLiteral("۲۸ از ۳۰"));
        QVERIFY(form->findChild<QTableWidget*>(QStringLiteral("grdEshtebahat"))->rowCount() > 0);
    }

    // Who practises, chosen by keys: a name of the list, a new name typed, or none.
    void theLearnerIsChosenByKeys_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("the first name") << QStringList{"Return"} << "آرش";
        QTest::newRow("the next name") << QStringList{"Down", "Return"} << "بهار";
        QTest::newRow("a new name") << QStringList{"Tab", "type: نيما ", "Return"} << "نيما";
        QTest::newRow("escape") << QStringList{"Down", "Escape"} << "";
        QTest::newRow("a blank name picks the list's") << QStringList{"Tab", "type:   ", "Return"} << "آرش";
    }
    void theLearnerIsChosenByKeys() {
        needServer();
        QFETCH(QStringList, keys);
        QFETCH(QString, chosen);
        QVERIFY(AddLearner(ana, QStringLiteral("بهار")));
        QVERIFY(AddLearner(ana, QStringLiteral("آرش")));
        SetModalHandler([&](QDialog* dialog) {
            dialog->show();
            QApplication::setActiveWindow(dialog);
            if (!QTest::qWaitForWindowActive(dialog))
                return int(QDialog::Rejected);
            for (const QString& key : keys) {
                QWidget* focus = QApplication::focusWidget();
                if (!focus)
                    break;
                if (key.startsWith(QLatin1String("type:")))
                    for (const QChar ch : key.mid(5)) // Persian letters have no key code of their own
                        QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(ch),
                                            Qt::NoModifier);
                else if (key == QLatin1String("Return"))
                    QTest::keyClick(focus, Qt::Key_Return);
                else if (key == QLatin1String("Down"))
                    QTest::keyClick(focus, Qt::Key_Down);
                else if (key == QLatin1String("Tab"))
                    QTest::keyClick(focus, Qt::Key_Tab);
                else if (key == QLatin1String("Escape"))
                    QTest::keyClick(focus, Qt::Key_Escape);
            }
            return dialog->result();
        });
        const auto unhandle = qScopeGuard([] { SetModalHandler({}); });
        QCOMPARE(frmShagerd::Choose(ana, nullptr), chosen);
        if (!chosen.isEmpty())
            QVERIFY(ReadLearners(ana).contains(chosen));
    }

    // The server opened at start: the one given on the command line, else in RAVEX_SERVER, else
    // the one the settings window kept; none kept is the data folder's own bank.
    void theServerAtStart_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("opened");
        const QString a = QStringLiteral("postgresql://a@h/db"), b = QStringLiteral("postgresql://b@h/db"),
                      c = QStringLiteral("postgresql://c@h/db");
        QTest::newRow("the command line first") << QStringList{"ravex", "--server", a} << b << c << a;
        QTest::newRow("then the variable") << QStringList{"ravex"} << b << c << b;
        QTest::newRow("then the settings") << QStringList{"ravex"} << "" << c << c;
        QTest::newRow("nothing") << QStringList{"ravex"} << ""
                                 << ""
                                 << "";
    }
    void theServerAtStart() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, variable);
        QFETCH(QString, kept);
        QFETCH(QString, opened);
        FixtureBank bank;
        QVERIFY(bank.write());
        if (!kept.isEmpty())
            QVERIFY(WriteSetting(bank.connectionString(), kServerAddressSetting, kept));
        qputenv("RAVEX_SERVER", variable.toUtf8());
        const auto unset = qScopeGuard([] { qunsetenv("RAVEX_SERVER"); });
        QCOMPARE(ServerAtStart(arguments, bank.connectionString()), opened);
    }

    // The report's own rules over a made-up class: weakest categories by share right, then by
    // more answers, then by code, none answered all right, three at most; the questions missed
    // most by misses, then by how many learners missed them, then by number; the last exam by its
    // number.
    void theReportRules_data() {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("exams");
        QTest::addColumn<QString>("weakestOfA");
        QTest::addColumn<QString>("mostMissed");
        QTest::addColumn<int>("lastOfA");
        QTest::newRow("share first") << "a:1:1 a:2:0 a:4:0 a:7:1 a:8:1 a:9:0"
                                     << ""
                                     << "c2 c1 c3"
                                     << "2 4 9" << -1;
        QTest::newRow("equal share, more answers first") << "a:1:1 a:2:0 a:4:1 a:5:0 a:6:1 a:4:0"
                                                         << ""
                                                         << "c2 c1"
                                                         << "2 4 5" << -1;
        QTest::newRow("all right is no weakness") << "a:1:1 a:2:1 a:4:0"
                                                  << ""
                                                  << "c2"
                                                  << "4" << -1;
        QTest::newRow("three at most, by code") << "a:1:0 a:4:0 a:7:0 a:10:0"
                                                << ""
                                                << "c1 c2 c3"
                                                << "1 4 7 10" << -1;
        QTest::newRow("misses before learners") << "a:5:0 a:5:0 b:5:0 a:7:0 b:7:0"
                                                << ""
                                                << "c2 c3"
                                                << "5 7" << -1;
        QTest::newRow("learners break a tie of misses") << "a:5:0 a:5:0 a:7:0 b:7:0 b:5:1"
                                                        << ""
                                                        << "c2 c3"
                                                        << "7 5" << -1;
        QTest::newRow("nothing missed") << "a:1:1 b:4:1"
                                        << ""
                                        << ""
                                        << "" << -1;
        QTest::newRow("the last exam by number") << ""
                                                 << "a:3:20 a:9:25 a:5:28 b:12:30"
                                                 << ""
                                                 << "" << 25;
    }
    void theReportRules() {
        QFETCH(QString, answers);
        QFETCH(QString, exams);
        QFETCH(QString, weakestOfA);
        QFETCH(QString, mostMissed);
        QFETCH(int, lastOfA);
        const ClassReport report = BuildClassReport(madeUpClass(answers, exams), 27, QDate(2026, 3, 21));
        QVERIFY(!report.learners.isEmpty());
        const LearnerReport& a = report.learners.first();
        QCOMPARE(a.name, QStringLiteral("a"));
        QStringList weakest;
        for (const CategoryShare& s : a.weakest)
            weakest << s.code;
        QCOMPARE(weakest.join(u' '), weakestOfA);
        QStringList missed;
        for (const MissedQuestion& q : report.mostMissed)
            missed << QString::number(q.id);
        QCOMPARE(missed.join(u' '), mostMissed);
        QCOMPARE(a.last ? a.last->correct : -1, lastOfA);
        // Every line the report prints names its learner.
        const QStringList lines = ClassReportLines(report);
        for (const LearnerReport& l : report.learners)
            QVERIFY(lines.filter(LearnerLabel(l.name) + QStringLiteral(" |")).size() == 1);
    }
};

QTEST_MAIN(TestLearners)
#include "tst_learners.moc"
