#include "data/Settings.h"

#include "data/SharedState.h"

#include "data/Sql.h"

#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcSettingsStore, "ravex.settings.store", QtCriticalMsg)

namespace {
const QString kOn = QStringLiteral("1");
const QString kOff = QStringLiteral("0");

bool missingTable(const QSqlError& error) {
    return error.text().contains(QLatin1String("no such table"), Qt::CaseInsensitive);
}
} // namespace

QString ReadSetting(Connection& connection, const QString& name, const QString& fallback) {
    if (!connection.isOpen())
        return fallback;
    QSqlQuery* query = connection.prepared(Engine(connection.database()).ReadSetting());
    if (!query) {
        // A bank older than the table, left so by a read-only file, is no fault.
        QSqlQuery probe(connection.database());
        probe.prepare(Engine(connection.database()).ReadSetting());
        if (missingTable(probe.lastError()))
            qCDebug(lcSettingsStore) << "this bank keeps no settings; the defaults hold";
        else
            qCWarning(lcSettingsStore) << "the settings cannot be read:" << probe.lastError().text();
        return fallback;
    }
    query->bindValue(0, name);
    QString value = fallback;
    if (!query->exec())
        qCWarning(lcSettingsStore) << "the setting" << name << "was not read:" << query->lastError().text();
    else if (query->next() && !query->value(0).isNull())
        value = query->value(0).toString();
    // A statement left open would hold a read lock and keep other writes waiting.
    query->finish();
    return value;
}

QString ReadSetting(const QString& connectionString, const QString& name, const QString& fallback) {
    Connection connection(connectionString);
    return ReadSetting(connection, name, fallback);
}

bool WriteSetting(const QString& connectionString, const QString& name, const QString& value,
                  BankError* error) {
    Connection connection(connectionString);
    const auto refused = [&connection, error, &name] {
        connection.rollback();
        const BankError why =
            connection.error() == BankError::None ? BankError::ReadOnly : connection.error();
        qCWarning(lcSettingsStore) << "the setting" << name << "was not stored:" << int(why);
        if (error)
            *error = why;
        return false;
    };
    if (!connection.isOpen() || !connection.begin())
        return refused();
    // A bank another program held when the steps were due has not got the table yet; a read-only
    // one refuses it here, and says so.
    QSqlQuery create(connection.database());
    if (!create.exec(Engine(connection.database()).CreateSettingsTable())) {
        connection.noteError(create.lastError());
        return refused();
    }
    QSqlQuery write(connection.database());
    if (!write.prepare(Engine(connection.database()).WriteSetting())) {
        connection.noteError(write.lastError());
        return refused();
    }
    write.addBindValue(name);
    write.addBindValue(value);
    if (!write.exec()) {
        connection.noteError(write.lastError());
        return refused();
    }
    if (!connection.commit())
        return refused();
    if (error)
        *error = BankError::None;
    return true;
}

bool ReadFlag(const QString& connectionString, const QString& name, bool fallback) {
    const QString stored = ReadSetting(connectionString, name, fallback ? kOn : kOff);
    if (stored == kOn)
        return true;
    if (stored == kOff)
        return false;
    qCWarning(lcSettingsStore) << "the setting" << name << "holds" << stored << "- taken as its default";
    return fallback;
}

bool WriteFlag(const QString& connectionString, const QString& name, bool on, BankError* error) {
    return WriteSetting(connectionString, name, on ? kOn : kOff, error);
}

QString LocalBankConnectionString() {
    return gConnProvider + QStringLiteral("Data Source=") + gDataDir + QStringLiteral("515;");
}
