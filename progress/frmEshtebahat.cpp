#include "progress/frmEshtebahat.h"

#include "browse/ReviewForm.h"
#include "card/CardControls.h"
#include "card/ReadAloud.h"
#include "card/SharhPanel.h"
#include "data/BoundSource.h"
#include "data/ExamHistory.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "exam/frmAzmoon.h"
#include "platform/Keys.h"
#include "progress/ProgressText.h"
#include "ui/Layout.h"
#include "ui/Look.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>

using namespace look;

namespace {
// The review windows' card, with the exam button where they have their category chooser.
const ControlPlace kOwnLayout[] = {
    {"cmdAzmooneEshtebahat", 10920, 540, 3015, 480},
    {"lblKhali", 1500, 3600, 11300, 900},
    {"lblDafaat", 960, 7440, 3750, 375},
    {"scrSharh", 4830, 7530, 9300, 600}, // the review strip, beside the miss count
};
} // namespace

frmEshtebahat::frmEshtebahat(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("مرور اشتباهات"));
    SetFormBackground(this);
    c_ = BuildCardControls(this, {.textBoxes = false, .ruleUnderQuestion = true, .chooser = false});
    c_.lblTedadeNoeSoal->setText(QStringLiteral("مرور اشتباهات"));
    cmdAzmooneEshtebahat_ = new QPushButton(QStringLiteral("آزمون اشتباهات"), this);
    cmdAzmooneEshtebahat_->setObjectName(QStringLiteral("cmdAzmooneEshtebahat"));
    cmdAzmooneEshtebahat_->setFont(TahomaBold(10));
    connect(cmdAzmooneEshtebahat_, &QPushButton::clicked, this, &frmEshtebahat::cmdAzmooneEshtebahat_Click);
    lblKhali_ =
        MakeLabel(this, QStringLiteral("lblKhali"),
                  QStringLiteral("اشتباهي براي مرور نمانده است؛ هر سؤالي كه در آزمون نادرست پاسخ "
                                 "دهيد اينجا مي‌آيد تا درست پاسخش دهيد."),
                  NazaninBold(16), Qt::AlignCenter);
    lblKhali_->setWordWrap(true);
    lblKhali_->hide();
    lblDafaat_ =
        MakeLabel(this, QStringLiteral("lblDafaat"), {}, NazaninBold(12), kAlignRight | Qt::AlignVCenter);
    SetTextColour(lblDafaat_, kMaroon);
    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    sharh_ = new SharhPanel(this, adoSoalat_);
    readAloud_ = new ReadAloud(this, adoSoalat_, c_);
    QWidget::setTabOrder(c_.cmdFirst, sharh_->button());
    PlaceLayout(ReviewCardLayout());
    PlaceLayout(kOwnLayout);

    card_ = new QuestionCard(this, c_, adoSoalat_, this);
    card_->AddMoveShortcuts();
}

void frmEshtebahat::Form_Load() {
    PlaceOnMain(14300, 8560);
    ReadMistakes();
}

void frmEshtebahat::ReadMistakes() {
    ids_.clear();
    misses_.clear();
    for (const Mistake& m : Mistakes(ConnectionString())) {
        ids_.append(m.id);
        misses_.append(m.misses);
    }
    // The rows come in the list's order (most missed first), read through the collections' queries.
    adoSoalat_->setConnectionString(ConnectionString());
    adoSoalat_->setRecordSource(EngineOf(ConnectionString()).QuestionsInOrder(ids_));
    adoSoalat_->refresh();
    // A question since taken out of the bank drops out of the list as well.
    if (adoSoalat_->recordCount() != ids_.size()) {
        QVector<int> present, presentMisses;
        for (bool more = adoSoalat_->moveFirst(); more && !adoSoalat_->isEOF();
             more = adoSoalat_->moveNext()) {
            const int id = adoSoalat_->value(QStringLiteral("ID")).toInt();
            present.append(id);
            presentMisses.append(misses_.value(ids_.indexOf(id)));
        }
        ids_ = present;
        misses_ = presentMisses;
        adoSoalat_->moveFirst();
    }
    const bool any = !ids_.isEmpty();
    card_->ShowPicture();
    c_.lblCount->setText(QString::number(ids_.size()));
    card_->setPosition(QStringLiteral("1"));
    afterKeyMove();
    lblKhali_->setVisible(!any);
    cmdAzmooneEshtebahat_->setEnabled(any);
    for (QWidget* w : {c_.lblSoorateSoal, c_.lblG[0], c_.lblG[1], c_.lblG[2], c_.lblG[3],
                       static_cast<QWidget*>(c_.lblShomareSoal)})
        w->setVisible(any);
}

void frmEshtebahat::afterKeyMove() {
    const int n = ids_.indexOf(adoSoalat_->value(QStringLiteral("ID")).toInt());
    if (n < 0) {
        lblDafaat_->clear();
        return;
    }
    card_->setPosition(QString::number(n + 1));
    lblDafaat_->setText(QStringLiteral("%1 بار نادرست پاسخ داده شده").arg(PersianNumber(misses_[n])));
}

void frmEshtebahat::cmdAzmooneEshtebahat_Click() {
    emit openRequested(QStringLiteral("frmAzmooneEshtebahat"));
}

ChildForm* NewMistakesExam(QWidget* parent) {
    auto* exam = new frmAzmoon(parent);
    QVector<int> ids;
    for (const Mistake& m : Mistakes(ConnectionString()))
        ids.append(m.id);
    exam->setQuestionIDs(ids);
    return exam;
}
