#include "audio/Speech.h"

#include <QCoreApplication>
#include <QMutex>
#include <QPointer>
#include <QTextToSpeech>
#include <QThread>
#include <QVoice>
#include <QWaitCondition>
#include <algorithm>

Q_LOGGING_CATEGORY(lcSpeech, "ravex.speech", QtWarningMsg)

namespace {
QPointer<Speaker>& installed() {
    static QPointer<Speaker> speaker;
    return speaker;
}

// The desktop's speaker lives as long as the application; made when first asked for.
Speaker& desktop() {
    static QPointer<DesktopSpeaker> speaker;
    if (!speaker)
        speaker = new DesktopSpeaker(QCoreApplication::instance());
    return *speaker;
}
} // namespace

Speaker& CurrentSpeaker() {
    if (Speaker* speaker = installed())
        return *speaker;
    return desktop();
}

void SetSpeaker(Speaker* speaker) {
    installed() = speaker;
}

// What the engine's thread found on making the engine, read by the window's thread once `done`.
struct SpeechFound {
    QMutex mutex;
    QWaitCondition ready;
    bool done = false;
    bool available = false;
    QStringList voices;
};

// The engine on its own thread. Open makes it and answers what it offers; the readings come as
// queued calls, in the order they were asked for.
class SpeechEngineHost : public QObject {
    Q_OBJECT
public:
    explicit SpeechEngineHost(SpeechFound* found) : found_(found) {}

    void Open() {
        const QStringList engines = QTextToSpeech::availableEngines();
        // speech-dispatcher is the desktop's own service; another engine only where it is missing.
        const QString name =
            engines.contains(QStringLiteral("speechd")) ? QStringLiteral("speechd") : QString();
        engine_ = new QTextToSpeech(name, this);
        bool persian = false;
        if (engine_->state() == QTextToSpeech::Error) {
            qCWarning(lcSpeech) << "no speech engine:" << engine_->errorString() << "engines:" << engines;
        } else {
            for (const QLocale& locale : engine_->availableLocales()) {
                if (locale.language() == QLocale::Persian) {
                    engine_->setLocale(locale);
                    voices_ = engine_->availableVoices();
                    persian = engine_->locale().language() == QLocale::Persian && !voices_.isEmpty();
                    break;
                }
            }
            if (!persian)
                qCWarning(lcSpeech) << "the speech engine" << engine_->engine() << "has no Persian voice";
            connect(engine_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
                if (state == QTextToSpeech::Error)
                    qCWarning(lcSpeech) << "reading failed:" << engine_->errorString();
                emit stateChanged(int(state), engine_->voice().name());
            });
        }
        QStringList names;
        for (const QVoice& voice : std::as_const(voices_))
            names << voice.name();
        QMutexLocker lock(&found_->mutex);
        found_->available = persian;
        found_->voices = names;
        found_->done = true;
        found_->ready.wakeAll();
        lock.unlock();
        emit opened();
    }

    void Say(const QString& text, const QString& voiceName, double rate) {
        if (!engine_ || voices_.isEmpty())
            return;
        const auto chosen = std::find_if(voices_.cbegin(), voices_.cend(),
                                         [&](const QVoice& v) { return v.name() == voiceName; });
        const QVoice voice = chosen != voices_.cend() ? *chosen : voices_.first();
        if (engine_->voice() != voice)
            engine_->setVoice(voice);
        if (engine_->rate() != rate)
            engine_->setRate(rate);
        engine_->say(text);
    }

    void Stop() {
        // Also a reading asked for but not begun: the engine is told whatever state it shows.
        if (engine_)
            engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
    }

signals:
    void opened();
    void stateChanged(int state, const QString& voice);

private:
    SpeechFound* found_;
    QTextToSpeech* engine_ = nullptr;
    QList<QVoice> voices_;
};

DesktopSpeaker::DesktopSpeaker(QObject* parent) : Speaker(parent), found_(std::make_unique<SpeechFound>()) {}

DesktopSpeaker::~DesktopSpeaker() {
    if (thread_) {
        thread_->quit();
        thread_->wait();
    }
}

void DesktopSpeaker::warmUp() {
    if (thread_)
        return;
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("speech"));
    host_ = new SpeechEngineHost(found_.get());
    host_->moveToThread(thread_);
    connect(thread_, &QThread::started, host_, &SpeechEngineHost::Open);
    connect(thread_, &QThread::finished, host_, &QObject::deleteLater);
    connect(host_, &SpeechEngineHost::opened, this, &DesktopSpeaker::Host_Opened);
    connect(host_, &SpeechEngineHost::stateChanged, this, &DesktopSpeaker::Host_StateChanged);
    thread_->start();
}

bool DesktopSpeaker::known() const {
    if (opened_)
        return true;
    QMutexLocker lock(&found_->mutex);
    return found_->done;
}

void DesktopSpeaker::WaitOpened() {
    warmUp();
    if (opened_)
        return;
    QMutexLocker lock(&found_->mutex);
    while (!found_->done)
        found_->ready.wait(&found_->mutex);
    available_ = found_->available;
    voices_ = found_->voices;
    opened_ = true;
}

void DesktopSpeaker::Host_Opened() {
    WaitOpened(); // answers at once: the host has set what it found
    emit opened();
}

bool DesktopSpeaker::available() {
    WaitOpened();
    return available_;
}

QStringList DesktopSpeaker::voices() {
    WaitOpened();
    return voices_;
}

void DesktopSpeaker::setVoice(const QString& name) {
    voice_ = name;
}

void DesktopSpeaker::setRate(double rate) {
    rate_ = std::clamp(rate, -1.0, 1.0);
}

void DesktopSpeaker::say(const QString& text) {
    if (text.isEmpty())
        return;
    warmUp();
    // Asked for before the engine is made, the reading waits for it on the engine's thread.
    if (known() && !available())
        return;
    if (speaking())
        stopping_ = true;
    QMetaObject::invokeMethod(host_, [host = host_, text, voice = voice_, rate = rate_] {
        host->Stop();
        host->Say(text, voice, rate);
    });
}

void DesktopSpeaker::stop() {
    if (!host_)
        return;
    stopping_ = speaking() || stopping_;
    QMetaObject::invokeMethod(host_, [host = host_] { host->Stop(); });
}

bool DesktopSpeaker::speaking() const {
    return state_ == QTextToSpeech::Speaking;
}

void DesktopSpeaker::Host_StateChanged(int state, const QString& voice) {
    state_ = state;
    engineVoice_ = voice;
    switch (QTextToSpeech::State(state)) {
    case QTextToSpeech::Speaking:
        stopping_ = false;
        emit started();
        break;
    case QTextToSpeech::Ready:
    case QTextToSpeech::Error:
        // The end of a reading cut short is not reported.
        if (!stopping_)
            emit finished();
        stopping_ = false;
        break;
    case QTextToSpeech::Paused:
        break;
    }
}

#include "Speech.moc"
