#include "data/PagedRows.h"

#include "data/Connection.h"
#include "data/RowSet.h"
#include "data/Sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

PagedRows::PagedRows() = default;
PagedRows::~PagedRows() = default;

bool PagedRows::open(std::shared_ptr<Connection> connection, const QString& sql) {
    clear();
    connection_ = std::move(connection);
    sql_ = sql;
    if (!connection_ || !connection_->isOpen())
        return false;
    connection_->noteError(QSqlError()); // a fresh text starts with no failure
    // Compiling tells whether the text is sound and whether its rows carry an ID, without
    // reading a row: a text without one is not an error, it is read whole.
    const EngineSql& engine = Engine(connection_->database());
    QSqlQuery probe(connection_->database());
    paged_ = jetsql::Pageable(sql, engine) && probe.prepare(jetsql::PartOf(sql, jetsql::Part::After, engine));
    if (!paged_ && !probe.prepare(jetsql::Adapt(sql, engine))) {
        qCWarning(lcData) << "query failed:" << sql << probe.lastError().text();
        connection_->noteError(probe.lastError());
        read_ = true; // nothing to read: an empty result
        return false;
    }
    return true;
}

void PagedRows::clear() {
    sql_.clear();
    paged_ = false;
    read_ = false;
    columns_.clear();
    idColumn_ = -1;
    rows_.clear();
    startsAtFirst_ = endsAtLast_ = false;
    at_ = At::BeforeFirst;
    index_ = 0;
    count_.reset();
}

QVector<PagedRows::Row> PagedRows::read(const QString& text, const QVariantList& values, bool ownColumns) {
    QVector<Row> rows;
    if (!connection_ || !connection_->isOpen())
        return rows;
    QSqlQuery query(connection_->database());
    query.setForwardOnly(true);
    // A failure is kept on the connection, so a window can tell a bank in use from a missing one.
    if (!query.prepare(text)) {
        qCWarning(lcData) << "query failed:" << text << query.lastError().text();
        connection_->noteError(query.lastError());
        return rows;
    }
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec()) {
        qCWarning(lcData) << "query failed:" << text << query.lastError().text();
        connection_->noteError(query.lastError());
        return rows;
    }
    const QSqlRecord record = query.record();
    if (ownColumns && columns_.isEmpty()) {
        for (int i = 0; i < record.count(); ++i) {
            columns_.append(record.fieldName(i));
            if (idColumn_ < 0 && columns_.last().compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
                idColumn_ = i;
        }
    }
    while (query.next()) {
        QVector<QVariant> row(record.count());
        for (int i = 0; i < record.count(); ++i)
            row[i] = query.value(i);
        rows.append({row, row});
    }
    if (query.lastError().isValid()) {
        qCWarning(lcData) << "reading rows failed:" << text << query.lastError().text();
        connection_->noteError(query.lastError());
        rows.clear();
    }
    qCDebug(lcSql).noquote() << text << values << "->" << rows.size() << "rows";
    return rows;
}

