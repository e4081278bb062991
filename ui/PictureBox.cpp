#include "ui/PictureBox.h"

#include "platform/Picture.h"

#include <QMouseEvent>
#include <QPainter>

void PictureBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    file_.clear();
    update();
}

void PictureBox::setPictureFile(const QString& path) {
    picture_ = QPixmap();
    file_ = path;
    update();
}

const QPixmap& PictureBox::picture() const {
    if (!file_.isEmpty()) {
        picture_ = LoadPicture(file_);
        file_.clear();
    }
    return picture_;
}

QRect PictureBox::pictureRect() const {
    if (picture().isNull())
        return {};
    return FitCentred(picture_.size(), size());
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture().isNull())
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
