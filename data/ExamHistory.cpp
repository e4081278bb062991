#include "data/ExamHistory.h"

#include "data/Connection.h"
#include "data/JetSql.h"
#include "data/LeitnerStore.h"
#include "data/SchoolLink.h"
#include "data/Sql.h"
#include "data/UploadQueue.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <numeric>

Q_LOGGING_CATEGORY(lcHistory, "ravex.history", QtCriticalMsg)

namespace {
const QString kBankUnreadable = QStringLiteral("بانك سؤالات خوانده نشد؛ كارنامه آزمونها در دسترس نيست.");
const QString kNoTables = QStringLiteral("بانك سؤالات جدولهاي كارنامه را ندارد و آنها را "
                                         "نمي‌پذيرد؛ "
                                         "آزمونها نگه داشته نمي‌شوند.");
const QString kReadOnly = QStringLiteral("بانك سؤالات فقط خواندني است؛ آزمونها در كارنامه نگه داشته "
                                         "نمي‌شوند.");
const QString kNoOrder =
    QStringLiteral("ترتيب گزينه‌هاي آزمون در بانك ثبت نشده بود؛ "
                   "اين آزمون در كارنامه نگه داشته نشد.");
const QString kNotWritten =
    QStringLiteral("آزمون در كارنامه نوشته نشد؛ بانك سؤالات نوشتني نيست يا برنامه ديگري آن را در دست دارد.");

const QString kNoHistory = QStringLiteral("بانك سؤالات كارنامه آزمونها را ندارد؛ آزموني براي مرور نيست.");
const QString kExamGone = QStringLiteral("اين آزمون در كارنامه نيست؛ شايد از بانك پاك شده باشد.");
const QString kNoAnswers = QStringLiteral("پاسخهاي اين آزمون در كارنامه نمانده است.");
const QString kExamUnread = QStringLiteral("كارنامه اين آزمون خوانده نشد.");

thread_local QString keepFailure; // each thread its own: learners may keep exams at once
// The shuffle of the exam last dealt in this run, for keeping it when its bank cannot be read
// any more (a school server gone away mid-exam).
QHash<int, std::array<int, 4>> lastDealt;

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
    return query.exec(Engine(connection.database()).CountHistoryTables()) && query.next() &&
           query.value(0).toInt() == 3;
}

QVariant original(const std::array<int, 4>& order, int shown) {
    return shown >= 1 && shown <= 4 ? QVariant(order[shown - 1]) : QVariant(QMetaType(QMetaType::Int));
}

// Each category code's place in the windows' lists: the general questions', the signs', then the
// archive's, as the category queries give them.
QHash<QString, int> listPlaces(Connection& connection) {
    QHash<QString, int> place;
    for (const Collection c : {Collection::General, Collection::Signs, Collection::Old}) {
        QSqlQuery query(connection.database());
        if (!query.exec(jetsql::Adapt(sql::CategoryList(c), Engine(connection.database()))))
            continue;
        while (query.next()) {
            const QString code = query.value(0).toString().trimmed();
            if (!place.contains(code))
                place.insert(code, int(place.size()));
        }
    }
    return place;
}

KeptExamRow examRow(const QSqlQuery& query) {
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
    return row;
}

// The category figures a CategoryAnswers-shaped text gives, weakest share first; between equal
// shares the more answered, then the windows' list order.
QVector<CategoryScore> readScores(Connection& connection, const QString& sql) {
    QVector<CategoryScore> out;
    QSqlQuery query(connection.database());
    if (!query.exec(sql)) {
        qCWarning(lcHistory) << "the category scores do not read:" << query.lastError().text();
        return out;
    }
    QVector<QString> codes;
    while (query.next()) {
        const QString code = query.value(0).toString();
        if (codes.contains(code)) // a code the category table holds twice counts once
            continue;
        codes.append(code);
        out.append({query.value(1).toString(), query.value(2).toInt(), query.value(3).toInt()});
    }
    query = QSqlQuery();
    const QHash<QString, int> place = listPlaces(connection);
    QVector<int> order(out.size());
    std::iota(order.begin(), order.end(), 0);
    const auto at = [&](int i) { return place.value(codes[i].trimmed(), int(place.size())); };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const qint64 left = qint64(out[a].right) * out[b].answered;
        const qint64 right = qint64(out[b].right) * out[a].answered;
        if (left != right)
            return left < right;
        if (out[a].answered != out[b].answered)
            return out[a].answered > out[b].answered;
        return at(a) < at(b);
    });
    QVector<CategoryScore> sorted;
    for (const int i : order)
        sorted.append(out[i]);
    return sorted;
}

