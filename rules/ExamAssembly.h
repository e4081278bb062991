#pragma once

#include "data/ExamHistory.h"

#include <QString>
#include <QVector>
#include <array>

// Building a new exam in the bank: 30 numbers drawn until the bank holds a question for each,
// their options shuffled, the whole exam written to tblAzmoon in place of the last one.

struct ShuffledOptions {
    std::array<QString, 4> options; // in the order the exam shows them
    int correct = 0;                // where the correct option went (1..4); unchanged if it was not 1..4
    std::array<int, 4> order{};     // the source's option number (1..4) shown in each slot
};

// Deals the four options in a random order (a fresh order[k] = int(4 * Rnd()) + 1 per slot, drawn
// again until it is new); correct follows its option.
ShuffledOptions Shuffle(const std::array<QString, 4>& options, int correct);

struct ExamAssemblyResult {
    bool ok = false;
    QString message; // why there is no new exam, or on success what the learner should know; else empty
    int draws = 0;   // how many times the 30 numbers were drawn
    // Where the exam was written: the bank, or a scratch bank of its own when the bank cannot be
    // written (the exam is then taken as usual and not kept).
    QString examConnectionString;
    QVector<ExamOrderRow> dealt; // each question's option order as dealt, in ID order
};

// Assembles a new exam in the bank named by connectionString. It gives up, leaving the previous
// exam whole, when the bank cannot be read, when some range has no question an exam may draw, or
// when maxDraws draws never found all 30 questions.
ExamAssemblyResult AssembleExam(const QString& connectionString, int maxDraws = 200);

// Assembles an exam over the given questions (the mistakes exam): those of them an exam may draw,
// at most 30, shuffled and written as AssembleExam writes its 30. It fails, leaving the previous
// exam whole, when the bank cannot be read or written or none of them is left to ask.
ExamAssemblyResult AssembleExamOf(const QString& connectionString, const QVector<int>& ids);
