#include "data/UploadQueue.h"

#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/SchoolLink.h"
#include "data/Sql.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <future>

namespace {
const QString kDay = QStringLiteral("yyyy-MM-dd");

// The server's own texts for a keyed write (the queue goes to a PostgreSQL server alone).
const QString kAddExam = QStringLiteral(
    "INSERT INTO tblExamHistory (TakenAt, Seconds, PassMark, Questions, Correct, Wrong, Passed, Kind, "
    "ClientKey) VALUES (?, ?, ?, ?, ?, ?, ?, ?, CAST(? AS uuid)) ON CONFLICT (ClientKey) DO NOTHING "
    "RETURNING ExamID");
const QString kAddPractice =
    QStringLiteral("INSERT INTO tblPractice (AnsweredAt, QuestionID, IsRight, ClientKey) VALUES (?, ?, ?, "
                   "CAST(? AS uuid)) ON CONFLICT (ClientKey) DO NOTHING RETURNING PracticeID");
// A keep may wait for others' keeps longer than a window's read waits for a lock.
const QString kPatientLocks = QStringLiteral("SET LOCAL lock_timeout = '15s'");
// An item goes up under the learner it was kept for, not whoever practises on the PC when the
// server is back: the setting holds for the item's own transaction.
const QString kItemsLearner = QStringLiteral("SELECT set_config('ravex.learner', ?, true)");
// The answer summaries are read, added to and written back: one keep at a time does that, or two
// would each write their own sum over the other's.
const QString kSummaryTurn = QStringLiteral("SELECT pg_advisory_xact_lock(515001)");

const QString kQueueSchema = QStringLiteral("CREATE TABLE IF NOT EXISTS tblQueue ("
                                            " Seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                                            " Server TEXT NOT NULL,"
                                            " Kind TEXT NOT NULL CHECK (Kind IN ('exam', 'leitner')),"
                                            " ClientKey TEXT NOT NULL UNIQUE,"
                                            " Body TEXT NOT NULL,"
                                            " QueuedAt TEXT NOT NULL,"
                                            " Held TEXT)");

QVariant nullable(const QJsonValue& v) {
    return v.isNull() || v.isUndefined() ? QVariant(QMetaType(QMetaType::Int)) : QVariant(v.toInt());
}
QJsonValue jsonOf(const QVariant& v) {
    bool ok = false;
    const int n = v.toInt(&ok);
    return v.isNull() || !ok ? QJsonValue() : QJsonValue(n);
}

// One connection to the queue file for the life of the object, on the calling thread.
class QueueDb {
public:
    // Made on the first item queued; a read finds no file and no items.
    explicit QueueDb(bool make = true) {
        if (!make && !QFileInfo::exists(QueueFile()))
            return;
        static QAtomicInteger<quint64> counter;
        name_ = QStringLiteral("upload-queue-%1").arg(++counter);
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db_.setDatabaseName(QueueFile());
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db_.open() || !QSqlQuery(db_).exec(kQueueSchema)) {
            qCWarning(lcLink) << "the queue" << QueueFile() << "does not open:" << db_.lastError().text();
            db_.close();
        }
    }
    ~QueueDb() {
        if (name_.isEmpty())
            return;
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    bool isOpen() const { return db_.isOpen(); }
    QSqlDatabase& db() { return db_; }

private:
    QString name_;
    QSqlDatabase db_;
};

bool enqueue(const QString& server, const QString& kind, const QString& key, const QString& body) {
    QueueDb queue;
    QSqlQuery q(queue.db());
    const bool ok = queue.isOpen() &&
                    q.prepare(QStringLiteral("INSERT INTO tblQueue (Server, Kind, ClientKey, Body, QueuedAt) "
                                             "VALUES (?, ?, ?, ?, ?)")) &&
                    (q.addBindValue(server), q.addBindValue(kind), q.addBindValue(key), q.addBindValue(body),
                     q.addBindValue(QDateTime::currentDateTime().toString(Qt::ISODate)), q.exec());
    if (!ok)
        qCCritical(lcLink) << "an item could not be queued for the server:" << q.lastError().text();
    return ok;
}

bool exec(QSqlQuery& q, const QString& text) {
    if (q.exec(text))
        return true;
    qCWarning(lcLink) << text.left(60) << "failed:" << q.lastError().text();
    return false;
}

// Runs one keyed write in a transaction; a lock given up or a conflict is tried again a few times.
bool setLearner(QSqlDatabase& db, const QString& learner, QSqlError* error) {
    QSqlQuery q(db);
    q.prepare(kItemsLearner);
    q.addBindValue(learner);
    if (q.exec())
        return true;
    *error = q.lastError();
    return false;
}

Delivery inTransaction(QSqlDatabase& db, const QString& learner,
                       const std::function<bool(QSqlError*)>& body) {
    Delivery out = Delivery::Later;
    for (int attempt = 0; attempt < 3; ++attempt) {
        QSqlQuery q(db);
        QSqlError error;
        if (exec(q, Engine(db).BeginWrite()) && exec(q, kPatientLocks) && setLearner(db, learner, &error) &&
            body(&error) && exec(q, Engine(db).Commit()))
            return Delivery::Done;
        if (error.type() == QSqlError::NoError)
            error = q.lastError();
        out = DeliveryOf(db, error);
        QSqlQuery(db).exec(Engine(db).Rollback());
        if (out != Delivery::Later || ClassifyBankError(error, db) != BankError::Busy)
            return out;
    }
    return out;
}

std::mutex& uploading() {
    static std::mutex m;
    return m;
}
} // namespace