KeepResult failed(const QString& reason) {
    keepFailure = reason;
    return {false, reason};
}
} // namespace

bool WriteExamOrder(Connection& connection, const QVector<ExamOrderRow>& rows) {
    bool ok = exec(connection, Engine(connection.database()).ClearExamOrder());
    QSqlQuery insert(connection.database());
    ok = ok && insert.prepare(Engine(connection.database()).AddExamOrder());
    for (int i = 0; ok && i < rows.size(); ++i) {
        insert.bindValue(0, i + 1);
        insert.bindValue(1, rows[i].id);
        for (int k = 0; k < 4; ++k)
            insert.bindValue(2 + k, rows[i].order[k]);
        ok = run(insert, QStringLiteral("recording the shuffle"));
    }
    lastDealt.clear();
    for (int i = 0; ok && i < rows.size(); ++i)
        lastDealt.insert(rows[i].id, rows[i].order);
    if (!ok) {
        lastDealt.clear();
        // A stale order must not be read against the new exam: whatever is left of it goes.
        exec(connection, Engine(connection.database()).ClearExamOrder());
        qCWarning(lcHistory) << "the exam's shuffle is not recorded; it will not be kept";
    }
    return ok;
}

namespace {
bool readOrders(Connection& connection, QHash<int, std::array<int, 4>>* orders) {
    QSqlQuery read(connection.database());
    if (!connection.isOpen() || !read.exec(Engine(connection.database()).ReadExamOrder()))
        return false;
    while (read.next())
        orders->insert(read.value(0).toInt(), {read.value(1).toInt(), read.value(2).toInt(),
                                               read.value(3).toInt(), read.value(4).toInt()});
    return true;
}

bool covers(const QHash<int, std::array<int, 4>>& orders, const QVector<int>& ids) {
    return std::all_of(ids.begin(), ids.end(), [&](int id) { return orders.contains(id); });
}

ExamRecord recordOf(const GradedExam& exam, const QHash<int, std::array<int, 4>>& orders) {
    ExamRecord r;
    r.clientKey = NewClientKey();
    r.learner = ServerLearner();
    r.takenAt = exam.takenAt.toString(Qt::ISODate);
    r.seconds = exam.durationSeconds;
    r.passMark = exam.passMark;
    r.correct = exam.correct;
    r.wrong = exam.wrong;
    r.passed = exam.passed;
    r.mistakesExam = exam.mistakesExam;
    for (int i = 0; i < exam.ids.size(); ++i) {
        const std::array<int, 4>& order = orders[exam.ids[i]];
        bool number = false;
        const int shownCorrect = exam.shownCorrect.value(i).toString().toInt(&number);
        r.answers.append({exam.ids[i], original(order, exam.shownChosen.value(i)),
                          original(order, number ? shownCorrect : 0)});
    }
    return r;
}

KeepResult queued(const QString& server, const ExamRecord& record) {
    if (!EnqueueExam(server, record))
        return failed(kNotWritten);
    keepFailure.clear();
    return {true, QString()};
}

// On a school server the exam is kept once under a key made here, after whatever waits in the
// queue; when the server is out of reach it waits in the queue, and the learner is told once.
// On the server's local copy it is kept there too, for this run's progress window.
KeepResult keepLinked(const QString& connectionString, const GradedExam& exam) {
    const QString server = ServerOf(connectionString);
    Connection connection(connectionString);
    // The exam this run dealt is the one graded: its shuffle holds even when the program moved to
    // the local copy after dealing it on the server.
    QHash<int, std::array<int, 4>> orders = lastDealt;
    if (!covers(orders, exam.ids)) {
        orders.clear();
        readOrders(connection, &orders);
    }
    if (!covers(orders, exam.ids))
        return failed(kNoOrder);
    const ExamRecord record = recordOf(exam, orders);
    if (IsLocalCopy(connectionString)) {
        KeepExamHere(connectionString, exam);
        const KeepResult out = queued(server, record);
        StartUpload();
        return out;
    }
    if (WaitingCount(server) > 0 && UploadQueue(server).waiting > 0)
        return queued(server, record);
    const Delivery d = connection.isOpen() ? DeliverExam(connection.database(), record) : Delivery::Later;
    if (d == Delivery::Done) {
        keepFailure.clear();
        return {true, QString()};
    }
    if (d == Delivery::Refused)
        return failed(kNotWritten);
    if (!connection.isOpen() ? connection.error() == BankError::Unreachable
                             : !QSqlQuery(connection.database()).exec(QStringLiteral("SELECT 1")))
        NoteServerLost();
    return queued(server, record);
}
} // namespace

