#pragma once

#include "card/QuestionCard.h"

#include <QObject>
#include <QString>

class QPushButton;
class BoundSource;
class QWidget;

// The key that reads the shown question aloud, and stops the reading, in every question window.
inline constexpr Qt::Key kReadAloudKey = Qt::Key_F4;

// Reads the question on a card aloud: the speaker button cmdBekhan and the key F4 read the
// question, then each option with its number; pressed again, or the card moved to another
// question, the reading stops at once. The window places the button with its layout table. The
// reading goes to the current speaker (audio/Speech.h) with the voice and pace of the settings.
class ReadAloud : public QObject {
    Q_OBJECT
public:
    // Made with the card's controls, before the card itself, so the window places the button with
    // the rest of its layout.
    ReadAloud(QWidget* form, BoundSource* source, const CardControls& controls);
    ~ReadAloud() override; // a window closed while reading falls silent

    QPushButton* button() const { return cmdBekhan_; }
    bool reading() const { return reading_; }
    // The oral exam reads every question as it arrives.
    void setReadOnArrival(bool on) { readOnArrival_ = on; }
    // The oral exam keeps its speaker whatever the setting says.
    void setAlwaysShown();
    // What the card shows, as it is read.
    QString Utterance() const;
    // Reads the shown question from its start.
    void Read();
    // Reads the shown question once the window has shown it, and once only however often asked
    // before that.
    void ReadSoon();
    // Reads any text (the time left, the result) in the same voice, cutting short what was read.
    void Say(const QString& text);
    void Stop();
    // Shows the speaker as the setting says (the oral exam's always).
    void ShowOnOff();

public slots:
    void cmdBekhan_Click();

private:
    void Card_Moved();
    void Speaker_Finished();
    void Speaker_Opened();
    // Whether the speaker can read; the first time it cannot, the learner is told why, once a run.
    bool SpeakerReady();
    void ShowState();

    QWidget* form_;
    BoundSource* source_;
    CardControls c_;
    QPushButton* cmdBekhan_;
    bool reading_ = false;
    bool alwaysShown_ = false;
    bool readOnArrival_ = false;
    int move_ = 0; // counts moves, so a reading asked for one question is not made for the next
};

// The reading settings (on or off, voice, pace), read from the bank the first time they are asked
// for in a run.
void EnsureSpeechSettings();
// Reading turned on or off: every open window shows or hides its speaker (a reading stops).
void ApplySpeechOnOff();
