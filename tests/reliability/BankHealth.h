#pragma once

#include "common/BankLocks.h"

#include <QString>
#include <QStringList>

// What every reliability test checks of a bank after it was used, killed or attacked: the file
// passes SQLite's own check, the exam table holds no exam or a whole one, and every question's
// correct option is an integer 1..4. Each problem found is one line of problems().
struct BankHealth {
    QStringList problems;
    int examRows = -1;
    bool ok() const { return problems.isEmpty(); }
};

BankHealth CheckBank(const QString& bankPath);

// Every row of the tables a user's work lives in, as text: two dumps are equal when nothing
// the program could have written changed.
QString DumpBank(const QString& bankPath);

// A whole exam: 30 rows, one in each of the 30 ranges of IDs; or a mistakes exam, up to 30 rows
// that were every one once answered wrongly.
bool IsWholeExam(const QString& bankPath, QString* why = nullptr);
