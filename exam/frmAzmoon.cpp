#include "exam/frmAzmoon.h"

#include "card/CardControls.h"
#include "card/ReadAloud.h"
#include "card/SharhPanel.h"
#include "data/BoundSource.h"
#include "data/ExamHistory.h"
#include "data/ExamSnapshot.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "exam/Circle.h"
#include "exam/ExamOverview.h"
#include "exam/PictureButton.h"
#include "exam/frmNatije.h"
#include "platform/Clock.h"
#include "platform/Keys.h"
#include "platform/PersianDigits.h"
#include "rules/ExamAssembly.h"
#include "rules/LeitnerBox.h"
#include "rules/Utterance.h"
#include "ui/FitText.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"
#include "ui/PictureBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

using namespace look;

namespace {
// Every exam window open: they share the bank's one exam table, so only one may be taken at a
// time; a graded one keeps its own copy when another takes the table.
QList<QPointer<frmAzmoon>>& examWindows() {
    static QList<QPointer<frmAzmoon>> windows;
    return windows;
}

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
    // Below option 4 on the right, where nothing else stands.
    {"chkAlamat", 12150, 6660, 2025, 390},
};

// Once graded: the explanation's button under the flag box, its strip in the top-right corner,
// right of the title and above the question.
const ControlPlace kSharhLayout[] = {
    {"cmdSharh", 12960, 7140, 1140, 390},
    {"scrSharh", 9780, 75, 4350, 1110},
};

// The speaker under the flag box, left of where the explanation's button comes once graded.
const ControlPlace kReadAloudLayout[] = {
    {"cmdBekhan", 12240, 7140, 600, 390},
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
    // The explanation is for a graded exam only: it would give the answer away.
    sharh_ = new SharhPanel(this, adoSoalat_);
    sharh_->setAllowed(false);
    PlaceLayout(kSharhLayout);
    readAloud_ = new ReadAloud(this, adoSoalat_, c_);
    PlaceLayout(kReadAloudLayout);
    auto* timeLeft = new QShortcut(QKeySequence(kTimeLeftKey), this);
    timeLeft->setContext(Qt::WidgetWithChildrenShortcut);
    connect(timeLeft, &QShortcut::activated, this, [this] {
        if (readAloud_->button()->isVisible())
            SayTimeLeft();
    });

    tmrAzmoon_ = new QTimer(this);
    tmrAzmoon_->setObjectName(QStringLiteral("tmrAzmoon"));
    tmrAzmoon_->setInterval(1000);
    // A coarse timer may fire a few milliseconds early; the session counts each tick as a second.
    tmrAzmoon_->setTimerType(Qt::PreciseTimer);
    connect(adoSoalat_, &BoundSource::moveComplete, this, &frmAzmoon::adoSoalat_MoveComplete);
    connect(tmrAzmoon_, &QTimer::timeout, this, &frmAzmoon::tmrAzmoon_Timer);
}

void frmAzmoon::setQuestionIDs(const QVector<int>& ids) {
    mistakesExam_ = true;
    questionIds_ = ids;
    c_.lblTedadeNoeSoal->setText(QStringLiteral("آزمون اشتباهات"));
}

void frmAzmoon::setOral() {
    oral_ = true;
    c_.lblTedadeNoeSoal->setText(QStringLiteral("آزمون شفاهي"));
    readAloud_->setAlwaysShown();
    readAloud_->setReadOnArrival(true);
}

