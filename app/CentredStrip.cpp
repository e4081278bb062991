#include "app/CentredStrip.h"

#include <QResizeEvent>
#include <algorithm>

CentredStrip::CentredStrip(int bandWidth, QWidget* parent) : QWidget(parent), band_(new QWidget(this)) {
    band_->setObjectName(QStringLiteral("Picture1Band"));
    band_->resize(bandWidth, 0);
}

void CentredStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    band_->setGeometry(std::max(0, (width() - band_->width()) / 2), 0, band_->width(), height());
}
