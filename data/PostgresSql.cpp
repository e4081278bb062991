#include "data/CommonSql.h"
#include "data/Connection.h"
#include "data/JetSql.h"
#include "data/ServerSql.h"
#include "data/Sql.h"

#include <QRegularExpression>

// The bank on a school server: PostgreSQL, through Qt's QPSQL driver. Texts that read the same in
// both engines are written once (data/CommonSql); here are the differences: PostgreSQL's stricter
// grammar (every subquery named, no bare columns beside a GROUP BY, IS only with NULL), upserts,
// dates, and the catalogue.

namespace {

// How many of the named tables and views the bank has, in one row.
QString countObjects(const QStringList& names) {
    QStringList terms;
    for (const QString& name : names)
        terms << QStringLiteral("(to_regclass('%1') IS NOT NULL)::int").arg(name);
    return QStringLiteral("SELECT ") + terms.join(QStringLiteral(" + "));
}

// A stored day ("YYYY-MM-DD...") as its Julian day number, null when it is not one.
QString julianDay(const QString& column) {
    return QStringLiteral("CASE WHEN %1 ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}' THEN "
                          "to_char(to_date(substr(%1, 1, 10), 'YYYY-MM-DD'), 'J')::int END")
        .arg(column);
}

QString categoryAnswers(const QString& questions, const QString& where) {
    return QStringLiteral("SELECT s.NoeSoal, c.Farsi, s.Answered, s.RightOnes FROM ("
                          " SELECT q.NoeSoal AS NoeSoal, count(*) AS Answered,"
                          "  sum(CASE WHEN a.Chosen = a.Correct THEN 1 ELSE 0 END) AS RightOnes"
                          " FROM tblExamAnswers a JOIN (%1) q ON q.ID = a.QuestionID%2 GROUP BY q.NoeSoal) s "
                          "JOIN tblNoeSoal c ON c.NoeSoal = s.NoeSoal")
        .arg(questions, where);
}

// An insert that replaces the row of the same key ("A, B" for a key of two columns).
QString upsert(const QString& table, const QStringList& columns, const QString& key,
               const QString& values = QString()) {
    QStringList updates;
    const QStringList keys = key.split(QStringLiteral(", "));
    for (const QString& column : columns) {
        if (!keys.contains(column))
            updates << QStringLiteral("%1 = EXCLUDED.%1").arg(column);
    }
    const QString bound = values.isEmpty()
                              ? QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))
                              : values;
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT (%4) DO UPDATE SET %5")
        .arg(table, columns.join(QStringLiteral(", ")), bound, key, updates.join(QStringLiteral(", ")));
}

// The box and its state are each learner's own: the learner (the column's default) is in the key.
const QString kLearnerKey = QStringLiteral("Learner, ID");

class PostgresSql final : public CommonSql {
public:
    // The run's key for its own exam and the learner, session-wide; statements wait for another
    // session's lock as long as they do for another program's on a file.
    QString OpenConnection() const override {
        return QStringLiteral("SELECT set_config('ravex.session', '%1', false), "
                              "set_config('ravex.learner', '%2', false), "
                              "set_config('lock_timeout', '%3', false)")
            .arg(jetsql::QuoteText(ServerSession()), jetsql::QuoteText(ServerLearner()))
            .arg(kBusyTimeoutMs);
    }
    QString ProbeBank() const override { return QStringLiteral("SELECT 1"); }
    QString BeginWrite() const override { return QStringLiteral("BEGIN"); }
    QString BusyTimeout() const override {
        return QStringLiteral("SELECT setting::int FROM pg_settings WHERE name = 'lock_timeout'");
    }
    QString SetBusyTimeout(int ms) const override { return QStringLiteral("SET lock_timeout = %1").arg(ms); }

    QString SameValueTerm(const QString& column) const override {
        return column + QStringLiteral(" IS NOT DISTINCT FROM ?");
    }
    // A join keeps no order here, as it happens to in SQLite: a category list joined with the
    // category table is ordered by the table's list order, which the category views follow.
    QString FinishJet(const QString& adapted) const override {
        static const QRegularExpression categoryList(
            QStringLiteral(
                R"(^\s*select\s+\w+\.NoeSoal\s*,\s*tblNoeSoal\.Farsi\s+from\s+\w+\s*,\s*tblNoeSoal\s+)"
                R"(where\s+[\w.\s=]+$)"),
            QRegularExpression::CaseInsensitiveOption);
        if (categoryList.match(adapted).hasMatch())
            return adapted + QStringLiteral(" ORDER BY tblNoeSoal.Tartib");
        return adapted;
    }
    QString CountIds(const QString& select) const override {
        return QStringLiteral("SELECT count(*) FROM (SELECT ID FROM (") + select +
               QStringLiteral(") AS rows) AS ids");
    }