ChildForm* NewOralExam(QWidget* parent) {
    auto* exam = new frmAzmoon(parent);
    exam->setOral();
    return exam;
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
    // An option's circle, its number or its text, clicked, chooses it; the marker lets clicks
    // through.
    for (int k = 0; k < 4; ++k) {
        lblNumber_[k] = findChild<QLabel*>(QStringLiteral("lblNumber%1").arg(k + 1));
        options_[k]->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        for (QWidget* target :
             {static_cast<QWidget*>(options_[k]), c_.lblG[k], static_cast<QWidget*>(lblNumber_[k])}) {
            if (!target)
                continue;
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

    pnlFehrest_ = new ExamOverview(this);
    connect(pnlFehrest_, &ExamOverview::cellClicked, this, &frmAzmoon::GoToQuestion);
    chkAlamat_ = new QCheckBox(QStringLiteral("علامت براي مرور (F3)"), this);
    chkAlamat_->setObjectName(QStringLiteral("chkAlamat"));
    chkAlamat_->setFont(Tahoma(8));
    chkAlamat_->setLayoutDirection(Qt::RightToLeft);
    chkAlamat_->setToolTip(QStringLiteral("اين سؤال را براي نگاهي دوباره علامت بزنيد (F3)"));
    chkAlamat_->setFocusPolicy(Qt::NoFocus); // the keys stay with the exam
    connect(chkAlamat_, &QCheckBox::clicked, this, &frmAzmoon::chkAlamat_Click);

    PlaceLayout(kExamLayout);
    PlaceLayout(ExamOverview::Layout());
    for (QPushButton* button :
         {c_.cmdFirst, c_.cmdEnd, c_.cmdPrevious, c_.cmdNext, up, down, cmdTashih_, cmdAzmooneMojadad_})
        button->setIconSize(button->size());
    shpJavab_->raise();
}

frmAzmoon::~frmAzmoon() {
    if (!ownCopy_.isEmpty()) {
        adoSoalat_->setRecordSource(QString());
        adoSoalat_->refresh(); // lets go of the copy before it is removed
        RemoveExamSnapshot(ownCopy_);
    }
}

void frmAzmoon::closeEvent(QCloseEvent* event) {
    tmrAzmoon_->stop(); // closing ends the exam, ungraded
    examWindows().removeAll(this);
    ChildForm::closeEvent(event);
}

QString frmAzmoon::RefusalToOpen(const frmAzmoon* opening) {
    for (const QPointer<frmAzmoon>& other : examWindows()) {
        if (other && other != opening && !other->graded())
            return QStringLiteral("آزمون ديگري باز است؛ نخست آن را ببنديد.");
    }
    return {};
}

void frmAzmoon::Form_Load() {
    PlaceOnMain(14300, 8625);
    card_->ResetOptionColors();
    if (const QString why = RefusalToOpen(this); !why.isEmpty()) {
        MsgBox(this, why, MsgIcon::Warning, kAppTitle);
        opened_ = false;
        return;
    }
    // A graded exam left open keeps showing its own questions once this one takes the table.
    for (const QPointer<frmAzmoon>& other : examWindows()) {
        if (other && other != this)
            other->KeepOwnCopy();
    }
    if (!BuildExam()) {
        opened_ = false;
        return;
    }
    examWindows().append(this);
    StartSession();
    c_.lblCount->setText(QString::number(adoSoalat_->recordCount()));
    tmrAzmoon_->start();
    // The first question is read once the window shows it.
    if (oral_)
        readAloud_->ReadSoon();
}

void frmAzmoon::SayTimeLeft() {
    QString shown = lblTime_->text();
    if (session_.started() && !session_.graded()) {
        const QTime limit = session_.limit().isValid() ? session_.limit() : gExamTime;
        shown = RemainingText(limit, session_.elapsedMs(MonotonicMs()));
    }
    if (const QString said = TimeLeftUtterance(shown); !said.isEmpty())
        readAloud_->Say(said);
}

void frmAzmoon::StartSession() {
    const int size = std::min(adoSoalat_->recordCount(), kExamSize);
    QVector<ExamQuestion> questions;
    for (const QVariantList& row :
         adoSoalat_->firstRows({QStringLiteral("ID"), QStringLiteral("G_Sahih")}, size)) {
        // A correct option that is not a whole number 1..4 never matches an answer.
        bool number = false;
        const int correct = row.value(1).toString().toInt(&number);
        const int id = row.value(0).toInt();
        std::array<int, 4> order{};
        for (const ExamOrderRow& d : std::as_const(dealt_))
            if (d.id == id)
                order = d.order;
        questions.append({id, number && correct >= 1 && correct <= 4 ? correct : 0, order});
    }
    // Reading the rows left the source back on its first row, announced as a move from the last.
    card_->setPosition(QStringLiteral("1"));
    session_ = ExamSession(questions, mistakesExam_);
    session_.start(MonotonicMs());
    SaveAnswer();
    ShowAnswer();
    ShowOverview();
}

void frmAzmoon::KeepOwnCopy() {
    if (!session_.graded() || !ownCopy_.isEmpty())
        return;
    const QString copy = MakeExamSnapshot(adoSoalat_, session_.size());
    if (copy.isEmpty()) {
        qCWarning(lcHistory) << "a graded exam could not keep its own copy of its questions";
        return;
    }
    const int position = session_.position();
    ownCopy_ = copy;
    adoSoalat_->setConnectionString(copy);
    adoSoalat_->refresh();
    card_->setPosition(QStringLiteral("1"));
    session_.moveTo(1);
    for (int p = 1; p < position; ++p)
        card_->NavigateQuestion(keycode::kRight);
    ShowAnswer();
}

void frmAzmoon::Refit() {
    // Scaling puts the marker back at its table place; it stays on the option it marks.
    ChildForm::Refit();
    ShowAnswer();
}

bool frmAzmoon::BuildExam() {
    const ExamAssemblyResult result =
        mistakesExam_ ? AssembleExamOf(ConnectionString(), questionIds_) : AssembleExam(ConnectionString());
    if (!result.message.isEmpty())
        MsgBox(this, result.message, MsgIcon::Warning, kAppTitle);
    if (!result.ok)
        return false;
    dealt_ = result.dealt;
    adoSoalat_->setConnectionString(result.examConnectionString);
    adoSoalat_->setRecordSource(sql::ExamQuestions());
    return adoSoalat_->refresh() && adoSoalat_->recordCount() > 0;
}

void frmAzmoon::correctOptionChanged(QuestionCard& card) {
    if (session_.graded())
        card.MarkCorrectOption();
}

void frmAzmoon::afterKeyMove() {
    ShowAnswer();
    // Rows with the same correct option do not repaint by themselves; the red one must follow.
    if (session_.graded())
        card_->MarkCorrectOption();
}

void frmAzmoon::paintOption(QuestionCard& card, int k, bool correct) {
    CardHooks::paintOption(card, k, correct);
    if (correct || !session_.graded())
        return;
    // The row's own position, not the shown one: the session follows the move later.
    const int n = session_.positionOf(adoSoalat_->value(QStringLiteral("ID")).toInt());
    const int shownCorrect = card.correctOptionText().toInt();
    if (n >= 1 && session_.answer(n) == k && k != shownCorrect && shownCorrect >= 1 && shownCorrect <= 4)
        SetTextColour(c_.lblG[k - 1], kRed);
}

void frmAzmoon::adoSoalat_MoveComplete() {
    if (!adoSoalat_->isBOF() && !adoSoalat_->isEOF())
        session_.arrivedAt(adoSoalat_->value(QStringLiteral("ID")).toInt());
    ShowOverview();
}

void frmAzmoon::ShowOverview() {
    pnlFehrest_->showSession(session_);
    chkAlamat_->setChecked(session_.flagged(session_.position()));
}

void frmAzmoon::chkAlamat_Click(bool checked) {
    session_.setFlagged(session_.position(), checked);
    ShowOverview();
}

void frmAzmoon::GoToQuestion(int position) {
    // One move straight there: the questions in between are not shown on the way.
    card_->NavigateTo(position);
    setFocus(Qt::OtherFocusReason);
}

bool frmAzmoon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            for (int k = 0; k < 4; ++k) {
                if (watched == options_[k] || watched == c_.lblG[k] || watched == lblNumber_[k]) {
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

void frmAzmoon::ChooseOption(int option) {
    session_.choose(option);
    ShowAnswer();
    SaveAnswer();
}

void frmAzmoon::keyPressEvent(QKeyEvent* event) {
    if (event->key() == kFlagKey && event->modifiers() == Qt::NoModifier) {
        session_.toggleFlag();
        ShowOverview();
        return;
    }
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
    } else if (keyCode == keycode::kUp) {
        session_.markerUp();
        ShowAnswer();
    } else if (keyCode == keycode::kDown) {
        session_.markerDown();
        ShowAnswer();
    }
    SaveAnswer();
}

void frmAzmoon::SaveAnswer() {
    gAnswers.fill(0);
    for (int i = 1; i <= session_.size() && i <= kExamSize; ++i)
        gAnswers[i] = static_cast<quint8>(session_.answer(i));
}

void frmAzmoon::ShowAnswer() {
    const int a = session_.answer();
    if (a >= 1 && a <= 4)
        shpJavab_->move(shpJavab_->x(), markerTop(a));
}

void frmAzmoon::tmrAzmoon_Timer() {
    if (!session_.started())
        return;
    const ExamSession::Tick t = session_.tick(MonotonicMs(), gExamTime);
    gExamLimit = session_.limit();
    lblTime_->setText(t.text);
    if (t.timeUp) {
        // Stopped before anything modal, so no tick can announce time-up a second time.
        tmrAzmoon_->stop();
        if (asking_) {
            // The check before grading gives way: the grade button's handler announces it.
            timeUpWhileAsking_ = true;
            CloseQuestion();
            return;
        }
        MsgBox(this, QStringLiteral("زمان به پايان رسيد"), MsgIcon::None, QStringLiteral("Ravex V3"));
        GradeExam();
    }
}

void frmAzmoon::GradeExam() {
    tmrAzmoon_->stop();
    if (session_.isEmpty())
        return;
    // A graded exam is reviewed at the learner's pace: questions are read on request only.
    readAloud_->setReadOnArrival(false);
    readAloud_->Stop();
    const bool gradedBefore = session_.graded(); // a second grading shows the result again, kept once
    const int passMark = ScaledPassMark(gPassMark, session_.size());
    const ExamResult result = session_.grade(passMark, MonotonicMs());
    SaveAnswer();
    card_->NavigateQuestion(keycode::kPageUp);
    card_->setPosition(QStringLiteral("1"));
    session_.moveTo(1);
    ShowAnswer();
    card_->MarkCorrectOption();

    if (!gradedBefore) {
        GradedExam kept{NowDateTime(),
                        result.elapsedMs / 1000,
                        passMark,
                        result.correct,
                        result.wrong,
                        result.passed,
                        mistakesExam_,
                        {},
                        {},
                        {}};
        for (const QuestionOutcome& o : result.outcomes) {
            kept.ids.append(o.id);
            kept.shownCorrect.append(o.correct >= 1 ? QVariant(o.correct) : QVariant());
            kept.shownChosen.append(o.chosen);
        }
        // A bank that will not keep it still grades it: the progress window says why.
        if (const KeepResult k = KeepExam(ConnectionString(), kept); !k.kept)
            qCWarning(lcHistory) << "the graded exam is not kept:" << k.reason;
        else {
            FeedExamToLeitner(ConnectionString(), result.outcomes, NowDateTime().date());
            emit examKept();
        }
    }
    gCorrectText = result.correctText();
    gWrongText = result.wrongText();
    gElapsedText = result.elapsedText();
    gVerdictText = result.verdictText();

    if (oral_ && !resultSaid_) {
        resultSaid_ = true;
        readAloud_->Say(ResultUtterance(result.questions, result.correct, result.wrong, result.passed));
    }

    frmNatije window(this);
    window.ShowResult(result);
    ExecModal(&window);
    // However the result window was closed, the wrong count stays on the exam window.
    lblNatije_->setText(result.wrongText());
    for (QLabel* label : {lblNatije_, lblNatije2_, lblNatije3_})
        label->show();

    shpJavab_->setFill(kMarkerGraded);
    SetTextColour(lblNatije_, result.passed ? kMaroon : kRed);
    ShowOverview();
    sharh_->setAllowed(true);
}

void frmAzmoon::cmdTashih_Click() {
    // Questions never shown or flagged: asked first, once the exam is running.
    if (gCheckBeforeGrading && !session_.graded()) {
        if (const QString question = BeforeGradingQuestion(session_); !question.isEmpty()) {
            asking_ = true;
            const Answer answer = AskYesNo(this, question, kAppTitle);
            asking_ = false;
            if (timeUpWhileAsking_) {
                timeUpWhileAsking_ = false;
                MsgBox(this, QStringLiteral("زمان به پايان رسيد"), MsgIcon::None, QStringLiteral("Ravex V3"));
                GradeExam();
                return;
            }
            if (answer != Answer::Yes) {
                setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    }
    GradeExam();
    cmdTashih_->hide();
    cmdAzmooneMojadad_->show();
    // The keys go back to the graded card to review it; a new exam needs a deliberate press.
    setFocus(Qt::OtherFocusReason);
}

void frmAzmoon::cmdAzmooneMojadad_Click() {
    // Closing and opening again draws a new exam.
    emit reopenRequested();
}
