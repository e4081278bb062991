#include "data/Connection.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

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

Connection::Connection(const QString& connectionString) {
    static QAtomicInteger<quint64> counter;
    name_ = QStringLiteral("bank-%1").arg(++counter);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    const QString file = DataSourceOf(connectionString);
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        qCWarning(lcData) << "no bank at" << file;
        return;
    }
    db_.setDatabaseName(file);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db_.open()) {
        qCWarning(lcData) << "the bank" << file << "does not open:" << db_.lastError().text();
        return;
    }
    QSqlQuery pragma(db_);
    // A file that is not a database opens without complaint; the first statement tells.
    if (!pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON")) ||
        !pragma.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        qCWarning(lcData) << "the bank" << file << "cannot be read:" << pragma.lastError().text();
        pragma = QSqlQuery();
        db_.close();
    }
}

Connection::~Connection() {
    db_.close(); // an unfinished transaction is rolled back by the engine
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

bool Connection::begin() {
    return db_.isOpen() && db_.transaction();
}
bool Connection::commit() {
    return db_.isOpen() && db_.commit();
}
void Connection::rollback() {
    if (db_.isOpen())
        db_.rollback();
}
