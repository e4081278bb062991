#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

class Connection;

// A client-side cursor over the rows one SQL text returned: exact count, moves both ways,
// begin- and end-of-file, fields by name, and writing the current row back. Every operation is
// total: a move past the ends, a field of no row or a failed write answer false or nothing.
class RowSet {
public:
    // Runs sql (Jet dialect) on connection and keeps every row. False when the connection is
    // closed or the engine refuses the text; the set is then empty. A text that returns no rows
    // (a delete) succeeds with an empty set.
    bool load(Connection& connection, const QString& sql);
    void clear();

    int count() const { return static_cast<int>(rows_.size()); }
    bool isBOF() const { return pos_ < 0 || rows_.isEmpty(); }
    bool isEOF() const { return pos_ >= count() || rows_.isEmpty(); }
    bool hasRow() const { return pos_ >= 0 && pos_ < count(); }

    // The position each move would land on, or nothing when the move is refused (so a window
    // can announce the move before it happens).
    std::optional<int> firstTarget() const;
    std::optional<int> lastTarget() const;
    std::optional<int> nextTarget() const;
    std::optional<int> previousTarget() const;
    std::optional<int> forwardFromFirstTarget(int n) const;
    void setPosition(int pos) { pos_ = pos; } // 0-based; -1 begin-of-file, count() end-of-file

    int columnIndex(const QString& column) const; // case-insensitive; -1 when unknown
    QVariant value(const QString& column) const;  // invalid when there is no current row
    bool setValue(const QString& column, const QVariant& value);

    // Writes the changed fields of the current row to the table or view the SQL read from,
    // finding the row by its ID, or by all its read values where it has no ID.
    bool update(Connection& connection);
    // Writes one row's changed fields (now against before) to the table or view sql read from:
    // the row is found by its ID, or by all its read values where it has no ID.
    static bool writeRow(Connection& connection, const QString& sql, const QStringList& columns,
                         const QVector<QVariant>& before, const QVector<QVariant>& now);
    // Whether writing now over before would change the stored value: numbers by their value
    // whatever their width (2 and 2L), texts exactly, a null only against a null (an empty text
    // is not NULL), a text and a number never.
    static bool SameValue(const QVariant& now, const QVariant& before);
    // Appends one row to the source table, with values by column name.
    static bool append(Connection& connection, const QString& table,
                       const QVector<QPair<QString, QVariant>>& values);

private:
    QString sql_;
    QStringList columns_;
    QVector<QVector<QVariant>> rows_;
    QVector<QVector<QVariant>> original_;
    int pos_ = -1;
};
