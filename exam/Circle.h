#pragma once

#include <QColor>
#include <QWidget>

// A round shape: the exam's option circles and its answer marker.
class Circle : public QWidget {
    Q_OBJECT
public:
    Circle(QColor fill, QColor border, QWidget* parent);
    void setFill(const QColor& fill);
    QColor fill() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor border_;
};
