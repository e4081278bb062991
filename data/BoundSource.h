#pragma once

#include "data/Connection.h"
#include "data/RowSet.h"

#include <QObject>
#include <memory>

// The bound, scrollable question source a window shows: it is given a connection string and an
// SQL text, refreshed, and then moved. Before the current row changes it says willMove(); once it
// stands on the new row it says currentRowChanged() (the window's bound controls follow it), and
// then moveComplete().
class BoundSource : public QObject {
    Q_OBJECT
public:
    explicit BoundSource(QObject* parent = nullptr);
    ~BoundSource() override;

    void setConnectionString(const QString& connectionString);
    void setRecordSource(const QString& sql) { recordSource_ = sql; }

    // Runs the record source afresh and stands on its first row. False when the bank or the
    // text fails; the source is then empty (at begin- and end-of-file).
    bool refresh();

    int recordCount() const { return rows_.count(); }
    bool isBOF() const { return rows_.isBOF(); }
    bool isEOF() const { return rows_.isEOF(); }

    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool moveFromFirst(int n); // first row, then n rows on

    QVariant value(const QString& column) const { return rows_.value(column); }
    QString text(const QString& column) const; // the value as a bound control shows it
    bool setValue(const QString& column, const QVariant& value) { return rows_.setValue(column, value); }
    bool update(); // writes the current row's changed fields back
    // Why the last refresh or update failed (BankError::None when it went through).
    BankError error() const { return connection_ ? connection_->error() : BankError::None; }

signals:
    void willMove();
    void currentRowChanged();
    void moveComplete();

private:
    bool moveTo(std::optional<int> target);
    Connection* connection();

    QString connectionString_;
    QString recordSource_;
    std::unique_ptr<Connection> connection_;
    RowSet rows_;
};
