#pragma once

#include <QSet>

// The exam's ranges of question numbers and the draw of one number from each.

void InitExamRanges();

// Questions an exam never draws: the archive block 195..262 and single numbers retired from
// exams, although the bank may still hold them.
bool IsExcludedFromExams(int id);

// Draws one number from each of the 30 ranges (never an excluded one), records them in gExamIDs
// and gExamFilter ("ID=a Or ID=b ..."), and clears every answer back to option 1. Given the IDs
// the bank holds, each range's number is drawn uniformly among those it may use; a range with
// none then keeps a plain draw, and the caller finds the question missing.
void DrawExamQuestions(const QSet<int>* available = nullptr);
