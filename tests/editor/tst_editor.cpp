// The question editor, opened from the main window's menu over a fixture bank and driven as a
// user drives it: clicks on its boxes and buttons, keys and typed text to the focused box. Every
// save is read back from the bank, and from the windows that show questions afterwards.
#include "app/frmMain.h"
#include "common/BankLocks.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/Connection.h"
#include "data/Explanations.h"
#include "data/Recordset.h"
#include "data/SharedState.h"
#include "rules/ExamAssembly.h"
#include "rules/QuestionEdit.h"
#include "ui/Look.h"
#include "ui/Modal.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <unistd.h>

namespace {
const QString kRangeMessage = QStringLiteral("مقدار گزينه صحيح عددي بين 1 تا 4 است");
const QString kNotSavedMessage = QStringLiteral("تغييرات ذخيره نشد؛ بانك سؤالات قابل نوشتن نيست.");

QLineEdit* box(QWidget* form, const char* name) {
    auto* b = form->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!b)
        qWarning("no box named %s", name);
    return b;
}

QString boxText(QWidget* form, const char* name) {
    QLineEdit* b = box(form, name);
    return b ? b->text() : QStringLiteral("<none>");
}

// Which option boxes have the green ground, as "1", "3" or "" for none.
QString green(QWidget* form) {
    QString out;
    for (int k = 1; k <= 4; ++k) {
        if (box(form, qPrintable(QStringLiteral("lblG%1").arg(k)))->palette().color(QPalette::Base) ==
            look::kCorrectGreen)
            out += QString::number(k);
    }
    return out;
}

// A click into a box, which gives it the keyboard focus, and all of its text selected with the
// keys (Ctrl+A belongs to the main window's menu).
void clickInto(QWidget* form, const char* name) {
    QLineEdit* b = box(form, name);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), b);
    PressKey(Qt::Key_End);
    PressKey(Qt::Key_Home, Qt::ShiftModifier);
}

// Text arriving at the focused box in one piece, as an input method or a paste delivers it:
// any Unicode, replacing the selection.
void commitText(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(focus, &event);
}

// Letters typed one key at a time into the focused box, each key carrying its Persian letter.
void typeLetters(const QString& letters) {
    for (const QChar letter : letters) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    }
}

void choose(QWidget* form, const QString& title) {
    auto* combo = form->findChild<QComboBox*>(QStringLiteral("cboNoeSoal"));
    const int index = combo->findText(title);
    QVERIFY2(index >= 0, qPrintable(title));
    combo->setCurrentIndex(index);
    emit combo->activated(index); // as a pick from the drop-down list
}

struct Stored {
    QString text;
    std::array<QString, 4> options;
    QVariant correct;
    bool operator==(const Stored&) const = default;
};

Stored stored(const QString& connection, const QString& table, int id) {
    Recordset rs;
    Stored s;
    if (!rs.open(QStringLiteral("Select * from %1 Where ID =%2").arg(table).arg(id), connection) ||
        rs.isEOF())
        return s;
    s.text = rs.value("SoorateSoal").toString();
    for (int k = 0; k < 4; ++k)
        s.options[k] = rs.value(QStringLiteral("G%1").arg(k + 1)).toString();
    s.correct = rs.value("G_Sahih");
    return s;
}

// Every question's texts and correct option, to see that a save touched its own row alone.
QMap<int, Stored> everyQuestion(const QString& connection) {
    QMap<int, Stored> all;
    Recordset rs;
    if (!rs.open(QStringLiteral("Select ID from tblSoal"), connection))
        return all;
    QList<int> ids;
    for (bool more = rs.moveFirst(); more && !rs.isEOF(); more = rs.moveNext())
        ids << rs.value("ID").toInt();
    for (int id : ids)
        all.insert(id, stored(connection, QStringLiteral("tblSoal"), id));
    return all;
}

