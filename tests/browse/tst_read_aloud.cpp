// Reading the shown question aloud in every question window, and the oral exam, with a speaker
// that records what it is given.
#include "app/frmMain.h"
#include "card/ReadAloud.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/Settings.h"
#include "data/SharedState.h"
#include "exam/frmAzmoon.h"
#include "rules/Utterance.h"
#include "ui/Modal.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {
QString shown(QWidget* form, const char* name) {
    auto* label = form->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

// Digits or the bank's Arabic letters left in what a voice is given.
bool hasUnspokenCharacters(const QString& text) {
    static const QRegularExpression unspoken(QStringLiteral("[0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}"
                                                            "\\x{0643}\\x{064A}]"));
    return text.contains(unspoken);
}
} // namespace

class TestReadAloud : public QObject {
    Q_OBJECT
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<RunningProgram> program;
    RecordingSpeaker* speaker = nullptr;
    int results = 0;

    // What a reading of the shown question must be: the question, then its four options numbered.
    void checkReadsTheShownQuestion(QWidget* form, const QString& said) {
        const QString question = SpokenText(shown(form, "lblSoorateSoal"));
        QVERIFY2(said.startsWith(question), qPrintable(said));
        const char* numbers[] = {"یک", "دو", "سه", "چهار"};
        for (int k = 0; k < 4; ++k) {
            const QString option = SpokenText(shown(form, qPrintable(QStringLiteral("lblG%1").arg(k + 1))));
            QVERIFY2(said.contains(QStringLiteral("\nگزینه ") + QString::fromUtf8(numbers[k]) +
                                   QStringLiteral(": ") + option),
                     qPrintable(said));
        }
        QVERIFY2(!hasUnspokenCharacters(said), qPrintable(said));
    }

private slots:
    void init() {
        program = std::make_unique<RunningProgram>();
        QVERIFY(program->main);
        bank = std::make_unique<FixtureBank>();
        FixtureBank::fillExam(*bank);
        QVERIFY2(bank->write(), qPrintable(bank->lastError));
        bank->useAsGlobals();
        speaker = &program->platform.speaker;
        results = 0;
        SetModalHandler([this](QDialog* dialog) {
            ++results;
            ClickButton(dialog, "Command1");
            return dialog->result();
        });
    }
    void cleanup() {
        SetModalHandler({});
        program.reset();
    }

    // Every question window reads its shown question on the key and on the speaker button.
    void everyQuestionWindowReads_data() {
        QTest::addColumn<QString>("opener");
        QTest::newRow("review") << "Command10";
        QTest::newRow("signs") << "mnuMorooreTabloha";
        QTest::newRow("archive") << "mnuSoalatOLD";
        QTest::newRow("exam") << "Command6";
        QTest::newRow("Leitner box") << "mnuLeitner";
    }
    void everyQuestionWindowReads() {
        QFETCH(QString, opener);
        QWidget* form = program->Open(qPrintable(opener));
        QVERIFY(form);
        auto* button = form->findChild<QPushButton*>(QStringLiteral("cmdBekhan"));
        QVERIFY(button && button->isVisible());
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->said.size(), 1);
        checkReadsTheShownQuestion(form, speaker->said.last());
        QVERIFY(button->isChecked());
        speaker->finish();
        QVERIFY(!button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(speaker->said.size(), 2);
        QCOMPARE(speaker->said[1], speaker->said[0]);
    }

