#pragma once

#include "data/JetSql.h"

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>

class Connection;

// The rows of one SQL text behind a cursor, read only as far as they are looked at. A text whose
// rows carry an ID (every question query, in ascending ID order) is read a page at a time by key
// around the current row, and at most kMaxPages pages are held, so a bank of any size costs the
// same; its count is asked of the engine only when wanted. Any other text (the short category
// lists) is read whole on first use. Nothing at all is read until a row, a position or the count
// is asked for: a result replaced unread costs no query.
class PagedRows {
public:
    static constexpr int kPageRows = 32;
    static constexpr int kMaxPages = 3;

    PagedRows();
    ~PagedRows();

    // Takes sql (Jet dialect) and compiles it without running it. False when the connection is
    // closed or the engine refuses the text; the rows are then empty.
    bool open(std::shared_ptr<Connection> connection, const QString& sql);
    void clear();

    int count();
    bool isBOF();
    bool isEOF();
    bool isPaged() const { return paged_; }
    int heldRows() const { return static_cast<int>(rows_.size()); }

    // A move is worked out (reading what it needs) before it is made, so the row being left can
    // still be read while the move is announced; a refused move is nothing.
    enum class At { Row, BeforeFirst, AfterLast };
    struct Row {
        QVector<QVariant> now;
        QVector<QVariant> before; // as read, for finding the row when it is written back
    };
    struct Move {
        enum class Fetch { Keep, Append, Prepend, Replace } fetch = Fetch::Keep;
        QVector<Row> page; // rows read for the move, in ID order
        At at = At::Row;
        int index = 0;             // in the held rows (Keep) or in page (otherwise)
        bool reachedStart = false; // page holds the first row
        bool reachedEnd = false;   // page holds the last row
    };
    std::optional<Move> first();
    std::optional<Move> last();
    std::optional<Move> next();
    std::optional<Move> previous();
    std::optional<Move> fromFirst(int n); // n == count() lands on end-of-file
    void make(Move move);

    int columnIndex(const QString& column); // case-insensitive; -1 when unknown
    QVariant value(const QString& column);  // invalid when there is no current row
    bool setValue(const QString& column, const QVariant& value);
    // Writes the current row's changed fields to the table or view the text reads from.
    bool update(Connection& connection);

private:
    bool ensureRead();
    bool empty();
    QVector<Row> read(const QString& text, const QVariantList& values, bool ownColumns = true);
    QVector<Row> readPart(jetsql::Part part, const QVariantList& values);
    std::optional<Move> firstPage();
    std::optional<Move> lastPage();
    void trimFront();
    void trimBack();

    std::shared_ptr<Connection> connection_; // kept while rows may still be read from it
    QString sql_;
    bool paged_ = false;
    bool read_ = false;
    QStringList columns_;
    int idColumn_ = -1;
    QVector<Row> rows_;          // consecutive rows of the result
    bool startsAtFirst_ = false; // rows_ begins with the result's first row
    bool endsAtLast_ = false;    // rows_ ends with its last row
    At at_ = At::BeforeFirst;
    int index_ = 0;
    std::optional<int> count_;
};
