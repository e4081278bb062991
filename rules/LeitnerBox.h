#pragma once

#include "data/LeitnerStore.h"
#include "rules/Leitner.h"
#include "rules/PassChance.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>
#include <array>

struct QuestionOutcome;

// What the chance of passing needs of the bank's questions: the numbers an exam may draw from, and
// the category of every question the box may hold.
struct ReadinessPool {
    QSet<int> examPool;
    QHash<int, QString> categoryOf;
};

// The learner's Leitner box in the bank, as the window sees it on one day. Opening it settles the
// day: cards whose question left the bank or was edited leave the box, due days a clock set back
// left too far ahead are held to their box's wait, and today's new questions join in box 1.
class LeitnerBox {
public:
    static LeitnerBox Open(const QString& connectionString, const QDate& today);

    bool available() const { return ok_; } // false: the bank has no box (or cannot be read)
    int newPerDay() const { return newPerDay_; }
    // Questions in box 1..5, in that order.
    std::array<int, kLeitnerBoxes> boxCounts() const;
    // The numbers due today, in the order the session takes them.
    QVector<int> dueToday() const;
    int boxOf(int id) const; // 0 when not in the box
    // The first day after today a question is due; invalid when the box is empty.
    QDate nextDue() const;
    // The questions as the bank held them when the box was opened, for the chance of passing.
    const ReadinessPool& readinessPool() const { return pool_; }

    // One practice answer: moves the card and keeps the answer. False when the bank refused it.
    bool answer(int id, bool right);
    // A new daily number of new questions (0..500); today's join at once when it grew.
    bool setNewPerDay(int perDay);

private:
    QString connection_;
    QDate today_;
    bool ok_ = false;
    int newPerDay_ = kNewPerDayDefault;
    QHash<int, LeitnerCard> cards_;
    QHash<int, QString> fingerprints_;
    QVector<int> eligible_; // the pool a new question may come from, by number
    ReadinessPool pool_;
    LeitnerStateRow state_;
    void joinNew();
};

// A kept exam's answers move their questions' cards: wrong to box 1, right one box up; a question
// not yet in the box joins it so. Questions the box cannot hold are passed over.
bool FeedExamToLeitner(const QString& connectionString, const QVector<QuestionOutcome>& outcomes,
                       const QDate& today);

// The chance of passing from every answer the bank keeps, against a 30-question pass mark.
Readiness ReadReadiness(const QString& connectionString, int passMark, const QDate& today);
// The same over the questions read already (LeitnerBox::readinessPool), which saves reading them
// again; the categories of all the collections are read only for an answered question outside it.
Readiness ReadReadiness(const QString& connectionString, int passMark, const QDate& today,
                        const ReadinessPool& pool);