QString NewClientKey() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

LeitnerRecord KeyedLeitner(const LeitnerWrite& write) {
    LeitnerRecord out{write, {}, ServerLearner()};
    for (qsizetype i = 0; i < write.practice.size(); ++i)
        out.practiceKeys.append(NewClientKey());
    return out;
}

QString EncodeExam(const ExamRecord& exam) {
    QJsonArray answers;
    for (const ExamRecord::Answer& a : exam.answers)
        answers.append(QJsonArray{a.id, jsonOf(a.chosen), jsonOf(a.correct)});
    const QJsonObject o{
        {QStringLiteral("takenAt"), exam.takenAt},       {QStringLiteral("seconds"), double(exam.seconds)},
        {QStringLiteral("passMark"), exam.passMark},     {QStringLiteral("correct"), exam.correct},
        {QStringLiteral("wrong"), exam.wrong},           {QStringLiteral("passed"), exam.passed},
        {QStringLiteral("mistakes"), exam.mistakesExam}, {QStringLiteral("answers"), answers},
        {QStringLiteral("learner"), exam.learner}};
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

bool DecodeExam(const QString& text, ExamRecord* out) {
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    if (!o.value(QStringLiteral("takenAt")).isString() || !o.value(QStringLiteral("answers")).isArray())
        return false;
    ExamRecord e;
    e.takenAt = o.value(QStringLiteral("takenAt")).toString();
    e.seconds = qint64(o.value(QStringLiteral("seconds")).toDouble());
    e.passMark = o.value(QStringLiteral("passMark")).toInt();
    e.correct = o.value(QStringLiteral("correct")).toInt();
    e.wrong = o.value(QStringLiteral("wrong")).toInt();
    e.passed = o.value(QStringLiteral("passed")).toBool();
    e.mistakesExam = o.value(QStringLiteral("mistakes")).toBool();
    e.learner = o.value(QStringLiteral("learner")).toString();
    for (const QJsonValue& v : o.value(QStringLiteral("answers")).toArray()) {
        const QJsonArray a = v.toArray();
        if (a.size() != 3 || !a[0].isDouble())
            return false;
        e.answers.append({a[0].toInt(), nullable(a[1]), nullable(a[2])});
    }
    e.clientKey = out->clientKey;
    *out = e;
    return true;
}

QString EncodeLeitner(const LeitnerRecord& r) {
    QJsonArray put, remove, practice;
    for (const LeitnerRow& row : r.write.put)
        put.append(QJsonArray{row.id, row.box, row.due.toString(kDay), row.fingerprint});
    for (const int id : r.write.remove)
        remove.append(id);
    for (qsizetype i = 0; i < r.write.practice.size(); ++i) {
        const LeitnerWrite::Practice& p = r.write.practice[i];
        practice.append(QJsonArray{p.id, p.day.toString(kDay), p.right, r.practiceKeys.value(i)});
    }
    QJsonObject o{{QStringLiteral("put"), put},
                  {QStringLiteral("remove"), remove},
                  {QStringLiteral("practice"), practice},
                  {QStringLiteral("learner"), r.learner}};
    if (r.write.writeState)
        o.insert(QStringLiteral("state"), QJsonArray{r.write.state.newPerDay,
                                                     r.write.state.lastNewDay.isValid()
                                                         ? QJsonValue(r.write.state.lastNewDay.toString(kDay))
                                                         : QJsonValue(),
                                                     r.write.state.newOnLastDay});
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

bool DecodeLeitner(const QString& text, LeitnerRecord* out) {
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    if (!o.value(QStringLiteral("put")).isArray() || !o.value(QStringLiteral("practice")).isArray())
        return false;
    LeitnerRecord r;
    for (const QJsonValue& v : o.value(QStringLiteral("put")).toArray()) {
        const QJsonArray a = v.toArray();
        if (a.size() != 4)
            return false;
        r.write.put.append(
            {a[0].toInt(), a[1].toInt(), QDate::fromString(a[2].toString(), kDay), a[3].toString()});
    }
    for (const QJsonValue& v : o.value(QStringLiteral("remove")).toArray())
        r.write.remove.append(v.toInt());
    for (const QJsonValue& v : o.value(QStringLiteral("practice")).toArray()) {
        const QJsonArray a = v.toArray();
        const QDate day = QDate::fromString(a.at(1).toString(), kDay);
        if (a.size() != 4 || !day.isValid() || QUuid::fromString(a[3].toString()).isNull())
            return false;
        r.write.practice.append({a[0].toInt(), day, a[2].toBool()});
        r.practiceKeys.append(a[3].toString());
    }
    if (const QJsonArray s = o.value(QStringLiteral("state")).toArray(); !s.isEmpty()) {
        r.write.writeState = true;
        r.write.state = {s.at(0).toInt(), QDate::fromString(s.at(1).toString(), kDay), s.at(2).toInt()};
    }
    r.learner = o.value(QStringLiteral("learner")).toString();
    *out = r;
    return true;
}

Delivery DeliveryOf(const QSqlDatabase& db, const QSqlError& error) {
    // Only the item itself can be at fault for a statement the server rejects as wrong; a lost
    // connection, a lock, a refused right or a full disk pass, so the item waits for them.
    return ClassifyBankError(error, db) == BankError::Corrupt ? Delivery::Refused : Delivery::Later;
}

Delivery DeliverExam(QSqlDatabase& db, const ExamRecord& exam) {
    return inTransaction(db, exam.learner, [&](QSqlError* error) {
        QSqlQuery head(db);
        const bool prepared = head.prepare(kAddExam);
        head.addBindValue(exam.takenAt);
        head.addBindValue(exam.seconds);
        head.addBindValue(exam.passMark);
        head.addBindValue(int(exam.answers.size()));
        head.addBindValue(exam.correct);
        head.addBindValue(exam.wrong);
        head.addBindValue(exam.passed ? 1 : 0);
        head.addBindValue(exam.mistakesExam ? QStringLiteral("mistakes") : QStringLiteral("main"));
        head.addBindValue(exam.clientKey);
        if (!prepared || !head.exec()) {
            *error = head.lastError();
            return false;
        }
        if (!head.next())
            return true; // kept already under its key: an earlier try was committed
        const QVariant examId = head.value(0);
        head = QSqlQuery();
        // The answers in one statement: one round trip, not thirty.
        QStringList rows;
        for (qsizetype i = 0; i < exam.answers.size(); ++i)
            rows << QStringLiteral("(?, ?, ?, ?, ?)");
        QSqlQuery answer(db);
        if (!rows.isEmpty()) {
            bool ok = answer.prepare(
                QStringLiteral("INSERT INTO tblExamAnswers (ExamID, Position, QuestionID, Chosen, "
                               "Correct) VALUES ") +
                rows.join(QStringLiteral(", ")));
            for (int i = 0; ok && i < exam.answers.size(); ++i) {
                answer.bindValue(i * 5, examId);
                answer.bindValue(i * 5 + 1, i + 1);
                answer.bindValue(i * 5 + 2, exam.answers[i].id);
                answer.bindValue(i * 5 + 3, exam.answers[i].chosen);
                answer.bindValue(i * 5 + 4, exam.answers[i].correct);
            }
            if (!ok || !answer.exec()) {
                *error = answer.lastError();
                return false;
            }
        }
        QSqlQuery turn(db);
        if (!turn.exec(kSummaryTurn)) {
            *error = turn.lastError();
            return false;
        }
        const QDate day = QDateTime::fromString(exam.takenAt, Qt::ISODate).date();
        return AddExamToAnswerSummaries(db, examId, day.isValid() ? day : QDate::currentDate());
    });
}

Delivery DeliverLeitner(QSqlDatabase& db, const LeitnerRecord& record) {
    return inTransaction(db, record.learner, [&](QSqlError* error) {
        if (!WriteLeitnerBox(db, record.write)) {
            *error = QSqlQuery(db).lastError();
            // The box's own statements log their failure; the connection tells whether it is gone.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT 1")))
                *error = probe.lastError();
            else
                *error = QSqlError(QString(), QStringLiteral("the box was not written"),
                                   QSqlError::StatementError, QStringLiteral("XX000"));
            return false;
        }
        QSqlQuery insert(db);
        if (!insert.prepare(kAddPractice)) {
            *error = insert.lastError();
            return false;
        }
        QVector<KeptAnswer> added;
        for (qsizetype i = 0; i < record.write.practice.size(); ++i) {
            const LeitnerWrite::Practice& p = record.write.practice[i];
            insert.bindValue(0, p.day.toString(kDay));
            insert.bindValue(1, p.id);
            insert.bindValue(2, p.right ? 1 : 0);
            insert.bindValue(3, record.practiceKeys.value(i));
            if (!insert.exec()) {
                *error = insert.lastError();
                return false;
            }
            if (insert.next()) // none when kept already under its key
                added.append({p.id, p.day, p.right});
        }
        insert = QSqlQuery();
        if (added.isEmpty())
            return true;
        QSqlQuery turn(db);
        if (!turn.exec(kSummaryTurn)) {
            *error = turn.lastError();
            return false;
        }
        return AddAnswersToSummaries(db, added, added.first().day);
    });
}

bool EnqueueExam(const QString& server, const ExamRecord& exam) {
    return enqueue(server, QStringLiteral("exam"), exam.clientKey, EncodeExam(exam));
}

bool EnqueueLeitner(const QString& server, const LeitnerRecord& record) {
    return enqueue(server, QStringLiteral("leitner"), NewClientKey(), EncodeLeitner(record));
}

QVector<QueuedItem> QueuedItems(const QString& server) {
    QVector<QueuedItem> out;
    QueueDb queue(false);
    QSqlQuery q(queue.db());
    if (!queue.isOpen() ||
        !q.prepare(QStringLiteral("SELECT Seq, Kind, ClientKey, Body, coalesce(Held, '') FROM tblQueue "
                                  "WHERE ? = '' OR Server = ? ORDER BY Seq")))
        return out;
    // A null text would bind as NULL, which equals nothing.
    const QString which = server.isEmpty() ? QStringLiteral("") : server;
    q.addBindValue(which);
    q.addBindValue(which);
    if (!q.exec())
        return out;
    while (q.next())
        out.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                    q.value(3).toString(), q.value(4).toString()});
    return out;
}

