#include "progress/frmLeitner.h"

#include "browse/ReviewForm.h"
#include "card/CardControls.h"
#include "card/ReadAloud.h"
#include "card/SharhPanel.h"
#include "data/BoundSource.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "platform/Clock.h"
#include "platform/PersianDigits.h"
#include "platform/Random.h"
#include "progress/ProgressText.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/PictureBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using namespace look;

namespace {
// The review windows' card; the box counts, the chance and the daily setting stand above it where
// the review windows have their category chooser, the move buttons give way to "سؤال بعد".
const ControlPlace kOwnLayout[] = {
    {"lblJabe1", 12300, 90, 1800, 330},         {"lblJabe2", 10400, 90, 1800, 330},
    {"lblJabe3", 8500, 90, 1800, 330},          {"lblJabe4", 6600, 90, 1800, 330},
    {"lblJabe5", 4700, 90, 1800, 330},          {"lblMoed", 10400, 480, 3700, 360},
    {"lblShansQabooli", 4700, 480, 2500, 360},  {"lblMoedBadi", 7300, 480, 3000, 360},
    {"lblJadid", 1800, 90, 2800, 330},          {"txtJadid", 900, 60, 850, 360},
    {"lblTedadeNoeSoal", 4500, 900, 5145, 600}, {"cmdBadi", 9960, 6930, 2535, 585},
    {"lblKhali", 1500, 3000, 11300, 1500},
};

QString boxText(int box, int count) {
    return QStringLiteral("جعبه %1: %2").arg(PersianNumber(box), PersianNumber(count));
}
} // namespace

frmLeitner::frmLeitner(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("جعبه لايتنر"));
    SetFormBackground(this);
    c_ = BuildCardControls(this, {.textBoxes = false, .ruleUnderQuestion = true, .chooser = false});
    c_.lblTedadeNoeSoal->setText(QStringLiteral("جعبه لايتنر"));
    for (int b = 0; b < kLeitnerBoxes; ++b)
        lblJabe_[b] = MakeLabel(this, QStringLiteral("lblJabe%1").arg(b + 1), {}, TahomaBold(9),
                                kAlignRight | Qt::AlignVCenter);
    lblMoed_ =
        MakeLabel(this, QStringLiteral("lblMoed"), {}, NazaninBold(12), kAlignRight | Qt::AlignVCenter);
    lblMoedBadi_ =
        MakeLabel(this, QStringLiteral("lblMoedBadi"), {}, NazaninBold(12), kAlignRight | Qt::AlignVCenter);
    lblShansQabooli_ = MakeLabel(this, QStringLiteral("lblShansQabooli"), {}, NazaninBold(12),
                                 kAlignRight | Qt::AlignVCenter);
    SetTextColour(lblShansQabooli_, kMaroon);
    lblJadid_ = MakeLabel(this, QStringLiteral("lblJadid"), QStringLiteral("سؤال تازه در روز:"),
                          TahomaBold(9), kAlignRight | Qt::AlignVCenter);
    txtJadid_ = new QSpinBox(this);
    txtJadid_->setObjectName(QStringLiteral("txtJadid"));
    txtJadid_->setRange(0, 500);
    txtJadid_->setValue(kNewPerDayDefault);
    lblKhali_ = MakeLabel(this, QStringLiteral("lblKhali"),
                          QStringLiteral("امروز سؤالي براي مرور نمانده است؛ فردا دوباره سر بزنيد."),
                          NazaninBold(16), Qt::AlignCenter);
    lblKhali_->setWordWrap(true);
    lblKhali_->hide();
    cmdBadi_ = new QPushButton(QStringLiteral("سؤال بعد"), this);
    cmdBadi_->setObjectName(QStringLiteral("cmdBadi"));
    cmdBadi_->setFont(TahomaBold(10));
    cmdBadi_->setEnabled(false);
    connect(cmdBadi_, &QPushButton::clicked, this, &frmLeitner::cmdBadi_Click);

    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    sharh_ = new SharhPanel(this, adoSoalat_);
    readAloud_ = new ReadAloud(this, adoSoalat_, c_);
    sharh_->setAllowed(false);
    PlaceLayout(ReviewCardLayout());
    PlaceLayout(kOwnLayout);
    card_ = new QuestionCard(this, c_, adoSoalat_, this);
    // One question at a time: the session moves on by "سؤال بعد" only.
    for (QWidget* w : {static_cast<QWidget*>(c_.cmdFirst), static_cast<QWidget*>(c_.cmdPrevious),
                       static_cast<QWidget*>(c_.cmdNext), static_cast<QWidget*>(c_.cmdEnd)})
        w->hide();
    for (QWidget* option : c_.lblG) {
        option->installEventFilter(this);
        option->setCursor(Qt::PointingHandCursor);
    }
    connect(txtJadid_, &QSpinBox::valueChanged, this, &frmLeitner::txtJadid_Changed);
    setFocusPolicy(Qt::StrongFocus);
}

void frmLeitner::Form_Load() {
    PlaceOnMain(14300, 8560);
    ReadBox();
}

