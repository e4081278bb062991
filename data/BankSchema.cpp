#include "data/BankSchema.h"

#include "data/Connection.h"
#include "data/Sql.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <map>

Q_LOGGING_CATEGORY(lcSchema, "ravex.schema", QtCriticalMsg)

// The schema is compiled in; a static library's resources are registered before first use.
static void initSchemaResources() {
    Q_INIT_RESOURCE(bank);
}

namespace {

struct ParsedSchema {
    QString base;
    QVector<SchemaStep> steps;
};

ParsedSchema parse(const QString& resource) {
    initSchemaResources();
    ParsedSchema out;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCCritical(lcSchema) << "the schema is not compiled in";
        return out;
    }
    static const QRegularExpression heading(QStringLiteral(R"(^--\s*step\s+(\d+)\s*:\s*(.*)$)"));
    QString* into = &out.base;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (const auto m = heading.match(line.trimmed()); m.hasMatch()) {
            out.steps.append({m.captured(1).toInt(), m.captured(2).trimmed(), QString()});
            into = &out.steps.last().script;
            continue;
        }
        *into += line + u'\n';
    }
    return out;
}

const ParsedSchema& parsed() {
    static const ParsedSchema schema = parse(QStringLiteral(":/bank/schema.sql"));
    return schema;
}

const ParsedSchema& parsedServer() {
    static const ParsedSchema schema = parse(QStringLiteral(":/bank/schema-postgres.sql"));
    return schema;
}

bool exec(QSqlDatabase& db, const QString& sql, QString* error, BankError* cause = nullptr) {
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text() + QStringLiteral(" in: ") + sql;
    if (cause)
        *cause = ClassifyBankError(query.lastError());
    return false;
}

// A table's columns, one "name type notnull default pk" line each.
using Shapes = std::map<QString, QStringList>;

QStringList columnsOf(QSqlDatabase& db, const QString& table) {
    QStringList out;
    QSqlQuery query(db);
    if (!query.prepare(Engine(db).TableColumns()))
        return out;
    query.addBindValue(table);
    if (!query.exec())
        return out;
    while (query.next()) {
        QStringList column;
        for (int i = 0; i < 5; ++i)
            column << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
        out << column.join(u' ');
    }
    return out;
}

QSet<QString> tablesOf(QSqlDatabase& db) {
    QSet<QString> out;
    QSqlQuery query(db);
    if (query.exec(Engine(db).TableNames())) {
        while (query.next())
            out.insert(query.value(0).toString());
    }
    return out;
}

// The tables a step makes, as a bank made afresh gets them: the schema up to the step is built in
// memory, and whatever the step adds there is what it must leave in any bank.
Shapes buildFreshShapes(const SchemaStep& step, QString* error) {
    static QAtomicInteger<quint64> counter;
    const QString name = QStringLiteral("schema-reference-%1").arg(++counter);
    Shapes out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        bool ok = db.open() && RunSqlScript(db, BaseSchema(), error);
        for (const SchemaStep& earlier : SchemaSteps()) {
            if (ok && earlier.version < step.version)
                ok = RunSqlScript(db, earlier.script, error);
        }
        const QSet<QString> before = ok ? tablesOf(db) : QSet<QString>();
        ok = ok && RunSqlScript(db, step.script, error);
        if (ok) {
            for (const QString& table : tablesOf(db) - before)
                out[table] = columnsOf(db, table);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

// The same, built once a run for each step.
Shapes freshShapes(const SchemaStep& step, QString* error) {
    static QMutex mutex;
    static QHash<int, std::pair<Shapes, QString>> built;
    QMutexLocker lock(&mutex);
    auto found = built.find(step.version);
    if (found == built.end()) {
        QString why;
        Shapes shapes = buildFreshShapes(step, &why);
        found = built.insert(step.version, {std::move(shapes), why});
    }
    *error = found->second;
    return found->first;
}

bool sameShapes(QSqlDatabase& db, const Shapes& expected, QString* error) {
    for (const auto& [table, columns] : expected) {
        const QStringList found = columnsOf(db, table);
        if (found != columns) {
            if (error)
                *error =
                    QStringLiteral("%1 has the columns (%2), not (%3)")
                        .arg(table, found.join(QStringLiteral(", ")), columns.join(QStringLiteral(", ")));
            return false;
        }
    }
    return true;
}

int readInt(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    return query.exec(sql) && query.next() ? query.value(0).toInt() : 0;
}

bool runStep(QSqlDatabase& db, const SchemaStep& step, QString* error, BankError* cause) {
    QString reference;
    const Shapes expected = freshShapes(step, &reference);
    if (!reference.isEmpty()) {
        *error = QStringLiteral("the step does not build on the schema: ") + reference;
        return false;
    }
    // A bank another program holds is not waited for: the next connection tries again, and a
    // window opening meanwhile is not slowed by the step.
    const int patience = readInt(db, Engine(db).BusyTimeout());
    exec(db, Engine(db).SetBusyTimeout(0), nullptr);
    const bool began = exec(db, Engine(db).BeginWrite(), error, cause);
    exec(db, Engine(db).SetBusyTimeout(patience), nullptr);
    if (!began)
        return false;
    const bool ok = RunSqlScript(db, step.script, error) && sameShapes(db, expected, error) &&
                    exec(db, Engine(db).SetSchemaVersion(step.version), error, cause) &&
                    exec(db, Engine(db).Commit(), error, cause);
    if (!ok)
        exec(db, Engine(db).Rollback(), nullptr);
    return ok;
}

bool isQuestionBank(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.prepare(Engine(db).HasObject()))
        return false;
    query.addBindValue(QStringLiteral("tblNoeSoal"));
    return query.exec() && query.next() && query.value(0).toInt() == 1;
}

UpgradeOutcome upgradeFrom(QSqlDatabase& db, int version) {
    UpgradeOutcome out;
    out.from = out.to = version;
    if (version < 0) {
        out.error = QStringLiteral("the version does not read");
        return out;
    }
    if (version >= NewestSchemaVersion() || !isQuestionBank(db))
        return out;
    for (const SchemaStep& step : SchemaSteps()) {
        if (step.version <= out.to)
            continue;
        QString why;
        if (!runStep(db, step, &why, &out.cause)) {
            out.error = QStringLiteral("step %1 (%2): %3").arg(step.version).arg(step.title, why);
            qCWarning(lcSchema).noquote()
                << db.databaseName() << "stays at version" << out.to << "-" << out.error;
            return out;
        }
        out.to = step.version;
        ++out.stepsRun;
    }
    return out;
}

} // namespace

