#include "info/frmDarbareMa.h"

#include "info/PictureControl.h"
#include "info/frmDarbareMa2.h"
#include "platform/Twips.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/Scaling.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
const ControlPlace kAboutLayout[] = {
    {"Picture1", -30, 0, 14940, 2595},  {"Image3", 0, 2610, 5055, 4005},
    {"Image4", 5070, 2610, 5055, 4005}, {"Image5", 10140, 2610, 5055, 4005},
    {"Picture3", 0, 6660, 15150, 1185}, {"cmdBazgasht", 6330, 7980, 2475, 465},
};
const QSize kClient(Twips(15195), Twips(8520));
} // namespace

frmDarbareMa::frmDarbareMa(QWidget* parent) : InfoWindow(parent) {
    setWindowTitle(QStringLiteral("درباره ما"));
    look::SetFormBackground(this);
    const auto picture = [this](const char* name, PictureControl::Mode mode) {
        auto* control = new PictureControl(mode, this);
        control->setObjectName(QString::fromLatin1(name));
        return control;
    };
    picture1_ = picture("Picture1", PictureControl::Mode::Natural);
    image3_ = picture("Image3", PictureControl::Mode::Stretch);
    image4_ = picture("Image4", PictureControl::Mode::Stretch);
    image5_ = picture("Image5", PictureControl::Mode::Stretch);
    picture3_ = picture("Picture3", PictureControl::Mode::Natural);
    cmdBazgasht_ = new QPushButton(QStringLiteral("بازگشت"), this);
    cmdBazgasht_->setObjectName(QStringLiteral("cmdBazgasht"));
    cmdBazgasht_->setFont(look::Tahoma(8.25));
    PlaceLayout(kAboutLayout);

    const QCursor hand = ClickCursor();
    for (QWidget* clickable : {static_cast<QWidget*>(image3_), static_cast<QWidget*>(image4_),
                               static_cast<QWidget*>(image5_), static_cast<QWidget*>(cmdBazgasht_)})
        clickable->setCursor(hand);
    connect(image3_, &PictureControl::clicked, this, &frmDarbareMa::Image3_Click);
    connect(image4_, &PictureControl::clicked, this, &frmDarbareMa::Image4_Click);
    connect(image5_, &PictureControl::clicked, this, &frmDarbareMa::Image5_Click);
    connect(cmdBazgasht_, &QPushButton::clicked, this, &frmDarbareMa::cmdBazgasht_Click);
}

// Each picture loads on its own: a missing one leaves only its control empty.
void frmDarbareMa::Form_Load() {
    Fit();
    image3_->setPicture(LoadDataPicture(QStringLiteral("516")));
    image4_->setPicture(LoadDataPicture(QStringLiteral("517")));
    image5_->setPicture(LoadDataPicture(QStringLiteral("518")));
    picture1_->setPicture(LoadDataPicture(QStringLiteral("521")));
    picture3_->setPicture(LoadDataPicture(QStringLiteral("522")));
}

void frmDarbareMa::Fit() {
    // On a small screen the pictures and the button shrink together.
    ApplyScale(FitFactor(kClient));
    for (PictureControl* natural : {picture1_, picture3_})
        natural->setZoom(scaleFactor());
    SetFrame(QRect(QPoint(0, Twips(100)),
                   FrameOfClient(ScaledRect(QRect(QPoint(), kClient), scaleFactor()).size())));
}

// The pictures stay loaded: only their zoom and the frame change.
void frmDarbareMa::Refit() {
    if (FitFactor(kClient) != scaleFactor())
        Fit();
    else
        KeepInArea();
}

void frmDarbareMa::Image3_Click() {
    Enlarge(image3_);
}
void frmDarbareMa::Image4_Click() {
    Enlarge(image4_);
}
void frmDarbareMa::Image5_Click() {
    Enlarge(image5_);
}

void frmDarbareMa::cmdBazgasht_Click() {
    CloseWindow();
}

// The enlarged picture takes this window's place; closing it brings this window back. An empty
// panel (its file missing) has nothing to enlarge, so a click on it leaves the window as it is.
void frmDarbareMa::Enlarge(const PictureControl* image) {
    if (image->picture().isNull())
        return;
    emit openRequested(QStringLiteral("frmDarbareMa2"));
    if (QMdiArea* area = subWindow() ? subWindow()->mdiArea() : nullptr) {
        for (QMdiSubWindow* sub : area->subWindowList()) {
            if (auto* enlarged = qobject_cast<frmDarbareMa2*>(sub->widget()); enlarged && !sub->isHidden())
                enlarged->SetPicture(image->picture());
        }
    }
    CloseWindow();
}
