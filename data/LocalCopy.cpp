#include "data/LocalCopy.h"

#include "data/BankSchema.h"
#include "data/Connection.h"
#include "data/SchoolLink.h"
#include "data/Sql.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <filesystem>
#include <future>

namespace {
// Each table's rows folded into a count and a sum of row hashes: a change of any row changes it.
QString fold(const char* table) {
    return QStringLiteral(
               "(SELECT count(*) || ':' || coalesce(sum(hashtextextended(t::text, 7)), 0) FROM %1 t)")
        .arg(QLatin1String(table));
}
const QString kQuestionsPrint = QStringLiteral("SELECT ") + fold("tblSoal") + QStringLiteral(" || '/' || ") +
                                fold("tblNoeSoal") + QStringLiteral(" || '/' || ") + fold("tblSharh") +
                                QStringLiteral(" || '/' || ") + fold("tblTanzimat") +
                                QStringLiteral(" || '/' || ") + fold("tblTanzimatJadid");
const QString kBoxPrint =
    QStringLiteral("SELECT ") + fold("tblLeitner") + QStringLiteral(" || '/' || ") + fold("tblLeitnerState");

const QString kCopyTable = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS tblLocalCopy (Part TEXT PRIMARY KEY, Fingerprint TEXT NOT NULL)");

struct Table {
    const char* name;
    QStringList columns;
};
const QVector<Table>& questionTables() {
    static const QVector<Table> tables = {
        {"tblNoeSoal", {"NoeSoal", "Farsi", "Tartib"}},
        {"tblSoal",
         {"ID", "Majmooe", "Azmoon", "NoeSoal", "SoorateSoal", "G1", "G2", "G3", "G4", "G_Sahih", "Shekl"}},
        {"tblSharh", {"ID", "Sharh"}},
        {"tblTanzimat", {"Music"}},
        {"tblTanzimatJadid", {"Name", "Value"}},
    };
    return tables;
}
const QVector<Table>& boxTables() {
    static const QVector<Table> tables = {
        {"tblLeitner", {"ID", "Box", "Due", "Fingerprint"}},
        {"tblLeitnerState", {"ID", "NewPerDay", "LastNewDay", "NewOnLastDay"}},
    };
    return tables;
}

QString scalar(QSqlDatabase& db, const QString& text) {
    QSqlQuery q(db);
    return q.exec(text) && q.next() ? q.value(0).toString() : QString();
}

// Copies every row of the tables from the server into the file, in the file's open transaction.
bool copyRows(QSqlDatabase& from, QSqlDatabase& to, const QVector<Table>& tables,
              const std::atomic<bool>* cancel, QString* why) {
    for (const Table& t : tables) {
        const QString name = QLatin1String(t.name);
        QSqlQuery clear(to);
        if (!clear.exec(QStringLiteral("DELETE FROM ") + name)) {
            *why = clear.lastError().text();
            return false;
        }
        QSqlQuery read(from);
        read.setForwardOnly(true);
        QSqlQuery write(to);
        if (!read.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY 1").arg(t.columns.join(u','), name)) ||
            !write.prepare(Engine(to).InsertRow(name, t.columns))) {
            *why = read.lastError().text() + write.lastError().text();
            return false;
        }
        for (qint64 n = 0; read.next(); ++n) {
            if (cancel && (n & 1023) == 0 && cancel->load())
                return false;
            for (int c = 0; c < t.columns.size(); ++c)
                write.bindValue(c, read.value(c));
            if (!write.exec()) {
                *why = name + QStringLiteral(": ") + write.lastError().text();
                return false;
            }
        }
    }
    return true;
}

bool putPrint(QSqlDatabase& db, const QString& part, const QString& print) {
    QSqlQuery q(db);
    return q.exec(kCopyTable) &&
           q.prepare(
               QStringLiteral("INSERT OR REPLACE INTO tblLocalCopy (Part, Fingerprint) VALUES (?, ?)")) &&
           (q.addBindValue(part), q.addBindValue(print), q.exec());
}

class FileDb {
public:
    explicit FileDb(const QString& path) {
        static QAtomicInteger<quint64> counter;
        name_ = QStringLiteral("local-copy-%1").arg(++counter);
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db_.setDatabaseName(path);
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (db_.open())
            QSqlQuery(db_).exec(Engine(db_).OpenConnection());
    }
    ~FileDb() {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase& db() { return db_; }

private:
    QString name_;
    QSqlDatabase db_;
};

CopyOutcome writeAfresh(QSqlDatabase& server, const QString& file, const QString& questions,
                        const QString& box, const std::atomic<bool>* cancel, QString* why) {
    const QString fresh = file + QStringLiteral(".new");
    QFile::remove(fresh);
    bool ok = false;
    {
        FileDb copy(fresh);
        QSqlDatabase& db = copy.db();
        ok = db.isOpen() && db.transaction() && RunSqlScript(db, BaseSchema(), why);
        for (const SchemaStep& step : SchemaSteps())
            ok = ok && RunSqlScript(db, step.script, why);
        ok = ok && QSqlQuery(db).exec(Engine(db).SetSchemaVersion(NewestSchemaVersion()));
        ok = ok && copyRows(server, db, questionTables(), cancel, why) &&
             copyRows(server, db, boxTables(), cancel, why) &&
             putPrint(db, QStringLiteral("questions"), questions) &&
             putPrint(db, QStringLiteral("box"), box) && db.commit();
        if (!ok)
            db.rollback();
    }
    if (!ok) {
        QFile::remove(fresh);
        return cancel && cancel->load() ? CopyOutcome::Cancelled : CopyOutcome::Failed;
    }
    std::error_code ec;
    std::filesystem::rename(fresh.toStdString(), file.toStdString(), ec);
    if (ec) {
        *why = QString::fromStdString(ec.message());
        QFile::remove(fresh);
        return CopyOutcome::Failed;
    }
    return CopyOutcome::Made;
}

std::atomic<bool> stopping{false};
std::future<CopyOutcome>& running() {
    static std::future<CopyOutcome> f;
    return f;
}
} // namespace

CopyOutcome RefreshLocalCopy(const QString& server, const QString& file, const std::atomic<bool>* cancel,
                             QString* why) {
    QString reason;
    why = why ? why : &reason;
    Connection connection(QStringLiteral("Data Source=") + server + u';');
    if (!connection.isOpen()) {
        *why = connection.problem();
        return CopyOutcome::Failed;
    }
    QSqlDatabase& db = connection.database();
    // One snapshot of the server for the prints and the rows alike.
    QSqlQuery(db).exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    const QString questions = scalar(db, kQuestionsPrint);
    const QString box = scalar(db, kBoxPrint);
    if (questions.isEmpty() || box.isEmpty()) {
        *why = QStringLiteral("the server's bank cannot be read");
        return CopyOutcome::Failed;
    }
    QString hadQuestions, hadBox;
    {
        FileDb copy(file);
        if (QFile::exists(file) && copy.db().isOpen()) {
            hadQuestions = scalar(
                copy.db(), QStringLiteral("SELECT Fingerprint FROM tblLocalCopy WHERE Part = 'questions'"));
            hadBox =
                scalar(copy.db(), QStringLiteral("SELECT Fingerprint FROM tblLocalCopy WHERE Part = 'box'"));
        }
    }
    if (hadQuestions != questions)
        return writeAfresh(db, file, questions, box, cancel, why);
    if (hadBox == box)
        return CopyOutcome::Unchanged;
    FileDb copy(file);
    QSqlDatabase& local = copy.db();
    if (local.isOpen() && local.transaction() && copyRows(db, local, boxTables(), cancel, why) &&
        putPrint(local, QStringLiteral("box"), box) && local.commit())
        return CopyOutcome::Made;
    local.rollback();
    return cancel && cancel->load() ? CopyOutcome::Cancelled : CopyOutcome::Failed;
}

void StartLocalCopyRefresh() {
    const QString server = LinkedServer();
    if (server.isEmpty() ||
        (running().valid() && running().wait_for(std::chrono::seconds(0)) != std::future_status::ready))
        return;
    static bool stopsAtExit = false;
    if (!stopsAtExit && QCoreApplication::instance()) {
        stopsAtExit = true;
        qAddPostRoutine([] {
            stopping = true;
            if (running().valid())
                running().wait();
        });
    }
    const QString file = LocalCopyFile();
    running() = std::async(std::launch::async, [server, file] {
        QString why;
        const CopyOutcome out = RefreshLocalCopy(server, file, &stopping, &why);
        if (out == CopyOutcome::Failed)
            qCWarning(lcLink) << "the local copy of" << server << "was not refreshed:" << why;
        return out;
    });
}

CopyOutcome WaitForLocalCopy() {
    return running().valid() ? running().get() : CopyOutcome::Unchanged;
}
