#pragma once

#include "audio/Speech.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "ui/MessageBox.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <functional>
#include <random>

// A clock the test moves by hand.
class FakeClock : public Clock {
public:
    explicit FakeClock(QTime start = QTime(10, 0)) : now_(start) {}
    QTime timeOfDay() const override { return now_; }
    quint64 ticks() const override { return ticks_; }
    qint64 monotonicMs() const override { return monotonic_; }
    QDate today() const override { return day; }
    QDate day = QDate(2026, 3, 21);
    // Sets the wall clock alone, as a user or a time service would; the monotonic clock stays.
    void set(QTime t) { now_ = t; }
    // Time passing: both clocks move.
    void advance(int seconds) {
        now_ = now_.addSecs(seconds);
        monotonic_ += 1000LL * seconds;
    }
    void tick() { ++ticks_; }

private:
    QTime now_;
    quint64 ticks_ = 1;
    qint64 monotonic_ = 1'000'000;
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

// Random numbers for a test that relies on chance: seeded from RAVEX_SEED when it is set, else
// afresh, and the seed is printed so that a failing run can be replayed exactly. Reseeding keeps
// the sequence going, so one seed fixes the whole test.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(const char* test);
    void reseed() override {}
    float next() override;
    quint64 seed() const { return seed_; }

private:
    quint64 seed_;
    std::mt19937_64 engine_;
};

// Collects what one logging category says while it lives, with that category switched on from
// level on (warnings by default; the statement log "ravex.sql" speaks at debug level).
class LogCapture {
public:
    explicit LogCapture(const char* category, QtMsgType level = QtWarningMsg);
    ~LogCapture();
    QStringList messages;

private:
    QtMessageHandler previous_;
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
    // Yes/No questions: recorded and answered with `answer` (Yes unless a test says otherwise).
    QVector<Message> questions;
    Answer answer = Answer::Yes;
    std::function<void()> onQuestion; // runs while the question is open
};

// A speaker that reads nothing and records what it is given; a test ends a reading by finish().
class RecordingSpeaker : public Speaker {
public:
    void warmUp() override { ++warmUps; }
    bool known() const override { return isKnown; }
    bool available() override { return present; }
    QStringList voices() override { return present ? voiceNames : QStringList(); }
    void setVoice(const QString& name) override { voice = name; }
    void setRate(double r) override { rate = r; }
    void say(const QString& text) override {
        said << text;
        speaking_ = true;
        emit started();
    }
    void stop() override {
        if (speaking_)
            ++stops;
        speaking_ = false;
    }
    bool speaking() const override { return speaking_; }
    void finish() {
        speaking_ = false;
        emit finished();
    }
    // The engine, made in the background, is ready or known to be missing.
    void open() {
        isKnown = true;
        emit opened();
    }
    bool present = true; // an engine with a Persian voice
    bool isKnown = true; // false: the engine is still being made
    int warmUps = 0;
    QStringList voiceNames{QStringLiteral("Persian"), QStringLiteral("persian-mb-ir1")};
    QStringList said;
    int stops = 0; // readings cut short
    QString voice;
    double rate = 0.0;

private:
    bool speaking_ = false;
};

// Installs the fakes for one test function and takes them away afterwards.
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakeClock clock;
    MessageRecorder messages;
    RecordingSpeaker speaker;
};

class frmMain;
class QWidget;

// What a label of a window shows; "<none>" when the window has no label of that name.
QString ShownText(QWidget* form, const char* name);
// A key pressed as a user presses it: on the widget that has the keyboard focus. Fails the test
// when nothing has the focus.
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1);
// A mouse click on a button of a window.
void ClickButton(QWidget* form, const char* name);

// The program as Main starts it, over an empty user data location, with the fakes installed and
// its main window at a working size and active; closed again when this goes.
class RunningProgram {
public:
    RunningProgram();
    // before is given the data folder the program is about to start on, to put files there first.
    explicit RunningProgram(const std::function<void(const QString& dataDir)>& before);
    ~RunningProgram();
    // Acts on a main-window button or menu entry by name; returns the child window then active.
    QWidget* Open(const char* control);
    frmMain* main = nullptr; // null when start-up failed
    FakePlatform platform;

private:
    QTemporaryDir root_;
};
