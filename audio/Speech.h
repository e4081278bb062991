#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QStringList>

class QTextToSpeech;

// A voice that can not be had (no engine, no Persian voice) and readings the engine refused.
Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

// A voice that reads text aloud. The windows talk to this; the desktop's speech stack stands
// behind it in the program, a recording fake in the tests.
class Speaker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether there is an engine with a Persian voice to read with.
    virtual bool available() = 0;
    // The names of the Persian voices on offer, the engine's first first.
    virtual QStringList voices() = 0;
    // The voice to read with by name; empty, or a name not on offer, takes the first Persian one.
    virtual void setVoice(const QString& name) = 0;
    // How fast: -1 slowest, 0 the voice's own pace, 1 fastest.
    virtual void setRate(double rate) = 0;
    // Reads text, cutting short whatever was being read.
    virtual void say(const QString& text) = 0;
    // Stops reading at once; nothing is reported finished.
    virtual void stop() = 0;
    virtual bool speaking() const = 0;

signals:
    void started();  // the engine began to speak
    void finished(); // a reading came to its end by itself, not stopped
};

// The speaker every window reads with: the desktop's unless a test put its own.
Speaker& CurrentSpeaker();
void SetSpeaker(Speaker* speaker); // nullptr goes back to the desktop's

// The desktop's speech over Qt TextToSpeech, the speech-dispatcher engine where there is one. The
// engine is made the first time something asks for it, so a program that never reads never pays
// for it (speech-dispatcher is started on that first call).
class DesktopSpeaker : public Speaker {
    Q_OBJECT
public:
    explicit DesktopSpeaker(QObject* parent = nullptr);
    bool available() override;
    QStringList voices() override;
    void setVoice(const QString& name) override;
    void setRate(double rate) override;
    void say(const QString& text) override;
    void stop() override;
    bool speaking() const override;
    // The engine, made if it was not yet; for measuring it.
    QTextToSpeech* engine();

private:
    void Engine_StateChanged(int state);
    bool persian_ = false;
    bool stopping_ = false;
    QString voice_;
    double rate_ = 0.0;
    QTextToSpeech* engine_ = nullptr;
};
