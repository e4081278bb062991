#include "settings/MusicControl.h"

#include "settings/mdlMusic.h"

#include <QPushButton>
#include <QTimer>

MusicControl::MusicControl(QPushButton* button, QTimer* timer, QObject* parent)
    : QObject(parent), button_(button), timer_(timer) {
    // Starts from the settings window reach the state as much as the timer's own.
    connect(&mdlMusic::instance(), &mdlMusic::started, this, [this](MusicStart outcome) {
        state_.Started(outcome);
        Show();
    });
    Show();
}

void MusicControl::Click() {
    Run(state_.Click());
    Show();
}

void MusicControl::Tick() {
    Run(state_.Tick(mdlMusic::instance().IsMusicPlaying()));
}

void MusicControl::Run(MusicCommand command) {
    switch (command) {
    case MusicCommand::None:
        break;
    case MusicCommand::Start:
        mdlMusic::instance().StartMusic();
        break;
    case MusicCommand::Pause:
        mdlMusic::instance().PauseMusic();
        break;
    case MusicCommand::Resume:
        mdlMusic::instance().ResumeMusic();
        break;
    }
}

void MusicControl::Show() {
    button_->setText(state_.caption());
    button_->setProperty("Tag", state_.tag());
    // A timer already running keeps its rhythm.
    if (!state_.timerRuns())
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start();
}
