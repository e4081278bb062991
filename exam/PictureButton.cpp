#include "exam/PictureButton.h"

#include "ui/Look.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>

void ShowOnlyPicture(QPushButton* button, const QString& picture, const QString& tooltip) {
    button->setText(QString());
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip);
    button->setIcon(look::Picture(picture));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border: none; padding: 0; background: transparent; }"));
}

PictureButton::PictureButton(const QString& picture, const QString& tooltip, QWidget* parent)
    : QPushButton(parent) {
    ShowOnlyPicture(this, picture, tooltip);
}

void PictureButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0, 0, 128), 2, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int radius = height() / 2;
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius, radius);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        event->ignore();
        return;
    default:
        QPushButton::keyPressEvent(event);
    }
}
