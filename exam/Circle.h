#pragma once

#include <QColor>
#include <QWidget>

// A round shape: the exam's option circles and its answer marker. An option circle is a ring
// around its fill; the marker is a solid dot in its border colour with its fill at the centre, so
// the chosen option shows at a glance (white centre while answering, all dark once graded).
class Circle : public QWidget {
    Q_OBJECT
public:
    enum class Shape { Ring, Dot };
    Circle(QColor fill, QColor border, QWidget* parent, Shape shape = Shape::Ring);
    void setFill(const QColor& fill);
    QColor fill() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor border_;
    Shape shape_;
};
