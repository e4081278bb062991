#pragma once

#include "data/Connection.h"
#include "data/PagedRows.h"

#include <QObject>
#include <memory>

// The bound, scrollable question source a window shows: it is given a connection string and an
// SQL text, refreshed, and then moved. Before the current row changes it says willMove(); once it
// stands on the new row it says currentRowChanged() (the window's bound controls follow it), and
// then moveComplete(). Rows are read only as they are looked at, a page at a time (PagedRows), so
// a window costs the same on a bank of any size.
class BoundSource : public QObject {
    Q_OBJECT
public:
    explicit BoundSource(QObject* parent = nullptr);
    ~BoundSource() override;

    void setConnectionString(const QString& connectionString);
    void setRecordSource(const QString& sql) { recordSource_ = sql; }

    // Takes the record source afresh and stands on its first row. False when the bank or the
    // text fails; the source is then empty (at begin- and end-of-file). Its rows are read when
    // first looked at, so a source refreshed again before anyone reads it costs no query.
    bool refresh();

    int recordCount() const;
    bool isBOF() const;
    bool isEOF() const;

    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool moveFromFirst(int n); // first row, then n rows on

    QVariant value(const QString& column) const;
    // The columns of the first n rows (fewer when there are fewer), read without taking the bound
    // controls through each; the source is then on its first row, as after moveFirst.
    QVector<QVariantList> firstRows(const QStringList& columns, int n);
    QString text(const QString& column) const; // the value as a bound control shows it
    bool setValue(const QString& column, const QVariant& value);
    bool update(); // writes the current row's changed fields back
    // Why the last refresh or update failed (BankError::None when it went through).
    BankError error() const { return connection_ ? connection_->error() : BankError::None; }

    int heldRows() const { return rows_.heldRows(); } // rows in memory now, at most a few pages

signals:
    void willMove();
    void currentRowChanged();
    void moveComplete();

private:
    bool moveTo(std::optional<PagedRows::Move> target);
    std::shared_ptr<Connection> connection();

    QString connectionString_;
    QString recordSource_;
    std::shared_ptr<Connection> connection_;
    mutable PagedRows rows_; // reading on demand changes only what is held, not what is seen
};
