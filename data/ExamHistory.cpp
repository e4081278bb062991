#include "data/ExamHistory.h"

#include "data/Connection.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcHistory, "ravex.history", QtCriticalMsg)

namespace {
const QString kBankUnreadable = QStringLiteral("بانك سؤالات خوانده نشد؛ كارنامه آزمونها در دسترس نيست.");
const QString kNoTables = QStringLiteral("بانك سؤالات جدولهاي كارنامه را ندارد و آنها را نمي‌پذيرد؛ "
                                         "آزمونها نگه داشته نمي‌شوند.");
const QString kReadOnly = QStringLiteral("بانك سؤالات فقط خواندني است؛ آزمونها در كارنامه نگه داشته "
                                         "نمي‌شوند.");
const QString kNoOrder = QStringLiteral("ترتيب گزينه‌هاي آزمون در بانك ثبت نشده بود؛ اين آزمون در كارنامه "
                                        "نگه داشته نشد.");
const QString kNotWritten =
    QStringLiteral("آزمون در كارنامه نوشته نشد؛ بانك سؤالات نوشتني نيست يا برنامه ديگري آن را در دست دارد.");

// The history's own tables; the bank's tables and views are never touched.
const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS tblExamHistory ("
    " ExamID INTEGER PRIMARY KEY AUTOINCREMENT, TakenAt TEXT NOT NULL, Seconds INTEGER NOT NULL,"
    " PassMark INTEGER NOT NULL, Questions INTEGER NOT NULL, Correct INTEGER NOT NULL,"
    " Wrong INTEGER NOT NULL, Passed INTEGER NOT NULL CHECK (Passed IN (0, 1)),"
    " Kind TEXT NOT NULL DEFAULT 'main' CHECK (Kind IN ('main', 'mistakes')))",
    "CREATE TABLE IF NOT EXISTS tblExamAnswers ("
    " ExamID INTEGER NOT NULL REFERENCES tblExamHistory (ExamID) ON DELETE CASCADE,"
    " Position INTEGER NOT NULL, QuestionID INTEGER NOT NULL,"
    " Chosen INTEGER CHECK (Chosen BETWEEN 1 AND 4), Correct INTEGER CHECK (Correct BETWEEN 1 AND 4),"
    " PRIMARY KEY (ExamID, Position))",
    "CREATE INDEX IF NOT EXISTS tblExamAnswers_QuestionID ON tblExamAnswers (QuestionID)",
    "CREATE TABLE IF NOT EXISTS tblAzmoonTartib ("
    " Position INTEGER PRIMARY KEY, ID INTEGER NOT NULL UNIQUE,"
    " O1 INTEGER NOT NULL, O2 INTEGER NOT NULL, O3 INTEGER NOT NULL, O4 INTEGER NOT NULL)",
};

QString keepFailure;

bool run(QSqlQuery& query, const QString& what) {
    if (query.exec())
        return true;
    qCWarning(lcHistory) << what << "failed:" << query.lastError().text();
    return false;
}

bool exec(Connection& connection, const QString& sql) {
    QSqlQuery query(connection.database());
    if (query.exec(sql))
        return true;
    qCWarning(lcHistory) << "history statement failed:" << sql.left(60) << query.lastError().text();
    return false;
}

bool hasTables(Connection& connection) {
    QSqlQuery query(connection.database());
    return query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                                     "('tblExamHistory', 'tblExamAnswers', 'tblAzmoonTartib')")) &&
           query.next() && query.value(0).toInt() == 3;
}

QVariant original(const std::array<int, 4>& order, int shown) {
    return shown >= 1 && shown <= 4 ? QVariant(order[shown - 1]) : QVariant(QMetaType(QMetaType::Int));
}

KeepResult failed(const QString& reason) {
    keepFailure = reason;
    return {false, reason};
}
} // namespace

