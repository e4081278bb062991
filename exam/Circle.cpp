#include "exam/Circle.h"

#include <QPainter>

Circle::Circle(QColor fill, QColor border, QWidget* parent) : QWidget(parent), fill_(fill), border_(border) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Circle::setFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void Circle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(border_.isValid() ? QPen(border_, 1.5) : QPen(Qt::NoPen));
    painter.setBrush(fill_.isValid() ? QBrush(fill_) : QBrush(Qt::NoBrush));
    painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
}
