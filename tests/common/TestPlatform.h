#pragma once

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

// A clock the test moves by hand.
class FakeClock : public Clock {
public:
    explicit FakeClock(QTime start = QTime(10, 0)) : now_(start) {}
    QTime timeOfDay() const override { return now_; }
    quint64 ticks() const override { return ticks_; }
    void set(QTime t) { now_ = t; }
    void advance(int seconds) { now_ = now_.addSecs(seconds); }
    void tick() { ++ticks_; }

private:
    QTime now_;
    quint64 ticks_ = 1;
};

// Random numbers from a fixed list, over and over; reseeding changes nothing.
class SequenceRandom : public RandomSource {
public:
    explicit SequenceRandom(QVector<float> values) : values_(std::move(values)) {}
    void reseed() override { ++reseeds; }
    float next() override {
        const float v = values_.isEmpty() ? 0.0f : values_[pos_ % values_.size()];
        ++pos_;
        return v;
    }
    int reseeds = 0;

private:
    QVector<float> values_;
    int pos_ = 0;
};

// Records every message box instead of showing it, for as long as it lives.
class MessageRecorder {
public:
    struct Message {
        QString prompt;
        MsgIcon icon;
        QString title;
    };
    MessageRecorder();
    ~MessageRecorder();
    QVector<Message> messages;
    std::function<void()> onMessage; // runs inside the box, as a user would act while it is open
};

// Installs the fakes for one test function and takes them away afterwards.
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakeClock clock;
    MessageRecorder messages;
};

class frmMain;
class QWidget;

// What a label of a window shows; "<none>" when the window has no label of that name.
QString ShownText(QWidget* form, const char* name);
// A mouse click on a button of a window.
void ClickButton(QWidget* form, const char* name);

// The program as Main starts it, over an empty user data location, with the fakes installed and
// its main window at a working size and active; closed again when this goes.
class RunningProgram {
public:
    RunningProgram();
    ~RunningProgram();
    // Acts on a main-window button or menu entry by name; returns the child window then active.
    QWidget* Open(const char* control);
    frmMain* main = nullptr; // null when start-up failed
    FakePlatform platform;

private:
    QTemporaryDir root_;
};
