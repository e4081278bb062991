#pragma once

#include "data/Classroom.h"
#include "rules/PassChance.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The instructor's report: each learner's exams, last score, chance of passing and weakest
// categories, and the questions the class misses most; the same for the window and the
// command-line report.

inline constexpr int kWeakestCategories = 3;
inline constexpr int kMostMissedQuestions = 10;

struct CategoryShare {
    QString code;
    QString title;
    int answered = 0;
    int right = 0;
};

struct LearnerReport {
    QString name; // empty for what was kept under no name
    int exams = 0;
    std::optional<ClassExam> last;  // the latest exam, none when none was taken
    Readiness readiness;            // the chance of passing, as the Leitner window shows it
    QVector<CategoryShare> weakest; // at most kWeakestCategories, lowest share right first
};

struct MissedQuestion {
    int id = 0;
    int misses = 0;   // wrong answers, exam and practice, over the class
    int answered = 0; // all answers to it
    int learners = 0; // how many learners missed it at least once
    QString text;
};

struct ClassReport {
    QVector<LearnerReport> learners;    // in the order of the records' learners
    QVector<MissedQuestion> mostMissed; // at most kMostMissedQuestions, most missed first
};

// gExamRanges must be set (InitExamRanges) for the chance of passing.
ClassReport BuildClassReport(const ClassRecords& records, int passMark, const QDate& today);

// How a learner is named in the report: the name, or a word for what was kept under none.
QString LearnerLabel(const QString& name);
// A share of answers right as a whole percentage in Persian digits ("۴۰٪").
QString ShareText(int right, int answered);
// A category share as the report writes it: "title ۴۰٪".
QString CategoryShareText(const CategoryShare& share);

// The report as text, a line each, in Persian: the learners, then the most-missed questions.
QStringList ClassReportLines(const ClassReport& report);