QVector<PagedRows::Row> PagedRows::readPart(jetsql::Part part, const QVariantList& values) {
    if (!connection_)
        return {};
    QVector<Row> rows = read(jetsql::PartOf(sql_, part, Engine(connection_->database())), values);
    if (part == jetsql::Part::Last || part == jetsql::Part::Before)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

bool PagedRows::ensureRead() {
    if (read_)
        return true;
    read_ = true;
    if (paged_)
        rows_ = readPart(jetsql::Part::First, {kPageRows});
    else
        rows_ = connection_ ? read(jetsql::Adapt(sql_, Engine(connection_->database())), {}) : QVector<Row>();
    startsAtFirst_ = true;
    endsAtLast_ = !paged_ || rows_.size() < kPageRows;
    if (paged_ && idColumn_ < 0)
        rows_.clear(); // cannot be: the text compiled with its ID; an empty result is the safe answer
    at_ = rows_.isEmpty() ? At::BeforeFirst : At::Row;
    index_ = 0;
    return true;
}

bool PagedRows::empty() {
    ensureRead();
    return rows_.isEmpty();
}

int PagedRows::count() {
    if (count_)
        return *count_;
    ensureRead();
    if (startsAtFirst_ && endsAtLast_) {
        count_ = static_cast<int>(rows_.size());
    } else {
        const QVector<Row> n =
            connection_
                ? read(jetsql::PartOf(sql_, jetsql::Part::Count, Engine(connection_->database())), {}, false)
                : QVector<Row>();
        count_ = n.isEmpty() ? 0 : n.first().now.value(0).toInt();
    }
    return *count_;
}

bool PagedRows::isBOF() {
    return empty() || at_ == At::BeforeFirst;
}

bool PagedRows::isEOF() {
    return empty() || at_ == At::AfterLast;
}

std::optional<PagedRows::Move> PagedRows::firstPage() {
    if (startsAtFirst_)
        return Move{Move::Fetch::Keep, {}, At::Row, 0};
    QVector<Row> page = readPart(jetsql::Part::First, {kPageRows});
    if (page.isEmpty())
        return std::nullopt;
    const bool end = page.size() < kPageRows;
    return Move{Move::Fetch::Replace, std::move(page), At::Row, 0, true, end};
}

std::optional<PagedRows::Move> PagedRows::lastPage() {
    if (endsAtLast_)
        return Move{Move::Fetch::Keep, {}, At::Row, static_cast<int>(rows_.size()) - 1};
    QVector<Row> page = readPart(jetsql::Part::Last, {kPageRows});
    if (page.isEmpty())
        return std::nullopt;
    const int last = static_cast<int>(page.size()) - 1;
    const bool start = page.size() < kPageRows;
    return Move{Move::Fetch::Replace, std::move(page), At::Row, last, start, true};
}

std::optional<PagedRows::Move> PagedRows::first() {
    if (empty())
        return std::nullopt;
    return firstPage();
}

std::optional<PagedRows::Move> PagedRows::last() {
    if (empty())
        return std::nullopt;
    return lastPage();
}

std::optional<PagedRows::Move> PagedRows::next() {
    if (empty() || at_ == At::AfterLast)
        return std::nullopt;
    if (at_ == At::BeforeFirst)
        return firstPage();
    if (index_ + 1 < rows_.size())
        return Move{Move::Fetch::Keep, {}, At::Row, index_ + 1};
    if (!endsAtLast_) {
        QVector<Row> page = readPart(jetsql::Part::After, {rows_.last().before[idColumn_], kPageRows});
        if (!page.isEmpty()) {
            const bool end = page.size() < kPageRows;
            return Move{Move::Fetch::Append, std::move(page), At::Row, 0, false, end};
        }
    }
    Move m{Move::Fetch::Keep, {}, At::AfterLast, index_};
    m.reachedEnd = true;
    return m;
}

std::optional<PagedRows::Move> PagedRows::previous() {
    if (empty() || at_ == At::BeforeFirst)
        return std::nullopt;
    if (at_ == At::AfterLast)
        return lastPage();
    if (index_ > 0)
        return Move{Move::Fetch::Keep, {}, At::Row, index_ - 1};
    if (!startsAtFirst_) {
        QVector<Row> page = readPart(jetsql::Part::Before, {rows_.first().before[idColumn_], kPageRows});
        if (!page.isEmpty()) {
            const int last = static_cast<int>(page.size()) - 1;
            const bool start = page.size() < kPageRows;
            return Move{Move::Fetch::Prepend, std::move(page), At::Row, last, start, false};
        }
    }
    Move m{Move::Fetch::Keep, {}, At::BeforeFirst, 0};
    m.reachedStart = true;
    return m;
}

std::optional<PagedRows::Move> PagedRows::fromFirst(int n) {
    if (empty() || n < 0)
        return std::nullopt;
    if (startsAtFirst_ && n < rows_.size())
        return Move{Move::Fetch::Keep, {}, At::Row, n};
    if (startsAtFirst_ && endsAtLast_) {
        if (n > rows_.size())
            return std::nullopt;
        return Move{Move::Fetch::Keep, {}, At::AfterLast, index_};
    }
    // Far from the rows held: the page that starts at row n, or end-of-file just past the last.
    QVector<Row> page = readPart(jetsql::Part::At, {kPageRows, n});
    if (!page.isEmpty()) {
        const bool end = page.size() < kPageRows;
        return Move{Move::Fetch::Replace, std::move(page), At::Row, 0, n == 0, end};
    }
    page = readPart(jetsql::Part::At, {1, n - 1});
    if (page.isEmpty())
        return std::nullopt; // beyond end-of-file
    return Move{Move::Fetch::Replace, std::move(page), At::AfterLast, 0, n == 1, true};
}

void PagedRows::make(Move move) {
    switch (move.fetch) {
    case Move::Fetch::Keep:
        startsAtFirst_ = startsAtFirst_ || move.reachedStart;
        endsAtLast_ = endsAtLast_ || move.reachedEnd;
        at_ = move.at;
        index_ = move.index;
        return;
    case Move::Fetch::Append:
        index_ = static_cast<int>(rows_.size()) + move.index;
        rows_ += move.page;
        endsAtLast_ = move.reachedEnd;
        at_ = move.at;
        trimFront();
        return;
    case Move::Fetch::Prepend:
        index_ = move.index;
        rows_ = move.page + rows_;
        startsAtFirst_ = move.reachedStart;
        at_ = move.at;
        trimBack();
        return;
    case Move::Fetch::Replace:
        rows_ = std::move(move.page);
        startsAtFirst_ = move.reachedStart;
        endsAtLast_ = move.reachedEnd;
        at_ = move.at;
        index_ = move.index;
        return;
    }
}

// The pages furthest from the current row go first; an unsaved edit in them goes with them.
void PagedRows::trimFront() {
    const int excess = static_cast<int>(rows_.size()) - kMaxPages * kPageRows;
    if (excess <= 0)
        return;
    rows_.remove(0, excess);
    index_ -= excess;
    startsAtFirst_ = false;
}

void PagedRows::trimBack() {
    const int excess = static_cast<int>(rows_.size()) - kMaxPages * kPageRows;
    if (excess <= 0)
        return;
    rows_.resize(rows_.size() - excess);
    endsAtLast_ = false;
}

int PagedRows::columnIndex(const QString& column) {
    ensureRead();
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant PagedRows::value(const QString& column) {
    const int c = columnIndex(column);
    if (c < 0 || at_ != At::Row || index_ >= rows_.size())
        return {};
    return rows_[index_].now[c];
}

bool PagedRows::setValue(const QString& column, const QVariant& value) {
    const int c = columnIndex(column);
    if (c < 0 || at_ != At::Row || index_ >= rows_.size())
        return false;
    rows_[index_].now[c] = value;
    return true;
}

bool PagedRows::update(Connection& connection) {
    ensureRead();
    if (at_ != At::Row || index_ >= rows_.size())
        return false;
    Row& row = rows_[index_];
    if (!RowSet::writeRow(connection, sql_, columns_, row.before, row.now))
        return false;
    row.before = row.now;
    return true;
}
