#include "exam/frmAzmoon.h"

#include "card/CardControls.h"
#include "data/BoundSource.h"
#include "data/SharedState.h"
#include "exam/Circle.h"
#include "rules/ExamAssembly.h"
#include "data/ExamHistory.h"
#include "rules/Grading.h"
#include "exam/PictureButton.h"
#include "exam/frmNatije.h"
#include "platform/Clock.h"
#include "platform/Keys.h"
#include "platform/PersianDigits.h"
#include "platform/Vb.h"
#include "ui/FitText.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"
#include "ui/PictureBox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace look;

namespace {
// Two exam windows would share the one exam table and the answers: one at a time.
QPointer<frmAzmoon> runningExam;

const ControlPlace kExamLayout[] = {
    {"lblTedadeNoeSoal", 4500, 540, 5175, 675},
    {"lblShomareSoal", 13710, 1230, 300, 900},
    {"lblColonShomare", 13590, 1230, 120, 900},
    {"lblSoorateSoal", 5790, 1230, 7800, 1080},
    {"Shape1", 13710, 2430, 405, 405},
    {"Shape2", 13710, 3450, 405, 405},
    {"Shape3", 13710, 4470, 405, 405},
    {"Shape4", 13710, 5490, 405, 405},
    {"lblNumber1", 13410, 2400, 300, 900},
    {"lblNumber2", 13410, 3420, 300, 900},
    {"lblNumber3", 13410, 4440, 300, 900},
    {"lblNumber4", 13410, 5460, 300, 900},
    {"lblColon1", 13290, 2400, 120, 900},
    {"lblColon2", 13290, 3420, 120, 900},
    {"lblColon3", 13290, 4440, 120, 900},
    {"lblColon4", 13290, 5460, 120, 900},
    {"lblG1", 5790, 2400, 7500, 1080},
    {"lblG2", 5790, 3420, 7500, 1080},
    {"lblG3", 5790, 4440, 7500, 1080},
    {"lblG4", 5790, 5460, 7500, 1080},
    {"shpJavab", 13785, 2505, 255, 255},
    {"imgShekl", 90, 1500, 5625, 5070},
    {"cmdFirst", 7710, 6510, 1245, 600},
    {"cmdEnd", 10875, 6510, 1245, 600},
    {"cmdUp", 9660, 6360, 480, 480},
    {"cmdPrevious", 9150, 6870, 480, 480},
    {"cmdDown", 9660, 6870, 480, 480},
    {"cmdNext", 10170, 6870, 480, 480},
    {"Label14", 8670, 7350, 2505, 315},
    {"cmdTashih", 8880, 7590, 2055, 435},
    {"cmdAzmooneMojadad", 8880, 7590, 2055, 435},
    {"lblTedad", 2220, 6690, 2300, 375},
    {"lblColonTedad", 2130, 6690, 90, 375},
    {"lblCount", 1170, 6690, 960, 375},
    {"lblZaman", 2220, 7050, 2300, 375},
    {"lblColonZaman", 2130, 7050, 90, 375},
    {"lblTime", 1170, 7050, 960, 375},
    {"lblNatije2", 2220, 7410, 2300, 375},
    {"lblNatije3", 2130, 7410, 90, 375},
    {"lblNatije", 1170, 7410, 960, 375},
};

QLabel* footLabel(QWidget* form, const char* name, const QString& text,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter) {
    return MakeLabel(form, QString::fromLatin1(name), text, NazaninBold(12), alignment);
}
} // namespace

frmAzmoon::frmAzmoon(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("فرم آزمون"));
    SetFormBackground(this);
    setFocusPolicy(Qt::StrongFocus);
    BuildControls();

    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    card_ = new QuestionCard(this, c_, adoSoalat_, this);

    tmrAzmoon_ = new QTimer(this);
    tmrAzmoon_->setObjectName(QStringLiteral("tmrAzmoon"));
    tmrAzmoon_->setInterval(1000);
    connect(tmrAzmoon_, &QTimer::timeout, this, &frmAzmoon::tmrAzmoon_Timer);
}

void frmAzmoon::setQuestionIDs(const QVector<int>& ids) {
    mistakesExam_ = true;
    questionIds_ = ids;
    c_.lblTedadeNoeSoal->setText(QStringLiteral("آزمون اشتباهات"));
}

