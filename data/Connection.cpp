#include "data/Connection.h"

#include "data/BankSchema.h"
#include "data/Sql.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <future>

Q_LOGGING_CATEGORY(lcData, "ravex.data", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSql, "ravex.sql", QtCriticalMsg)

QString DataSourceOf(const QString& connectionString) {
    // key=value pairs separated by ';'; a value may be wrapped in double quotes to hold a ';'.
    qsizetype i = 0;
    const qsizetype n = connectionString.size();
    while (i < n) {
        const qsizetype eq = connectionString.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = connectionString.mid(i, eq - i).trimmed();
        QString value;
        qsizetype j = eq + 1;
        while (j < n && connectionString[j] == u' ')
            ++j;
        if (j < n && connectionString[j] == u'"') {
            const qsizetype close = connectionString.indexOf(u'"', j + 1);
            value = connectionString.mid(j + 1, (close < 0 ? n : close) - j - 1);
            j = close < 0 ? n : connectionString.indexOf(u';', close);
            j = j < 0 ? n : j;
        } else {
            const qsizetype semi = connectionString.indexOf(u';', j);
            const qsizetype end = semi < 0 ? n : semi;
            value = connectionString.mid(j, end - j).trimmed();
            j = end;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return value;
        i = j + 1;
    }
    return {};
}

BankError ClassifyBankError(const QSqlError& error) {
    if (error.type() == QSqlError::NoError)
        return BankError::None;
    // The driver reports SQLite's result code; its low byte is the primary code.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (!ok)
        return BankError::Corrupt;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return BankError::Busy;
    case 8:  // SQLITE_READONLY
    case 23: // SQLITE_AUTH
        return BankError::ReadOnly;
    case 13: // SQLITE_FULL
        return BankError::Full;
    case 14: // SQLITE_CANTOPEN
        return BankError::Missing;
    case 10: // SQLITE_IOERR: a write the file system refused (over a size limit, a bad disk)
        return BankError::Full;
    default: // corrupt, not a database, no such table or column, a type the bank refuses
        return BankError::Corrupt;
    }
}

void Connection::noteError(const QSqlError& error) {
    error_ = ClassifyBankError(error);
}

namespace {
std::future<void>& driverLoad() {
    static std::future<void> loading;
    return loading;
}
} // namespace

void PreloadBankDriver() {
    if (driverLoad().valid())
        return;
    // A program that ends at once still lets the load finish before Qt unloads its plugins.
    qAddPostRoutine([] { driverLoad().wait(); });
    // A connection made and dropped on its own thread, only for the plugin to be loaded.
    driverLoad() = std::async(std::launch::async, [] {
        const QString name = QStringLiteral("bank-driver-preload");
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QSqlDatabase::removeDatabase(name);
    });
}

Connection::Connection(const QString& connectionString) {
    if (driverLoad().valid())
        driverLoad().wait();
    static QAtomicInteger<quint64> counter;
    name_ = QStringLiteral("bank-%1").arg(++counter);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    const QString file = DataSourceOf(connectionString);
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        qCWarning(lcData) << "no bank at" << file;
        error_ = BankError::Missing;
        return;
    }
    db_.setDatabaseName(file);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open()) {
        qCWarning(lcData) << "the bank" << file << "does not open:" << db_.lastError().text();
        noteError(db_.lastError());
        if (error_ == BankError::None)
            error_ = BankError::Missing;
        return;
    }
    QSqlQuery pragma(db_);
    // A file that is not a database opens without complaint; the first statement tells.
    if (!pragma.exec(Engine().OpenConnection()) || !pragma.exec(Engine().ProbeBank())) {
        qCWarning(lcData) << "the bank" << file << "cannot be read:" << pragma.lastError().text();
        noteError(pragma.lastError());
        pragma = QSqlQuery();
        db_.close();
        return;
    }
    pragma = QSqlQuery();
    // An older bank gets the tables of this program's later versions before anything reads it.
    UpgradeOnOpen(db_, file);
}

Connection::~Connection() {
    prepared_.clear(); // the statements go before the database they belong to
    db_.close();       // an unfinished transaction is rolled back by the engine
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

QSqlQuery* Connection::prepared(const QString& statement) {
    if (const auto found = prepared_.find(statement); found != prepared_.end())
        return found->second.get();
    if (!isOpen())
        return nullptr;
    auto query = std::make_unique<QSqlQuery>(db_);
    if (!query->prepare(statement)) {
        noteError(query->lastError());
        return nullptr;
    }
    return prepared_.emplace(statement, std::move(query)).first->second.get();
}

namespace {
bool run(Connection& connection, const QString& statement) {
    if (!connection.isOpen())
        return false;
    QSqlQuery query(connection.database());
    if (query.exec(statement)) {
        connection.noteError(QSqlError());
        return true;
    }
    qCWarning(lcData) << statement << "failed:" << query.lastError().text();
    connection.noteError(query.lastError());
    return false;
}
} // namespace

bool Connection::begin() {
    return run(*this, Engine().BeginWrite());
}
bool Connection::commit() {
    return run(*this, Engine().Commit());
}
void Connection::rollback() {
    // The engine may have rolled back already (a full disk does); the error that caused it stays.
    const BankError cause = error_;
    if (db_.isOpen() && !QSqlQuery(db_).exec(Engine().Rollback()))
        qCWarning(lcData) << "rollback found no transaction";
    error_ = cause;
}