    // A focused category list would open its popup on F4: the key reads aloud there too, and
    // the list stays shut.
    void theKeyReadsFromAFocusedCategoryList() {
        QWidget* form = program->Open("Command10");
        auto* categories = form->findChild<QComboBox*>(QStringLiteral("cboNoeSoal"));
        QVERIFY(categories && categories->isVisible());
        categories->setFocus();
        QCOMPARE(QApplication::focusWidget(), categories);
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->said.size(), 1);
        checkReadsTheShownQuestion(form, speaker->said.last());
        QVERIFY(!categories->view()->isVisible());
    }

    // The mistakes review and a past exam read their own cards too.
    void theProgressWindowsRead() {
        QWidget* exam = program->Open("Command6");
        ClickButton(exam, "cmdTashih"); // every answer 1: some are wrong
        QWidget* mistakes = program->Open("mnuEshtebahat");
        QVERIFY(mistakes && mistakes->objectName() == QStringLiteral("frmEshtebahat"));
        QVERIFY(!shown(mistakes, "lblSoorateSoal").isEmpty());
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->said.size(), 1);
        checkReadsTheShownQuestion(mistakes, speaker->said.last());

        QWidget* progress = program->Open("mnuPishraft");
        auto* exams = progress->findChild<QTableWidget*>(QStringLiteral("grdAzmoonha"));
        QVERIFY(exams && exams->rowCount() == 1);
        QTest::mouseClick(exams->viewport(), Qt::LeftButton, {},
                          exams->visualItemRect(exams->item(0, 0)).center());
        ClickButton(progress, "cmdMoroorAzmoon");
        QWidget* past = program->main->Child("frmAzmoonGozashte");
        QVERIFY(past);
        past->setFocus();
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->said.size(), 2);
        checkReadsTheShownQuestion(past, speaker->said.last());
    }

    // A second press, a click, or a move to another question stops the reading at once; a move
    // reads nothing new in a review window.
    void aReadingStops() {
        QWidget* form = program->Open("Command10");
        auto* button = form->findChild<QPushButton*>(QStringLiteral("cmdBekhan"));
        PressKey(kReadAloudKey);
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->stops, 1);
        QVERIFY(!speaker->speaking() && !button->isChecked());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(speaker->speaking());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(speaker->stops, 2);

        PressKey(kReadAloudKey);
        const QString first = speaker->said.last();
        PressKey(Qt::Key_Right);
        QCOMPARE(speaker->stops, 3);
        QVERIFY(!button->isChecked());
        QTest::qWait(0);
        QCOMPARE(speaker->said.size(), 3);
        PressKey(kReadAloudKey);
        QVERIFY(speaker->said.last() != first); // the next question's own
        checkReadsTheShownQuestion(form, speaker->said.last());
    }

    // Closing a window while it reads silences it.
    void closingAWindowStopsItsReading() {
        QWidget* form = program->Open("Command10");
        PressKey(kReadAloudKey);
        form->parentWidget()->close();
        QTest::qWait(0);
        QCOMPARE(speaker->stops, 1);
    }

    // The voice and pace of the settings are the ones read with.
    void theSettingsVoiceAndPace() {
        program->Open("Command10");
        gSpeechVoice = QStringLiteral("persian-mb-ir1");
        gSpeechRate = -5;
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->voice, QStringLiteral("persian-mb-ir1"));
        QCOMPARE(speaker->rate, -0.5);
    }

    // Without an engine or a Persian voice: one message the first time, then silence, and the
    // window works on.
    void noVoiceIsToldOnce() {
        speaker->present = false;
        QWidget* form = program->Open("Command10");
        PressKey(kReadAloudKey);
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QVERIFY(program->platform.messages.messages[0].prompt.contains(QStringLiteral("خواندن با صدا")));
        PressKey(kReadAloudKey);
        QWidget* exam = program->Open("mnuAzmooneShafahi");
        QVERIFY(exam);
        QTest::qWait(0);
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QVERIFY(speaker->said.isEmpty());
        QVERIFY(!form->findChild<QPushButton*>(QStringLiteral("cmdBekhan"))->isChecked());
        PressKey(Qt::Key_Right);
        QCOMPARE(shown(exam, "lblShomareSoal"), QStringLiteral("2"));
    }

    // A key pressed while the engine is still being made: the reading is handed on at once (the
    // engine reads it once made), and an engine that turns out to have no voice is told of once.
    void beforeTheEngineIsMade() {
        speaker->isKnown = false;
        QWidget* form = program->Open("Command10");
        auto* button = form->findChild<QPushButton*>(QStringLiteral("cmdBekhan"));
        QTRY_COMPARE(speaker->warmUps, 1); // the window stood a moment
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->said.size(), 1);
        QVERIFY(button->isChecked());
        speaker->present = false;
        speaker->open();
        QVERIFY(!button->isChecked());
        QCOMPARE(program->platform.messages.messages.size(), 1);
        PressKey(kReadAloudKey);
        QCOMPARE(program->platform.messages.messages.size(), 1);
        QCOMPARE(speaker->said.size(), 1);
    }

    // Turned off in the settings, the question windows show no speaker and the key reads nothing.
    void turnedOff() {
        QVERIFY(WriteFlag(ConnectionString(), kSpeechOnSetting, false));
        gSpeechRead = false; // as at the next start
        QWidget* form = program->Open("Command10");
        QVERIFY(!form->findChild<QPushButton*>(QStringLiteral("cmdBekhan"))->isVisible());
        PressKey(kReadAloudKey);
        QVERIFY(speaker->said.isEmpty());
    }

    // The oral exam reads each question as it arrives, the time left on its key, and its result
    // once, however often it is graded.
    void theOralExam() {
        program->platform.clock.set(QTime(10, 0));
        gExamTime = QTime(0, 26);
        auto* exam = qobject_cast<frmAzmoon*>(program->Open("mnuAzmooneShafahi"));
        QVERIFY(exam && exam->oral());
        QCOMPARE(shown(exam, "lblTedadeNoeSoal"), QStringLiteral("آزمون شفاهي"));
        QCOMPARE(shown(exam, "lblCount"), QStringLiteral("30"));
        QTest::qWait(0);
        QCOMPARE(speaker->said.size(), 1);
        checkReadsTheShownQuestion(exam, speaker->said[0]);

        PressKey(Qt::Key_Right);
        QCOMPARE(speaker->stops, 1);
        QTest::qWait(0);
        QCOMPARE(speaker->said.size(), 2);
        QCOMPARE(shown(exam, "lblShomareSoal"), QStringLiteral("2"));
        checkReadsTheShownQuestion(exam, speaker->said[1]);
        // Two quick moves read only where they ended.
        PressKey(Qt::Key_Right, Qt::NoModifier, 2);
        QTest::qWait(0);
        QCOMPARE(speaker->said.size(), 3);
        checkReadsTheShownQuestion(exam, speaker->said[2]);

        // Answered by a digit, as in the main exam.
        PressKey(Qt::Key_3);
        QCOMPARE(exam->session().answer(4), 3);

        program->platform.clock.advance(5 * 60 + 1);
        QMetaObject::invokeMethod(exam, "tmrAzmoon_Timer");
        PressKey(frmAzmoon::kTimeLeftKey);
        QCOMPARE(speaker->said.last(), QStringLiteral("بیست دقیقه وقت باقی است"));

        // Time up grades it and reads the result; the grade button grades again, read no more.
        program->platform.clock.advance(20 * 60);
        QMetaObject::invokeMethod(exam, "tmrAzmoon_Timer");
        QVERIFY(exam->graded());
        QCOMPARE(results, 1);
        const auto resultReadings = [this] {
            return speaker->said.filter(QStringLiteral("نتیجه آزمون")).size();
        };
        QCOMPARE(resultReadings(), 1);
        QVERIFY(speaker->said.last().startsWith(QStringLiteral("نتیجه آزمون: ")));
        QVERIFY(!hasUnspokenCharacters(speaker->said.last()));
        const int readings = speaker->said.size();
        ClickButton(exam, "cmdTashih");
        QCOMPARE(results, 2);
        QCOMPARE(resultReadings(), 1);
        // Once graded, moving reads nothing by itself; the key still reads.
        PressKey(Qt::Key_Right);
        QTest::qWait(0);
        QCOMPARE(speaker->said.size(), readings);
        PressKey(kReadAloudKey);
        checkReadsTheShownQuestion(exam, speaker->said.last());
    }

    // The settings window turns reading off and on, sets the pace and lists the speaker's voices
    // when its list is opened; each choice is kept in the bank for the next run, and "حالت پيش
    // فرض" brings the defaults back.
    void theSettings() {
        QWidget* review = program->Open("Command10");
        auto* speakerButton = review->findChild<QPushButton*>(QStringLiteral("cmdBekhan"));
        PressKey(kReadAloudKey);
        QWidget* settings = program->Open("Command9");
        auto* on = settings->findChild<QCheckBox*>(QStringLiteral("chkBekhan"));
        auto* pace = settings->findChild<QSlider*>(QStringLiteral("sldSorat"));
        auto* voices = settings->findChild<QComboBox*>(QStringLiteral("cboSeda"));
        QVERIFY(on && pace && voices);
        QVERIFY(on->isChecked());
        QCOMPARE(pace->value(), 0);
        QCOMPARE(voices->count(), 1); // the engine is not asked until the list opens

        QTest::mouseClick(on, Qt::LeftButton, {}, QPoint(on->width() - 8, on->height() / 2));
        QVERIFY(!on->isChecked());
        pace->setValue(4);
        voices->showPopup();
        QCOMPARE(voices->count(), 3);
        voices->hidePopup();
        voices->setFocus();
        PressKey(Qt::Key_Down, Qt::NoModifier, 2);
        QCOMPARE(voices->currentText(), QStringLiteral("persian-mb-ir1"));

        QCOMPARE(ReadSetting(ConnectionString(), kSpeechOnSetting, QString()), QStringLiteral("0"));
        QCOMPARE(ReadSetting(ConnectionString(), kSpeechRateSetting, QString()), QStringLiteral("4"));
        QCOMPARE(ReadSetting(ConnectionString(), kSpeechVoiceSetting, QString()),
                 QStringLiteral("persian-mb-ir1"));
        // The open window follows at once: its reading stops and its speaker goes.
        QCOMPARE(speaker->stops, 1);
        review = program->Open("Command10");
        QVERIFY(!speakerButton->isVisible());
        PressKey(kReadAloudKey);
        QCOMPARE(speaker->said.size(), 1);

        settings = program->Open("Command9");
        ClickButton(settings, "cmdPF");
        QVERIFY(on->isChecked());
        QCOMPARE(pace->value(), 0);
        QCOMPARE(voices->currentText(), QStringLiteral("صداي پيش فرض"));
        QCOMPARE(ReadSetting(ConnectionString(), kSpeechOnSetting, QString()), QStringLiteral("1"));
        QVERIFY(speakerButton->isVisibleTo(review));
        QCOMPARE(ReadSetting(ConnectionString(), kSpeechVoiceSetting, QStringLiteral("x")), QString());
    }

    // The main exam is not read unasked.
    void theMainExamIsSilent() {
        program->Open("Command6");
        PressKey(Qt::Key_Right);
        QTest::qWait(0);
        QVERIFY(speaker->said.isEmpty());
    }
};

QTEST_MAIN(TestReadAloud)
#include "tst_read_aloud.moc"