void frmAzmoon::BuildControls() {
    c_ = BuildCardControls(
        this, {.textBoxes = false, .ruleUnderQuestion = false, .chooser = false, .navPictures = false});
    c_.lblTedadeNoeSoal->setText(QStringLiteral("آزمون اصلي"));
    for (int k = 0; k < 4; ++k) {
        options_[k] = new Circle(Qt::white, kMarkerGraded, this);
        options_[k]->setObjectName(QStringLiteral("Shape%1").arg(k + 1));
    }
    shpJavab_ = new Circle(Qt::white, kMarkerGraded, this, Circle::Shape::Dot);
    shpJavab_->setObjectName(QStringLiteral("shpJavab"));
    // Names for a screen reader, the option numbers in Persian digits.
    for (int k = 0; k < 4; ++k)
        options_[k]->setAccessibleName(QStringLiteral("گزينه ") + PersianNumber(k + 1));
    shpJavab_->setAccessibleName(QStringLiteral("پاسخ انتخاب شده"));
    c_.imgShekl->setAccessibleName(QStringLiteral("تصوير سؤال"));
    // An option's circle or its text, clicked, chooses it; the marker lets clicks through.
    for (int k = 0; k < 4; ++k) {
        options_[k]->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        for (QWidget* target : {static_cast<QWidget*>(options_[k]), c_.lblG[k]}) {
            target->installEventFilter(this);
            target->setCursor(Qt::PointingHandCursor);
        }
    }

    ShowOnlyPicture(c_.cmdFirst, QStringLiteral(":/buttons/key-first"), QStringLiteral("ابتدا"));
    ShowOnlyPicture(c_.cmdEnd, QStringLiteral(":/buttons/key-end"), QStringLiteral("انتها"));
    ShowOnlyPicture(c_.cmdPrevious, QStringLiteral(":/buttons/key-left"), QStringLiteral("قبلي"));
    ShowOnlyPicture(c_.cmdNext, QStringLiteral(":/buttons/key-right"), QStringLiteral("بعدي"));
    const auto own = [this](const char* name, const char* picture, const char* tooltip,
                            void (frmAzmoon::*slot)()) {
        auto* button = new PictureButton(QString::fromLatin1(picture), QString::fromUtf8(tooltip), this);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    QPushButton* up = own("cmdUp", ":/buttons/key-up", "گزينه بالاتر", &frmAzmoon::cmdUp_Click);
    QPushButton* down =
        own("cmdDown", ":/buttons/key-down", "گزينه پايين‌تر", &frmAzmoon::cmdDown_Click);
    cmdTashih_ = own("cmdTashih", ":/buttons/grade", "تصحيح آزمون", &frmAzmoon::cmdTashih_Click);
    cmdAzmooneMojadad_ =
        own("cmdAzmooneMojadad", ":/buttons/new-exam", "آزمون مجدد", &frmAzmoon::cmdAzmooneMojadad_Click);
    cmdAzmooneMojadad_->hide();
    // Tab reaches the grade button and Enter presses it; the arrow keys still pass to the exam.
    for (QPushButton* button : {cmdTashih_, cmdAzmooneMojadad_}) {
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(true);
    }

    new FitLabel(this, QStringLiteral("Label14"), QStringLiteral("از صفحه كليد استفاده كنيد"), TahomaBold(9),
                 Qt::AlignHCenter | Qt::AlignTop);

    // The foot: the count, the time left and, once graded, the wrong answers.
    c_.lblTedad->setText(QStringLiteral("تعداد سؤالات آزمون"));
    c_.lblTedad->setFont(NazaninBold(12));
    c_.lblColonTedad->setFont(NazaninBold(12));
    c_.lblCount->setFont(NazaninBold(12));
    footLabel(this, "lblZaman", QStringLiteral("زمان بر حسب دقيقه"));
    footLabel(this, "lblColonZaman", QStringLiteral(":"));
    lblTime_ = footLabel(this, "lblTime", QStringLiteral("Time"), Qt::AlignCenter);
    lblNatije2_ = footLabel(this, "lblNatije2", QStringLiteral("تعداد سؤالات نادرست"));
    lblNatije3_ = footLabel(this, "lblNatije3", QStringLiteral(":"));
    lblNatije_ = footLabel(this, "lblNatije", QString(), Qt::AlignCenter);
    SetTextColour(lblNatije_, kMaroon);
    for (QLabel* hidden : {lblNatije_, lblNatije2_, lblNatije3_})
        hidden->hide();

    PlaceLayout(kExamLayout);
    for (QPushButton* button :
         {c_.cmdFirst, c_.cmdEnd, c_.cmdPrevious, c_.cmdNext, up, down, cmdTashih_, cmdAzmooneMojadad_})
        button->setIconSize(button->size());
    shpJavab_->raise();
}

void frmAzmoon::closeEvent(QCloseEvent* event) {
    tmrAzmoon_->stop(); // closing ends the exam, ungraded
    if (runningExam == this)
        runningExam = nullptr;
    ChildForm::closeEvent(event);
}

void frmAzmoon::Form_Load() {
    PlaceOnMain(14300, 8625);
    // Its designed place is on option 1; scaled, its table place may round a pixel off that.
    shpJavab_->move(shpJavab_->x(), markerTop(1));
    Graded = false;
    card_->ResetOptionColors();
    bool assembled = false;
    if (runningExam && runningExam != this) {
        MsgBox(this, QStringLiteral("آزمون ديگري باز است؛ نخست آن را ببنديد."), MsgIcon::Warning, kAppTitle);
    } else {
        runningExam = this;
        assembled = BuildExam();
    }
    gExamStart = Now();
    startMs_ = MonotonicMs();
    c_.lblCount->setText(QString::number(adoSoalat_->recordCount()));
    if (assembled) {
        tmrAzmoon_->start();
    } else {
        // Nothing to answer and nothing to grade: the window stays empty and still.
        cmdTashih_->hide();
    }
}

void frmAzmoon::Refit() {
    // Scaling puts the marker back at its table place; it must stay on the option it marks, by
    // the marker rule at the new factor.
    const int option = markedOption();
    const double before = scaleFactor();
    ChildForm::Refit();
    if (scaleFactor() != before && option)
        shpJavab_->move(shpJavab_->x(), markerTop(option));
}

bool frmAzmoon::BuildExam() {
    const ExamAssemblyResult result =
        mistakesExam_ ? AssembleExamOf(ConnectionString(), questionIds_) : AssembleExam(ConnectionString());
    if (!result.message.isEmpty())
        MsgBox(this, result.message, MsgIcon::Warning, kAppTitle);
    if (!result.ok)
        return false;
    adoSoalat_->setConnectionString(result.examConnectionString);
    adoSoalat_->setRecordSource(QStringLiteral("Select * from tblAzmoon"));
    adoSoalat_->refresh();
    return true;
}

void frmAzmoon::correctOptionChanged(QuestionCard& card) {
    if (Graded)
        card.MarkCorrectOption();
}

void frmAzmoon::afterKeyMove() {
    ShowAnswer();
    // Rows with the same correct option do not repaint by themselves; the red one must follow.
    if (Graded)
        card_->MarkCorrectOption();
}

void frmAzmoon::paintOption(QuestionCard& card, int k, bool correct) {
    CardHooks::paintOption(card, k, correct);
    if (correct || !Graded)
        return;
    // The row's own position, not the shown one: the position label follows the move later.
    const int n = examIds_.indexOf(adoSoalat_->value(QStringLiteral("ID")).toInt()) + 1;
    const int shownCorrect = card.correctOptionText().toInt();
    if (n >= 1 && gAnswers[n] == k && k != shownCorrect && shownCorrect >= 1 && shownCorrect <= 4)
        SetTextColour(c_.lblG[k - 1], kRed);
}

int frmAzmoon::shownPosition() const {
    return static_cast<int>(vb::RoundHalfEven(vb::Val(c_.lblShomareSoal->text())));
}

bool frmAzmoon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            for (int k = 0; k < 4; ++k) {
                if (watched == options_[k] || watched == c_.lblG[k]) {
                    ChooseOption(k + 1);
                    return true;
                }
            }
        }
    }
    return ChildForm::eventFilter(watched, event);
}

