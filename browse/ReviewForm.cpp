#include "browse/ReviewForm.h"

#include "browse/QuestionCard.h"
#include "data/BoundSource.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

namespace {
// The question review window's layout, in twips; the other two windows change a few rows.
const ControlPlace kReviewLayout[] = {
    {"lblEntekhab", 10890, 390, 3015, 255},     {"cboNoeSoal", 10920, 690, 3015, 360},
    {"lblTedadeNoeSoal", 4500, 630, 5145, 675}, {"lblShomareSoal", 13770, 1620, 300, 900},
    {"lblColonShomare", 13650, 1620, 120, 900}, {"lblSoorateSoal", 5850, 1620, 7800, 1080},
    {"Shape1", 5670, 2700, 8505, 30},           {"lblNumber1", 13470, 2820, 300, 900},
    {"lblNumber2", 13470, 3840, 300, 900},      {"lblNumber3", 13470, 4845, 300, 900},
    {"lblNumber4", 13470, 5880, 300, 900},      {"lblColon1", 13350, 2820, 120, 900},
    {"lblColon2", 13350, 3840, 120, 900},       {"lblColon3", 13350, 4845, 120, 900},
    {"lblColon4", 13350, 5880, 120, 900},       {"lblG1", 5850, 2820, 7500, 900},
    {"lblG2", 5850, 3840, 7500, 900},           {"lblG3", 5850, 4845, 7500, 900},
    {"lblG4", 5850, 5880, 7500, 900},           {"imgShekl", 90, 1725, 5625, 5100},
    {"cmdFirst", 7380, 6930, 1215, 585},        {"cmdPrevious", 8700, 6930, 1155, 585},
    {"cmdNext", 9960, 6930, 1215, 585},         {"cmdEnd", 11280, 6930, 1215, 585},
    {"lblTedad", 2010, 7020, 2700, 375},        {"lblColonTedad", 1920, 7020, 90, 375},
    {"lblCount", 960, 7020, 960, 375},
};
} // namespace

ReviewForm::ReviewForm(const Config& config, QWidget* parent) : ChildForm(parent) {
    setWindowTitle(config.caption);
    setAutoFillBackground(true);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, kFormBlue);
    setPalette(blue);

    BuildCategoryChooser(this);
    BuildCardControls(this);
    QuestionCard::Options options;
    if (config.noPictureNote) {
        auto* note =
            new QLabel(QStringLiteral("اين سؤالات در امتحان نمي آيند و فقط براي بايگاني مي باشند"), this);
        note->setObjectName(QStringLiteral("lblTazakor"));
        note->setFont(NazaninBold(20.25));
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        note->hide();
        options.noPictureNote = note;
    }
    PlaceControls(this, kReviewLayout);
    PlaceControls(this, config.layoutChanges); // a window's own rows override the common ones

    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    adoNoeSoal_ = new BoundSource(this);
    adoNoeSoal_->setObjectName(QStringLiteral("adoNoeSoal"));
    card_ = new QuestionCard(this, adoSoalat_, options);
    card_->SetCategories(adoNoeSoal_, findChild<QComboBox*>(QStringLiteral("cboNoeSoal")), config.categorySql,
                         config.fullSql, config.filterPrefix);
}

void ReviewForm::Form_Load() {
    PlaceOnMain(14300, 8560);
    card_->LoadCategories();
}

void ReviewForm::SelectListIndex(int index) {
    card_->SelectCategory(index);
}

void ReviewForm::keyPressEvent(QKeyEvent* event) {
    // The keys the exam answers to move the card here too.
    switch (event->key()) {
    case Qt::Key_PageUp:
        card_->NavigateQuestion(QuestionCard::kFirst);
        break;
    case Qt::Key_PageDown:
        card_->NavigateQuestion(QuestionCard::kLast);
        break;
    case Qt::Key_Left:
        card_->NavigateQuestion(QuestionCard::kPrevious);
        break;
    case Qt::Key_Right:
        card_->NavigateQuestion(QuestionCard::kNext);
        break;
    default:
        ChildForm::keyPressEvent(event);
    }
}
