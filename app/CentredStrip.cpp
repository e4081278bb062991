#include "app/CentredStrip.h"

#include "ui/FitText.h"
#include "ui/Scaling.h"

#include <QAbstractButton>
#include <QResizeEvent>
#include <algorithm>

CentredStrip::CentredStrip(int bandWidth, QWidget* parent)
    : QWidget(parent), band_(new QWidget(this)), bandWidth_(bandWidth) {
    band_->setObjectName(QStringLiteral("Picture1Band"));
    band_->resize(bandWidth, 0);
}

void CentredStrip::place(QWidget* control, const QRect& designed) {
    placed_.append({control, designed});
    control->setGeometry(ScaledRect(designed, factor_));
    fitLook(control);
}

// The control's look at the strip's factor; a caption wider than its button, at any width of the
// window, is drawn smaller still until it clears the button's margins.
void CentredStrip::fitLook(QWidget* control) {
    ScaleLook(control, factor_);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        FitButtonText(button);
}

void CentredStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void CentredStrip::layOut() {
    // Only the width decides: the strip's height is fixed by the main window. Narrower than the
    // band, the buttons' whole extent must fit (the designed last button reaches past the band).
    int extent = bandWidth_;
    for (const Placed& p : std::as_const(placed_))
        extent = std::max(extent, p.designed.right() + 1);
    const double factor = width() >= bandWidth_ ? 1.0 : ScaleFactor(QSize(extent, 1), QSize(width(), 1));
    // Scaled, the band is the whole strip from its left edge.
    if (factor < 1.0)
        band_->setGeometry(0, 0, width(), height());
    else
        band_->setGeometry(std::max(0, (width() - bandWidth_) / 2), 0, bandWidth_, height());
    if (factor == factor_)
        return;
    factor_ = factor;
    for (const Placed& p : std::as_const(placed_)) {
        if (!p.control)
            continue;
        // A shrunken button stays centred in the strip's height.
        QRect r = ScaledRect(p.designed, factor_);
        r.moveTop(p.designed.top() + (p.designed.height() - r.height()) / 2);
        p.control->setGeometry(r);
        fitLook(p.control);
    }
}
