#include "info/frmRahnama.h"

#include "platform/Twips.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/Scaling.h"

#include <QPainter>
#include <QPushButton>

namespace {
const ControlPlace kHelpLayout[] = {
    {"Command1", 13200, 8520, 1725, 435},
    {"cmdClose", 30, 8520, 1725, 435},
};
const QSize kClient(Twips(14940), Twips(8985));
const QString kNextPage = QStringLiteral("صفحه بعد");
const QString kPreviousPage = QStringLiteral("صفحه قبل");
} // namespace

frmRahnama::frmRahnama(QWidget* parent) : InfoWindow(parent) {
    setWindowTitle(QStringLiteral("راهنما"));
    look::SetFormBackground(this);
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(look::Tahoma(8.25));
        return b;
    };
    command1_ = button("Command1", kNextPage);
    cmdClose_ = button("cmdClose", QStringLiteral("بازگشت"));
    PlaceLayout(kHelpLayout);
    connect(command1_, &QPushButton::clicked, this, &frmRahnama::Command1_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &frmRahnama::cmdClose_Click);
}

void frmRahnama::Form_Load() {
    Fit();
    SetBackground(QStringLiteral("519"));
    IsFirstPage = true;
}

void frmRahnama::Fit() {
    // On a small screen the pages, the buttons and their texts shrink together.
    ApplyScale(FitFactor(kClient));
    const QSize frame = FrameOfClient(ScaledRect(QRect(QPoint(), kClient), scaleFactor()).size());
    const QSize main = mainOuterSize();
    SetFrame(QRect(QPoint(static_cast<int>((main.width() - frame.width()) / 2.0), Twips(100)), frame));
}

void frmRahnama::Refit() {
    if (FitFactor(kClient) == scaleFactor()) {
        KeepInArea();
        return;
    }
    Fit();
    // Scaling puts the buttons back at their first page's sides; the second page has them swapped.
    if (!IsFirstPage) {
        const int left = command1_->x();
        command1_->move(cmdClose_->x(), command1_->y());
        cmdClose_->move(left, cmdClose_->y());
    }
}

void frmRahnama::SetBackground(const QString& file) {
    background_ = LoadDataPicture(file);
    update();
}

void frmRahnama::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scaleFactor(), scaleFactor());
    painter.drawPixmap(0, 0, background_);
}

// The page button and the back button change sides on every turn, so the page button always
// stands where the page's own drawing leaves room for it.
void frmRahnama::Command1_Click() {
    if (IsFirstPage) {
        SetBackground(QStringLiteral("520"));
        IsFirstPage = false;
    } else {
        SetBackground(QStringLiteral("519"));
        IsFirstPage = true;
    }
    const int left = command1_->x();
    command1_->move(cmdClose_->x(), command1_->y());
    cmdClose_->move(left, cmdClose_->y());
    command1_->setText(command1_->text() != kNextPage ? kNextPage : kPreviousPage);
}

void frmRahnama::cmdClose_Click() {
    CloseWindow();
}
