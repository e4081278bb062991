#pragma once

#include "data/Connection.h"
#include "data/RowSet.h"

#include <memory>

class Connection;

// Short-lived direct access: opened on an SQL text or a table name, read, appended to, updated
// and closed inside one handler. It may share a connection (and so a transaction) with others.
class Recordset {
public:
    Recordset();
    ~Recordset();

    bool open(const QString& source, const QString& connectionString);
    bool open(const QString& source, Connection& connection);
    void close();

    bool isBOF() const { return rows_.isBOF(); }
    bool isEOF() const { return rows_.isEOF(); }
    int recordCount() const { return rows_.count(); }
    bool moveFirst();
    bool moveNext();
    QVariant value(const QString& column) const { return rows_.value(column); }
    bool setValue(const QString& column, const QVariant& value) { return rows_.setValue(column, value); }
    bool update();
    // Appends a row to the table the recordset was opened on, values by column name.
    bool addRow(const QVector<QPair<QString, QVariant>>& values);
    // Why the last open, update or addRow failed (BankError::None when it went through).
    BankError error() const;

private:
    std::unique_ptr<Connection> own_;
    Connection* connection_ = nullptr;
    QString source_;
    RowSet rows_;
};