// The explanation dialog as a user meets it: shown, its box with the keyboard focus.
QPlainTextEdit* openedSharh(QDialog* dialog) {
    dialog->show();
    dialog->activateWindow();
    if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
        return nullptr;
    auto* box = dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtSharh"));
    return QApplication::focusWidget() == box ? box : nullptr;
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;

    const QVector<MessageRecorder::Message>& messages() { return program->platform.messages.messages; }
    QString conn() const { return bank->connectionString(); }

    void useBank(const std::function<void(FixtureBank&)>& fill) {
        bank = std::make_unique<FixtureBank>();
        fill(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        bank->useAsGlobals();
    }
    QWidget* openEditor() {
        QWidget* form = program->Open("mnuViraiesh");
        if (!form || form->objectName() != QLatin1String("frmViraiesh"))
            return nullptr;
        return form;
    }

private slots:
    void init() {
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main);
        useBank(FixtureBank::fillStandard);
    }
    void cleanup() {
        SetModalHandler({});
        program.reset();
    }

    void opensOnTheFirstQuestionOfTheFirstCategory() {
        QWidget* form = openEditor();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("فرم ويرايش سؤالات"));
        // The exam's categories in list order: the signs come first; the archive is not offered.
        auto* combo = form->findChild<QComboBox*>("cboNoeSoal");
        QCOMPARE(combo->count(), 8);
        QCOMPARE(combo->currentText(), QStringLiteral("علائم اخباري"));
        QCOMPARE(ShownText(form, "lblTedadeNoeSoal"), QStringLiteral("علائم اخباري"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("3"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(boxText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 300"));
        QCOMPARE(boxText(form, "lblG4"), QStringLiteral("گزینه 4 از 300"));
        QCOMPARE(boxText(form, "lblG_Sahih"), QStringLiteral("1"));
        QCOMPARE(green(form), QStringLiteral("1"));
        QCOMPARE(box(form, "lblG2")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Button));
        QCOMPARE(ShownText(form, "lblDeghat"), QStringLiteral("به هنگام ويرايش دقت داشته باشيد"));
        QCOMPARE(ShownText(form, "lblTedad"), QStringLiteral("تعداد سؤالات اين بخش"));
        QCOMPARE(ShownText(form, "lblOnvanG_Sahih"), QStringLiteral("گزينه صحيح"));
        QCOMPARE(form->findChild<QPushButton*>("cmdUpdate")->text(), QStringLiteral("بروز رساني سؤال"));
        for (const char* name : {"lblSoorateSoal", "lblG1", "lblG2", "lblG3", "lblG4"})
            QVERIFY2(box(form, name)->isReadOnly(), name);
        for (const char* name : {"txtSoorateSoal", "txtG1", "txtG2", "txtG3", "txtG4", "lblG_Sahih"}) {
            QVERIFY2(!box(form, name)->isReadOnly(), name);
            QVERIFY2(box(form, name)->isVisible(), name);
        }
        QCOMPARE(boxText(form, "txtSoorateSoal"), QString());
        QVERIFY(!form->findChild<QLabel*>("lblID")->isVisible());

        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        QCOMPARE(sub->size(), QSize(953, 571));
        QCOMPARE(sub->x(), (main->frameGeometry().width() - 953) / 2);
        QCOMPARE(sub->y(), int((main->frameGeometry().height() - 571) / 2.8));
        // Every control stands inside the window.
        for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                QVERIFY2(form->rect().contains(child->geometry()), qPrintable(child->objectName()));
        }
        QVERIFY(messages().isEmpty());
    }

    void correctOptionBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<QString>("greenAfter");
        // The first question's stored correct option is 1.
        QTest::newRow("emptied") << "" << true << "1"
                                 << "1";
        QTest::newRow("5") << "5" << true << "1"
                           << "1";
        QTest::newRow("0") << "0" << true << "1"
                           << "1";
        QTest::newRow("-1") << "-1" << true << "1"
                            << "1";
        QTest::newRow("letters") << "x" << true << "1"
                                 << "1";
        QTest::newRow("4") << "4" << false << "4"
                           << "4";
        QTest::newRow("2") << "2" << false << "2"
                           << "2";
        // In range but none of the four texts: no colour changes, nothing is said.
        QTest::newRow("2.5") << "2.5" << false << "2.5"
                             << "1";
        QTest::newRow("3x") << "3x" << false << "3x"
                            << "1";
        QTest::newRow("blank 2") << " 2" << false << " 2"
                                 << "1";
    }
    void correctOptionBox() {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(QString, shownAfter);
        QFETCH(QString, greenAfter);
        QWidget* form = openEditor();
        QVERIFY(form);
        // What the user sees while the message is up: the stored number already back and marked.
        QString shownAtMessage;
        QString greenAtMessage;
        program->platform.messages.onMessage = [&] {
            shownAtMessage = boxText(form, "lblG_Sahih");
            greenAtMessage = green(form);
        };
        clickInto(form, "lblG_Sahih");
        if (typed.isEmpty())
            PressKey(Qt::Key_Backspace);
        else
            commitText(typed);
        QCOMPARE(boxText(form, "lblG_Sahih"), shownAfter);
        QCOMPARE(green(form), greenAfter);
        if (refused) {
            QCOMPARE(messages().size(), 1);
            QCOMPARE(messages()[0].prompt, kRangeMessage);
            QCOMPARE(messages()[0].title, QStringLiteral("Ravex V4"));
            QCOMPARE(messages()[0].icon, MsgIcon::None);
            QCOMPARE(shownAtMessage, QStringLiteral("1"));
            QCOMPARE(greenAtMessage, QStringLiteral("1"));
        } else {
            QVERIFY(messages().isEmpty());
        }
    }

    void typingADigitOverTheSelectedOneReplacesIt() {
        QWidget* form = openEditor();
        clickInto(form, "lblG_Sahih");
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
        QCOMPARE(boxText(form, "lblG_Sahih"), QStringLiteral("3"));
        QCOMPARE(green(form), QStringLiteral("3"));
        // Moving to another question shows its own number, and it is marked.
        ClickButton(form, "cmdNext");
        QCOMPARE(boxText(form, "lblG_Sahih"), QStringLiteral("2"));
        QCOMPARE(green(form), QStringLiteral("2"));
        QVERIFY(messages().isEmpty());
    }

    void aNewTextReplacesTheShownOneLetterByLetter() {
        QWidget* form = openEditor();
        clickInto(form, "txtG2");
        typeLetters(QStringLiteral("ب"));
        QCOMPARE(boxText(form, "lblG2"), QStringLiteral("ب"));
        typeLetters(QStringLiteral("لی"));
        QCOMPARE(boxText(form, "lblG2"), QStringLiteral("بلی"));
        PressKey(Qt::Key_Backspace, Qt::NoModifier, 2);
        QCOMPARE(boxText(form, "lblG2"), QStringLiteral("ب"));
        PressKey(Qt::Key_Backspace);
        QCOMPARE(boxText(form, "lblG2"), QStringLiteral("گزینه 2 از 300"));
        // Blanks alone count as empty: the stored text stays.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("   "));
        QCOMPARE(boxText(form, "lblG2"), QStringLiteral("گزینه 2 از 300"));
        QCOMPARE(boxText(form, "lblG1"), QStringLiteral("گزینه 1 از 300"));
        QCOMPARE(stored(conn(), "qryTabloha", 300).options[1], QStringLiteral("گزینه 2 از 300"));
    }

    void aSignsQuestionIsSavedThroughTheSecondLookup() {
        const QMap<int, Stored> before = everyQuestion(conn());
        QWidget* form = openEditor(); // question 300 is among the signs only
        clickInto(form, "txtSoorateSoal");
        commitText(QStringLiteral("متن تازه"));
        clickInto(form, "txtG4");
        commitText(QStringLiteral("گزینه تازه"));
        clickInto(form, "lblG_Sahih");
        commitText(QStringLiteral("4"));
        ClickButton(form, "cmdUpdate");

        const Stored now = stored(conn(), "qryTabloha", 300);
        QCOMPARE(now.text, QStringLiteral("متن تازه"));
        QCOMPARE(now.options[3], QStringLiteral("گزینه تازه"));
        QCOMPARE(now.options[0], QStringLiteral("گزینه 1 از 300"));
        QCOMPARE(now.correct.toInt(), 4);
        QMap<int, Stored> after = everyQuestion(conn());
        after.remove(300);
        QMap<int, Stored> rest = before;
        rest.remove(300);
        QVERIFY(after == rest); // no other question changed
        // The new-text boxes are emptied; the boxes show what was saved.
        for (const char* name : {"txtSoorateSoal", "txtG1", "txtG2", "txtG3", "txtG4"})
            QCOMPARE(boxText(form, name), QString());
        QCOMPARE(boxText(form, "lblSoorateSoal"), QStringLiteral("متن تازه"));
        QCOMPARE(boxText(form, "lblG4"), QStringLiteral("گزینه تازه"));
        QCOMPARE(green(form), QStringLiteral("4"));
        QVERIFY(messages().isEmpty());
    }

    void blanksAroundATextAreNotStored() {
        QWidget* form = openEditor();
        clickInto(form, "txtG1");
        commitText(QStringLiteral("  با فاصله ها  "));
        QCOMPARE(boxText(form, "lblG1"), QStringLiteral("  با فاصله ها  ")); // shown as typed
        ClickButton(form, "cmdUpdate");
        QCOMPARE(stored(conn(), "qryTabloha", 300).options[0], QStringLiteral("با فاصله ها"));
        QCOMPARE(boxText(form, "lblG1"), QStringLiteral("با فاصله ها"));
    }

    void everyMoveSavesFirstAndAnEditSurvivesComingBack() {
        QWidget* form = openEditor();
        clickInto(form, "txtG3");
        commitText(QStringLiteral("سوم"));
        ClickButton(form, "cmdNext");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));
        QCOMPARE(stored(conn(), "qryTabloha", 300).options[2], QStringLiteral("سوم"));
        QCOMPARE(boxText(form, "txtG3"), QString());
        QCOMPARE(boxText(form, "lblG3"), QStringLiteral("گزینه 3 از 301"));
        // Back again: the saved text is shown, and the save made on leaving 301 and on coming
        // back keeps it rather than writing the old text over it.
        ClickButton(form, "cmdPrevious");
        QCOMPARE(boxText(form, "lblG3"), QStringLiteral("سوم"));
        ClickButton(form, "cmdEnd");
        ClickButton(form, "cmdFirst");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(boxText(form, "lblG3"), QStringLiteral("سوم"));
        QCOMPARE(stored(conn(), "qryTabloha", 300).options[2], QStringLiteral("سوم"));
        QCOMPARE(stored(conn(), "qryTabloha", 302).options[2], QStringLiteral("گزینه 3 از 302"));
    }

    void nextOnTheLastQuestionStillSavesAndStays() {
        QWidget* form = openEditor();
        ClickButton(form, "cmdEnd");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("3"));
        clickInto(form, "txtSoorateSoal");
        commitText(QStringLiteral("آخرين"));
        ClickButton(form, "cmdNext");
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("3"));
        QCOMPARE(boxText(form, "lblSoorateSoal"), QStringLiteral("آخرين"));
        QCOMPARE(stored(conn(), "qryTabloha", 302).text, QStringLiteral("آخرين"));
        QCOMPARE(boxText(form, "txtSoorateSoal"), QString());
    }

    void choosingACategoryKeepsTheTypedTextUnsaved() {
        QWidget* form = openEditor();
        clickInto(form, "txtSoorateSoal");
        commitText(QStringLiteral("نيمه كاره"));
        choose(form, QStringLiteral("تعاریف"));
        QCOMPARE(boxText(form, "txtSoorateSoal"), QStringLiteral("نيمه كاره"));
        QCOMPARE(boxText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 1"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("25"));
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("1"));
        QCOMPARE(stored(conn(), "qryTabloha", 300).text, QStringLiteral("متن سؤال 300"));
        QCOMPARE(stored(conn(), "qrySoalat", 1).text, QStringLiteral("متن سؤال 1"));
    }

    // The save stores the trimmed number; what the bank would still refuse is never written, and
    // the texts saved with it are.
    void theCorrectOptionIsStoredTrimmed_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("storedAs"); // the first question's own 1: not stored
        QTest::newRow("blank 2") << " 2" << 2;
        QTest::newRow("3 blank") << "3 " << 3;
        QTest::newRow("blanks around 4") << "  4  " << 4;
        QTest::newRow("2.5") << "2.5" << 1;
        QTest::newRow("3x") << "3x" << 1;
        QTest::newRow("02") << "02" << 1;
    }
    void theCorrectOptionIsStoredTrimmed() {
        QFETCH(QString, typed);
        QFETCH(int, storedAs);
        QWidget* form = openEditor();
        clickInto(form, "lblG_Sahih");
        commitText(typed);
        clickInto(form, "txtG2");
        commitText(QStringLiteral("نوشته شد"));
        ClickButton(form, "cmdUpdate");
        const Stored now = stored(conn(), "qryTabloha", 300);
        QCOMPARE(now.correct, QVariant(qlonglong(storedAs)));
        QCOMPARE(now.options[1], QStringLiteral("نوشته شد")); // the texts are written either way
        QCOMPARE(now.text, QStringLiteral("متن سؤال 300"));
        QVERIFY(messages().isEmpty());
        if (storedAs != 1) {
            // The box shows the number as stored, and its option is marked.
            QCOMPARE(boxText(form, "lblG_Sahih"), QString::number(storedAs));
            QCOMPARE(green(form), QString::number(storedAs));
        }
        // Moving on and back keeps the stored number.
        ClickButton(form, "cmdNext");
        QCOMPARE(stored(conn(), "qryTabloha", 300).correct, QVariant(qlonglong(storedAs)));
        ClickButton(form, "cmdPrevious");
        QCOMPARE(boxText(form, "lblG_Sahih"), QString::number(storedAs));
        QCOMPARE(green(form), QString::number(storedAs));
    }

    // What a save writes, counted by the bank: a move or a save over a question left as it was
    // writes nothing; an edit writes its question once.
    void onlyARealChangeIsWritten_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("writes");
        QTest::newRow("nothing typed") << ""
                                       << "" << 0;
        QTest::newRow("the same text typed again") << "txtG1"
                                                   << "گزینه 1 از 300" << 0;
        QTest::newRow("the same text with blanks") << "txtSoorateSoal"
                                                   << " متن سؤال 300  " << 0;
        QTest::newRow("only blanks") << "txtG3"
                                     << "   " << 0;
        QTest::newRow("the same correct option") << "lblG_Sahih"
                                                 << "1" << 0;
        QTest::newRow("the same correct option with a blank") << "lblG_Sahih"
                                                              << "1 " << 0;
        QTest::newRow("a correct option never stored") << "lblG_Sahih"
                                                       << "2.5" << 0;
        QTest::newRow("a new text") << "txtG4"
                                    << "تازه" << 1;
        QTest::newRow("a new correct option") << "lblG_Sahih"
                                              << "4" << 1;
    }
    void onlyARealChangeIsWritten() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, writes);
        QVERIFY(bank->exec("CREATE TABLE written (ID INTEGER)"));
        QVERIFY(bank->exec("CREATE TRIGGER counted AFTER UPDATE ON tblSoal BEGIN "
                           "INSERT INTO written VALUES (NEW.ID); END"));
        const auto written = [this] {
            QList<int> ids;
            Recordset rs;
            if (rs.open(QStringLiteral("Select ID from written"), conn()))
                for (bool more = rs.moveFirst(); more && !rs.isEOF(); more = rs.moveNext())
                    ids << rs.value("ID").toInt();
            return ids;
        };
        QWidget* form = openEditor();
        if (!box.isEmpty()) {
            clickInto(form, qPrintable(box));
            commitText(typed);
        }
        ClickButton(form, "cmdNext");
        QCOMPARE(written(), QList<int>(writes, 300));
        // Over and back, and the save button, on questions left as they were.
        for (const char* button : {"cmdEnd", "cmdFirst", "cmdUpdate", "cmdNext", "cmdPrevious", "cmdUpdate"})
            ClickButton(form, button);
        QCOMPARE(written(), QList<int>(writes, 300));
        QVERIFY(messages().isEmpty());
    }

    // Over a bank that cannot be written, only a real edit is told about; a move then leaves
    // nothing typed to be taken for the next question's text. Next on the last question does not
    // move, and the typed text stays for another try.
    void aRefusedSaveOnAMoveLeavesNothingTyped_data() {
        QTest::addColumn<bool>("locked"); // else the file is read-only
        QTest::newRow("read-only file") << false;
        QTest::newRow("locked by another program") << true;
    }
    void aRefusedSaveOnAMoveLeavesNothingTyped() {
        QFETCH(bool, locked);
        const QMap<int, Stored> before = everyQuestion(conn());
        QWidget* form = openEditor();
        std::unique_ptr<Unwritable> readOnly;
        std::unique_ptr<WriteLock> lock;
        if (locked) {
            lock = std::make_unique<WriteLock>(bank->bankPath());
            QVERIFY(lock->holds());
        } else {
            readOnly = std::make_unique<Unwritable>(bank->bankPath());
            if (!readOnly->holds())
                QSKIP("this file system lets the bank be written whatever its permissions");
        }
        const QString refusal = locked ? kBankBusyText : kNotSavedMessage;
        for (const char* button : {"cmdNext", "cmdEnd", "cmdPrevious", "cmdFirst", "cmdUpdate"})
            ClickButton(form, button);
        QVERIFY(messages().isEmpty());

        clickInto(form, "txtG2");
        commitText(QStringLiteral("از دست رفته"));
        clickInto(form, "lblG_Sahih");
        commitText(QStringLiteral("3"));
        ClickButton(form, "cmdNext");
        QCOMPARE(messages().size(), 1);
        QCOMPARE(messages()[0].prompt, refusal);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("2"));
        QCOMPARE(boxText(form, "txtG2"), QString());
        QCOMPARE(boxText(form, "lblG2"), QStringLiteral("گزینه 2 از 301"));
        QCOMPARE(boxText(form, "lblG_Sahih"), QStringLiteral("2"));
        QCOMPARE(green(form), QStringLiteral("2"));
        // Nothing of it is left to fail again.
        for (const char* button : {"cmdUpdate", "cmdNext", "cmdFirst"})
            ClickButton(form, button);
        QCOMPARE(messages().size(), 1);

        ClickButton(form, "cmdEnd");
        clickInto(form, "txtSoorateSoal");
        commitText(QStringLiteral("آخرين"));
        ClickButton(form, "cmdNext");
        QCOMPARE(messages().size(), 2);
        QCOMPARE(ShownText(form, "lblShomareSoal"), QStringLiteral("3"));
        QCOMPARE(boxText(form, "txtSoorateSoal"), QStringLiteral("آخرين"));
        QCOMPARE(boxText(form, "lblSoorateSoal"), QStringLiteral("آخرين"));
        readOnly.reset();
        lock.reset();
        QVERIFY(everyQuestion(conn()) == before);
    }

    void textsAreStoredExactlyAsTyped_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophes") << QStringLiteral("it's the driver's lane");
        QTest::newRow("quotes") << QStringLiteral("\"stop\" and 'yield'; -- \\");
        QTest::newRow("sql-looking") << QStringLiteral("x', G1 = 'y' WHERE 1=1; DROP TABLE tblSoal; --");
        QTest::newRow("markup") << QStringLiteral("<b>پررنگ</b> &amp; <i>کج</i>");
        QTest::newRow("emoji") << QStringLiteral("علامت 🚦 و 🚗‍ خودرو");
        QTest::newRow("zero-width non-joiner") << QStringLiteral("می‌روید به‌سوی چراغ");
        QTest::newRow("mixed directions") << QStringLiteral("سرعت 60 km/h در (شهر)");
    }
    void textsAreStoredExactlyAsTyped() {
        QFETCH(QString, text);
        const int questions = everyQuestion(conn()).size();
        QWidget* form = openEditor();
        clickInto(form, "txtSoorateSoal");
        commitText(text);
        QCOMPARE(boxText(form, "lblSoorateSoal"), text);
        clickInto(form, "txtG3");
        commitText(text + QStringLiteral(" ۳"));
        ClickButton(form, "cmdUpdate");
        const Stored now = stored(conn(), "qryTabloha", 300);
        QCOMPARE(now.text, text);
        QCOMPARE(now.options[2], text + QStringLiteral(" ۳"));
        QCOMPARE(boxText(form, "lblSoorateSoal"), text);
        QCOMPARE(everyQuestion(conn()).size(), questions); // nothing dropped
        // The signs window shows it as plain text.
        QWidget* signs = program->Open("mnuMorooreTabloha");
        QVERIFY(signs && signs != form);
        QCOMPARE(ShownText(signs, "lblSoorateSoal"), text);
        QCOMPARE(signs->findChild<QLabel*>("lblSoorateSoal")->textFormat(), Qt::PlainText);
    }

    void aSaveTheBankRefusesKeepsTheTypedText_data() {
        QTest::addColumn<bool>("locked"); // else the file is read-only
        QTest::newRow("read-only file") << false;
        QTest::newRow("locked by another program") << true;
    }
    void aSaveTheBankRefusesKeepsTheTypedText() {
        QFETCH(bool, locked);
        QWidget* form = openEditor();
        clickInto(form, "txtG2");
        commitText(QStringLiteral("نگه داشته شود"));
        clickInto(form, "lblG_Sahih");
        commitText(QStringLiteral("3"));
        {
            std::unique_ptr<Unwritable> readOnly;
            std::unique_ptr<WriteLock> lock;
            if (locked) {
                lock = std::make_unique<WriteLock>(bank->bankPath());
                QVERIFY(lock->holds());
            } else {
                readOnly = std::make_unique<Unwritable>(bank->bankPath());
                if (!readOnly->holds())
                    QSKIP("this file system lets the bank be written whatever its permissions");
            }
            ClickButton(form, "cmdUpdate");
            QCOMPARE(messages().size(), 1);
            QCOMPARE(messages()[0].prompt, locked ? kBankBusyText : kNotSavedMessage);
            QCOMPARE(messages()[0].title, kAppTitle);
            QCOMPARE(boxText(form, "txtG2"), QStringLiteral("نگه داشته شود"));
            QCOMPARE(boxText(form, "lblG2"), QStringLiteral("نگه داشته شود"));
            QCOMPARE(boxText(form, "lblG_Sahih"), QStringLiteral("3"));
        }
        const Stored untouched = stored(conn(), "qryTabloha", 300);
        QCOMPARE(untouched.options[1], QStringLiteral("گزینه 2 از 300"));
        QCOMPARE(untouched.correct.toInt(), 1);
        // Once the bank can be written again, the same text is saved.
        ClickButton(form, "cmdUpdate");
        QCOMPARE(messages().size(), 1);
        QCOMPARE(stored(conn(), "qryTabloha", 300).options[1], QStringLiteral("نگه داشته شود"));
        QCOMPARE(stored(conn(), "qryTabloha", 300).correct.toInt(), 3);
        QCOMPARE(boxText(form, "txtG2"), QString());
    }

    // The shown question's explanation is edited in a dialog of its own: OK stores what was typed
    // exactly, Cancel nothing, an emptied box deletes it, and no other question is touched.
    void theExplanationDialog() {
        const QString typed = QStringLiteral("راننده's \"حق\" تقدم 🚦 <b>نه</b>");
        QWidget* form = openEditor();
        auto* button = form->findChild<QPushButton*>("cmdViraieshSharh");
        QVERIFY(button && button->isVisible());
        QVERIFY(button->sizeHint().width() <= button->width()); // its caption shows whole
        for (QWidget* other : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(other == button || !other->isVisible() ||
                         !other->geometry().intersects(button->geometry()),
                     qPrintable(other->objectName()));
        const QMap<int, Stored> before = everyQuestion(conn());

        QStringList seen; // what each opening showed
        std::function<void(QDialog*, QPlainTextEdit*)> act;
        SetModalHandler([&](QDialog* dialog) {
            QPlainTextEdit* box = openedSharh(dialog);
            if (!box)
                return int(QDialog::Rejected);
            seen << box->toPlainText();
            [&] { QCOMPARE(dialog->layoutDirection(), Qt::RightToLeft); }();
            act(dialog, box);
            return dialog->result();
        });
        const auto retype = [](const QString& text) {
            PressKey(Qt::Key_A, Qt::ControlModifier);
            if (text.isEmpty())
                PressKey(Qt::Key_Delete);
            else
                commitText(text);
        };

        act = [&](QDialog* dialog, QPlainTextEdit*) {
            QCOMPARE(ShownText(dialog, "lblSoal"), QStringLiteral("متن سؤال 300"));
            QCOMPARE(dialog->findChild<QLabel*>("lblSoal")->textFormat(), Qt::PlainText);
            retype(typed);
            ClickButton(dialog, "cmdOK");
        };
        ClickButton(form, "cmdViraieshSharh");
        QCOMPARE(ExplanationOf(conn(), 300), typed);

        act = [&](QDialog* dialog, QPlainTextEdit*) {
            retype(QStringLiteral("رها شود"));
            ClickButton(dialog, "cmdCancel");
        };
        ClickButton(form, "cmdViraieshSharh");
        QCOMPARE(ExplanationOf(conn(), 300), typed);

        // Longer than the bank takes: OK refuses, and the count says why.
        act = [&](QDialog* dialog, QPlainTextEdit* box) {
            retype(QString(kMaxExplanationLength + 1, QChar(0x0628)));
            QVERIFY(!dialog->findChild<QPushButton*>("cmdOK")->isEnabled());
            QCOMPARE(dialog->findChild<QLabel*>("lblHarf")->palette().color(QPalette::WindowText),
                     look::kRed);
            PressKey(Qt::Key_Backspace);
            QCOMPARE(box->toPlainText().size(), kMaxExplanationLength);
            QVERIFY(dialog->findChild<QPushButton*>("cmdOK")->isEnabled());
            ClickButton(dialog, "cmdCancel");
        };
        ClickButton(form, "cmdViraieshSharh");

        act = [&](QDialog* dialog, QPlainTextEdit*) {
            retype(QString());
            ClickButton(dialog, "cmdOK");
        };
        ClickButton(form, "cmdViraieshSharh");
        QCOMPARE(ExplanationOf(conn(), 300), QString());
        QCOMPARE(seen, (QStringList{QString(), typed, typed, typed}));
        QVERIFY(messages().isEmpty());
        QVERIFY(everyQuestion(conn()) == before);
        SetModalHandler({});
    }

    // A bank that refuses the explanation says so once for each try and keeps the dialog open
    // with what was typed; OK without a change writes nothing and says nothing.
    void aRefusedExplanationStaysInItsDialog_data() {
        QTest::addColumn<bool>("locked"); // else the file is read-only
        QTest::newRow("read-only file") << false;
        QTest::newRow("locked by another program") << true;
    }
    void aRefusedExplanationStaysInItsDialog() {
        QFETCH(bool, locked);
        QVERIFY(SaveExplanation(conn(), 300, QStringLiteral("پیشین")));
        QWidget* form = openEditor();
        const QString typed = QStringLiteral("شرح تازه که نباید گم شود");
        bool skipped = false;
        bool retype = false;
        SetModalHandler([&](QDialog* dialog) {
            QPlainTextEdit* box = openedSharh(dialog);
            if (!box)
                return int(QDialog::Rejected);
            std::unique_ptr<Unwritable> readOnly;
            std::unique_ptr<WriteLock> lock;
            if (locked) {
                lock = std::make_unique<WriteLock>(bank->bankPath());
            } else {
                readOnly = std::make_unique<Unwritable>(bank->bankPath());
                if (!readOnly->holds()) {
                    skipped = true;
                    return int(QDialog::Rejected);
                }
            }
            if (!retype) {
                ClickButton(dialog, "cmdOK"); // unchanged: nothing to write, nothing to say
                return dialog->result();
            }
            PressKey(Qt::Key_A, Qt::ControlModifier);
            commitText(typed);
            for (int tries = 1; tries <= 2; ++tries) {
                ClickButton(dialog, "cmdOK");
                [&] {
                    QCOMPARE(messages().size(), tries);
                    QCOMPARE(messages().last().prompt, locked ? kBankBusyText : kNotSavedMessage);
                    QCOMPARE(messages().last().title, kAppTitle);
                    QVERIFY(dialog->isVisible());
                    QCOMPARE(box->toPlainText(), typed);
                }();
            }
            readOnly.reset();
            lock.reset();
            ClickButton(dialog, "cmdOK"); // the bank takes writes again: the same text is saved
            return dialog->result();
        });
        ClickButton(form, "cmdViraieshSharh");
        if (skipped) {
            SetModalHandler({});
            QSKIP("this file system lets the bank be written whatever its permissions");
        }
        QVERIFY(messages().isEmpty());
        retype = true;
        ClickButton(form, "cmdViraieshSharh");
        SetModalHandler({});
        QCOMPARE(messages().size(), 2);
        QCOMPARE(ExplanationOf(conn(), 300), typed);
    }

    void aCategoryWithoutQuestionsDoesNothingHarmful() {
        QVERIFY(bank->exec("DROP VIEW qryNoeSoaleAzmoon"));
        QVERIFY(bank->exec("CREATE VIEW qryNoeSoaleAzmoon AS SELECT 'T_AKHBARI' AS NoeSoal UNION ALL "
                           "SELECT 'EMPTY'"));
        const QMap<int, Stored> before = everyQuestion(conn());
        QWidget* form = openEditor();
        choose(form, QStringLiteral("بی‌سؤال"));
        QCOMPARE(ShownText(form, "lblCount"), QStringLiteral("0"));
        QCOMPARE(boxText(form, "lblSoorateSoal"), QString());
        clickInto(form, "txtG1");
        commitText(QStringLiteral("بی جا"));
        QCOMPARE(boxText(form, "lblG1"), QStringLiteral("بی جا"));
        clickInto(form, "lblG_Sahih");
        commitText(QStringLiteral("7"));
        for (const char* button : {"cmdUpdate", "cmdNext", "cmdFirst"})
            ClickButton(form, button);
        QCOMPARE(boxText(form, "txtG1"), QStringLiteral("بی جا"));
        clickInto(form, "txtG1");
        PressKey(Qt::Key_Delete);
        QCOMPARE(boxText(form, "lblG1"), QString());
        QVERIFY(messages().isEmpty());
        QVERIFY(everyQuestion(conn()) == before);
    }

    void theReviewWindowShowsTheSavedQuestion() {
        QWidget* form = openEditor();
        choose(form, QStringLiteral("تعاریف"));
        ClickButton(form, "cmdNext"); // question 3, correct option 3
        clickInto(form, "txtSoorateSoal");
        commitText(QStringLiteral("پرسش ويرايش شده"));
        clickInto(form, "txtG1");
        commitText(QStringLiteral("پاسخ درست"));
        clickInto(form, "lblG_Sahih");
        commitText(QStringLiteral("1"));
        ClickButton(form, "cmdUpdate");
        QCOMPARE(stored(conn(), "qrySoalat", 3).text, QStringLiteral("پرسش ويرايش شده"));

        QWidget* review = program->Open("Command10");
        QVERIFY(review && review != form);
        ClickButton(review, "cmdNext");
        QCOMPARE(ShownText(review, "lblSoorateSoal"), QStringLiteral("پرسش ويرايش شده"));
        QCOMPARE(ShownText(review, "lblG1"), QStringLiteral("پاسخ درست"));
        QCOMPARE(review->findChild<QLabel*>("lblG1")->palette().color(QPalette::WindowText),
                 look::kCorrectGreen);
        QCOMPARE(review->findChild<QLabel*>("lblG3")->palette().color(QPalette::WindowText),
                 QColor(Qt::black));
    }

    void theNextExamAsksTheSavedQuestion() {
        // 263 is the only question of its range (263..277), so every exam asks it.
        useBank(
            [](FixtureBank& b) { FixtureBank::fillExam(b, [](int id) { return id < 264 || id > 277; }); });
        QWidget* form = openEditor();
        QVERIFY(form);
        QCOMPARE(boxText(form, "lblSoorateSoal"), QStringLiteral("متن سؤال 263"));
        clickInto(form, "txtSoorateSoal");
        commitText(QStringLiteral("پرسش آزمون"));
        clickInto(form, "txtG2");
        commitText(QStringLiteral("پاسخ تازه"));
        clickInto(form, "lblG_Sahih");
        commitText(QStringLiteral("2"));
        ClickButton(form, "cmdUpdate");

        SeededRandom random("theNextExamAsksTheSavedQuestion");
        SetRandom(&random);
        const ExamAssemblyResult result = AssembleExam(conn());
        SetRandom(nullptr);
        QVERIFY2(result.ok, qPrintable(result.message));
        Recordset exam;
        QVERIFY(exam.open(QStringLiteral("Select * from tblAzmoon Where ID =263"), conn()));
        QVERIFY(!exam.isEOF());
        QCOMPARE(exam.value("SoorateSoal").toString(), QStringLiteral("پرسش آزمون"));
        const int correct = exam.value("G_Sahih").toInt();
        QVERIFY(correct >= 1 && correct <= 4);
        QCOMPARE(exam.value(QStringLiteral("G%1").arg(correct)).toString(), QStringLiteral("پاسخ تازه"));
    }

    // The rules on their own.
    void correctOptionRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inRange");
        QTest::addColumn<int>("storable"); // 0: never stored
        QTest::newRow("1") << "1" << true << 1;
        QTest::newRow("4") << "4" << true << 4;
        QTest::newRow("4.99") << "4.99" << true << 0;
        QTest::newRow("0.5") << "0.5" << true << 0;
        QTest::newRow("2 blank") << "2 " << true << 2;
        QTest::newRow("blank 3") << " 3" << true << 3;
        QTest::newRow("02") << "02" << true << 0;
        QTest::newRow("3x") << "3x" << true << 0;
        QTest::newRow("Persian digit") << "۲" << false << 0;
        QTest::newRow("5") << "5" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("-3") << "-3" << false << 0;
    }
    void correctOptionRules() {
        QFETCH(QString, text);
        QFETCH(bool, inRange);
        QFETCH(int, storable);
        QCOMPARE(CorrectOptionInRange(text), inRange);
        QCOMPARE(StorableCorrectOption(text).value_or(0), storable);
    }

    void aSaveOfAnIdInNeitherCollectionWritesNothing() {
        const QMap<int, Stored> before = everyQuestion(conn());
        EditedQuestion q{QStringLiteral("x"),
                         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
                         QStringLiteral("2")};
        QCOMPARE(SaveQuestion(conn(), 200, q), SaveOutcome::NotFound); // an archive question
        QCOMPARE(SaveQuestion(conn(), 9999, q), SaveOutcome::NotFound);
        QVERIFY(everyQuestion(conn()) == before);
        QCOMPARE(SaveQuestion(QStringLiteral("Data Source=/nonexistent/515;"), 1, q),
                 SaveOutcome::NotWritten);
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