int frmAzmoon::markerTop(int option) const {
    return options_[option - 1]->y() + Scaled(5);
}

int frmAzmoon::markedOption() const {
    for (int k = 1; k <= 4; ++k) {
        if (shpJavab_->y() == markerTop(k))
            return k;
    }
    return 0;
}

void frmAzmoon::ChooseOption(int option) {
    shpJavab_->move(shpJavab_->x(), markerTop(option));
    SaveAnswer();
}

void frmAzmoon::keyPressEvent(QKeyEvent* event) {
    if (const int option = keycode::OptionNumber(event->key())) {
        ChooseOption(option);
        return;
    }
    const int code = keycode::FromQtKey(event->key());
    Form_KeyDown(code);
    if (code == 0)
        ChildForm::keyPressEvent(event);
}

void frmAzmoon::cmdUp_Click() {
    Form_KeyDown(keycode::kUp);
}

void frmAzmoon::cmdDown_Click() {
    Form_KeyDown(keycode::kDown);
}

void frmAzmoon::Form_KeyDown(int keyCode) {
    if (keycode::IsMove(keyCode)) {
        card_->NavigateQuestion(keyCode);
    } else if (keyCode == keycode::kUp || keyCode == keycode::kDown) {
        // Only a marker standing exactly on a circle moves: 1 -> 4 going up, 4 -> 1 going down.
        if (const int k = markedOption()) {
            const int next = keyCode == keycode::kUp ? (k + 2) % 4 + 1 : k % 4 + 1;
            shpJavab_->move(shpJavab_->x(), markerTop(next));
        }
    }
    SaveAnswer();
}