    QString ReadSchemaVersion() const override {
        return QStringLiteral("SELECT Version FROM tblSchemaVersion");
    }
    QString SetSchemaVersion(int version) const override {
        return QStringLiteral("UPDATE tblSchemaVersion SET Version = %1").arg(version);
    }
    QString HasObject() const override { return QStringLiteral("SELECT (to_regclass(?) IS NOT NULL)::int"); }
    QString TableNames() const override {
        return QStringLiteral(
            "SELECT tablename FROM pg_tables WHERE schemaname = current_schema() ORDER BY 1");
    }
    QString TableColumns() const override {
        return QStringLiteral("SELECT column_name, data_type, (is_nullable = 'NO')::int, column_default, 0 "
                              "FROM information_schema.columns WHERE table_schema = current_schema() "
                              "AND table_name = lower(?) ORDER BY ordinal_position");
    }
    QString CreateScratchExamTable() const override {
        return QStringLiteral(
            "CREATE TABLE tblAzmoon (ID INTEGER, SoorateSoal TEXT, G1 TEXT, G2 TEXT, G3 TEXT, "
            "G4 TEXT, G_Sahih INTEGER, Shekl INTEGER, NoeSoal TEXT)");
    }

    QString CountHistoryTables() const override {
        return countObjects({QStringLiteral("tblExamHistory"), QStringLiteral("tblExamAnswers"),
                             QStringLiteral("tblAzmoonTartib")});
    }
    QString AddKeptExam() const override {
        return QStringLiteral(
            "INSERT INTO tblExamHistory (TakenAt, Seconds, PassMark, Questions, Correct, Wrong, "
            "Passed, Kind) VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING ExamID");
    }
    QString ProbeHistoryWrite() const override {
        return QStringLiteral("DELETE FROM tblExamHistory WHERE false");
    }
    QString CategoryAnswers() const override { return categoryAnswers(AnsweredCategories(), QString()); }
    QString PastExamQuestions(int examId) const override {
        return QStringLiteral(
                   "SELECT DISTINCT ON (a.Position) a.QuestionID AS ID, q.NoeSoal, q.SoorateSoal, q.G1,"
                   " q.G2, q.G3, q.G4, a.Correct AS G_Sahih, q.Shekl, a.Chosen AS Chosen,"
                   " a.Position AS Position, (q.ID IS NOT NULL)::int AS InBank"
                   " FROM tblExamAnswers a LEFT JOIN (%1) q ON q.ID = a.QuestionID"
                   " WHERE a.ExamID = %2 ORDER BY a.Position")
            .arg(ExamQuestionArms(examId))
            .arg(examId);
    }
    QString PastExamCategoryAnswers(int examId) const override {
        const QString arms =
            QStringLiteral("SELECT ID, NoeSoal FROM (%1) AS asked").arg(ExamQuestionArms(examId));
        return categoryAnswers(arms, QStringLiteral(" WHERE a.ExamID = %1").arg(examId));
    }
    QString Mistakes() const override {
        return QStringLiteral(
            "SELECT QuestionID, Misses FROM ("
            " SELECT QuestionID, sum(CASE WHEN Chosen IS DISTINCT FROM Correct THEN 1 ELSE 0 END) AS Misses,"
            "  max(CASE WHEN Chosen IS DISTINCT FROM Correct THEN ExamID END) AS LastWrong,"
            "  max(CASE WHEN Chosen = Correct THEN ExamID END) AS LastRight"
            " FROM tblExamAnswers GROUP BY QuestionID) AS m"
            " WHERE LastWrong IS NOT NULL AND (LastRight IS NULL OR LastWrong > LastRight)"
            " ORDER BY Misses DESC, LastWrong DESC, QuestionID");
    }

    QString WriteSetting() const override {
        return upsert(QStringLiteral("tblTanzimatJadid"), {QStringLiteral("Name"), QStringLiteral("Value")},
                      QStringLiteral("Name"));
    }
    QString CreateExplanationsTable() const override { return QStringLiteral("SELECT 1"); }
    QString PutExplanation() const override {
        return upsert(QStringLiteral("tblSharh"), {QStringLiteral("ID"), QStringLiteral("Sharh")},
                      QStringLiteral("ID"));
    }

