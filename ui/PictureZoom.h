#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

// A question's picture enlarged over the whole main window: scaled to fit with its shape kept,
// smoothly, on a dimmed backdrop. A click anywhere or Escape closes it, and the keyboard focus
// goes back where it was (an exam answers to keys).
class PictureZoom : public QWidget {
    Q_OBJECT
public:
    // Shows picture over the top-level window of `from`; nothing for an empty picture.
    static PictureZoom* Show(QWidget* from, const QPixmap& picture);
    QRect pictureRect() const; // where the enlarged picture is drawn

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureZoom(QWidget* over, const QPixmap& picture);
    void dismiss();

    QPixmap picture_;
    QPointer<QWidget> previousFocus_;
};
