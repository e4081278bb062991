#pragma once

#include "rules/MusicState.h"

#include <QObject>

class QPushButton;
class QTimer;

// The main window's music button and its timer, kept by the music's state: a click pauses or
// resumes the music, a tick starts music that is on and not playing, and every start the player
// reports switches the state. The button's caption and tag and the running of the timer always
// show the state.
class MusicControl : public QObject {
    Q_OBJECT
public:
    MusicControl(QPushButton* button, QTimer* timer, QObject* parent);

    void Click();
    void Tick();

private:
    void Run(MusicCommand command);
    void Show();

    MusicState state_;
    QPushButton* button_;
    QTimer* timer_;
};
