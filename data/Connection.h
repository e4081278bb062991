#pragma once

#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QString>

// Failures the data layer swallows (the windows go on with what they have) are logged here.
Q_DECLARE_LOGGING_CATEGORY(lcData)
// Every statement run on the bank to read rows, with how many it read, at debug level:
// QT_LOGGING_RULES="ravex.sql.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSql)

// "Provider=...;Data Source=<file>;" -> <file>; empty when the string names no source.
QString DataSourceOf(const QString& connectionString);

// One open connection to the bank named by a connection string, closed with the object. It never
// creates a file: a missing bank stays missing and the connection stays closed.
class Connection {
public:
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return db_.isOpen(); }
    QSqlDatabase& database() { return db_; }

    // A write of several rows is one transaction: all of it lands, or none.
    bool begin();
    bool commit();
    void rollback();

private:
    QString name_;
    QSqlDatabase db_;
};
