#include "data/Explanations.h"

#include "data/Sql.h"

#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcExplanations, "ravex.sharh", QtCriticalMsg)

namespace {
const QString kRead = QStringLiteral("SELECT Sharh FROM tblSharh WHERE ID = ?");

bool missingTable(const QSqlError& error) {
    return error.text().contains(QLatin1String("no such table"), Qt::CaseInsensitive);
}

bool run(Connection& connection, QSqlQuery& query) {
    if (query.exec()) {
        connection.noteError(QSqlError());
        return true;
    }
    qCWarning(lcExplanations) << "explanation not written:" << query.lastError().text();
    connection.noteError(query.lastError());
    return false;
}
} // namespace

QString ExplanationOf(Connection& connection, int id) {
    if (!connection.isOpen())
        return {};
    QSqlQuery* query = connection.prepared(kRead);
    if (!query) {
        // An older bank has no explanations: that is no fault.
        QSqlQuery probe(connection.database());
        probe.prepare(kRead);
        if (missingTable(probe.lastError()))
            qCDebug(lcExplanations) << "this bank has no explanations";
        else
            qCWarning(lcExplanations) << "explanations cannot be read:" << probe.lastError().text();
        return {};
    }
    query->bindValue(0, id);
    QString text;
    if (!query->exec())
        qCWarning(lcExplanations) << "explanation of" << id << "not read:" << query->lastError().text();
    else if (query->next())
        text = query->value(0).toString();
    // A statement left open would hold a read lock and keep the editor's writes waiting.
    query->finish();
    return text;
}

QString ExplanationOf(const QString& connectionString, int id) {
    Connection connection(connectionString);
    return ExplanationOf(connection, id);
}

bool SaveExplanation(const QString& connectionString, int id, const QString& text, BankError* error) {
    Connection connection(connectionString);
    const auto refused = [&connection, error] {
        connection.rollback();
        if (error)
            *error = connection.error() == BankError::None ? BankError::ReadOnly : connection.error();
        return false;
    };
    if (!connection.isOpen() || !connection.begin())
        return refused();
    QSqlQuery create(connection.database());
    create.prepare(Engine(connection.database()).CreateExplanationsTable());
    if (!run(connection, create))
        return refused();
    const QString stored = text.trimmed();
    QSqlQuery write(connection.database());
    if (stored.isEmpty()) {
        write.prepare(QStringLiteral("DELETE FROM tblSharh WHERE ID = ?"));
        write.addBindValue(id);
    } else {
        write.prepare(Engine(connection.database()).PutExplanation());
        write.addBindValue(id);
        write.addBindValue(stored);
    }
    if (!run(connection, write) || !connection.commit())
        return refused();
    if (error)
        *error = BankError::None;
    return true;
}
