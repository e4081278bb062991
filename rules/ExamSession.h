#pragma once

#include "rules/Grading.h"

#include <QString>
#include <QTime>
#include <QVector>
#include <array>

// One question of an exam as it was dealt: its ID, the option shown as correct (in the shown,
// shuffled numbering; 0 when the row held no whole number 1..4) and, where the deal is known,
// the source option shown in each slot.
struct ExamQuestion {
    int id = 0;
    int correct = 0;
    std::array<int, 4> order{}; // order[k] = the source's option shown at k + 1; zeros when unknown
};

// How one question of a graded exam went, in the shown numbering.
struct QuestionOutcome {
    int id = 0;
    int chosen = 0;
    int correct = 0;
    bool right = false;
};

// A graded exam: what the result window shows and what the history keeps.
struct ExamResult {
    int questions = 0;
    int correct = 0;
    int wrong = 0; // counted against the exam's size, not against the answers given
    int passMark = 0;
    bool passed = false;
    qint64 elapsedMs = 0;
    QVector<QuestionOutcome> outcomes; // in position order

    QString correctText() const { return QString::number(correct); }
    QString wrongText() const { return QString::number(wrong); }
    QString verdictText() const; // "قبول" or "مردود"
    QString elapsedText() const; // hours and minutes, the seconds cut
};

// The exam being taken, without a widget: its questions, the position, the option chosen at each
// position (1 until the learner chooses), which positions were shown and which are flagged, the
// countdown and grading. The exam window is a view of it.
class ExamSession {
public:
    ExamSession() = default;
    explicit ExamSession(QVector<ExamQuestion> questions, bool mistakesExam = false);

    int size() const { return int(questions_.size()); }
    bool isEmpty() const { return questions_.isEmpty(); }
    bool mistakesExam() const { return mistakes_; }
    const QVector<ExamQuestion>& questions() const { return questions_; }
    // The question at position 1..size; a default one elsewhere.
    ExamQuestion question(int position) const;
    int positionOf(int id) const; // 0 when the exam has no such question

    // The position shown, 1..size (0 in an empty exam). Moving marks the position as shown.
    int position() const { return position_; }
    bool moveTo(int position); // false, and nothing changes, outside 1..size or when already there
    // The card arrived at a row: its question's position becomes the shown one. A row the exam
    // does not hold leaves the position.
    void arrivedAt(int id);

    // The option chosen at a position (1..4; 1 until chosen, 0 outside the exam).
    int answer(int position) const;
    int answer() const { return answer(position_); }
    // Chooses option 1..4 at the shown position; anything else changes nothing. Graded or not:
    // the marker moves after grading too, and a later grading counts what then stands.
    void choose(int option);
    void choose(int position, int option);
    // The marker keys: up 1 -> 4, 2 -> 1, ...; down 1 -> 2, ..., 4 -> 1.
    void markerUp();
    void markerDown();

    bool shown(int position) const;
    bool flagged(int position) const;
    void setFlagged(int position, bool on);
    void toggleFlag() { setFlagged(position_, !flagged(position_)); }

    // The countdown on a monotonic clock. start() takes when the exam began; the first tick takes
    // the exam's time (its duration plus one minute), so a later change in the settings does not
    // touch a running exam.
    void start(qint64 nowMs);
    struct Tick {
        QString text;        // the time left, hours and minutes, the seconds cut
        bool timeUp = false; // true once: at the first tick that reads "00:00"
    };
    Tick tick(qint64 nowMs, const QTime& examTime);
    bool started() const { return startedMs_ >= 0; }
    bool timeUpSeen() const { return timeUp_; }
    QTime limit() const { return limit_; }
    // The time the exam has run at nowMs, counting each tick as at least a whole second: a timer
    // that fires a few milliseconds early must not make the first tick read the full time.
    qint64 elapsedMs(qint64 nowMs) const;

    // Grades the answers as they stand against the pass mark; may run again (time-up leaves the
    // grade button), each time counting afresh.
    ExamResult grade(int passMark, qint64 nowMs);
    bool graded() const { return graded_; }
    int timesGraded() const { return timesGraded_; }
    // Per position, whether the last grading counted it right; empty before grading.
    const QVector<bool>& rightAnswers() const { return right_; }

    // The positions never shown, and the flagged ones, in order.
    QVector<int> unseenPositions() const;
    QVector<int> flaggedPositions() const;

private:
    QVector<ExamQuestion> questions_;
    QVector<int> answers_;
    QVector<bool> shown_;
    QVector<bool> flagged_;
    int position_ = 0;
    bool mistakes_ = false;
    qint64 startedMs_ = -1;
    int ticks_ = 0;
    QTime limit_;
    bool limitTaken_ = false;
    bool timeUp_ = false;
    bool graded_ = false;
    int timesGraded_ = 0;
    QVector<bool> right_;
};

// What the grade button asks first when questions were never shown or are flagged, naming them by
// number in Persian ("سؤالهاي ۴، ۱۷ و ۲۲ را هنوز نديده ايد و سؤال ۹ علامت دارد. آزمون تصحيح
// شود؟"); empty when there is nothing to ask.
QString BeforeGradingQuestion(const QVector<int>& unseen, const QVector<int>& flagged);
QString BeforeGradingQuestion(const ExamSession& session);
