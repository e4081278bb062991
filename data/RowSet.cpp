#include "data/RowSet.h"

#include "data/Connection.h"
#include "data/JetSql.h"
#include "data/Sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
bool IsNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// What the engine stores for the value: a null QString is bound as NULL, as an invalid one is.
bool IsNull(const QVariant& v) {
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isNull());
}
} // namespace

bool RowSet::SameValue(const QVariant& a, const QVariant& b) {
    if (IsNull(a) || IsNull(b))
        return IsNull(a) && IsNull(b);
    if (IsNumber(a) && IsNumber(b)) {
        const bool whole = a.typeId() != QMetaType::Double && a.typeId() != QMetaType::Float &&
                           b.typeId() != QMetaType::Double && b.typeId() != QMetaType::Float;
        if (whole)
            return a.toLongLong() == b.toLongLong();
        return a.toDouble() == b.toDouble();
    }
    // Text against text exactly; a text against a number is a change (" 2" is not 2 to the bank).
    return a.typeId() == b.typeId() && a == b;
}

bool RowSet::load(Connection& connection, const QString& sql) {
    clear();
    sql_ = sql;
    if (!connection.isOpen())
        return false;
    const QString text = jetsql::Adapt(sql, Engine(connection.database()));
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(text)) {
        qCWarning(lcData) << "query failed:" << sql << query.lastError().text();
        connection.noteError(query.lastError());
        return false;
    }
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        columns_.append(record.fieldName(i));
    while (query.next()) {
        QVector<QVariant> row(record.count());
        for (int i = 0; i < record.count(); ++i)
            row[i] = query.value(i);
        rows_.append(row);
    }
    if (query.lastError().isValid()) {
        qCWarning(lcData) << "reading rows failed:" << sql << query.lastError().text();
        connection.noteError(query.lastError());
        clear();
        sql_ = sql;
        return false;
    }
    qCDebug(lcSql).noquote() << text << "->" << rows_.size() << "rows";
    original_ = rows_;
    pos_ = rows_.isEmpty() ? -1 : 0;
    connection.noteError(QSqlError());
    return true;
}

void RowSet::clear() {
    sql_.clear();
    columns_.clear();
    rows_.clear();
    original_.clear();
    pos_ = -1;
}

std::optional<int> RowSet::firstTarget() const {
    return rows_.isEmpty() ? std::nullopt : std::optional<int>(0);
}

std::optional<int> RowSet::lastTarget() const {
    return rows_.isEmpty() ? std::nullopt : std::optional<int>(count() - 1);
}

std::optional<int> RowSet::nextTarget() const {
    if (rows_.isEmpty() || pos_ >= count())
        return std::nullopt;
    return pos_ + 1;
}

std::optional<int> RowSet::previousTarget() const {
    if (rows_.isEmpty() || pos_ < 0)
        return std::nullopt;
    return pos_ - 1;
}

std::optional<int> RowSet::forwardFromFirstTarget(int n) const {
    if (rows_.isEmpty() || n < 0 || n > count())
        return std::nullopt;
    return n;
}

int RowSet::columnIndex(const QString& column) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RowSet::value(const QString& column) const {
    const int c = columnIndex(column);
    if (!hasRow() || c < 0)
        return {};
    return rows_[pos_][c];
}

bool RowSet::setValue(const QString& column, const QVariant& value) {
    const int c = columnIndex(column);
    if (!hasRow() || c < 0)
        return false;
    rows_[pos_][c] = value;
    return true;
}

bool RowSet::update(Connection& connection) {
    if (!hasRow() || !writeRow(connection, sql_, columns_, original_[pos_], rows_[pos_]))
        return false;
    original_[pos_] = rows_[pos_];
    return true;
}

bool RowSet::writeRow(Connection& connection, const QString& sql, const QStringList& columns,
                      const QVector<QVariant>& before, const QVector<QVariant>& now) {
    if (!connection.isOpen())
        return false;
    const QString table = jetsql::SourceTable(sql);
    if (table.isEmpty())
        return false;
    QStringList sets;
    QVariantList setValues;
    for (int i = 0; i < columns.size(); ++i) {
        if (!SameValue(now[i], before[i])) {
            sets.append(columns[i] + QStringLiteral(" = ?"));
            setValues.append(now[i]);
        }
    }
    if (sets.isEmpty())
        return true;
    QStringList where;
    QVariantList whereValues;
    int id = -1;
    for (int i = 0; i < columns.size() && id < 0; ++i)
        id = columns[i].compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 ? i : -1;
    if (id >= 0) {
        where.append(QStringLiteral("ID = ?"));
        whereValues.append(before[id]);
    } else {
        for (int i = 0; i < columns.size(); ++i) {
            where.append(Engine(connection.database()).SameValueTerm(columns[i]));
            whereValues.append(before[i]);
        }
    }
    QSqlQuery query(connection.database());
    if (!query.prepare(Engine(connection.database()).UpdateRow(table, sets, where)))
        return false;
    for (const QVariant& v : setValues + whereValues)
        query.addBindValue(v);
    if (!query.exec()) {
        qCWarning(lcData) << "update of" << table << "failed:" << query.lastError().text();
        connection.noteError(query.lastError());
        return false;
    }
    return true;
}

bool RowSet::append(Connection& connection, const QString& table,
                    const QVector<QPair<QString, QVariant>>& values) {
    if (!connection.isOpen() || table.isEmpty() || values.isEmpty())
        return false;
    QStringList names;
    for (const auto& [name, value] : values)
        names.append(name);
    // The rows of one write share their columns: the statement is prepared once for them all.
    QSqlQuery* query = connection.prepared(Engine(connection.database()).InsertRow(table, names));
    if (!query)
        return false;
    for (int k = 0; k < values.size(); ++k)
        query->bindValue(k, values[k].second);
    const bool ok = query->exec();
    if (!ok) {
        qCWarning(lcData) << "append to" << table << "failed:" << query->lastError().text();
        connection.noteError(query->lastError());
    }
    query->finish();
    return ok;
}
