#include "data/CommonSql.h"

// The bank in an SQLite file.

namespace {

// Per category code of the answers a WHERE clause picks: title, answers, right answers.
QString categoryAnswers(const QString& questions, const QString& where) {
    return QStringLiteral("SELECT s.NoeSoal, c.Farsi, s.Answered, s.RightOnes FROM ("
                          " SELECT q.NoeSoal AS NoeSoal, count(*) AS Answered,"
                          "  total(a.Chosen = a.Correct) AS RightOnes"
                          " FROM tblExamAnswers a JOIN (%1) q ON q.ID = a.QuestionID%2 GROUP BY q.NoeSoal) s "
                          "JOIN tblNoeSoal c ON c.NoeSoal = s.NoeSoal")
        .arg(questions, where);
}

class SqliteSql final : public CommonSql {
public:
    QString OpenConnection() const override { return QStringLiteral("PRAGMA foreign_keys = ON"); }
    QString ProbeBank() const override { return QStringLiteral("SELECT count(*) FROM sqlite_master"); }
    QString BeginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString BusyTimeout() const override { return QStringLiteral("PRAGMA busy_timeout"); }
    QString SetBusyTimeout(int ms) const override {
        return QStringLiteral("PRAGMA busy_timeout = %1").arg(ms);
    }

    QString SameValueTerm(const QString& column) const override { return column + QStringLiteral(" IS ?"); }
    QString FinishJet(const QString& adapted) const override { return adapted; }
    // The limit keeps the IDs a query of their own, which the engine would otherwise fold into
    // the count and read whole rows again.
    QString CountIds(const QString& select) const override {
        return QStringLiteral("SELECT count(*) FROM (SELECT ID FROM (") + select +
               QStringLiteral(") LIMIT -1)");
    }

    // The version lives in the file's header, so reading it touches no table.
    QString ReadSchemaVersion() const override { return QStringLiteral("PRAGMA user_version"); }
    QString SetSchemaVersion(int version) const override {
        return QStringLiteral("PRAGMA user_version = %1").arg(version);
    }
    QString HasObject() const override {
        return QStringLiteral("SELECT count(*) > 0 FROM sqlite_master WHERE type IN ('table', 'view') "
                              "AND name = ?");
    }
    QString TableNames() const override {
        return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    }
    QString TableColumns() const override {
        return QStringLiteral(
            "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?) ORDER BY cid");
    }
    QString CreateScratchExamTable() const override {
        return QStringLiteral(
            "CREATE TABLE tblAzmoon (ID INTEGER, SoorateSoal TEXT, G1 TEXT, G2 TEXT, G3 TEXT, "
            "G4 TEXT, G_Sahih INTEGER, Shekl, NoeSoal TEXT)");
    }

