#pragma once

#include <QPushButton>

// A button that is only its picture. One the Tab key reaches draws a dark frame while it has the
// keyboard focus, so a learner who moves by keys sees where Enter will act.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QString& picture, const QString& tooltip, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The arrow keys belong to the window (the exam's answer and move keys), never to moving the
    // focus between buttons as a button would use them.
    void keyPressEvent(QKeyEvent* event) override;
};
