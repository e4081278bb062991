#pragma once

#include <QString>

// What one start of the music came to: the file opened and plays, the device refused it (a file
// it cannot play, an empty path, or the alias still open with a song that ended), or no file is
// there yet (tried again at the next tick).
enum class MusicStart { Playing, Refused, FileMissing };

// What the state asks of the player.
enum class MusicCommand { None, Start, Pause, Resume };

// The background music as the main window keeps it: on or off. On, the timer runs and starts music
// that is not playing; off, the timer stands still. The music button names what a click does.
//
//   waiting       on,  nothing opened yet    a tick starts it
//   playing       on,  playing               a tick leaves it; a click pauses: paused
//   paused        off, paused                a click resumes it where it stopped
//   ended         on,  played to its end     a tick's start is refused: off
//   off           off, closed                a click switches on; the next tick starts it afresh
//   file missing  on,  closed                every tick tries again
class MusicState {
public:
    // Switched on, as at start-up: the first tick starts the music.
    MusicState() = default;

    // "قطع آهنگ" (stop the music) while on, "پخش آهنگ" (play the music) while off.
    QString caption() const;
    // The button's tag: "1" on, "-1" off.
    QString tag() const;
    bool timerRuns() const { return on_; }

    // The music button: pause while on, resume while off; on and off swap.
    MusicCommand Click();
    // A tick of the timer, with whether the device reports playing.
    MusicCommand Tick(bool devicePlaying) const;
    // A start switches on when the music plays and off when the device refused it; a missing file
    // changes nothing.
    void Started(MusicStart outcome);

private:
    bool on_ = true;
};