    QString CountHistoryTables() const override {
        return QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                              "('tblExamHistory', 'tblExamAnswers', 'tblAzmoonTartib')");
    }
    QString AddKeptExam() const override {
        return QStringLiteral(
            "INSERT INTO tblExamHistory (TakenAt, Seconds, PassMark, Questions, Correct, Wrong, "
            "Passed, Kind) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    }
    QString ProbeHistoryWrite() const override {
        return QStringLiteral("DELETE FROM tblExamHistory WHERE 0");
    }
    QString CategoryAnswers() const override { return categoryAnswers(AnsweredCategories(), QString()); }
    // A question two collections hold alike comes once; one they hold differently, once as either.
    QString PastExamQuestions(int examId) const override {
        return QStringLiteral("SELECT a.QuestionID AS ID, q.NoeSoal, q.SoorateSoal, q.G1, q.G2, q.G3, q.G4,"
                              " a.Correct AS G_Sahih, q.Shekl, a.Chosen AS Chosen, a.Position AS Position,"
                              " q.ID IS NOT NULL AS InBank"
                              " FROM tblExamAnswers a LEFT JOIN (%1) q ON q.ID = a.QuestionID"
                              " WHERE a.ExamID = %2 GROUP BY a.Position ORDER BY a.Position")
            .arg(ExamQuestionArms(examId))
            .arg(examId);
    }
    QString PastExamCategoryAnswers(int examId) const override {
        const QString arms = QStringLiteral("SELECT ID, NoeSoal FROM (%1)").arg(ExamQuestionArms(examId));
        return categoryAnswers(arms, QStringLiteral(" WHERE a.ExamID = %1").arg(examId));
    }
    // Exams are numbered as they were kept, so the latest answer is the one of the highest ExamID,
    // whatever the wall clock said at the time.
    QString Mistakes() const override {
        return QStringLiteral("SELECT QuestionID, Misses FROM ("
                              " SELECT QuestionID, total(Chosen IS NOT Correct) AS Misses,"
                              "  max(CASE WHEN Chosen IS NOT Correct THEN ExamID END) AS LastWrong,"
                              "  max(CASE WHEN Chosen = Correct THEN ExamID END) AS LastRight"
                              " FROM tblExamAnswers GROUP BY QuestionID)"
                              " WHERE LastWrong IS NOT NULL AND (LastRight IS NULL OR LastWrong > LastRight)"
                              " ORDER BY Misses DESC, LastWrong DESC, QuestionID");
    }

    QString WriteSetting() const override {
        return QStringLiteral("INSERT OR REPLACE INTO tblTanzimatJadid (Name, Value) VALUES (?, ?)");
    }
    QString CreateExplanationsTable() const override {
        return QStringLiteral(
            "CREATE TABLE IF NOT EXISTS tblSharh (ID INTEGER PRIMARY KEY, Sharh TEXT NOT NULL)");
    }
    QString PutExplanation() const override {
        return QStringLiteral("INSERT OR REPLACE INTO tblSharh (ID, Sharh) VALUES (?, ?)");
    }

    QString CountLeitnerTables() const override {
        return QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                              "('tblLeitner', 'tblLeitnerState', 'tblPractice')");
    }
    QString LeitnerPoolOf(const QVector<int>& ids) const override {
        const QString in = IdList(ids);
        return QStringLiteral("SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, 1 AS Pool "
                              "FROM qrySoalateAzmoon WHERE ID IN (%1) UNION "
                              "SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, 0 FROM qryTabloha "
                              "WHERE ID IN (%1) ORDER BY ID, Pool DESC")
            .arg(in);
    }
    QString PutLeitnerCard() const override {
        return QStringLiteral(
            "INSERT OR REPLACE INTO tblLeitner (ID, Box, Due, Fingerprint) VALUES (?, ?, ?, ?)");
    }
    QString PutLeitnerState() const override {
        return QStringLiteral("INSERT OR REPLACE INTO tblLeitnerState (ID, NewPerDay, LastNewDay, "
                              "NewOnLastDay) VALUES (1, ?, ?, ?)");
    }
    // An exam's answers are dated by the local day the exam was kept; an unanswered question is wrong.
    QString AllAnswers() const override {
        return QStringLiteral(
            "SELECT a.QuestionID, CAST(julianday(substr(h.TakenAt, 1, 10)) + 0.5 AS INTEGER), "
            "coalesce(a.Chosen = a.Correct, 0) FROM tblExamAnswers a "
            "JOIN tblExamHistory h ON h.ExamID = a.ExamID "
            "UNION ALL SELECT QuestionID, CAST(julianday(AnsweredAt) + 0.5 AS INTEGER), IsRight "
            "FROM tblPractice");
    }
    QString PutAnswerSummary() const override {
        return QStringLiteral("INSERT OR REPLACE INTO tblAnswerSummary (QuestionID, Answered, RightCount, "
                              "RefDay, Weight, RightWeight) VALUES (?, ?, ?, ?, ?, ?)");
    }
    QString CountSummarisedAnswers() const override {
        return QStringLiteral("SELECT (SELECT count(*) FROM tblExamAnswers a JOIN tblExamHistory h "
                              "ON h.ExamID = a.ExamID) + (SELECT count(*) FROM tblPractice), "
                              "(SELECT total(Answered) FROM tblAnswerSummary)");
    }
    QString ExamAnswersOf() const override {
        return QStringLiteral(
            "SELECT a.QuestionID, CAST(julianday(substr(h.TakenAt, 1, 10)) + 0.5 AS INTEGER), "
            "coalesce(a.Chosen = a.Correct, 0) FROM tblExamAnswers a "
            "JOIN tblExamHistory h ON h.ExamID = a.ExamID WHERE a.ExamID = ?");
    }
    QString DealtQuestion(int id, const std::array<int, 4>& order) const override {
        QStringList correct;
        for (int k = 0; k < 4; ++k)
            correct << QStringLiteral("When %1 Then %2").arg(order[k]).arg(k + 1);
        return QStringLiteral("Select ID, NoeSoal, SoorateSoal, G%1 AS G1, G%2 AS G2, G%3 AS G3, G%4 AS G4, "
                              "Case G_Sahih %5 End AS G_Sahih, Shekl from (%6)")
            .arg(order[0])
            .arg(order[1])
            .arg(order[2])
            .arg(order[3])
            .arg(correct.join(u' '), QuestionsInOrder({id}));
    }
};

} // namespace

const EngineSql& SqliteEngine() {
    static const SqliteSql sqlite;
    return sqlite;
}
