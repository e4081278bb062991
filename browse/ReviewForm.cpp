#include "browse/ReviewForm.h"

#include "card/CardControls.h"
#include "card/ReadAloud.h"
#include "card/SharhPanel.h"
#include "data/BoundSource.h"
#include "platform/Keys.h"
#include "ui/Look.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace {
// The question review window's layout, in twips; the other two windows change a few rows. The
// explanation's button stands beside the move buttons and its strip under them.
const ControlPlace kChooserLayout[] = {
    {"lblEntekhab", 10890, 390, 3015, 255},
    {"cboNoeSoal", 10920, 690, 3015, 360},
};
const ControlPlace kReviewLayout[] = {
    {"lblTedadeNoeSoal", 4500, 630, 5145, 675},
    {"lblShomareSoal", 13770, 1620, 300, 900},
    {"lblColonShomare", 13650, 1620, 120, 900},
    {"lblSoorateSoal", 5850, 1620, 7800, 1080},
    {"Shape1", 5670, 2700, 8505, 30},
    {"lblNumber1", 13470, 2820, 300, 900},
    {"lblNumber2", 13470, 3840, 300, 900},
    {"lblNumber3", 13470, 4845, 300, 900},
    {"lblNumber4", 13470, 5880, 300, 900},
    {"lblColon1", 13350, 2820, 120, 900},
    {"lblColon2", 13350, 3840, 120, 900},
    {"lblColon3", 13350, 4845, 120, 900},
    {"lblColon4", 13350, 5880, 120, 900},
    {"lblG1", 5850, 2820, 7500, 900},
    {"lblG2", 5850, 3840, 7500, 900},
    {"lblG3", 5850, 4845, 7500, 900},
    {"lblG4", 5850, 5880, 7500, 900},
    {"imgShekl", 90, 1725, 5625, 5100},
    {"cmdFirst", 7380, 6930, 1215, 585},
    {"cmdPrevious", 8700, 6930, 1155, 585},
    {"cmdNext", 9960, 6930, 1215, 585},
    {"cmdEnd", 11280, 6930, 1215, 585},
    {"lblTedad", 2010, 7020, 2700, 375},
    {"lblColonTedad", 1920, 7020, 90, 375},
    {"lblCount", 960, 7020, 960, 375},
    {"cmdSharh", 4755, 6930, 1050, 585},
    {"scrSharh", 120, 7530, 14010, 600},
    // The speaker right of the move buttons, where nothing else stands.
    {"cmdBekhan", 12660, 6930, 600, 585},
};
} // namespace

std::span<const ControlPlace> ReviewCardLayout() {
    return kReviewLayout;
}

ReviewForm::ReviewForm(const Config& config, QWidget* parent) : ChildForm(parent) {
    setWindowTitle(config.caption);
    look::SetFormBackground(this);

    const CardControls controls = BuildCardControls(this);
    if (config.noPictureNote) {
        lblTazakor_ =
            look::MakeLabel(this, QStringLiteral("lblTazakor"),
                            QStringLiteral("اين سؤالات در امتحان نمي آيند و فقط براي بايگاني مي باشند"),
                            look::NazaninBold(20.25), Qt::AlignCenter);
        lblTazakor_->setWordWrap(true);
        lblTazakor_->hide();
    }
    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    sharh_ = new SharhPanel(this, adoSoalat_);
    readAloud_ = new ReadAloud(this, adoSoalat_, controls);
    QWidget::setTabOrder(controls.cmdFirst, sharh_->button());
    layoutChanges_ = config.layoutChanges;
    PlaceLayout(kChooserLayout);
    PlaceLayout(kReviewLayout);
    PlaceLayout(layoutChanges_); // a window's own rows override the common ones

    adoNoeSoal_ = new BoundSource(this);
    adoNoeSoal_->setObjectName(QStringLiteral("adoNoeSoal"));
    card_ = new QuestionCard(this, controls, adoSoalat_, this);
    card_->SetCategories(adoNoeSoal_, config.categorySql, config.fullSql, config.filterPrefix);

    card_->AddMoveShortcuts();
}

void ReviewForm::pictureShown(bool hasPicture) {
    if (lblTazakor_)
        lblTazakor_->setVisible(!hasPicture);
}

void ReviewForm::Form_Load() {
    PlaceOnMain(14300, 8560);
    card_->LoadCategories();
}

void ReviewForm::SelectListIndex(int index) {
    card_->SelectCategory(index);
}
