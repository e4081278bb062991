#pragma once

#include <QDateTime>
#include <QLoggingCategory>
#include <QString>
#include <QVariant>
#include <QVector>
#include <array>

class Connection;

// Failures to keep or read the exam history (the exam itself goes on without it).
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

// The history of graded exams, kept in tables of its own beside the bank's: tblExamHistory (one
// row an exam), tblExamAnswers (one row a question) and tblAzmoonTartib (the shuffle of the exam
// being taken, written with it); an older bank gets them when it is opened (data/BankSchema.h).
// Answers are kept in the source's own option numbering, read through the shuffle recorded at
// assembly, so neither a later edit of the question nor a new shuffle changes what was answered.
// Questions are looked up only through the collections' saved queries, so the history works on
// any bank that has them, whatever tables stand behind them.

// The option order one exam question was dealt in: order[k] is the source option shown at k+1.
struct ExamOrderRow {
    int id = 0;
    std::array<int, 4> order{};
};

// Replaces the recorded shuffle with this exam's, inside the caller's transaction. False (logged)
// when the bank cannot take it; the exam is then given unrecorded.
bool WriteExamOrder(Connection& connection, const QVector<ExamOrderRow>& rows);

// One graded exam as the exam window knows it: its questions in position order with the option
// shown as correct and the option chosen, both in the shown (shuffled) numbering.
struct GradedExam {
    QDateTime takenAt;
    qint64 durationSeconds = 0;
    int passMark = 0; // the mark this exam was graded against
    int correct = 0;
    int wrong = 0;
    bool passed = false;
    bool mistakesExam = false;
    QVector<int> ids;
    QVector<QVariant> shownCorrect;
    QVector<int> shownChosen;
};

struct KeepResult {
    bool kept = false;
    QString reason; // why it was not kept, for the learner
};

// Stores a graded exam and its answers in one transaction; nothing of it lands when any part fails.
// On a school server (or its local copy while the server is out of reach) it is kept once under a
// key made here, through the queue of data/UploadQueue.h when the server does not answer.
KeepResult KeepExam(const QString& connectionString, const GradedExam& exam);
// The same in that bank alone, never through the queue.
KeepResult KeepExamHere(const QString& connectionString, const GradedExam& exam);

// Why the last exam was not kept, this session; empty when it was or none was graded.
QString LastKeepFailure();

// What the progress window shows.
struct KeptExamRow {
    int examId = 0;
    QDateTime takenAt;
    qint64 durationSeconds = 0;
    int passMark = 0;
    int questions = 0;
    int correct = 0;
    int wrong = 0;
    bool passed = false;
    bool mistakesExam = false;
};
struct CategoryScore {
    QString title;
    int answered = 0;
    int right = 0;
};
struct Mistake {
    int id = 0;
    int misses = 0;
};

// The kept exams, newest first; empty when there are none or no tables.
QVector<KeptExamRow> KeptExams(const QString& connectionString);
// Per category, how often its questions were answered right; weakest (lowest share) first.
QVector<CategoryScore> CategoryScores(const QString& connectionString);
// Every question answered wrongly in a kept exam and not answered right since, most missed first.
QVector<Mistake> Mistakes(const QString& connectionString);

// One kept exam to look through again. Its questions are read on the card through
// EngineSql::PastExamQuestions; this is what stands around them.
struct PastExam {
    KeptExamRow exam;                  // examId 0 when no such exam is kept
    int answers = 0;                   // its answers kept
    QVector<CategoryScore> categories; // its share of right answers per category, weakest first
    QString problem;                   // why it cannot be shown, for the learner; empty when it can
};
PastExam ReadPastExam(const QString& connectionString, int examId);

// Why the history cannot be kept in this bank (it would not take the tables, or is read-only),
// or empty when it can.
QString HistoryUnavailableReason(const QString& connectionString);
