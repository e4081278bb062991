#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QStringList>
#include <memory>

class QThread;

// A voice that can not be had (no engine, no Persian voice) and readings the engine refused.
Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

// A voice that reads text aloud. The windows talk to this; the desktop's speech stack stands
// behind it in the program, a recording fake in the tests.
class Speaker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Gets the engine ready without waiting for it; reading later starts at once.
    virtual void warmUp() {}
    // Whether available() can answer without waiting for the engine.
    virtual bool known() const { return true; }
    // Whether there is an engine with a Persian voice to read with (waits for the engine).
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
    void opened();   // the engine is ready, or known to be missing: available() answers at once
    void started();  // the engine began to speak
    void finished(); // a reading came to its end by itself, not stopped
};

// The speaker every window reads with: the desktop's unless a test put its own.
Speaker& CurrentSpeaker();
void SetSpeaker(Speaker* speaker); // nullptr goes back to the desktop's

class SpeechEngineHost;
struct SpeechFound;

// The desktop's speech over Qt TextToSpeech, the speech-dispatcher engine where there is one.
// Making that engine takes seconds (it lists every voice of every language), so it is made on a
// thread of its own the first time something wants it, and every reading is handed to that thread:
// a program that never reads never pays for it, and the window never waits for it.
class DesktopSpeaker : public Speaker {
    Q_OBJECT
public:
    explicit DesktopSpeaker(QObject* parent = nullptr);
    ~DesktopSpeaker() override;
    void warmUp() override;
    bool known() const override;
    bool available() override;
    QStringList voices() override;
    void setVoice(const QString& name) override;
    void setRate(double rate) override;
    void say(const QString& text) override;
    void stop() override;
    bool speaking() const override;
    // What the engine last reported: its state (QTextToSpeech::State) and the voice it reads with.
    int engineState() const { return state_; }
    QString engineVoice() const { return engineVoice_; }

private:
    void Host_Opened();
    void Host_StateChanged(int state, const QString& voice);
    // Waits until the engine is made, or known to be missing.
    void WaitOpened();

    std::unique_ptr<SpeechFound> found_; // what the engine's thread found when it made the engine
    QThread* thread_ = nullptr;
    SpeechEngineHost* host_ = nullptr;
    bool opened_ = false;
    bool available_ = false;
    QStringList voices_;
    int state_ = 0;
    QString engineVoice_;
    bool stopping_ = false;
    QString voice_;
    double rate_ = 0.0;
};
