#pragma once

#include <QString>

// The texts a school server alone is sent: its learners, its roles and the class's records. A bank
// in a file has none of these; its one learner is whoever uses the PC.
namespace serversql {

// The two group roles a school grants to its logins (make-datadir --postgres makes them).
inline const QString kInstructorRole = QStringLiteral("ravex_instructor");
inline const QString kLearnerRole = QStringLiteral("ravex_learner");

// One row when the role of the bound name exists.
QString RoleExists();
// A role no one logs in as, for the school to grant to its logins.
QString CreateGroupRole(const QString& role);
// The role granted to the login running the statement.
QString GrantRoleToSelf(const QString& role);

// One row: 1 when this login may change the questions, 0 when it may only read them.
QString CanEditQuestions();

// The learners' names, in order: Name.
QString Learners();
// Adds the bound name; a name already there is left as it is.
QString AddLearner();

// This connection names no learner from now on: an instructor's connection then reads every
// learner's history, anyone else's only the rows kept under no name.
QString ReadAsClass();
// Every kept exam: Learner, ExamID, TakenAt, Questions, Correct, Passed; by learner, oldest first.
QString ClassExams();
// Every answer kept, exam and practice: Learner, QuestionID, the day as a Julian day number (null
// when unreadable), right (1 or 0).
QString ClassAnswers();
// The categories' titles: NoeSoal, Farsi.
QString CategoryTitles();

} // namespace serversql
