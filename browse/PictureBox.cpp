#include "browse/PictureBox.h"

#include <QPainter>

void PictureBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

QRect PictureBox::pictureRect() const {
    if (picture_.isNull())
        return {};
    QSize size = picture_.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(pictureRect(), picture_);
}
