#pragma once

// What the music tests share: tones made with sox, the device's own view of MP3Play, and the
// main window's music button and timer as a user sees them.
#include "app/frmMain.h"
#include "audio/Mci.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

namespace music {

inline const QString kOn = QStringLiteral("قطع آهنگ|1|ticking");
inline const QString kOff = QStringLiteral("پخش آهنگ|-1|still");

// A sine tone of the given length in seconds, as an MP3; empty when sox failed.
inline QString MakeTone(const QString& path, double seconds) {
    const QString sox = QStandardPaths::findExecutable(QStringLiteral("sox"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QStringList args = {QStringLiteral("-n"),    QStringLiteral("-r"),     QStringLiteral("44100"),
                              QStringLiteral("-c"),    QStringLiteral("1"),      path,
                              QStringLiteral("synth"), QString::number(seconds), QStringLiteral("sine"),
                              QStringLiteral("440"),   QStringLiteral("fade"),   QStringLiteral("0.05")};
    return !sox.isEmpty() && QProcess::execute(sox, args) == 0 ? path : QString();
}

// The device's mode of MP3Play: "playing", "paused", "stopped", or "closed" when it is not open.
inline QString Mode() {
    QString reply;
    return mciSendString(QStringLiteral("status MP3Play mode"), &reply) == MciOk ? reply
                                                                                 : QStringLiteral("closed");
}

// Where MP3Play is in its music, in milliseconds.
inline int Position() {
    QString reply;
    mciSendString(QStringLiteral("status MP3Play position"), &reply);
    return reply.toInt();
}

inline QPushButton* MusicButton(frmMain* main) {
    return main->findChild<QPushButton*>(QStringLiteral("cmdMusic"));
}
inline QTimer* Timer1(frmMain* main) {
    return main->findChild<QTimer*>(QStringLiteral("Timer1"));
}

// The music state as the main window shows it: caption, tag, and whether the timer runs.
inline QString State(frmMain* main) {
    const QPushButton* button = MusicButton(main);
    return button->text() + u'|' + button->property("Tag").toString() + u'|' +
           (Timer1(main)->isActive() ? QStringLiteral("ticking") : QStringLiteral("still"));
}

// One tick of Timer1, as 500 ms would bring it: only while the timer runs.
inline void Tick(frmMain* main, int times = 1) {
    for (int i = 0; i < times; ++i) {
        if (Timer1(main)->isActive())
            QMetaObject::invokeMethod(Timer1(main), "timeout");
    }
}

} // namespace music
