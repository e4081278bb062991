#pragma once

#include <QWidget>

// The main window's button strip: the buttons stand at their designed places on a band of the
// designed width, and the band stays centred when the window is wider (under right to left as
// well, where hand-set places would otherwise hug the left edge). At the designed width and below
// it the band starts at the left edge, so nothing moves.
class CentredStrip : public QWidget {
    Q_OBJECT
public:
    CentredStrip(int bandWidth, QWidget* parent);
    QWidget* band() const { return band_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* band_;
};
