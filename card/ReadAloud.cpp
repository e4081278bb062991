#include "card/ReadAloud.h"

#include "audio/Speech.h"
#include "data/BoundSource.h"
#include "data/Settings.h"
#include "data/SharedState.h"
#include "rules/Utterance.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

namespace {
// Every card that can read, for a change of the setting to reach the open windows.
QList<QPointer<ReadAloud>>& everyCard() {
    static QList<QPointer<ReadAloud>> cards;
    return cards;
}

// The one speaker is shared: the card reading now, whose button shows it pressed.
QPointer<ReadAloud>& readingNow() {
    static QPointer<ReadAloud> card;
    return card;
}

// A loudspeaker with two sound waves, drawn so that no picture file is needed.
QIcon SpeakerIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    QPainterPath body;
    body.moveTo(6, 24);
    body.lineTo(18, 24);
    body.lineTo(34, 10);
    body.lineTo(34, 54);
    body.lineTo(18, 40);
    body.lineTo(6, 40);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 128), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(26, 20, 20, 24), -50 * 16, 100 * 16);
    p.drawArc(QRectF(24, 10, 34, 44), -50 * 16, 100 * 16);
    return QIcon(pixmap);
}

QString TextOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(widget))
        return box->text();
    return {};
}

// Marks a label puts in to keep its Persian order are not read.
QString WithoutMarks(QString text) {
    text.remove(QChar(0x200F));
    text.remove(QChar(0x200E));
    return text;
}
} // namespace

void EnsureSpeechSettings() {
    if (gSpeechRead)
        return;
    gSpeechRead = true;
    Connection connection(ConnectionString());
    gSpeechOn = ReadSetting(connection, kSpeechOnSetting, QStringLiteral("1")) != QLatin1String("0");
    gSpeechVoice = ReadSetting(connection, kSpeechVoiceSetting, QString());
    bool number = false;
    const int rate = ReadSetting(connection, kSpeechRateSetting, QStringLiteral("0")).toInt(&number);
    gSpeechRate = number ? std::clamp(rate, -10, 10) : 0;
}

ReadAloud::ReadAloud(QWidget* form, BoundSource* source, const CardControls& controls)
    : QObject(form), form_(form), source_(source), c_(controls) {
    EnsureSpeechSettings();
    cmdBekhan_ = new QPushButton(form);
    cmdBekhan_->setObjectName(QStringLiteral("cmdBekhan"));
    cmdBekhan_->setIcon(SpeakerIcon());
    cmdBekhan_->setToolTip(QStringLiteral("خواندن سؤال با صدا (F4)"));
    cmdBekhan_->setAccessibleName(QStringLiteral("خواندن سؤال با صدا"));
    cmdBekhan_->setIconSize(QSize(24, 24));
    // Pressed in while reading; the keys stay with the window.
    cmdBekhan_->setCheckable(true);
    cmdBekhan_->setFocusPolicy(Qt::NoFocus);
    cmdBekhan_->setVisible(gSpeechOn);
    connect(cmdBekhan_, &QPushButton::clicked, this, &ReadAloud::cmdBekhan_Click);

    auto* key = new QShortcut(QKeySequence(kReadAloudKey), form);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    connect(key, &QShortcut::activated, this, [this] {
        if (cmdBekhan_->isVisible())
            cmdBekhan_Click();
    });
    connect(source_, &BoundSource::currentRowChanged, this, &ReadAloud::Card_Moved);
    everyCard().removeAll(nullptr);
    everyCard().append(this);
    // The engine takes seconds to make: it is made in the background once the window has stood a
    // moment, so the key finds it ready; a window opened and closed at once never starts it.
    if (gSpeechOn)
        QTimer::singleShot(1000, this, [] { CurrentSpeaker().warmUp(); });
}

ReadAloud::~ReadAloud() {
    if (reading_) {
        disconnect(&CurrentSpeaker(), &Speaker::finished, this, nullptr);
        CurrentSpeaker().stop();
    }
}

