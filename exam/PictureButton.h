#pragma once

#include <QPushButton>

// Makes a button only its picture: no text or frame, the tooltip as its name for a screen reader,
// a pointing hand, and no focus (the keys belong to the exam window unless a caller opens Tab).
void ShowOnlyPicture(QPushButton* button, const QString& picture, const QString& tooltip);

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
