#include "ui/PictureBox.h"

#include "platform/Picture.h"

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