bool EnsureHistoryTables(Connection& connection) {
    for (const char* sql : kTables) {
        if (!exec(connection, QString::fromLatin1(sql)))
            return false;
    }
    return true;
}

bool WriteExamOrder(Connection& connection, const QVector<ExamOrderRow>& rows) {
    bool ok =
        EnsureHistoryTables(connection) && exec(connection, QStringLiteral("DELETE FROM tblAzmoonTartib"));
    QSqlQuery insert(connection.database());
    ok = ok && insert.prepare(QStringLiteral("INSERT INTO tblAzmoonTartib (Position, ID, O1, O2, O3, O4) "
                                             "VALUES (?, ?, ?, ?, ?, ?)"));
    for (int i = 0; ok && i < rows.size(); ++i) {
        insert.bindValue(0, i + 1);
        insert.bindValue(1, rows[i].id);
        for (int k = 0; k < 4; ++k)
            insert.bindValue(2 + k, rows[i].order[k]);
        ok = run(insert, QStringLiteral("recording the shuffle"));
    }
    if (!ok) {
        // A stale order must not be read against the new exam: whatever is left of it goes.
        exec(connection, QStringLiteral("DELETE FROM tblAzmoonTartib"));
        qCWarning(lcHistory) << "the exam's shuffle is not recorded; it will not be kept";
    }
    return ok;
}

KeepResult KeepExam(const QString& connectionString, const GradedExam& exam) {
    Connection connection(connectionString);
    if (!connection.isOpen())
        return failed(kBankUnreadable);
    if (!hasTables(connection)) {
        // An older bank gets the tables now; the exam itself was recorded without its shuffle.
        if (!connection.begin() || !EnsureHistoryTables(connection) || !connection.commit()) {
            connection.rollback();
            return failed(HistoryUnavailableReason(connectionString));
        }
        return failed(kNoOrder);
    }

    QHash<int, std::array<int, 4>> orders;
    QSqlQuery read(connection.database());
    if (!read.exec(QStringLiteral("SELECT ID, O1, O2, O3, O4 FROM tblAzmoonTartib")))
        return failed(kNoOrder);
    while (read.next())
        orders.insert(read.value(0).toInt(), {read.value(1).toInt(), read.value(2).toInt(),
                                              read.value(3).toInt(), read.value(4).toInt()});
    for (const int id : exam.ids) {
        if (!orders.contains(id))
            return failed(kNoOrder);
    }

    if (!connection.begin())
        return failed(kNotWritten);
    QSqlQuery head(connection.database());
    bool ok = head.prepare(QStringLiteral(
        "INSERT INTO tblExamHistory (TakenAt, Seconds, PassMark, Questions, Correct, Wrong, Passed, Kind) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    head.addBindValue(exam.takenAt.toString(Qt::ISODate));
    head.addBindValue(exam.durationSeconds);
    head.addBindValue(exam.passMark);
    head.addBindValue(int(exam.ids.size()));
    head.addBindValue(exam.correct);
    head.addBindValue(exam.wrong);
    head.addBindValue(exam.passed ? 1 : 0);
    head.addBindValue(exam.mistakesExam ? QStringLiteral("mistakes") : QStringLiteral("main"));
    ok = ok && run(head, QStringLiteral("keeping the exam"));
    const QVariant examId = head.lastInsertId();
    QSqlQuery answer(connection.database());
    ok = ok && examId.isValid() &&
         answer.prepare(QStringLiteral("INSERT INTO tblExamAnswers (ExamID, Position, QuestionID, Chosen, "
                                       "Correct) VALUES (?, ?, ?, ?, ?)"));
    for (int i = 0; ok && i < exam.ids.size(); ++i) {
        const std::array<int, 4>& order = orders[exam.ids[i]];
        bool number = false;
        const int shownCorrect = exam.shownCorrect.value(i).toString().toInt(&number);
        answer.bindValue(0, examId);
        answer.bindValue(1, i + 1);
        answer.bindValue(2, exam.ids[i]);
        answer.bindValue(3, original(order, exam.shownChosen.value(i)));
        answer.bindValue(4, original(order, number ? shownCorrect : 0));
        ok = run(answer, QStringLiteral("keeping an answer"));
    }
    if (ok && connection.commit()) {
        keepFailure.clear();
        return {true, QString()};
    }
    connection.rollback();
    return failed(kNotWritten);
}

QString LastKeepFailure() {
    return keepFailure;
}

QString HistoryUnavailableReason(const QString& connectionString) {
    Connection connection(connectionString);
    if (!connection.isOpen())
        return kBankUnreadable;
    const bool had = hasTables(connection);
    // A write that is rolled back tells whether the bank takes writes at all.
    const bool writable = connection.begin() && EnsureHistoryTables(connection) &&
                          exec(connection, QStringLiteral("DELETE FROM tblExamHistory WHERE 0"));
    connection.rollback();
    if (writable)
        return {};
    return had ? kReadOnly : kNoTables;
}

QVector<KeptExamRow> KeptExams(const QString& connectionString) {
    QVector<KeptExamRow> out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT ExamID, TakenAt, Seconds, PassMark, Questions, Correct, Wrong, "
                                   "Passed, Kind FROM tblExamHistory ORDER BY ExamID DESC"))) {
        qCWarning(lcHistory) << "the history does not read:" << query.lastError().text();
        return out;
    }
    while (query.next()) {
        KeptExamRow row;
        row.examId = query.value(0).toInt();
        row.takenAt = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
        row.durationSeconds = query.value(2).toLongLong();
        row.passMark = query.value(3).toInt();
        row.questions = query.value(4).toInt();
        row.correct = query.value(5).toInt();
        row.wrong = query.value(6).toInt();
        row.passed = query.value(7).toInt() == 1;
        row.mistakesExam = query.value(8).toString() == QLatin1String("mistakes");
        out.append(row);
    }
    return out;
}