void frmAzmoon::SaveAnswer() {
    const int n = shownPosition();
    if (n < 1 || n > adoSoalat_->recordCount())
        return;
    if (const int k = markedOption())
        gAnswers[n] = static_cast<quint8>(k);
}

void frmAzmoon::ShowAnswer() {
    const int n = shownPosition();
    if (n < 1 || n > adoSoalat_->recordCount())
        return;
    const int a = gAnswers[n];
    if (a >= 1 && a <= 4)
        shpJavab_->move(shpJavab_->x(), markerTop(a));
}

void frmAzmoon::tmrAzmoon_Timer() {
    if (lblTime_->text() == QLatin1String("Time"))
        gExamLimit = gExamTime; // later changes in the settings do not touch a running exam
    lblTime_->setText(RemainingText(gExamLimit, MonotonicMs() - startMs_));
    if (lblTime_->text() == QLatin1String("00:00")) {
        // Stopped before anything modal, so no tick can announce time-up a second time.
        tmrAzmoon_->stop();
        MsgBox(this, QStringLiteral("زمان به پايان رسيد"), MsgIcon::None, QStringLiteral("Ravex V3"));
        GradeExam();
    }
}

void frmAzmoon::GradeExam() {
    tmrAzmoon_->stop();
    const bool gradedBefore = Graded; // a second grading shows the result again, kept once
    Graded = true;
    const int size = std::min(adoSoalat_->recordCount(), kExamSize);
    QVector<QVariant> correctOptions;
    examIds_.clear();
    for (const QVariantList& row :
         adoSoalat_->firstRows({QStringLiteral("G_Sahih"), QStringLiteral("ID")}, size)) {
        correctOptions.append(row.value(0));
        examIds_.append(row.value(1).toInt());
    }
    card_->setPosition(QStringLiteral("1"));
    ShowAnswer();
    card_->MarkCorrectOption();

    const int passMark = ScaledPassMark(gPassMark, size);
    const ExamGrade grade = GradeAnswers(correctOptions, gAnswers, passMark, size);
    if (!gradedBefore) {
        GradedExam kept{NowDateTime(),  (MonotonicMs() - startMs_) / 1000,
                        passMark,       grade.correct,
                        grade.wrong,    grade.passed,
                        mistakesExam_,  examIds_,
                        correctOptions, {}};
        for (int i = 1; i <= size; ++i)
            kept.shownChosen.append(gAnswers[i]);
        // A bank that will not keep it still grades it: the progress window says why.
        if (const KeepResult k = KeepExam(ConnectionString(), kept); !k.kept)
            qCWarning(lcHistory) << "the graded exam is not kept:" << k.reason;
        else
            emit examKept();
    }
    gCorrectText = grade.correctText;
    gWrongText = grade.wrongText;
    gElapsedText = ElapsedText(MonotonicMs() - startMs_);
    gVerdictText = grade.verdictText;

    frmNatije result(this);
    result.ShowResult();
    result.setQuestionCount(size);
    ExecModal(&result);
    // However the result window was closed, the wrong count stays on the exam window.
    lblNatije_->setText(gWrongText);
    for (QLabel* label : {lblNatije_, lblNatije2_, lblNatije3_})
        label->show();

    shpJavab_->setFill(kMarkerGraded);
    SetTextColour(lblNatije_, grade.passed ? kMaroon : kRed);
}

void frmAzmoon::cmdTashih_Click() {
    GradeExam();
    cmdTashih_->hide();
    cmdAzmooneMojadad_->show();
}

void frmAzmoon::cmdAzmooneMojadad_Click() {
    // Closing and opening again draws a new exam.
    emit reopenRequested();
}
