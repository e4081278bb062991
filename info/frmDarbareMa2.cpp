#include "info/frmDarbareMa2.h"

#include "info/PictureControl.h"
#include "ui/Look.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

frmDarbareMa2::frmDarbareMa2(QWidget* parent) : InfoWindow(parent) {
    setWindowTitle(QStringLiteral("ساير نرم افزارهاي Velkor"));
    look::SetFormBackground(this);
    picture1_ = new PictureControl(PictureControl::Mode::AutoSize, this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->move(0, 0);
    image1_ = new PictureControl(PictureControl::Mode::Stretch, this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->move(0, 0);
    image1_->hide();
    connect(picture1_, &PictureControl::changed, this, &frmDarbareMa2::Picture1_Change);
    connect(picture1_, &PictureControl::clicked, this, &frmDarbareMa2::Picture1_Click);
    connect(image1_, &PictureControl::clicked, this, &frmDarbareMa2::Image1_Click);
}

void frmDarbareMa2::SetPicture(const QPixmap& picture) {
    picture1_->setPicture(picture);
}

// The window is open while another panel is enlarged in it, so either way of showing the picture
// is set afresh: a picture that fits is never left behind the scaled one.
void frmDarbareMa2::Picture1_Change() {
    const EnlargedFit fit = FitEnlarged(picture1_->size(), areaSize());
    picture1_->setVisible(!fit.scaled);
    image1_->setVisible(fit.scaled);
    // The scaled picture fills the inside of the window, so no edge of it hides under the frame.
    image1_->resize(ClientOfFrame(fit.frame.size()));
    image1_->setPicture(fit.scaled ? picture1_->picture() : QPixmap());
    SetFrame(fit.frame);
}

// A scaled picture's window follows the area's size; one shown at its natural size only stays
// inside the area.
void frmDarbareMa2::Refit() {
    const QWidget* frame = subWindow();
    if (frame && !picture1_->picture().isNull() &&
        FitEnlarged(picture1_->size(), areaSize()).frame.size() != frame->size())
        Picture1_Change();
    else
        KeepInArea();
}

void frmDarbareMa2::Picture1_Click() {
    CloseWindow();
}
void frmDarbareMa2::Image1_Click() {
    CloseWindow();
}

void frmDarbareMa2::closeEvent(QCloseEvent* event) {
    Form_Unload();
    InfoWindow::closeEvent(event);
}

// The about screen comes back, freshly loaded. While the program is ending the main window opens
// nothing, so this cannot keep the program alive.
void frmDarbareMa2::Form_Unload() {
    emit openRequested(QStringLiteral("frmDarbareMa"));
}
