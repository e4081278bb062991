#include "exam/Circle.h"

#include <QPainter>

Circle::Circle(QColor fill, QColor border, QWidget* parent, Shape shape)
    : QWidget(parent), fill_(fill), border_(border), shape_(shape) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Circle::setFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void Circle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (shape_ == Shape::Dot) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(border_);
        painter.drawEllipse(outer);
        // The centre, two fifths of the dot across.
        const double inset = outer.width() * 0.3;
        painter.setBrush(fill_);
        painter.drawEllipse(outer.adjusted(inset, inset, -inset, -inset));
        return;
    }
    painter.setPen(border_.isValid() ? QPen(border_, 1.5) : QPen(Qt::NoPen));
    painter.setBrush(fill_.isValid() ? QBrush(fill_) : QBrush(Qt::NoBrush));
    painter.drawEllipse(outer);
}