QString BaseSchema() {
    return parsed().base;
}

const QVector<SchemaStep>& SchemaSteps() {
    return parsed().steps;
}

QString ServerBaseSchema() {
    return parsedServer().base;
}

const QVector<SchemaStep>& ServerSchemaSteps() {
    return parsedServer().steps;
}

int NewestServerSchemaVersion() {
    const QVector<SchemaStep>& steps = ServerSchemaSteps();
    return steps.isEmpty() ? 0 : steps.last().version;
}

int NewestSchemaVersion() {
    const QVector<SchemaStep>& steps = SchemaSteps();
    return steps.isEmpty() ? 0 : steps.last().version;
}

bool RunSqlScript(QSqlDatabase& db, const QString& script, QString* error) {
    QString statement;
    bool inTrigger = false;
    bool inBody = false; // inside a $$-quoted function body, whose lines end in ';' of their own
    for (const QString& raw : script.split(u'\n')) {
        const QString line = raw.trimmed();
        if (!inBody && (line.startsWith(QLatin1String("--")) || (line.isEmpty() && statement.isEmpty())))
            continue;
        statement += raw + u'\n';
        // A trigger with a body of statements ends at its END; one that calls a function, at its ';'.
        if (line.startsWith(QLatin1String("CREATE TRIGGER"), Qt::CaseInsensitive) &&
            !line.contains(QLatin1String("EXECUTE FUNCTION"), Qt::CaseInsensitive))
            inTrigger = true;
        if (line.count(QLatin1String("$$")) % 2 == 1)
            inBody = !inBody;
        const bool ends = inBody      ? false
                          : inTrigger ? line.compare(QLatin1String("END;"), Qt::CaseInsensitive) == 0
                                      : line.endsWith(u';');
        if (!ends)
            continue;
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            if (error)
                *error = query.lastError().text() + QStringLiteral(" in: ") + statement.left(200);
            return false;
        }
        statement.clear();
        inTrigger = false;
    }
    return true;
}

int SchemaVersion(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(Engine(db).ReadSchemaVersion()) && query.next() ? query.value(0).toInt() : -1;
}

UpgradeOutcome UpgradeBank(QSqlDatabase& db) {
    return upgradeFrom(db, SchemaVersion(db));
}

void UpgradeOnOpen(QSqlDatabase& db, const QString& file) {
    const int version = SchemaVersion(db);
    if (version >= NewestSchemaVersion())
        return;
    // The file as it was when the steps failed on it: a change (another program wrote it, or it
    // was replaced) makes it worth another try.
    const QFileInfo info(file);
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(info.absoluteFilePath())
                            .arg(info.size())
                            .arg(info.lastModified().toMSecsSinceEpoch());
    static QMutex mutex;
    static QSet<QString> refused;
    {
        QMutexLocker lock(&mutex);
        if (refused.contains(key))
            return;
    }
    const UpgradeOutcome outcome = upgradeFrom(db, version);
    if (outcome.to < NewestSchemaVersion() && outcome.cause != BankError::Busy) {
        QMutexLocker lock(&mutex);
        refused.insert(key);
    }
}
