#include "ui/PictureBox.h"

#include "platform/Picture.h"

#include <QMouseEvent>
#include <QPainter>

void PictureBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

QRect PictureBox::pictureRect() const {
    if (picture_.isNull())
        return {};
    return FitCentred(picture_.size(), size());
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(pictureRect(), picture_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pictureRect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
