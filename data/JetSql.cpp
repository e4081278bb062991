#include "data/JetSql.h"

#include "data/Sql.h"

#include <QRegularExpression>

namespace jetsql {

QString Adapt(const QString& sql) {
    static const QRegularExpression deleteStar(QStringLiteral(R"(^\s*delete\s+\*\s+from\s+)"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bareName(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*$)"));
    if (const auto m = deleteStar.match(sql); m.hasMatch())
        return QStringLiteral("DELETE FROM ") + sql.mid(m.capturedEnd());
    if (const auto m = bareName.match(sql); m.hasMatch())
        return QStringLiteral("SELECT * FROM ") + m.captured(1);
    return sql;
}

QString Adapt(const QString& sql, const EngineSql& engine) {
    return engine.FinishJet(Adapt(sql));
}

QString QuoteText(const QString& value) {
    QString quoted = value;
    quoted.replace(u'\'', QStringLiteral("''"));
    return quoted;
}

QString SourceTable(const QString& sql) {
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+\[?([A-Za-z_][A-Za-z0-9_]*)\]?)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(Adapt(sql));
    return m.hasMatch() ? m.captured(1) : QString();
}

bool Pageable(const QString& sql, const EngineSql& engine) {
    static const QRegularExpression select(QStringLiteral(R"(^\s*select\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    // A text that orders or limits its own rows keeps them as it says, so it is read whole. A
    // literal that merely contains these words is read whole too: slower, never wrong.
    static const QRegularExpression ownOrder(QStringLiteral(R"(\b(order\s+by|limit|offset)\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString adapted = Adapt(sql, engine);
    return select.match(adapted).hasMatch() && !ownOrder.match(adapted).hasMatch() && !adapted.contains(u';');
}

QString PartOf(const QString& sql, Part part, const EngineSql& engine) {
    const QString adapted = Adapt(sql, engine);
    const QString from = QStringLiteral("SELECT * FROM (") + adapted + QStringLiteral(") AS part");
    switch (part) {
    case Part::First:
        return from + QStringLiteral(" ORDER BY ID LIMIT ?");
    case Part::Last:
        return from + QStringLiteral(" ORDER BY ID DESC LIMIT ?");
    case Part::After:
        return from + QStringLiteral(" WHERE ID > ? ORDER BY ID LIMIT ?");
    case Part::Before:
        return from + QStringLiteral(" WHERE ID < ? ORDER BY ID DESC LIMIT ?");
    case Part::At:
        return from + QStringLiteral(" ORDER BY ID LIMIT ? OFFSET ?");
    case Part::Count:
        // Counting the IDs alone lets the engine count an index instead of reading every row.
        return engine.CountIds(adapted);
    }
    return {};
}

} // namespace jetsql
