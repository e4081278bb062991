#pragma once

#include <QDate>
#include <QSet>
#include <QVector>

// The Leitner box: five boxes, a question in box k due again 1, 2, 4, 8 and 16 calendar days after
// it was last answered. A right answer moves it one box up (box 5 stays), a wrong one to box 1.
// Days are local calendar days, never hours, so an answer at 23:59 is due again the next morning.

constexpr int kLeitnerBoxes = 5;
constexpr int kNewPerDayDefault = 20;

// The wait of box 1..5 in days; boxes out of range are taken as the nearest one.
int LeitnerWait(int box);

struct LeitnerCard {
    int id = 0;
    int box = 1;
    QDate due;
};

// The card after an answer given on `today`.
LeitnerCard LeitnerAnswer(LeitnerCard card, bool right, const QDate& today);

// The day a card is due, seen from today. A clock set back leaves due dates further ahead than
// their box's wait; they are held to that wait, so a card is never locked away longer than its box
// says.
QDate LeitnerDueDay(const LeitnerCard& card, const QDate& today);
bool LeitnerIsDue(const LeitnerCard& card, const QDate& today);
// The cards whose stored due day is held back by LeitnerDueDay, with that day: written back, they
// come due as the clock moves on from where it now stands.
QVector<LeitnerCard> SettleDueDays(const QVector<LeitnerCard>& cards, const QDate& today);

// How many new questions may still join today: perDay less those that joined on `lastDay` when
// that is today. A lastDay after today (the clock set back) counts as today, so moving the clock
// back and forth gives no extra questions.
int NewQuestionsLeft(int perDay, const QDate& lastDay, int joinedOnLastDay, const QDate& today);

// The first `count` of `pool` (in its order) not yet in the box.
QVector<int> PickNewQuestions(const QVector<int>& pool, const QSet<int>& inBox, int count);

// The cards due today, the most overdue first, then the lower box, then by number.
QVector<LeitnerCard> DueCards(const QVector<LeitnerCard>& cards, const QDate& today);
