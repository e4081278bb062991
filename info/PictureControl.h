#pragma once

#include <QPixmap>
#include <QWidget>

// A picture control of the information windows: a picture box that shows its picture at its
// natural size from the top-left corner (and may size itself to it), or an image control that
// stretches its picture to its own size. Setting a picture reports a change; a left click on the
// control reports a click.
class PictureControl : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Natural, AutoSize, Stretch };
    explicit PictureControl(Mode mode, QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    // A natural or auto-sized picture drawn at this share of its size, in a window scaled down
    // to fit the screen; 1 by default.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }

signals:
    void changed();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Mode mode_;
    double zoom_ = 1.0;
    QPixmap picture_;
    bool pressed_ = false;
};