int WaitingCount(const QString& server) {
    int n = 0;
    for (const QueuedItem& item : QueuedItems(server))
        n += item.held.isEmpty() ? 1 : 0;
    return n;
}

UploadOutcome UploadQueue(const QString& server) {
    std::lock_guard<std::mutex> one(uploading());
    UploadOutcome out;
    const QVector<QueuedItem> items = QueuedItems(server);
    for (const QueuedItem& item : items)
        out.waiting += item.held.isEmpty() ? 1 : 0;
    if (out.waiting == 0 || server.isEmpty())
        return out;
    Connection connection(QStringLiteral("Data Source=") + server + u';');
    if (!connection.isOpen()) {
        if (connection.error() == BankError::Unreachable)
            NoteServerLost();
        return out;
    }
    out.reached = true;
    QueueDb queue;
    for (const QueuedItem& item : items) {
        if (!item.held.isEmpty())
            continue;
        Delivery d = Delivery::Refused;
        if (item.kind == QLatin1String("exam")) {
            ExamRecord exam;
            exam.clientKey = item.clientKey;
            if (DecodeExam(item.body, &exam))
                d = DeliverExam(connection.database(), exam);
        } else {
            LeitnerRecord record;
            if (DecodeLeitner(item.body, &record))
                d = DeliverLeitner(connection.database(), record);
        }
        if (d == Delivery::Later) {
            out.reached = connection.database().isOpen() &&
                          QSqlQuery(connection.database()).exec(QStringLiteral("SELECT 1"));
            break;
        }
        QSqlQuery q(queue.db());
        if (d == Delivery::Done) {
            // Only now, after the server's commit; should this removal fail, the retry adds nothing.
            q.prepare(QStringLiteral("DELETE FROM tblQueue WHERE Seq = ?"));
            q.addBindValue(item.seq);
            ++out.uploaded;
        } else {
            qCCritical(lcLink) << "the server refuses a queued" << item.kind << item.clientKey
                               << "; it is kept aside in" << QueueFile();
            q.prepare(QStringLiteral("UPDATE tblQueue SET Held = ? WHERE Seq = ?"));
            q.addBindValue(QStringLiteral("refused by the server"));
            q.addBindValue(item.seq);
        }
        if (!q.exec())
            qCWarning(lcLink) << "the queue was not updated:" << q.lastError().text();
        --out.waiting;
    }
    if (out.reached)
        NoteServerBack();
    else
        NoteServerLost();
    return out;
}

