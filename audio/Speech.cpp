#include "audio/Speech.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTextToSpeech>
#include <QVoice>
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

const QLocale kPersian(QLocale::Persian, QLocale::Iran);
} // namespace

Speaker& CurrentSpeaker() {
    if (Speaker* speaker = installed())
        return *speaker;
    return desktop();
}

void SetSpeaker(Speaker* speaker) {
    installed() = speaker;
}

DesktopSpeaker::DesktopSpeaker(QObject* parent) : Speaker(parent) {}

QTextToSpeech* DesktopSpeaker::engine() {
    if (engine_)
        return engine_;
    // speech-dispatcher is the desktop's own service; another engine only where it is missing.
    const QStringList engines = QTextToSpeech::availableEngines();
    const QString name = engines.contains(QStringLiteral("speechd")) ? QStringLiteral("speechd") : QString();
    engine_ = new QTextToSpeech(name, this);
    if (engine_->state() == QTextToSpeech::Error) {
        qCWarning(lcSpeech) << "no speech engine:" << engine_->errorString() << "engines:" << engines;
        return engine_;
    }
    for (const QLocale& locale : engine_->availableLocales()) {
        if (locale.language() == QLocale::Persian) {
            engine_->setLocale(locale);
            persian_ =
                engine_->locale().language() == QLocale::Persian && !engine_->availableVoices().isEmpty();
            break;
        }
    }
    if (!persian_)
        qCWarning(lcSpeech) << "the speech engine" << engine_->engine() << "has no Persian voice";
    setVoice(voice_);
    engine_->setRate(rate_);
    connect(engine_, &QTextToSpeech::stateChanged, this,
            [this](QTextToSpeech::State state) { Engine_StateChanged(int(state)); });
    return engine_;
}

bool DesktopSpeaker::available() {
    return engine()->state() != QTextToSpeech::Error && persian_;
}

QStringList DesktopSpeaker::voices() {
    QStringList names;
    if (!available())
        return names;
    for (const QVoice& voice : engine_->availableVoices())
        names << voice.name();
    return names;
}

void DesktopSpeaker::setVoice(const QString& name) {
    voice_ = name;
    if (!engine_ || !persian_)
        return;
    const QList<QVoice> voices = engine_->availableVoices();
    for (const QVoice& voice : voices) {
        if (voice.name() == name) {
            engine_->setVoice(voice);
            return;
        }
    }
    if (!voices.isEmpty())
        engine_->setVoice(voices.first());
}

void DesktopSpeaker::setRate(double rate) {
    rate_ = std::clamp(rate, -1.0, 1.0);
    if (engine_)
        engine_->setRate(rate_);
}

void DesktopSpeaker::say(const QString& text) {
    if (!available() || text.isEmpty())
        return;
    if (speaking())
        stop();
    engine_->say(text);
}

void DesktopSpeaker::stop() {
    if (!engine_ || !speaking())
        return;
    stopping_ = true;
    engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
}

bool DesktopSpeaker::speaking() const {
    return engine_ && engine_->state() == QTextToSpeech::Speaking;
}

void DesktopSpeaker::Engine_StateChanged(int state) {
    switch (QTextToSpeech::State(state)) {
    case QTextToSpeech::Speaking:
        stopping_ = false;
        emit started();
        break;
    case QTextToSpeech::Ready:
        if (!stopping_)
            emit finished();
        stopping_ = false;
        break;
    case QTextToSpeech::Error:
        qCWarning(lcSpeech) << "reading failed:" << engine_->errorString();
        stopping_ = false;
        emit finished();
        break;
    case QTextToSpeech::Paused:
        break;
    }
}