void frmLeitner::ReadBox() {
    box_ = LeitnerBox::Open(ConnectionString(), NowDateTime().date());
    const QSignalBlocker quiet(txtJadid_);
    txtJadid_->setValue(box_.newPerDay());
    txtJadid_->setEnabled(box_.available());
    due_ = box_.dueToday();
    if (!chosen_ || !due_.contains(shownId_))
        ShowNext();
    ShowCounts();
}

void frmLeitner::ShowCounts() {
    const auto counts = box_.boxCounts();
    for (int b = 0; b < kLeitnerBoxes; ++b)
        lblJabe_[b]->setText(boxText(b + 1, counts[b]));
    c_.lblCount->setText(PersianNumber(due_.size()));
    lblMoed_->setText(QStringLiteral("براي امروز: %1 سؤال").arg(PersianNumber(due_.size())));
    const QDate next = box_.nextDue();
    lblMoedBadi_->setText(next.isValid() ? QStringLiteral("نوبت بعد: %1").arg(JalaliDateText(next))
                                         : QString());
    const Readiness r =
        ReadReadiness(ConnectionString(), gPassMark, NowDateTime().date(), box_.readinessPool());
    lblShansQabooli_->setText(QStringLiteral("شانس قبولي: %1").arg(ReadinessText(r)));
}

void frmLeitner::ShowNext() {
    chosen_ = 0;
    cmdBadi_->setEnabled(false);
    sharh_->setAllowed(false);
    shownId_ = due_.value(0);
    const bool any = shownId_ != 0;
    lblKhali_->setVisible(!any);
    for (QWidget* w : {c_.lblSoorateSoal, c_.lblG[0], c_.lblG[1], c_.lblG[2], c_.lblG[3],
                       static_cast<QWidget*>(c_.lblShomareSoal), static_cast<QWidget*>(c_.imgShekl)})
        w->setVisible(any);
    // The options are dealt afresh each time the question is shown.
    order_ = {1, 2, 3, 4};
    for (int k = 3; k > 0; --k)
        std::swap(order_[k], order_[std::min(int(Rnd() * (k + 1)), k)]);
    adoSoalat_->setConnectionString(ConnectionString());
    adoSoalat_->setRecordSource(any ? EngineOf(ConnectionString()).DealtQuestion(shownId_, order_)
                                    : EngineOf(ConnectionString()).QuestionsInOrder({}));
    adoSoalat_->refresh();
    card_->ShowPicture();
    if (!any)
        c_.imgShekl->hide();
    card_->ResetOptionColors();
    card_->setPosition(QStringLiteral("1"));
    setFocus();
}

void frmLeitner::Answer(int option) {
    if (chosen_ || !shownId_ || option < 1 || option > 4)
        return;
    chosen_ = option;
    const bool right = card_->correctOptionText() == QString::number(option);
    box_.answer(shownId_, right);
    ++answeredToday_;
    card_->MarkCorrectOption();
    sharh_->setAllowed(true);
    if (!sharh_->isOpen())
        sharh_->cmdSharh_Click();
    due_ = box_.dueToday();
    due_.removeAll(shownId_); // a question missed today comes again tomorrow
    cmdBadi_->setEnabled(true);
    setFocus(); // the keys stay with the window, not the button
    ShowCounts();
}

void frmLeitner::cmdBadi_Click() {
    if (chosen_)
        ShowNext();
}

void frmLeitner::txtJadid_Changed(int perDay) {
    box_.setNewPerDay(perDay);
    due_ = box_.dueToday();
    if (chosen_)
        due_.removeAll(shownId_);
    else if (!shownId_)
        ShowNext();
    ShowCounts();
}

void frmLeitner::correctOptionChanged(QuestionCard& card) {
    if (chosen_)
        card.MarkCorrectOption();
    else
        card.ResetOptionColors();
}

void frmLeitner::paintOption(QuestionCard& card, int k, bool correct) {
    QColor colour(Qt::black);
    if (chosen_ && correct)
        colour = kCorrectGreen;
    else if (chosen_ && k == chosen_)
        colour = kRed;
    SetTextColour(card.controls().lblG[k - 1], colour);
}

bool frmLeitner::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < 4; ++k) {
            if (watched == c_.lblG[k]) {
                Answer(k + 1);
                return true;
            }
        }
    }
    return ChildForm::eventFilter(watched, event);
}

void frmLeitner::keyPressEvent(QKeyEvent* event) {
    // The digits 1 to 4, Latin or Persian, on the main row or the keypad.
    int digit = -1;
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_4)
        digit = key - Qt::Key_0;
    else if (key >= 0x06F1 && key <= 0x06F4)
        digit = key - 0x06F0;
    else if (event->text().size() == 1 && event->text().at(0).isDigit())
        digit = event->text().at(0).digitValue();
    if (digit >= 1 && digit <= 4) {
        Answer(digit);
        return;
    }
    if (chosen_ && (event->key() == Qt::Key_Right || event->key() == Qt::Key_PageDown)) {
        ShowNext();
        return;
    }
    ChildForm::keyPressEvent(event);
}
