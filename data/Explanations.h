#pragma once

#include "data/Connection.h"

#include <QLoggingCategory>
#include <QString>

// Reading and writing the explanations; a bank without their table is logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcExplanations)

// Why a question's correct option is right, kept in tblSharh (ID, Sharh) by the question's ID: a
// question has one or none. A bank made before explanations existed has no such table and reads
// as a bank whose questions have none.

// The longest explanation the card's strip shows whole, in characters.
inline constexpr int kMaxExplanationLength = 400;

// The explanation of question id as stored; empty when it has none, the bank has no table for
// them or cannot be read. The statement is kept with the connection for the next question.
QString ExplanationOf(Connection& connection, int id);
QString ExplanationOf(const QString& connectionString, int id);

// Stores text, trimmed, as question id's explanation in one transaction; a text that trims to
// nothing deletes it. A bank without the table is given it. False when the bank refused the
// write, nothing of it landed, and *error says why (a read-only bank, another program's lock).
bool SaveExplanation(const QString& connectionString, int id, const QString& text,
                     BankError* error = nullptr);
