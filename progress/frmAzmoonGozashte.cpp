#include "progress/frmAzmoonGozashte.h"

#include "browse/ReviewForm.h"
#include "card/CardControls.h"
#include "card/ReadAloud.h"
#include "card/SharhPanel.h"
#include "data/BoundSource.h"
#include "data/ExamHistory.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "platform/Keys.h"
#include "progress/ProgressGrid.h"
#include "progress/ProgressText.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/PictureBox.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

using namespace look;

namespace {
// The review windows' card; the exam's summary where they have their category chooser, and its
// categories in a band under the card.
const ControlPlace kOwnLayout[] = {
    {"lblAzmoon", 9750, 150, 4400, 1350},  {"lblKhali", 1500, 3600, 11300, 900},
    {"lblPasokh", 120, 7440, 4590, 375},   {"scrSharh", 4830, 7530, 9300, 600},
    {"lblMozooat", 6150, 8220, 8000, 330}, {"grdMozooat", 6150, 8580, 8000, 1200},
    {"lblTedad", 2010, 7020, 2700, 375},
};

QString option(const QVariant& k) {
    return QStringLiteral("گزينه %1").arg(PersianNumber(k.toInt()));
}
} // namespace

frmAzmoonGozashte::frmAzmoonGozashte(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("مرور آزمون"));
    SetFormBackground(this);
    c_ = BuildCardControls(this, {.textBoxes = false, .ruleUnderQuestion = true, .chooser = false});
    c_.lblTedadeNoeSoal->setText(QStringLiteral("مرور آزمون"));
    c_.lblTedad->setText(QStringLiteral("تعداد سؤالات اين آزمون"));
    for (int k = 1; k <= 4; ++k) {
        optionLabels_ << c_.lblG[k - 1];
        for (const QString& name : {QStringLiteral("lblNumber%1"), QStringLiteral("lblColon%1")})
            if (auto* label = findChild<QLabel*>(name.arg(k)))
                optionLabels_ << label;
    }
    lblAzmoon_ =
        MakeLabel(this, QStringLiteral("lblAzmoon"), {}, TahomaBold(10), kAlignRight | Qt::AlignVCenter);
    lblAzmoon_->setWordWrap(true);
    lblPasokh_ =
        MakeLabel(this, QStringLiteral("lblPasokh"), {}, NazaninBold(12), kAlignRight | Qt::AlignVCenter);
    lblKhali_ = MakeLabel(this, QStringLiteral("lblKhali"), {}, NazaninBold(16), Qt::AlignCenter);
    lblKhali_->setWordWrap(true);
    lblKhali_->hide();
    MakeLabel(this, QStringLiteral("lblMozooat"), QStringLiteral("پاسخ درست در هر موضوع در اين آزمون"),
              TahomaBold(10), kAlignRight | Qt::AlignVCenter);
    grdMozooat_ = MakeCategoryGrid(this);

    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    sharh_ = new SharhPanel(this, adoSoalat_);
    readAloud_ = new ReadAloud(this, adoSoalat_, c_);
    QWidget::setTabOrder(c_.cmdFirst, sharh_->button());
    PlaceLayout(ReviewCardLayout());
    PlaceLayout(kOwnLayout);

    card_ = new QuestionCard(this, c_, adoSoalat_, this);
    card_->AddMoveShortcuts();
    ShowCard(false, QStringLiteral("آزموني براي مرور انتخاب نشده است."));
}

void frmAzmoonGozashte::Form_Load() {
    PlaceOnMain(14300, 10250);
}

