#pragma once

#include <QDate>
#include <QLoggingCategory>
#include <QString>
#include <QVector>

// Failures to read or keep the Leitner box (the box then shows what it has, and the exam goes on).
Q_DECLARE_LOGGING_CATEGORY(lcLeitner)

// The Leitner box's tables (tblLeitner, tblLeitnerState, tblPractice) and the answers the chance
// of passing is computed from. Questions are read only through the collections' saved queries.

struct LeitnerRow {
    int id = 0;
    int box = 1;
    QDate due;
    QString fingerprint; // the question's text when it joined
};

struct LeitnerStateRow {
    int newPerDay = 20;
    QDate lastNewDay;
    int newOnLastDay = 0;
};

// A question the box may hold: an exam may draw it (examPool) or it is a sign.
struct PoolQuestion {
    int id = 0;
    QString category;
    QString fingerprint; // changes when its text, options or correct option change
    bool examPool = false;
};

struct LeitnerData {
    bool ok = false;            // false: the bank or its tables could not be read
    QVector<PoolQuestion> pool; // by number
    QVector<LeitnerRow> cards;
    LeitnerStateRow state;
};

LeitnerData ReadLeitner(const QString& connectionString);

// What one step of the box writes, in one transaction: nothing of it lands when any part fails.
struct LeitnerWrite {
    QVector<LeitnerRow> put;
    QVector<int> remove;
    bool writeState = false;
    LeitnerStateRow state;
    struct Practice {
        int id = 0;
        QDate day;
        bool right = false;
    };
    QVector<Practice> practice;
};
bool WriteLeitner(const QString& connectionString, const LeitnerWrite& write);

// Every answer kept, exam and practice, by the local day it was given.
struct KeptAnswer {
    int id = 0;
    QDate day;
    bool right = false;
};
QVector<KeptAnswer> ReadKeptAnswers(const QString& connectionString);
// Every question's category code, through all the collections.
QHash<int, QString> ReadQuestionCategories(const QString& connectionString);