void ApplySpeechOnOff() {
    for (ReadAloud* card : std::as_const(everyCard())) {
        if (card)
            card->ShowOnOff();
    }
}

void ReadAloud::ShowOnOff() {
    const bool shown = alwaysShown_ || gSpeechOn;
    if (!shown)
        Stop();
    cmdBekhan_->setVisible(shown);
}

void ReadAloud::setAlwaysShown() {
    alwaysShown_ = true;
    cmdBekhan_->show();
    CurrentSpeaker().warmUp();
}

QString ReadAloud::Utterance() const {
    QStringList options;
    for (QWidget* option : c_.lblG)
        options << WithoutMarks(TextOf(option));
    return QuestionUtterance(WithoutMarks(TextOf(c_.lblSoorateSoal)), options);
}

void ReadAloud::cmdBekhan_Click() {
    if (reading_)
        Stop();
    else
        Read();
}

void ReadAloud::Read() {
    const QString text = Utterance();
    if (text.isEmpty())
        Stop();
    else
        Say(text);
}

void ReadAloud::Say(const QString& text) {
    Speaker& speaker = CurrentSpeaker();
    if (!SpeakerReady()) {
        reading_ = false;
        ShowState();
        return;
    }
    // Another window's reading is cut short by this one: its button comes up.
    if (ReadAloud* other = readingNow(); other && other != this) {
        disconnect(&speaker, &Speaker::finished, other, nullptr);
        other->reading_ = false;
        other->ShowState();
    }
    readingNow() = this;
    // Finishing the reading cut short is not this one's end.
    disconnect(&speaker, &Speaker::finished, this, nullptr);
    speaker.setVoice(gSpeechVoice);
    speaker.setRate(gSpeechRate / 10.0);
    speaker.say(text);
    reading_ = true;
    connect(&speaker, &Speaker::finished, this, &ReadAloud::Speaker_Finished, Qt::UniqueConnection);
    ShowState();
}

void ReadAloud::Stop() {
    if (reading_) {
        Speaker& speaker = CurrentSpeaker();
        disconnect(&speaker, &Speaker::finished, this, nullptr);
        speaker.stop();
    }
    reading_ = false;
    ShowState();
}

void ReadAloud::Card_Moved() {
    Stop();
    if (readOnArrival_)
        ReadSoon();
}

void ReadAloud::ReadSoon() {
    // The card's labels follow the same move; the question is read once they show it.
    const int move = ++move_;
    QTimer::singleShot(0, this, [this, move] {
        if (move == move_ && form_->isVisible())
            Read();
    });
}

void ReadAloud::Speaker_Finished() {
    disconnect(&CurrentSpeaker(), &Speaker::finished, this, nullptr);
    reading_ = false;
    ShowState();
}

void ReadAloud::Speaker_Opened() {
    // A reading asked for before the engine was made: it was handed on, unless there is no voice.
    if (reading_ && !CurrentSpeaker().available()) {
        reading_ = false;
        ShowState();
        SpeakerReady();
    }
}

bool ReadAloud::SpeakerReady() {
    Speaker& speaker = CurrentSpeaker();
    if (!speaker.known()) {
        // Not made yet: the reading waits for the engine, and its absence is told when known.
        connect(&speaker, &Speaker::opened, this, &ReadAloud::Speaker_Opened, Qt::UniqueConnection);
        return true;
    }
    if (speaker.available())
        return true;
    if (!gSpeechRefusalShown) {
        gSpeechRefusalShown = true;
        MsgBox(form_,
               QStringLiteral("خواندن با صدا در اين رايانه ممكن نيست: موتور گفتار (speech-dispatcher) يا "
                              "صداي فارسي آن (espeak-ng) نصب نيست. برنامه بدون صدا ادامه مي دهد."),
               MsgIcon::Information, kAppTitle);
    }
    return false;
}

void ReadAloud::ShowState() {
    cmdBekhan_->setChecked(reading_);
}
