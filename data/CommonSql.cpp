#include "data/CommonSql.h"

QString IdList(const QVector<int>& ids) {
    QStringList out;
    for (const int id : ids)
        out << QString::number(id);
    return out.isEmpty() ? QStringLiteral("NULL") : out.join(u',');
}

QString AnsweredCategories() {
    static const QString text = [] {
        QStringList arms;
        for (const char* query : kCollections)
            arms << QStringLiteral(
                        "SELECT ID, NoeSoal FROM %1 WHERE ID IN (SELECT QuestionID FROM tblExamAnswers)")
                        .arg(QLatin1String(query));
        return arms.join(QStringLiteral(" UNION "));
    }();
    return text;
}

QString ExamQuestionArms(int examId) {
    QStringList arms;
    for (const char* query : kCollections)
        arms << QStringLiteral("SELECT %1 FROM %2 WHERE ID IN (SELECT QuestionID FROM tblExamAnswers "
                               "WHERE ExamID = %3)")
                    .arg(kQuestionColumns, QLatin1String(query))
                    .arg(examId);
    return arms.join(QStringLiteral(" UNION "));
}

QString CommonSql::Commit() const {
    return QStringLiteral("COMMIT");
}

QString CommonSql::Rollback() const {
    return QStringLiteral("ROLLBACK");
}

QString CommonSql::UpdateRow(const QString& table, const QStringList& sets, const QStringList& where) const {
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
        .arg(table, sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND ")));
}

QString CommonSql::InsertRow(const QString& table, const QStringList& columns) const {
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QStringLiteral(", ")),
             QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
}

QString CommonSql::ClearExamOrder() const {
    return QStringLiteral("DELETE FROM tblAzmoonTartib");
}

QString CommonSql::AddExamOrder() const {
    return QStringLiteral(
        "INSERT INTO tblAzmoonTartib (Position, ID, O1, O2, O3, O4) VALUES (?, ?, ?, ?, ?, ?)");
}

QString CommonSql::ReadExamOrder() const {
    return QStringLiteral("SELECT ID, O1, O2, O3, O4 FROM tblAzmoonTartib");
}

QString CommonSql::AddKeptAnswer() const {
    return QStringLiteral("INSERT INTO tblExamAnswers (ExamID, Position, QuestionID, Chosen, Correct) "
                          "VALUES (?, ?, ?, ?, ?)");
}

QString CommonSql::KeptExams() const {
    return QStringLiteral(
        "SELECT ExamID, TakenAt, Seconds, PassMark, Questions, Correct, Wrong, Passed, Kind "
        "FROM tblExamHistory ORDER BY ExamID DESC");
}

QString CommonSql::KeptExam() const {
    return QStringLiteral(
        "SELECT ExamID, TakenAt, Seconds, PassMark, Questions, Correct, Wrong, Passed, Kind "
        "FROM tblExamHistory WHERE ExamID = ?");
}

QString CommonSql::CountKeptAnswers() const {
    return QStringLiteral("SELECT count(*) FROM tblExamAnswers WHERE ExamID = ?");
}

QString CommonSql::ReadSetting() const {
    return QStringLiteral("SELECT Value FROM tblTanzimatJadid WHERE Name = ?");
}

QString CommonSql::CreateSettingsTable() const {
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS tblTanzimatJadid (Name TEXT PRIMARY KEY NOT NULL, Value TEXT)");
}

QString CommonSql::AddCategory() const {
    return QStringLiteral("INSERT INTO tblNoeSoal (NoeSoal, Farsi, Tartib) VALUES (?, ?, ?)");
}

QString CommonSql::AddQuestion() const {
    return QStringLiteral("INSERT INTO tblSoal (ID, Majmooe, Azmoon, NoeSoal, SoorateSoal, G1, G2, G3, G4, "
                          "G_Sahih, Shekl) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

QString CommonSql::AddSettingsRow() const {
    return QStringLiteral("INSERT INTO tblTanzimat (Music) VALUES ('')");
}

QString CommonSql::LeitnerPool() const {
    return QStringLiteral("SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, 1 AS Pool "
                          "FROM qrySoalateAzmoon UNION "
                          "SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, 0 FROM qryTabloha "
                          "ORDER BY ID, Pool DESC");
}

QString CommonSql::QuestionCategories() const {
    QStringList arms;
    for (const char* query : kCollections)
        arms << QStringLiteral("SELECT ID, NoeSoal FROM %1").arg(QLatin1String(query));
    arms << QStringLiteral("SELECT ID, NoeSoal FROM qrySoalateAzmoon");
    return arms.join(QStringLiteral(" UNION "));
}

QString CommonSql::LeitnerCards() const {
    return QStringLiteral("SELECT ID, Box, Due, Fingerprint FROM tblLeitner");
}

QString CommonSql::LeitnerCardsOf(const QVector<int>& ids) const {
    return QStringLiteral("SELECT ID, Box, Due, Fingerprint FROM tblLeitner WHERE ID IN (%1)")
        .arg(IdList(ids));
}

QString CommonSql::RemoveLeitnerCard() const {
    return QStringLiteral("DELETE FROM tblLeitner WHERE ID = ?");
}

QString CommonSql::LeitnerState() const {
    return QStringLiteral("SELECT NewPerDay, LastNewDay, NewOnLastDay FROM tblLeitnerState WHERE ID = 1");
}

QString CommonSql::AddPracticeAnswer() const {
    return QStringLiteral("INSERT INTO tblPractice (AnsweredAt, QuestionID, IsRight) VALUES (?, ?, ?)");
}

QString CommonSql::AnswerSummaries() const {
    return QStringLiteral(
        "SELECT QuestionID, Answered, RightCount, RefDay, Weight, RightWeight FROM tblAnswerSummary");
}

QString CommonSql::ClearAnswerSummaries() const {
    return QStringLiteral("DELETE FROM tblAnswerSummary");
}

QString CommonSql::QuestionsInOrder(const QVector<int>& ids) const {
    if (ids.isEmpty())
        return QStringLiteral("Select %1 from qrySoalat Where 1 = 0").arg(kQuestionColumns);
    QStringList numbers, order;
    for (int i = 0; i < ids.size(); ++i) {
        numbers << QString::number(ids[i]);
        order << QStringLiteral("When %1 Then %2").arg(ids[i]).arg(i);
    }
    QStringList arms;
    for (const char* query : kCollections)
        arms << QStringLiteral("Select %1 from %2 Where ID In (%3)")
                    .arg(kQuestionColumns, QLatin1String(query), numbers.join(u','));
    // A question two collections hold alike comes once.
    return QStringLiteral("Select * from (%1) AS q Order By Case ID %2 End")
        .arg(arms.join(QStringLiteral(" Union ")), order.join(u' '));
}
