#include "info/frmNokat.h"

#include "info/PictureControl.h"
#include "ui/Look.h"

frmNokat::frmNokat(QWidget* parent) : InfoWindow(parent) {
    setWindowTitle(QStringLiteral("نكات مهم در آزمون شهر"));
    look::SetFormBackground(this);
    picture1_ = new PictureControl(PictureControl::Mode::AutoSize, this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->move(0, 0);
    connect(picture1_, &PictureControl::changed, this, &frmNokat::Picture1_Change);
}

void frmNokat::Form_Load() {
    picture1_->setPicture(LoadDataPicture(QStringLiteral("01")));
}

void frmNokat::Refit() {
    if (FitFactor(picture1_->picture().size()) != picture1_->zoom())
        Picture1_Change();
    else
        KeepInArea();
}

// The window takes the picture's size; only where the main window's area is smaller is the
// picture shown smaller, whole.
void frmNokat::Picture1_Change() {
    picture1_->setZoom(FitFactor(picture1_->picture().size()));
    SetFrame(AtTopCentre(FrameAroundPicture(picture1_->size()), mainOuterSize()));
}