void frmAzmoonGozashte::ShowExam(int examId) {
    examId_ = examId;
    const PastExam past = ReadPastExam(ConnectionString(), examId);
    const KeptExamRow& e = past.exam;
    if (e.examId > 0) {
        lblAzmoon_->setText(ExamSummaryText(e) + QStringLiteral("، ") +
                            (e.passed ? QStringLiteral("قبول") : QStringLiteral("مردود")));
        SetTextColour(lblAzmoon_, e.passed ? kCorrectGreen : kRed);
    } else {
        lblAzmoon_->clear();
    }
    FillCategoryGrid(grdMozooat_, past.categories);

    // Read whatever the history says, so that a failure leaves an empty card, never the last exam's.
    adoSoalat_->setConnectionString(ConnectionString());
    adoSoalat_->setRecordSource(past.problem.isEmpty()
                                    ? EngineOf(ConnectionString()).PastExamQuestions(examId)
                                    : EngineOf(ConnectionString()).QuestionsInOrder({}));
    adoSoalat_->refresh();
    const int count = adoSoalat_->recordCount();
    if (past.problem.isEmpty() && count == 0) {
        qCWarning(lcHistory) << "the questions of kept exam" << examId << "do not read";
        ShowCard(false, QStringLiteral("سؤالهاي اين آزمون خوانده نشد."));
        return;
    }
    ShowCard(past.problem.isEmpty(), past.problem);
    c_.lblCount->setText(QString::number(count));
    card_->ShowPicture();
    card_->setPosition(QStringLiteral("1"));
    afterKeyMove();
}

void frmAzmoonGozashte::ShowCard(bool shown, const QString& reason) {
    lblKhali_->setText(reason);
    lblKhali_->setVisible(!shown);
    for (QWidget* w :
         {c_.lblSoorateSoal, static_cast<QWidget*>(c_.lblShomareSoal), static_cast<QWidget*>(lblPasokh_)})
        w->setVisible(shown);
    if (auto* colon = findChild<QLabel*>(QStringLiteral("lblColonShomare")))
        colon->setVisible(shown);
    for (QWidget* w : optionLabels_)
        w->setVisible(shown);
    if (!shown) {
        c_.lblCount->setText(QStringLiteral("0"));
        c_.imgShekl->hide();
        sharh_->setAllowed(false);
    }
}

void frmAzmoonGozashte::afterKeyMove() {
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF())
        return;
    // The rows are in the order they were asked, not in ID order: the counter follows the row.
    card_->setPosition(adoSoalat_->value(QStringLiteral("Position")).toString());
    const bool inBank = adoSoalat_->value(QStringLiteral("InBank")).toInt() == 1;
    for (QWidget* w : optionLabels_)
        w->setVisible(inBank);
    sharh_->setAllowed(inBank);
    card_->ResetOptionColors();
    if (!inBank) {
        // Its place in the exam stays, with the number it had in the bank.
        if (auto* question = qobject_cast<QLabel*>(c_.lblSoorateSoal))
            question->setText(QStringLiteral("سؤال %1، اين سؤال ديگر در بانك نيست")
                                  .arg(PersianNumber(adoSoalat_->value(QStringLiteral("ID")).toInt())));
    }

    const QVariant chosen = adoSoalat_->value(QStringLiteral("Chosen"));
    const QVariant correct = adoSoalat_->value(QStringLiteral("G_Sahih"));
    const bool answered = !chosen.isNull() && chosen.toInt() >= 1 && chosen.toInt() <= 4;
    const bool right = answered && chosen.toInt() == correct.toInt();
    if (inBank) {
        card_->MarkCorrectOption();
        if (answered && !right)
            SetTextColour(c_.lblG[chosen.toInt() - 1], kRed);
    }
    // Said in words as well as in colour.
    if (correct.isNull() || correct.toInt() < 1 || correct.toInt() > 4)
        lblPasokh_->setText(answered ? QStringLiteral("پاسخ شما %1").arg(option(chosen))
                                     : QStringLiteral("بي پاسخ"));
    else if (!answered)
        lblPasokh_->setText(QStringLiteral("بي پاسخ؛ پاسخ درست %1").arg(option(correct)));
    else if (right)
        lblPasokh_->setText(QStringLiteral("پاسخ شما %1، درست").arg(option(chosen)));
    else
        lblPasokh_->setText(
            QStringLiteral("پاسخ شما %1، نادرست؛ پاسخ درست %2").arg(option(chosen), option(correct)));
    SetTextColour(lblPasokh_, right ? kCorrectGreen : kRed);
}
