// From the read-aloud key to the speech engine speaking, timed inside the program: the review
// window is open, F4 goes to the focused widget as a user's key would, and the clock stops when
// the engine says it is speaking. Prints "speak 1 <ns>".
//   cold   the key as soon as the window shows: the engine is still being made
//   first  the first key once the window has stood until the engine was made
//   again  the key once more after a reading was stopped by the key
// Usage: speech_ravex cold|first|again   (the data folder as the program finds it)
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "audio/Speech.h"
#include "card/ReadAloud.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <cstdio>

namespace {
void pressReadAloud(QWidget* form) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form;
    QKeyEvent press(QEvent::KeyPress, kReadAloudKey, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, kReadAloudKey, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// Runs the event loop until done says so or ten seconds went; false on the timeout.
template <typename Done> bool waitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// Presses F4 and waits for the engine to speak; the time taken, or -1.
qint64 keyToSpeech(QWidget* form) {
    Speaker& speaker = CurrentSpeaker();
    bool started = false;
    const QMetaObject::Connection c = QObject::connect(&speaker, &Speaker::started, [&] { started = true; });
    QElapsedTimer clock;
    clock.start();
    pressReadAloud(form);
    waitFor([&] { return started; });
    const qint64 elapsed = clock.nsecsElapsed();
    QObject::disconnect(c);
    return started ? elapsed : -1;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const QString action = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (action != QLatin1String("cold") && action != QLatin1String("first") &&
        action != QLatin1String("again")) {
        std::fprintf(stderr, "unknown action\n");
        return 2;
    }
    if (!Main())
        return 1;
    QWidget* form = frmMain::Instance()->ShowChild(QStringLiteral("frmSoalat"));
    if (!form)
        return 1;
    form->activateWindow();
    form->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    if (action != QLatin1String("cold") && !waitFor([] { return CurrentSpeaker().known(); })) {
        std::fprintf(stderr, "the engine was never made\n");
        return 3;
    }
    if (action == QLatin1String("again")) {
        if (keyToSpeech(form) < 0)
            return 3;
        pressReadAloud(form); // stops it
        QElapsedTimer settle;
        settle.start();
        waitFor([&] { return !CurrentSpeaker().speaking() && settle.elapsed() > 200; });
    }
    const qint64 elapsed = keyToSpeech(form);
    if (elapsed < 0) {
        std::fprintf(stderr, "the engine never spoke: no speech-dispatcher or no Persian voice\n");
        return 3;
    }
    CurrentSpeaker().stop();
    std::printf("speak 1 %lld\n", static_cast<long long>(elapsed));
    return 0;
}