QVector<CategoryScore> CategoryScores(const QString& connectionString) {
    QVector<CategoryScore> out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    if (!query.exec(
            QStringLiteral("SELECT c.Farsi, count(*) AS Answered, total(a.Chosen = a.Correct) AS RightOnes "
                           "FROM tblExamAnswers a JOIN tblSoal s ON s.ID = a.QuestionID "
                           "JOIN tblNoeSoal c ON c.NoeSoal = s.NoeSoal GROUP BY c.NoeSoal "
                           "ORDER BY RightOnes / count(*), count(*) DESC, min(c.Tartib)"))) {
        qCWarning(lcHistory) << "the category scores do not read:" << query.lastError().text();
        return out;
    }
    while (query.next())
        out.append({query.value(0).toString(), query.value(1).toInt(), query.value(2).toInt()});
    return out;
}

QVector<Mistake> Mistakes(const QString& connectionString) {
    QVector<Mistake> out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    // Exams are numbered as they were kept, so the latest answer is the one of the highest ExamID,
    // whatever the wall clock said at the time.
    QSqlQuery query(connection.database());
    if (!query.exec(
            QStringLiteral("SELECT QuestionID, Misses FROM ("
                           " SELECT QuestionID, total(Chosen IS NOT Correct) AS Misses,"
                           "  max(CASE WHEN Chosen IS NOT Correct THEN ExamID END) AS LastWrong,"
                           "  max(CASE WHEN Chosen = Correct THEN ExamID END) AS LastRight"
                           " FROM tblExamAnswers GROUP BY QuestionID)"
                           " WHERE LastWrong IS NOT NULL AND (LastRight IS NULL OR LastWrong > LastRight)"
                           " ORDER BY Misses DESC, LastWrong DESC, QuestionID"))) {
        qCWarning(lcHistory) << "the mistakes do not read:" << query.lastError().text();
        return out;
    }
    while (query.next())
        out.append({query.value(0).toInt(), query.value(1).toInt()});
    return out;
}