KeepResult KeepExam(const QString& connectionString, const GradedExam& exam) {
    if (LinkedBank(connectionString))
        return keepLinked(connectionString, exam);
    return KeepExamHere(connectionString, exam);
}

KeepResult KeepExamHere(const QString& connectionString, const GradedExam& exam) {
    Connection connection(connectionString);
    if (!connection.isOpen())
        return failed(kBankUnreadable);
    // The tables come with the bank's upgrade when it is opened; a bank that would not take them
    // keeps no history.
    if (!hasTables(connection))
        return failed(kNoTables);

    QHash<int, std::array<int, 4>> orders;
    QSqlQuery read(connection.database());
    if (!read.exec(Engine(connection.database()).ReadExamOrder()))
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
    bool ok = head.prepare(Engine(connection.database()).AddKeptExam());
    head.addBindValue(exam.takenAt.toString(Qt::ISODate));
    head.addBindValue(exam.durationSeconds);
    head.addBindValue(exam.passMark);
    head.addBindValue(int(exam.ids.size()));
    head.addBindValue(exam.correct);
    head.addBindValue(exam.wrong);
    head.addBindValue(exam.passed ? 1 : 0);
    head.addBindValue(exam.mistakesExam ? QStringLiteral("mistakes") : QStringLiteral("main"));
    ok = ok && run(head, QStringLiteral("keeping the exam"));
    const QVariant examId = ok && head.next() ? head.value(0) : head.lastInsertId();
    QSqlQuery answer(connection.database());
    ok = ok && examId.isValid() && answer.prepare(Engine(connection.database()).AddKeptAnswer());
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
    answer = QSqlQuery();
    ok = ok && AddExamToAnswerSummaries(connection.database(), examId, exam.takenAt.date());
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
    if (!hasTables(connection))
        return kNoTables;
    // A write that is rolled back tells whether the bank takes writes at all.
    const bool writable =
        connection.begin() && exec(connection, Engine(connection.database()).ProbeHistoryWrite());
    connection.rollback();
    return writable ? QString() : kReadOnly;
}

QVector<KeptExamRow> KeptExams(const QString& connectionString) {
    QVector<KeptExamRow> out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    if (!query.exec(Engine(connection.database()).KeptExams())) {
        qCWarning(lcHistory) << "the history does not read:" << query.lastError().text();
        return out;
    }
    while (query.next())
        out.append(examRow(query));
    return out;
}

QVector<CategoryScore> CategoryScores(const QString& connectionString) {
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return {};
    return readScores(connection, Engine(connection.database()).CategoryAnswers());
}

QVector<Mistake> Mistakes(const QString& connectionString) {
    QVector<Mistake> out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    if (!query.exec(Engine(connection.database()).Mistakes())) {
        qCWarning(lcHistory) << "the mistakes do not read:" << query.lastError().text();
        return out;
    }
    while (query.next())
        out.append({query.value(0).toInt(), query.value(1).toInt()});
    return out;
}

PastExam ReadPastExam(const QString& connectionString, int examId) {
    PastExam out;
    Connection connection(connectionString);
    if (!connection.isOpen()) {
        out.problem = kBankUnreadable;
        return out;
    }
    if (!hasTables(connection)) {
        out.problem = kNoHistory;
        return out;
    }
    QSqlQuery head(connection.database());
    if (!head.prepare(Engine(connection.database()).KeptExam())) {
        qCWarning(lcHistory) << "a kept exam does not read:" << head.lastError().text();
        out.problem = kExamUnread;
        return out;
    }
    head.addBindValue(examId);
    if (!run(head, QStringLiteral("reading a kept exam"))) {
        out.problem = kExamUnread;
        return out;
    }
    if (!head.next()) {
        out.problem = kExamGone;
        return out;
    }
    out.exam = examRow(head);
    head = QSqlQuery();

    QSqlQuery count(connection.database());
    if (!count.prepare(Engine(connection.database()).CountKeptAnswers())) {
        out.problem = kExamUnread;
        return out;
    }
    count.addBindValue(examId);
    if (!run(count, QStringLiteral("counting a kept exam's answers")) || !count.next()) {
        out.problem = kExamUnread;
        return out;
    }
    out.answers = count.value(0).toInt();
    count = QSqlQuery();
    if (out.answers == 0) {
        out.problem = kNoAnswers;
        return out;
    }
    out.categories = readScores(connection, Engine(connection.database()).PastExamCategoryAnswers(examId));
    return out;
}
