#pragma once

#include "data/Connection.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads and writes of the learners, the roles and the class's records on a school server that failed.
Q_DECLARE_LOGGING_CATEGORY(lcClassroom)

// What the editor tells a login that may only read the questions (a learner), before they type
// and when the server refuses their write.
inline const QString kInstructorOnlyText = QStringLiteral("ويرايش سؤالات فقط براي مربي است.");

// The learners' names on the server, in order; empty on a file, or when none is kept yet.
QStringList ReadLearners(const QString& connectionString);
// Keeps a learner's name (trimmed; a name kept already stays as it is). False when the name is
// empty or the server refused it, *error saying why.
bool AddLearner(const QString& connectionString, const QString& name, BankError* error = nullptr);

// Whether this login may change the questions and explanations: always on a file; on a server,
// only a role with the right (the instructor's), as the server's own privileges say.
bool MayEditQuestions(const QString& connectionString);

// Makes the roles ravex_instructor and ravex_learner on the server db is open on, where missing,
// and makes the login running it an instructor. False with *error when a role is missing and
// this login may not make it; a login that may not be made an instructor is only said in *note.
bool EnsureSchoolRoles(QSqlDatabase& db, QString* error, QString* note);

// Every learner's records, as an instructor reads them for the report.
struct ClassExam {
    QString learner;
    int examId = 0;
    QDateTime takenAt;
    int questions = 0;
    int correct = 0;
    bool passed = false;
};
struct ClassAnswer {
    QString learner;
    int id = 0;
    QDate day;
    bool right = false;
};
struct ClassRecords {
    bool ok = false;
    QString problem;                  // why they could not be read, for the instructor
    QStringList learners;             // tblLearners, with any name the records carry besides
    QVector<ClassExam> exams;         // by learner, oldest first
    QVector<ClassAnswer> answers;     // exam and practice answers
    QHash<int, QString> categoryOf;   // every question's category code
    QHash<QString, QString> titleOf;  // every category's title
    QHash<int, QString> questionText; // the text of every question answered
    QSet<int> examPool;               // the numbers an exam may draw
};
// Read over a connection that names no learner: an instructor sees every learner's rows, anyone
// else only what was kept under no name. On a file, ok is false and problem says the report is
// for a school server.
ClassRecords ReadClassRecords(const QString& connectionString);

// What the report says of a bank in a file.
inline const QString kReportNeedsServerText =
    QStringLiteral("گزارش مربي براي سرور آموزشگاه است؛ اين برنامه بانك سؤالات همين رايانه را باز كرده "
                   "است و كارنامه شاگردان ديگر را ندارد.");
