#include "data/Classroom.h"

#include "data/ServerSql.h"
#include "data/Sql.h"

#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcClassroom, "ravex.classroom", QtWarningMsg)

namespace {
bool onServer(const QString& connectionString) {
    return IsServerAddress(DataSourceOf(connectionString));
}

bool read(QSqlQuery& query, const QString& text, const char* what) {
    query.setForwardOnly(true);
    if (query.exec(text))
        return true;
    qCWarning(lcClassroom) << what << "does not read:" << query.lastError().text();
    return false;
}
} // namespace

QStringList ReadLearners(const QString& connectionString) {
    QStringList out;
    if (!onServer(connectionString))
        return out;
    Connection connection(connectionString);
    if (!connection.isOpen())
        return out;
    QSqlQuery query(connection.database());
    if (!read(query, serversql::Learners(), "the learners"))
        return out;
    while (query.next())
        out << query.value(0).toString();
    return out;
}

bool AddLearner(const QString& connectionString, const QString& name, BankError* error) {
    const QString trimmed = name.trimmed();
    const auto fail = [error](BankError why) {
        if (error)
            *error = why;
        return false;
    };
    if (trimmed.isEmpty())
        return fail(BankError::None);
    Connection connection(connectionString);
    if (!connection.isOpen())
        return fail(connection.error());
    QSqlQuery query(connection.database());
    if (!query.prepare(serversql::AddLearner()))
        return fail(ClassifyBankError(query.lastError(), connection.database()));
    query.addBindValue(trimmed);
    if (!query.exec()) {
        qCWarning(lcClassroom) << "the learner was not kept:" << query.lastError().text();
        return fail(ClassifyBankError(query.lastError(), connection.database()));
    }
    if (error)
        *error = BankError::None;
    return true;
}

bool MayEditQuestions(const QString& connectionString) {
    if (!onServer(connectionString))
        return true;
    Connection connection(connectionString);
    if (!connection.isOpen())
        return true; // a server out of reach says so itself when the window reads it
    QSqlQuery query(connection.database());
    if (!read(query, serversql::CanEditQuestions(), "the right to edit") || !query.next())
        return true; // the server's own refusal of a write still tells
    return query.value(0).toInt() == 1;
}

bool EnsureSchoolRoles(QSqlDatabase& db, QString* error, QString* note) {
    for (const QString& role : {serversql::kInstructorRole, serversql::kLearnerRole}) {
        QSqlQuery exists(db);
        if (!exists.prepare(serversql::RoleExists()) || (exists.addBindValue(role), !exists.exec())) {
            if (error)
                *error = exists.lastError().text();
            return false;
        }
        if (exists.next())
            continue;
        QSqlQuery create(db);
        if (!create.exec(serversql::CreateGroupRole(role))) {
            if (error)
                *error = QStringLiteral("the role %1 is missing and this login may not make it (%2); a "
                                        "superuser makes it with: CREATE ROLE %1 NOLOGIN")
                             .arg(role, create.lastError().databaseText());
            return false;
        }
    }
    QSqlQuery grant(db);
    if (!grant.exec(serversql::GrantRoleToSelf(serversql::kInstructorRole)) && note)
        *note = QStringLiteral("this login could not be made an instructor (%1); grant it %2 to read "
                               "every learner's records")
                    .arg(grant.lastError().databaseText(), serversql::kInstructorRole);
    return true;
}

ClassRecords ReadClassRecords(const QString& connectionString) {
    ClassRecords out;
    if (!onServer(connectionString)) {
        out.problem = kReportNeedsServerText;
        return out;
    }
    Connection connection(connectionString);
    if (!connection.isOpen()) {
        out.problem = connection.problem();
        return out;
    }
    QSqlDatabase& db = connection.database();
    const EngineSql& engine = Engine(db);
    QSqlQuery query(db);
    const auto failed = [&](const char* what) {
        qCWarning(lcClassroom) << what << "does not read:" << query.lastError().text();
        out.problem = BankErrorText(ClassifyBankError(query.lastError(), db));
        return out;
    };
    if (!query.exec(serversql::ReadAsClass()))
        return failed("the class");
    if (!read(query, serversql::Learners(), "the learners"))
        return failed("the learners");
    while (query.next())
        out.learners << query.value(0).toString();
    if (!read(query, serversql::ClassExams(), "the exams"))
        return failed("the exams");
    while (query.next()) {
        ClassExam exam;
        exam.learner = query.value(0).toString();
        exam.examId = query.value(1).toInt();
        exam.takenAt = QDateTime::fromString(query.value(2).toString(), Qt::ISODate);
        exam.questions = query.value(3).toInt();
        exam.correct = query.value(4).toInt();
        exam.passed = query.value(5).toInt() == 1;
        out.exams << exam;
    }
    if (!read(query, serversql::ClassAnswers(), "the answers"))
        return failed("the answers");
    QSet<int> answered;
    while (query.next()) {
        const QVariant day = query.value(2);
        out.answers << ClassAnswer{query.value(0).toString(), query.value(1).toInt(),
                                   day.isNull() ? QDate() : QDate::fromJulianDay(day.toLongLong()),
                                   query.value(3).toInt() == 1};
        answered.insert(out.answers.last().id);
    }
    if (!read(query, engine.QuestionCategories(), "the categories"))
        return failed("the categories");
    while (query.next())
        out.categoryOf.insert(query.value(0).toInt(), query.value(1).toString().trimmed());
    if (!read(query, serversql::CategoryTitles(), "the titles"))
        return failed("the titles");
    while (query.next())
        out.titleOf.insert(query.value(0).toString().trimmed(), query.value(1).toString());
    if (!read(query, sql::ExamPoolNumbers(1, 32768), "the exam pool"))
        return failed("the exam pool");
    while (query.next())
        out.examPool.insert(query.value(0).toInt());
    const QList<int> ids(answered.cbegin(), answered.cend());
    if (!ids.isEmpty()) {
        if (!read(query, engine.QuestionsInOrder(QVector<int>(ids.cbegin(), ids.cend())), "the questions"))
            return failed("the questions");
        while (query.next())
            out.questionText.insert(query.value(0).toInt(), query.value(2).toString());
    }
    // A name the records carry but the list lacks (kept before the list, or under no name) is
    // still a learner of the class.
    for (const ClassExam& exam : out.exams) {
        if (!out.learners.contains(exam.learner))
            out.learners << exam.learner;
    }
    for (const ClassAnswer& answer : out.answers) {
        if (!out.learners.contains(answer.learner))
            out.learners << answer.learner;
    }
    out.ok = true;
    return out;
}
