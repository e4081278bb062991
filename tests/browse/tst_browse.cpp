// The question card in the three review windows, opened from the main window over a fixture
// bank and driven with clicks and keys; every check reads what the user would see.
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "card/QuestionCard.h"
#include "card/SharhPanel.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/Explanations.h"
#include "tools/bank/BankSource.h"
#include "ui/ChildForm.h"
#include "ui/FitText.h"
#include "ui/Look.h"
#include "ui/PictureBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtTest>

namespace {
QColor colour(QWidget* form, int option) {
    return form->findChild<QLabel*>(QStringLiteral("lblG%1").arg(option))
        ->palette()
        .color(QPalette::WindowText);
}

// Which options show green, as "1", "3" or "" for none.
QString green(QWidget* form) {
    QString out;
    for (int k = 1; k <= 4; ++k) {
        if (colour(form, k) == look::kCorrectGreen)
            out += QString::number(k);
    }
    return out;
}

double WidthOf(const QFont& font, const QString& text) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

void choose(QWidget* form, const QString& title) {
    auto* combo = form->findChild<QComboBox*>(QStringLiteral("cboNoeSoal"));
    const int index = combo->findText(title);
    QVERIFY2(index >= 0, qPrintable(title));
    combo->setCurrentIndex(index);
    emit combo->activated(index); // as a pick from the drop-down list
}

// The explanations the tests give: the first and third question of each window's first category
// have one, the second has none. One is markup, to be shown as it is written.
const QMap<int, QString> kExplanations = {
    {1, QStringLiteral("<b>چرا</b> گزینه یک؟ چون راه &amp; حریم آن برای عبور وسایل نقلیه است.")},
    {5, QStringLiteral("شرح سؤال پنجم")},
    {300, QStringLiteral("تابلوی آبی از امکانات راه خبر می‌دهد.")},
    {302, QStringLiteral("شرح تابلوی سوم")},
    {200, QStringLiteral("شرح بایگانی ۲۰۰")},
    {202, QStringLiteral("شرح بایگانی ۲۰۲")},
};

void explain(FixtureBank& bank) {
    for (BankQuestion& q : bank.source.questions)
        q.explanation = kExplanations.value(q.id);
}

// The explanation a strip shows, without the direction mark a text may be given in front.
QString shownExplanation(QLabel* label) {
    QString text = label->text();
    return text.startsWith(QChar(0x200F)) ? text.mid(1) : text;
}

// Every visible control of the window that overlaps w, by name.
QStringList covered(QWidget* form, QWidget* w) {
    QStringList out;
    for (QWidget* other : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != w && other->isVisible() && other->geometry().intersects(w->geometry()))
            out << other->objectName();
    }
    return out;
}

// Three mistakes, questions 1, 3 and 5 answered wrongly in one kept exam.
void keepThreeMistakes(FixtureBank& bank) {
    QVERIFY(bank.exec("INSERT INTO tblExamHistory (ExamID, TakenAt, Seconds, PassMark, Questions, Correct, "
                      "Wrong, Passed) VALUES (1, '2026-03-20T10:00:00', 600, 27, 3, 0, 3, 0)"));
    QVERIFY(bank.exec("INSERT INTO tblExamAnswers (ExamID, Position, QuestionID, Chosen, Correct) VALUES "
                      "(1, 1, 1, 2, 1), (1, 2, 3, 2, 3), (1, 3, 5, 2, 1)"));
}
} // namespace

class TestBrowse : public QObject {
    Q_OBJECT
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;

    QWidget* open(const char* control) { return program->Open(control); }
    void startOver(const std::function<void(FixtureBank&)>& tweak = {}) {
        bank = std::make_unique<FixtureBank>();
        FixtureBank::fillStandard(*bank);
        if (tweak)
            tweak(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        bank->useAsGlobals();
    }

private slots:
    void init() {
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main);
        startOver();
    }
    void cleanup() {
        QVERIFY(program->platform.messages.messages.isEmpty()); // the card never speaks
        program.reset();
    }

