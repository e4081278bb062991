#pragma once

#include <QPushButton>

// A move button of the question card: a small arrow picture and a Persian caption, centred
// together, the picture on the side its arrow points to. Drawn here because the style misplaces
// right-to-left captions beside an icon.
class NavButton : public QPushButton {
    Q_OBJECT
public:
    NavButton(const QString& caption, const QIcon& icon, bool iconOnLeft, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool iconOnLeft_;
};
