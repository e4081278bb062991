#pragma once

#include <QString>

class BoundSource;

// A graded exam's own copy of its questions, in a bank file of its own in the temporary folder,
// so that it keeps showing them after a new exam has taken the bank's exam table.

// Copies the first `rows` rows of the exam source (the exam table's columns) into a new bank and
// returns its connection string; empty when the copy cannot be made.
QString MakeExamSnapshot(BoundSource* source, int rows);
// Removes a copy made by MakeExamSnapshot once nothing reads it any more.
void RemoveExamSnapshot(const QString& connectionString);
