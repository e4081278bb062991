#include "info/PictureControl.h"

#include "ui/Scaling.h"

#include <QMouseEvent>
#include <QPainter>

PictureControl::PictureControl(Mode mode, QWidget* parent) : QWidget(parent), mode_(mode) {
    setAccessibleName(QStringLiteral("تصوير")); // a picture has no text a reader could say
}

void PictureControl::setPicture(const QPixmap& picture) {
    picture_ = picture;
    if (mode_ == Mode::AutoSize)
        resize(ScaledRect(QRect(QPoint(), picture_.size()), zoom_).size());
    update();
    emit changed();
}

void PictureControl::setZoom(double zoom) {
    zoom_ = zoom;
    if (mode_ == Mode::AutoSize && !picture_.isNull())
        resize(ScaledRect(QRect(QPoint(), picture_.size()), zoom_).size());
    update();
}

void PictureControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    if (mode_ == Mode::Stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), picture_);
    } else if (zoom_ != 1.0) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(ScaledRect(QRect(QPoint(), picture_.size()), zoom_), picture_);
    } else {
        painter.drawPixmap(0, 0, picture_);
    }
}

void PictureControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

// A click is a press and a release of the left button over the control, as with a button.
void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}