    void reviewOpensOnItsFirstCategory() {
        QWidget* form = open("Command10");
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("فرم مرور سؤالات"));
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("تعاریف"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("25"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 1"));
        QCOMPARE(ShownText(form, "lblG3"), QStringLiteral("گزینه 3 از 1"));
        QCOMPARE(green(form), QStringLiteral("1"));
        QVERIFY(form->findChild<PictureBox*>("imgShekl")->isHidden());
        auto* combo = form->findChild<QComboBox*>("cboNoeSoal");
        QCOMPARE(combo->count(), 3); // the empty category is offered nowhere
        QCOMPARE(combo->itemText(0), QStringLiteral("تعاریف"));
        QCOMPARE(combo->itemText(2), QStringLiteral("سبقت"));

        // Its outer frame is 14300 x 8560 twips, centred across and 1/2.8 down the main window.
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        QCOMPARE(sub->size(), QSize(953, 571));
        QCOMPARE(sub->x(), (main->frameGeometry().width() - 953) / 2);
        QCOMPARE(sub->y(), int((main->frameGeometry().height() - 571) / 2.8));
    }

    void menuButtonAndShortcutShareOneWindow() {
        QWidget* form = open("Command10");
        ClickButton(form, "cmdNext");
        ClickButton(form, "cmdNext");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("3"));
        QCOMPARE(open("mnuMorooreSoalat"), form);
        QWidget* old = open("mnuSoalatOLD");
        QVERIFY(old && old != form);
        PressKey(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(main->mdiArea()->activeSubWindow()->widget(), form);
        QCOMPARE(main->mdiArea()->subWindowList().size(), 2);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("3")); // not loaded again
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 5"));

        // Brought to the front, a window keeps its state: minimized comes back, maximized stays.
        main->mdiArea()->activeSubWindow()->showMinimized();
        QCOMPARE(open("Command10"), form);
        QVERIFY(!main->mdiArea()->activeSubWindow()->isMinimized());
        main->mdiArea()->activeSubWindow()->showMaximized();
        QCOMPARE(open("mnuMorooreSoalat"), form);
        QVERIFY(main->mdiArea()->activeSubWindow()->isMaximized());
        main->mdiArea()->activeSubWindow()->showNormal();

        // The shortcuts hold while a child window is active.
        PressKey(Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(main->mdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("frmTabloha"));
    }

    void movingThroughAList() {
        QWidget* form = open("Command10"); // R01: IDs 1, 3, ..., 49
        ClickButton(form, "cmdFirst");
        ClickButton(form, "cmdPrevious");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 1"));
        ClickButton(form, "cmdEnd");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("25"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 49"));
        ClickButton(form, "cmdNext");
        ClickButton(form, "cmdEnd");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("25"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 49"));
        ClickButton(form, "cmdPrevious");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("24"));
        ClickButton(form, "cmdFirst");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        for (int i = 0; i < 3; ++i)
            ClickButton(form, "cmdNext");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("4"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 7"));

        // The keys the exam answers to work here too.
        PressKey(Qt::Key_PageDown);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("25"));
        PressKey(Qt::Key_Left);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("24"));
        PressKey(Qt::Key_PageUp);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        PressKey(Qt::Key_Home); // no meaning here
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
    }

    // The move keys act wherever the focus is in the window; the category list keeps Up and Down.
    void moveKeysWhateverHasTheFocus() {
        QWidget* form = open("Command10");
        auto* combo = form->findChild<QComboBox*>("cboNoeSoal");
        combo->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), combo);
        PressKey(Qt::Key_PageDown);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("25"));
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("تعاریف")); // the list stayed
        PressKey(Qt::Key_Left);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("24"));
        form->findChild<QPushButton*>("cmdNext")->setFocus(Qt::TabFocusReason);
        PressKey(Qt::Key_PageUp);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        PressKey(Qt::Key_Right);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));

        // In the open list, Down and Enter pick the next category as a user's choice does.
        combo->setFocus(Qt::TabFocusReason);
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        PressKey(Qt::Key_Down);
        PressKey(Qt::Key_Return);
        QTRY_COMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("سرعت"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
    }

    // Tab runs right to left as the window reads, and the picture has a name a reader can say.
    void tabRunsRightToLeft() {
        QWidget* form = open("Command10");
        auto* combo = form->findChild<QComboBox*>("cboNoeSoal");
        combo->setFocus(Qt::TabFocusReason);
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            PressKey(Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"cmdEnd", "cmdNext", "cmdPrevious", "cmdFirst"}));
        for (int i = 1; i < order.size(); ++i) {
            QVERIFY(form->findChild<QWidget*>(order[i - 1])->x() > form->findChild<QWidget*>(order[i])->x());
        }
        QCOMPARE(form->findChild<QWidget*>("imgShekl")->accessibleName(), QStringLiteral("تصوير سؤال"));
    }

    // Text from the bank is shown exactly as stored: never read as markup.
    void bankTextIsShownAsItIsStored() {
        const QString question = QStringLiteral("<b>متن</b> & <br>سؤال &amp; <i>x</i>");
        const QString option = QStringLiteral("<font color=red>گزینه</font> &lt;1&gt;");
        const QString title = QStringLiteral("<u>عنوان</u> &nbsp;");
        startOver([&](FixtureBank& b) {
            b.source.categories[6].title = title; // R01
            b.source.questions[0].text = question;
            b.source.questions[0].options[1] = option;
        });
        QWidget* form = open("Command10");
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), title);
        QCOMPARE(form->findChild<QComboBox*>("cboNoeSoal")->itemText(0), title);
        QCOMPARE(ShownText(form, "lblSoorateSoal"), question);
        QCOMPARE(ShownText(form, "lblG2"), option);
        for (auto* label : form->findChildren<QLabel*>())
            QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }

    // A category code holding an apostrophe filters on itself in the window, as stored.
    void aCodeWithAnApostropheFiltersOnItself() {
        QVERIFY(bank->exec(
            "INSERT INTO tblNoeSoal (NoeSoal, Farsi, Tartib) VALUES ('R''04', 'با آپاستروف', 13)"));
        QVERIFY(bank->exec("UPDATE tblSoal SET NoeSoal = 'R''04' WHERE ID = 60"));
        QWidget* form = open("Command10");
        choose(form, QStringLiteral("با آپاستروف"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 60"));
    }

    // Every row of every window's layout table names a control the window has.
    void everyLayoutRowNamesAControl() {
        LogCapture log("ravex.ui");
        for (const char* control : {"Command10", "mnuMorooreTabloha", "mnuSoalatOLD"})
            QVERIFY(open(control));
        QVERIFY2(log.messages.isEmpty(), qPrintable(log.messages.join('\n')));
    }

    void correctOptionFollowsTheQuestion() {
        QWidget* form = open("Command10"); // correct options 1, 2, 3, 4, 1, ...
        QCOMPARE(green(form), QStringLiteral("1"));
        ClickButton(form, "cmdNext");
        QCOMPARE(green(form), QStringLiteral("2"));
        ClickButton(form, "cmdNext");
        QCOMPARE(green(form), QStringLiteral("3"));
        ClickButton(form, "cmdEnd"); // the 25th: 1 + 24 % 4 = 1
        QCOMPARE(green(form), QStringLiteral("1"));
        choose(form, QStringLiteral("سرعت")); // R02: 4, 3, 2, 1, 4
        QCOMPARE(green(form), QStringLiteral("4"));
        QCOMPARE(colour(form, 1), QColor(Qt::black));
    }

    void aStoredCorrectOptionOutsideOneToFourMarksNothingNew() {
        // The bank refuses such a value, so make the view hand one out.
        QVERIFY(bank->exec("DROP VIEW qrySoalat"));
        QVERIFY(bank->exec("CREATE VIEW qrySoalat AS SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, "
                           "CASE WHEN ID = 3 THEN '2.5' ELSE G_Sahih END AS G_Sahih, Shekl FROM tblSoal "
                           "WHERE Majmooe = 'general' ORDER BY ID"));
        QWidget* form = open("Command10");
        QCOMPARE(green(form), QStringLiteral("1"));
        ClickButton(form, "cmdNext"); // ID 3 carries "2.5"
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));
        QCOMPARE(green(form), QStringLiteral("1"));
    }

    void anEmptyCategory() {
        // A listed category whose filter finds nothing.
        QVERIFY(bank->exec("DROP VIEW qryNoeSoal"));
        QVERIFY(bank->exec("CREATE VIEW qryNoeSoal AS SELECT 'R01' AS NoeSoal UNION ALL SELECT 'EMPTY'"));
        QWidget* form = open("Command10");
        choose(form, QStringLiteral("بی‌سؤال"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("0"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QString());
        QCOMPARE(ShownText(form, "lblG1"), QString());
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("بی‌سؤال"));
        QVERIFY(form->findChild<PictureBox*>("imgShekl")->isHidden());
        for (const char* b : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdEnd"})
            ClickButton(form, b);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QString());
        choose(form, QStringLiteral("تعاریف")); // and back to a full one
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("25"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 1"));
    }

    void aCodeReadWithBlanksFiltersOnTheTrimmedCode() {
        QVERIFY(
            bank->exec("INSERT INTO tblNoeSoal (NoeSoal, Farsi, Tartib) VALUES (' R02 ', 'با فاصله', 99)"));
        QVERIFY(bank->exec("DROP VIEW qryNoeSoal"));
        QVERIFY(bank->exec("CREATE VIEW qryNoeSoal AS SELECT 'R01' AS NoeSoal UNION ALL SELECT ' R02 '"));
        QWidget* form = open("Command10");
        choose(form, QStringLiteral("با فاصله"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("5"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 2"));
    }

    void signButtonsOpenTheirCategories_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("count");
        QTest::newRow("Command3") << "Command3"
                                  << "علائم اخباري"
                                  << "3";
        QTest::newRow("Command5") << "Command5"
                                  << "حق تقدم در چهارراه"
                                  << "4";
        QTest::newRow("Command1") << "Command1"
                                  << "علائم اخطار كننده"
                                  << "5";
        QTest::newRow("Command2") << "Command2"
                                  << "علائم حكم كننده"
                                  << "6";
        QTest::newRow("Command4") << "Command4"
                                  << "حق تقدم در سه راه"
                                  << "7";
    }
    void signButtonsOpenTheirCategories() {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QString, count);
        QWidget* form = open("Command3"); // open already, on another category
        ClickButton(form, "cmdNext");
        QWidget* again = open(button.toLatin1().constData());
        QCOMPARE(again, form);
        QCOMPARE(main->findChild<QPushButton*>(button)->text(), title); // the button names its category
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), title);
        QCOMPARE(ShownText(form, "lblCount"), count);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(main->mdiArea()->subWindowList().size(), 1);
    }

    void signsFromTheMenuShowTheFirstCategory() {
        QWidget* form = open("mnuMorooreTabloha");
        QCOMPARE(form->windowTitle(), QStringLiteral("فرم مرور تابلوها و تقاطعها"));
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("علائم اخباري"));
        // Its first question has a picture (file 300), shown whole inside the area.
        auto* picture = form->findChild<PictureBox*>("imgShekl");
        QVERIFY(picture->isVisible());
        QCOMPARE(picture->picture().size(), QSize(60, 40));
        const QRect drawn = picture->pictureRect();
        QVERIFY(picture->rect().contains(drawn));
        QVERIFY(qAbs(double(drawn.width()) / drawn.height() - 1.5) < 0.02);
        ClickButton(form, "cmdNext"); // 301: no picture
        QVERIFY(picture->isHidden());
        ClickButton(form, "cmdNext"); // 302: its file is missing: the area stays, empty
        QFile::remove(bank->dataDir() + "302");
        ClickButton(form, "cmdPrevious");
        ClickButton(form, "cmdNext");
        QVERIFY(picture->isVisible());
        QVERIFY(picture->picture().isNull());
    }

    void aSignButtonBeyondTheListLeavesTheFirstCategory() {
        startOver([](FixtureBank& b) {
            b.source.questions.erase(
                std::remove_if(b.source.questions.begin(), b.source.questions.end(),
                               [](const BankQuestion& q) { return q.id >= 340 && q.id < 400; }),
                b.source.questions.end());
        });
        QWidget* form = open("Command4"); // position 4; the list has two entries
        QVERIFY(form);
        QCOMPARE(form->findChild<QComboBox*>("cboNoeSoal")->count(), 2);
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("علائم اخباري"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("3"));
    }

    void theArchiveSaysWhereThereIsNoPicture() {
        QWidget* form = open("mnuSoalatOLD");
        QCOMPARE(
            form->windowTitle(),
            QStringLiteral("سؤالات سالهاي قبل براي بايگاني و اطلاعات عمومي -  تذكر: امتحان از اين سؤالات "
                           "انتخاب نمي شود "));
        auto* note = form->findChild<QLabel*>("lblTazakor");
        auto* picture = form->findChild<PictureBox*>("imgShekl");
        QCOMPARE(note->text(), QStringLiteral("اين سؤالات در امتحان نمي آيند و فقط براي بايگاني مي باشند"));
        QVERIFY(note->isVisible() && picture->isHidden()); // 200: no picture
        ClickButton(form, "cmdNext");                      // 201: a picture
        QVERIFY(note->isHidden() && picture->isVisible());
        ClickButton(form, "cmdNext"); // 202: none again
        QVERIFY(note->isVisible() && picture->isHidden());
    }

    // The window opens on its first category: the whole collection, which that would replace at
    // once, is never read, and the rows read are one page, whatever the size of the bank.
    void openingReadsOnlyTheFirstCategory() {
        LogCapture log("ravex.sql", QtDebugMsg);
        QWidget* form = open("mnuMorooreSoalat");
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("تعاریف"));
        QVERIFY(!log.messages.isEmpty());
        for (const QString& statement : log.messages)
            QVERIFY2(!statement.contains("(Select * from qrySoalat)"), qPrintable(statement));
    }

    // Every shipped category title, the longest too ("بزرگراه، آزادراه، تونل و گذرگاه
    // راه‌آهن"), is drawn whole: in the card's yellow title and in the chooser's box it is drawn
    // smaller where it is wider than the box, which keeps its place and size; the chooser's list opens wide
    // enough for it, inside the main window; a short title keeps the full size.
    void longCategoryTitlesAreDrawnWhole_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QSize>("mainSize"); // empty: the working size
        QTest::newRow("review") << "Command10" << QSize();
        QTest::newRow("review, a small main window") << "Command10" << QSize(760, 520);
        QTest::newRow("editor") << "mnuViraiesh" << QSize();
    }
    void longCategoryTitlesAreDrawnWhole() {
        QFETCH(QString, control);
        QFETCH(QSize, mainSize);
        bank = std::make_unique<FixtureBank>();
        int id = 1;
        for (const BankCategory& c : ReadBankSource(qEnvironmentVariable("RAVEX_BANK_DIR")).categories) {
            bank->addCategory(c.code, c.order, c.collection, c.title);
            if (c.collection == QLatin1String("general"))
                bank->addQuestion(id++, c.code, 1);
        }
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        bank->useAsGlobals();
        if (mainSize.isValid())
            main->resize(mainSize);
        QWidget* form = open(qPrintable(control));
        auto* title = form->findChild<FitLabel*>("lblTedadeNoeSoal");
        auto* combo = form->findChild<FitComboBox*>("cboNoeSoal");
        QVERIFY(title && combo && combo->count() >= 18);
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        std::sort(entries.begin(), entries.end(), [title](const QString& a, const QString& b) {
            return WidthOf(title->font(), a) < WidthOf(title->font(), b);
        });
        const QString longest = entries.last();
        QVERIFY(WidthOf(title->font(), longest) > title->width());
        const QRect titlePlace = title->geometry();

        choose(form, longest);
        QCOMPARE(title->text(), longest);
        QCOMPARE(title->geometry(), titlePlace);
        QVERIFY(WidthOf(title->drawnFont(), longest) <= title->contentsRect().width());
        QVERIFY(title->drawnFont().pointSizeF() >= 0.6 * title->font().pointSizeF());
        QVERIFY(QRectF(title->rect()).contains(title->inkRect()));
        // As drawn: the ink keeps clear of both ends of the yellow box.
        const QImage drawn = title->grab().toImage();
        int left = drawn.width(), right = -1;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (qGray(drawn.pixel(x, y)) < 128)
                    left = std::min(left, x), right = std::max(right, x);
        QVERIFY2(left >= 1 && right <= drawn.width() - 2 && right - left > drawn.width() / 2,
                 qPrintable(QStringLiteral("ink %1..%2 of %3").arg(left).arg(right).arg(drawn.width())));

        // The chooser's box draws the chosen entry whole inside its field.
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        QVERIFY(WidthOf(combo->shownFont(), longest) <= field.width() - 2);
        // Its list: as wide as its longest entry, inside the main window.
        combo->showPopup();
        QWidget* list = combo->view()->window();
        QTRY_VERIFY(list->isVisible());
        QVERIFY(combo->view()->viewport()->width() >= WidthOf(combo->view()->font(), longest));
        QVERIFY(QRect(main->mapToGlobal(QPoint(0, 0)), main->size()).contains(list->geometry()));
        combo->hidePopup();

        choose(form, entries.first());
        QCOMPARE(title->drawnFont(), title->font());
        QCOMPARE(combo->shownFont(), combo->font());
    }

    // The explanation shows under the card when asked for, by the button or the key, in every
    // window that reviews questions; a question without one shows neither, and once opened it
    // follows the card from question to question until it is closed.
    void theExplanationOnRequest_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QVector<int>>("ids"); // the first three questions it shows
        QTest::newRow("review") << "Command10" << QVector<int>{1, 3, 5};
        QTest::newRow("signs") << "mnuMorooreTabloha" << QVector<int>{300, 301, 302};
        QTest::newRow("archive") << "mnuSoalatOLD" << QVector<int>{200, 201, 202};
        QTest::newRow("mistakes") << "mnuEshtebahat" << QVector<int>{1, 3, 5};
    }
    void theExplanationOnRequest() {
        QFETCH(QString, window);
        QFETCH(QVector<int>, ids);
        startOver(explain);
        keepThreeMistakes(*bank);
        QWidget* form = open(qPrintable(window));
        QVERIFY(form);
        auto* button = form->findChild<QPushButton*>("cmdSharh");
        auto* strip = form->findChild<QScrollArea*>("scrSharh");
        auto* label = form->findChild<QLabel*>("lblSharh");
        QVERIFY(button && strip && label);
        QVERIFY(button->isVisible());
        QVERIFY(!label->isVisible());
        QVERIFY(button->toolTip().contains("F2"));

        ClickButton(form, "cmdSharh");
        QVERIFY(label->isVisible());
        QCOMPARE(shownExplanation(label), kExplanations[ids[0]]);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(label->wordWrap());
        QCOMPARE(label->alignment() & (Qt::AlignRight | Qt::AlignAbsolute),
                 Qt::AlignRight | Qt::AlignAbsolute);
        // Both stand where nothing else does, inside the window.
        for (QWidget* w : {static_cast<QWidget*>(button), static_cast<QWidget*>(strip)}) {
            QVERIFY2(covered(form, w).isEmpty(), qPrintable(covered(form, w).join(", ")));
            QVERIFY(form->rect().contains(w->geometry()));
        }
        ClickButton(form, "cmdSharh");
        QVERIFY(!label->isVisible());
        PressKey(kSharhKey);
        QVERIFY(label->isVisible());

        ClickButton(form, "cmdNext"); // none: neither shows
        QVERIFY(!button->isVisible() && !label->isVisible());
        PressKey(kSharhKey);          // nothing to show: the key changes nothing
        ClickButton(form, "cmdNext"); // the third has one, and the explanation is still open
        QVERIFY(button->isVisible() && button->isChecked());
        QVERIFY(label->isVisible());
        QCOMPARE(shownExplanation(label), kExplanations[ids[2]]);
        PressKey(kSharhKey);
        QVERIFY(!label->isVisible() && !button->isChecked());
        ClickButton(form, "cmdFirst");
        QVERIFY(!label->isVisible()); // closed stays closed
        QVERIFY(button->isVisible());
    }

    // The longest shipped explanation shows whole in the strip of every window at its designed
    // size; the longest the editor takes can be scrolled to its end.
    void longExplanations_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("review") << "Command10";
        QTest::newRow("signs") << "mnuMorooreTabloha";
        QTest::newRow("archive") << "mnuSoalatOLD";
        QTest::newRow("mistakes") << "mnuEshtebahat";
    }
    void longExplanations() {
        QFETCH(QString, window);
        const BankSource shipped = ReadBankSource(qEnvironmentVariable("RAVEX_BANK_DIR"));
        QVERIFY(!shipped.questions.isEmpty());
        QString longest;
        for (const BankQuestion& q : shipped.questions) {
            if (q.explanation.size() > longest.size())
                longest = q.explanation;
        }
        QString longestAllowed;
        while (longestAllowed.size() < kMaxExplanationLength)
            longestAllowed += longest + u' ';
        longestAllowed.truncate(kMaxExplanationLength);
        startOver([&](FixtureBank& b) {
            for (BankQuestion& q : b.source.questions)
                q.explanation = QList<int>{1, 300, 200}.contains(q.id) ? longest : longestAllowed;
        });
        keepThreeMistakes(*bank);
        QWidget* form = open(qPrintable(window));
        QCOMPARE(qobject_cast<ChildForm*>(form)->scaleFactor(), 1.0);
        ClickButton(form, "cmdSharh");
        auto* strip = form->findChild<QScrollArea*>("scrSharh");
        auto* label = form->findChild<QLabel*>("lblSharh");
        QCOMPARE(shownExplanation(label), longest);
        QVERIFY2(label->heightForWidth(strip->viewport()->width()) <= strip->viewport()->height(),
                 qPrintable(QString("%1 pixels needed, %2 shown")
                                .arg(label->heightForWidth(strip->viewport()->width()))
                                .arg(strip->viewport()->height())));
        QCOMPARE(strip->verticalScrollBar()->maximum(), 0);

        ClickButton(form, "cmdNext");
        QCOMPARE(shownExplanation(label), longestAllowed);
        QCOMPARE(strip->verticalScrollBar()->value(), 0); // it starts at its beginning
        // Whatever the strip cannot show at once is reached by scrolling.
        QTRY_COMPARE(strip->verticalScrollBar()->maximum(),
                     std::max(0, label->height() - strip->viewport()->height()));
        if (window == "mnuEshtebahat")
            QVERIFY(strip->verticalScrollBar()->maximum() > 0);
        QVERIFY(label->height() >= label->heightForWidth(label->width())); // nothing cut off
    }

    // The strip reads right to left whatever its text starts with; the text itself is as stored.
    void theStripReadsRightToLeft_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("persian") << QStringLiteral("سرعت مجاز در شهر ۶۰ است.");
        QTest::newRow("digits first") << QStringLiteral("60 km/h سرعت مجاز در شهر است.");
        QTest::newRow("latin first") << QStringLiteral("ABS ترمز را قفل نمی‌کند.");
        QTest::newRow("punctuation first") << QStringLiteral("«ایست» یعنی توقف کامل.");
    }
    void theStripReadsRightToLeft() {
        QFETCH(QString, text);
        startOver([&](FixtureBank& b) { b.source.questions[0].explanation = text; });
        QWidget* form = open("Command10");
        ClickButton(form, "cmdSharh");
        const QString shown = ShownText(form, "lblSharh");
        QVERIFY(shown.isRightToLeft());
        QCOMPARE(shown.right(text.size()), text);
        QVERIFY(shown.size() - text.size() <= 1); // at most a direction mark in front
    }

    void aMissingBankOpensEmptyWindows() {
        QFile::remove(bank->bankPath());
        QWidget* form = open("Command10");
        QVERIFY(form);
        QCOMPARE(form->findChild<QComboBox*>("cboNoeSoal")->count(), 0);
        QCOMPARE(ShownText(form, "lblCount"), QString());
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(ShownText(form, "lblSoorateSoal"), QString());
        ClickButton(form, "cmdNext");
        QVERIFY(!QFile::exists(bank->bankPath()));
    }
};

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
