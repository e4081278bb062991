#pragma once

#include <QPointer>
#include <QVector>
#include <QWidget>

// The main window's button strip: the buttons stand at their designed places on a band of the
// designed width, and the band stays centred when the window is wider (under right to left as
// well, where hand-set places would otherwise hug the left edge). At the designed width the band
// starts at the left edge, so nothing moves; narrower, the band and its buttons (places and
// fonts) are scaled down together, so every button stays whole. A caption wider than its button's
// inside is drawn smaller until it fits, at the designed width too.
class CentredStrip : public QWidget {
    Q_OBJECT
public:
    CentredStrip(int bandWidth, QWidget* parent);
    QWidget* band() const { return band_; }
    // Puts a control of the band at its designed place, kept for scaling.
    void place(QWidget* control, const QRect& designed);
    double scaleFactor() const { return factor_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placed {
        QPointer<QWidget> control;
        QRect designed;
    };
    void layOut();
    void fitLook(QWidget* control);

    QWidget* band_;
    int bandWidth_;
    double factor_ = 1.0;
    QVector<Placed> placed_;
};
