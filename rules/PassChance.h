#pragma once

#include "data/LeitnerStore.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

// The chance of passing an exam drawn by the program's own rules, from the learner's answers.
//
// Each question's chance today is a recency-weighted record: every answer, exam or practice, weighs
// half as much for every kHalfLifeDays days since it was given, and the record is pulled towards the
// question's category record with kPriorWeight answers' worth of weight. Forgetting is that pull:
// as old answers fade, the chance returns to what the learner does in the category. A question never
// answered takes its category's record; a category never answered takes the learner's record
// over all of them, and a learner who never answered, an even chance.
//
// The exam draws one number from each of the 30 ranges, uniformly over the numbers it may draw, so
// a range's chance is the mean of its numbers' chances, and the number right is a sum of independent
// unequal coin tosses (Poisson-binomial), summed exactly.

constexpr double kPriorWeight = 2.0;

struct AnswerRecord {
    int id = 0;
    QDate day;
    bool right = false;
};

// The weight of an answer given on `day`, seen from today; a day after today (a clock set back)
// weighs as today.
double AnswerWeight(const QDate& day, const QDate& today);

// The category's record as a chance, pulled towards the learner's record over every category
// (overall) by two answers' worth: with an even overall it is right + 1 over answers + 2.
double CategoryPrior(int right, int answered, double overall = 0.5);

// One question's chance today from its own answers and its category prior.
double QuestionChance(const QVector<AnswerRecord>& answers, double prior, const QDate& today);

// The probability that at least passMark of independent trials with these chances come right.
double PassProbability(const QVector<double>& chances, int passMark);

// What the chance is computed from.
struct ReadinessInput {
    QVector<AnswerRecord> answers;  // every answer kept, any order
    QHash<int, QString> categoryOf; // the category code of every question that has one
    QSet<int> available;            // the numbers the bank holds
    int passMark = 0;               // for the full 30-question exam
    QDate today;
};

struct Readiness {
    double pass = 0;             // the chance of passing, 0..1
    QVector<double> rangeChance; // per range that has a number to draw, in range order
    int passMark = 0;            // against the ranges counted (scaled when some have none)
};

// Each range's draw needs gExamRanges (InitExamRanges).
Readiness ComputeReadiness(const ReadinessInput& input);

// The chance from the answers' summaries alone (input.answers is not read): the same as from the
// answers, seen from the later of today and each question's latest answer.
Readiness ComputeReadiness(const ReadinessInput& input, const QVector<AnswerSummary>& summaries);

// The chance as the windows show it: a whole percentage in Persian digits ("۸۷٪"), or a dash when
// nothing can be drawn.
QString ReadinessText(const Readiness& readiness);
