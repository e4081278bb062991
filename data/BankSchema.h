#pragma once

#include "data/Connection.h"

#include <QLoggingCategory>
#include <QString>
#include <QVector>

class QSqlDatabase;

// Steps that could not be given to a bank (the bank then goes on at the version it had).
Q_DECLARE_LOGGING_CATEGORY(lcSchema)

// The bank's schema as bank/schema.sql holds it, compiled into the program: first the bank as it
// was before it kept a version (version 0), then the numbered steps, each headed
// "-- step N: what it adds", each bringing a bank from version N-1 to N.
struct SchemaStep {
    int version = 0;
    QString title;
    QString script;
};

QString BaseSchema();
const QVector<SchemaStep>& SchemaSteps();
int NewestSchemaVersion();
// The same for a bank on a school server (bank/schema-postgres.sql), step for step.
QString ServerBaseSchema();
const QVector<SchemaStep>& ServerSchemaSteps();
// A server's bank goes on past the file's with steps of its own (learners, roles), so its newest
// version is its own.
int NewestServerSchemaVersion();

// Runs the statements of an SQL script, triggers included, on an open database, up to the first
// that fails; error then holds the engine's message and the statement.
bool RunSqlScript(QSqlDatabase& db, const QString& script, QString* error);

// The version a bank records; -1 when it cannot be read.
int SchemaVersion(QSqlDatabase& db);

struct UpgradeOutcome {
    int from = -1;                     // the version the bank had
    int to = -1;                       // the version it is left at
    int stepsRun = 0;                  // how many steps were given to it
    QString error;                     // why a step failed; empty when none did
    BankError cause = BankError::None; // what the engine said of the bank, where it said it
    bool ok() const { return error.isEmpty(); }
};

// Gives a question bank the steps it lacks, in order. Each step is one transaction that records
// its number with it: a step that fails (a read-only file, a table of the step's name in another
// shape) leaves the bank as it was before that step, and the steps after it are not tried. A bank
// that has every step costs one read; a database without the category table (no question bank)
// and a bank newer than this program are left alone.
UpgradeOutcome UpgradeBank(QSqlDatabase& db);

// UpgradeBank for a connection just opened on file. A file on which the steps could not be given
// is not tried again in this run until it changes, unless another program held it at the time.
void UpgradeOnOpen(QSqlDatabase& db, const QString& file);