namespace {
std::future<void>& background() {
    static std::future<void> f;
    return f;
}
} // namespace

void StartUpload() {
    const QString server = LinkedServer();
    if (server.isEmpty())
        return;
    if (background().valid() && background().wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    static bool waitsAtExit = false;
    if (!waitsAtExit && QCoreApplication::instance()) {
        waitsAtExit = true;
        qAddPostRoutine([] {
            if (background().valid())
                background().wait();
        });
    }
    background() = std::async(std::launch::async, [server] {
        if (WaitingCount(server) > 0)
            UploadQueue(server);
    });
}

bool WriteLeitnerLinked(const QString& connectionString, const LeitnerWrite& write) {
    const QString server = ServerOf(connectionString);
    const LeitnerRecord record = KeyedLeitner(write);
    if (IsLocalCopy(connectionString)) {
        // The box goes on here; the server gets the same step when it is back.
        WriteLeitnerHere(connectionString, write);
        const bool queued = EnqueueLeitner(server, record);
        StartUpload();
        return queued;
    }
    if (WaitingCount(server) > 0 && UploadQueue(server).waiting > 0)
        return EnqueueLeitner(server, record); // after what waits, in order
    Connection connection(connectionString);
    Delivery d = Delivery::Later;
    if (connection.isOpen())
        d = DeliverLeitner(connection.database(), record);
    if (d == Delivery::Done)
        return true;
    if (d == Delivery::Refused)
        return false;
    if (!connection.isOpen() ? connection.error() == BankError::Unreachable
                             : !QSqlQuery(connection.database()).exec(QStringLiteral("SELECT 1")))
        NoteServerLost();
    return EnqueueLeitner(server, record);
}