    QString CountLeitnerTables() const override {
        return countObjects(
            {QStringLiteral("tblLeitner"), QStringLiteral("tblLeitnerState"), QStringLiteral("tblPractice")});
    }
    QString LeitnerPoolOf(const QVector<int>& ids) const override {
        return QStringLiteral("SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, 1 AS Pool "
                              "FROM qrySoalateAzmoon WHERE ID IN (%1) UNION "
                              "SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, 0 FROM qryTabloha "
                              "WHERE ID IN (%1) ORDER BY ID, Pool DESC")
            .arg(IdList(ids));
    }
    QString PutLeitnerCard() const override {
        return upsert(QStringLiteral("tblLeitner"),
                      {QStringLiteral("ID"), QStringLiteral("Box"), QStringLiteral("Due"),
                       QStringLiteral("Fingerprint")},
                      kLearnerKey);
    }
    QString PutLeitnerState() const override {
        return upsert(QStringLiteral("tblLeitnerState"),
                      {QStringLiteral("ID"), QStringLiteral("NewPerDay"), QStringLiteral("LastNewDay"),
                       QStringLiteral("NewOnLastDay")},
                      kLearnerKey, QStringLiteral("1, ?, ?, ?"));
    }
    QString AllAnswers() const override {
        return QStringLiteral("SELECT a.QuestionID, %1, coalesce((a.Chosen = a.Correct)::int, 0) "
                              "FROM tblExamAnswers a JOIN tblExamHistory h ON h.ExamID = a.ExamID "
                              "UNION ALL SELECT QuestionID, %2, IsRight FROM tblPractice")
            .arg(julianDay(QStringLiteral("h.TakenAt")), julianDay(QStringLiteral("AnsweredAt")));
    }
    QString PutAnswerSummary() const override {
        return upsert(QStringLiteral("tblAnswerSummary"),
                      {QStringLiteral("QuestionID"), QStringLiteral("Answered"), QStringLiteral("RightCount"),
                       QStringLiteral("RefDay"), QStringLiteral("Weight"), QStringLiteral("RightWeight")},
                      QStringLiteral("Learner, QuestionID"));
    }
    QString CountSummarisedAnswers() const override {
        return QStringLiteral("SELECT (SELECT count(*) FROM tblExamAnswers a JOIN tblExamHistory h "
                              "ON h.ExamID = a.ExamID) + (SELECT count(*) FROM tblPractice), "
                              "(SELECT coalesce(sum(Answered), 0) FROM tblAnswerSummary)");
    }
    QString ExamAnswersOf() const override {
        return QStringLiteral(
                   "SELECT a.QuestionID, %1, coalesce((a.Chosen = a.Correct)::int, 0) "
                   "FROM tblExamAnswers a JOIN tblExamHistory h ON h.ExamID = a.ExamID WHERE a.ExamID = ?")
            .arg(julianDay(QStringLiteral("h.TakenAt")));
    }
    QString DealtQuestion(int id, const std::array<int, 4>& order) const override {
        QStringList correct;
        for (int k = 0; k < 4; ++k)
            correct << QStringLiteral("When %1 Then %2").arg(order[k]).arg(k + 1);
        return QStringLiteral("Select ID, NoeSoal, SoorateSoal, G%1 AS G1, G%2 AS G2, G%3 AS G3, G%4 AS G4, "
                              "Case G_Sahih %5 End AS G_Sahih, Shekl from (%6) AS dealt")
            .arg(order[0])
            .arg(order[1])
            .arg(order[2])
            .arg(order[3])
            .arg(correct.join(u' '), QuestionsInOrder({id}));
    }
};

} // namespace

const EngineSql& PostgresEngine() {
    static const PostgresSql postgres;
    return postgres;
}

namespace serversql {

QString RoleExists() {
    return QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?");
}
QString CreateGroupRole(const QString& role) {
    return QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(role);
}
QString GrantRoleToSelf(const QString& role) {
    return QStringLiteral("GRANT %1 TO CURRENT_USER").arg(role);
}
QString CanEditQuestions() {
    return QStringLiteral("SELECT (has_table_privilege('tblSoal', 'UPDATE') AND "
                          "has_table_privilege('qrySoalat', 'UPDATE'))::int");
}
QString Learners() {
    return QStringLiteral("SELECT Name FROM tblLearners ORDER BY Name");
}
QString AddLearner() {
    return QStringLiteral("INSERT INTO tblLearners (Name) VALUES (?) ON CONFLICT (Name) DO NOTHING");
}
QString ReadAsClass() {
    return QStringLiteral("SELECT set_config('ravex.learner', '', false)");
}
QString ClassExams() {
    return QStringLiteral("SELECT Learner, ExamID, TakenAt, Questions, Correct, Passed FROM tblExamHistory "
                          "ORDER BY Learner, ExamID");
}
QString ClassAnswers() {
    return QStringLiteral("SELECT a.Learner, a.QuestionID, %1, coalesce((a.Chosen = a.Correct)::int, 0) "
                          "FROM tblExamAnswers a JOIN tblExamHistory h ON h.ExamID = a.ExamID "
                          "UNION ALL SELECT Learner, QuestionID, %2, IsRight FROM tblPractice")
        .arg(julianDay(QStringLiteral("h.TakenAt")), julianDay(QStringLiteral("AnsweredAt")));
}
QString CategoryTitles() {
    return QStringLiteral("SELECT NoeSoal, Farsi FROM tblNoeSoal ORDER BY Tartib");
}

} // namespace serversql
