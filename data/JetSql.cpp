#include "data/JetSql.h"

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

} // namespace jetsql
