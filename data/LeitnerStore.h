#pragma once

#include <QDate>
#include <QLoggingCategory>
#include <QString>
#include <QVector>

class QSqlDatabase;
class QVariant;

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

// How many new questions join the box a day, among the program's settings. A bank that kept it in
// tblLeitnerState before has that value moved there the first time the box is read.
inline const QString kLeitnerNewPerDaySetting = QStringLiteral("LeitnerNewPerDay");

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

// The whole box, or (only given) just those questions' pool rows and cards: a kept exam's thirty
// are read by key, whatever the size of the bank.
LeitnerData ReadLeitner(const QString& connectionString, const QVector<int>* only = nullptr);

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
// The same on that bank alone, never through the queue for a school server.
bool WriteLeitnerHere(const QString& connectionString, const LeitnerWrite& write);
// The cards, removals and settings of a write (not its practice answers), in the caller's
// transaction on db.
bool WriteLeitnerBox(QSqlDatabase db, const LeitnerWrite& write);

// Every answer kept, exam and practice, by the local day it was given.
struct KeptAnswer {
    int id = 0;
    QDate day;
    bool right = false;
};

// An answer weighs half as much for every kHalfLifeDays days of age; a negative age (a clock set
// back) weighs as none.
constexpr double kHalfLifeDays = 30.0;
double AgeWeight(qint64 days);

// A question's answers folded into a few numbers, so the chance need not read every answer again.
// The weights are summed as seen from refDay, the day of its latest answer; any later day sees them
// by one factor, AgeWeight(refDay.daysTo(day)).
struct AnswerSummary {
    int id = 0;
    int answered = 0, right = 0;
    QDate refDay;
    double weight = 0, rightWeight = 0;
};
// One more answer; an answer with no readable day counts as given on refDay (or fallback).
void AddToSummary(AnswerSummary& summary, const KeptAnswer& answer, const QDate& fallback);
QVector<AnswerSummary> SummariseAnswers(const QVector<KeptAnswer>& answers, const QDate& fallback);

// The summaries the bank keeps beside the answers (tblAnswerSummary). When they do not account
// for every answer kept (a bank from before them, answers removed), they are made afresh from the
// answers and kept. Empty with *ok false when the bank has no summary table or cannot be read.
QVector<AnswerSummary> ReadAnswerSummaries(const QString& connectionString, const QDate& today, bool* ok);
// Adds one kept exam's answers (just inserted, in the transaction open on db) to the summaries.
// A bank without the summary table is passed over.
bool AddExamToAnswerSummaries(QSqlDatabase db, const QVariant& examId, const QDate& today);
// Adds answers just kept (in the transaction open on db) to their questions' summaries.
bool AddAnswersToSummaries(QSqlDatabase db, const QVector<KeptAnswer>& added, const QDate& today);
QVector<KeptAnswer> ReadKeptAnswers(const QString& connectionString);
// Every question's category code, through all the collections.
QHash<int, QString> ReadQuestionCategories(const QString& connectionString);
