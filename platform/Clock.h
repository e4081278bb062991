#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtGlobal>

// The time of day and a fine-grained tick count. Production reads the system clock; tests install
// a clock they move by hand, so nothing under test ever waits for real minutes.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QTime timeOfDay() const = 0;
    virtual quint64 ticks() const = 0; // for seeding; changes many times within a second
    // Milliseconds on a clock that only goes forward, whatever the wall clock does.
    virtual qint64 monotonicMs() const = 0;
    // The calendar day, for what is dated (the exam history); the system's unless a test says.
    virtual QDate today() const { return QDate::currentDate(); }
};

const Clock& CurrentClock();
void SetClock(const Clock* clock); // nullptr goes back to the system clock
QTime Now();                       // CurrentClock().timeOfDay()
qint64 MonotonicMs();              // CurrentClock().monotonicMs()
QDateTime NowDateTime();           // today and the time of day, on the current clock
