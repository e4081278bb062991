#include "data/LeitnerStore.h"

#include "data/Connection.h"
#include "data/Sql.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcLeitner, "ravex.leitner", QtCriticalMsg)

namespace {
const QString kDay = QStringLiteral("yyyy-MM-dd");

bool hasTables(Connection& connection) {
    QSqlQuery query(connection.database());
    return query.exec(Engine().CountLeitnerTables()) && query.next() && query.value(0).toInt() == 3;
}

bool read(QSqlQuery& query, const QString& sql, const char* what) {
    if (query.exec(sql))
        return true;
    qCWarning(lcLeitner) << what << "does not read:" << query.lastError().text();
    return false;
}

bool run(QSqlQuery& query, const char* what) {
    if (query.exec())
        return true;
    qCWarning(lcLeitner) << what << "failed:" << query.lastError().text();
    return false;
}

QString fingerprint(const QSqlQuery& query) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int column = 2; column <= 7; ++column) {
        hash.addData(query.value(column).toString().toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
    }
    return QString::fromLatin1(hash.result().toHex().left(16));
}
} // namespace

LeitnerData ReadLeitner(const QString& connectionString) {
    LeitnerData out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    if (!read(query, Engine().LeitnerPool(), "the box's questions"))
        return out;
    while (query.next()) {
        bool number = false;
        const int id = query.value(0).toInt(&number);
        if (!number)
            continue;
        // A question both in the exam pool and among the signs comes twice, the pool's row first.
        if (!out.pool.isEmpty() && out.pool.last().id == id)
            continue;
        out.pool.append({id, query.value(1).toString(), fingerprint(query), query.value(8).toInt() == 1});
    }
    if (!read(query, Engine().LeitnerCards(), "the box"))
        return out;
    while (query.next())
        out.cards.append({query.value(0).toInt(), query.value(1).toInt(),
                          QDate::fromString(query.value(2).toString(), kDay), query.value(3).toString()});
    if (!read(query, Engine().LeitnerState(), "the box's settings"))
        return out;
    if (query.next()) {
        out.state.newPerDay = query.value(0).toInt();
        out.state.lastNewDay = QDate::fromString(query.value(1).toString(), kDay);
        out.state.newOnLastDay = query.value(2).toInt();
    }
    out.ok = true;
    return out;
}

bool WriteLeitner(const QString& connectionString, const LeitnerWrite& write) {
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection) || !connection.begin())
        return false;
    bool ok = true;
    QSqlQuery query(connection.database());
    if (!write.put.isEmpty()) {
        ok = query.prepare(Engine().PutLeitnerCard());
        for (int i = 0; ok && i < write.put.size(); ++i) {
            const LeitnerRow& row = write.put[i];
            query.bindValue(0, row.id);
            query.bindValue(1, row.box);
            query.bindValue(2, row.due.toString(kDay));
            query.bindValue(3, row.fingerprint);
            ok = run(query, "putting a card in the box");
        }
    }
    if (ok && !write.remove.isEmpty()) {
        ok = query.prepare(Engine().RemoveLeitnerCard());
        for (int i = 0; ok && i < write.remove.size(); ++i) {
            query.bindValue(0, write.remove[i]);
            ok = run(query, "taking a card out of the box");
        }
    }
    if (ok && write.writeState) {
        ok = query.prepare(Engine().PutLeitnerState());
        query.bindValue(0, write.state.newPerDay);
        query.bindValue(1, write.state.lastNewDay.isValid() ? QVariant(write.state.lastNewDay.toString(kDay))
                                                            : QVariant(QMetaType(QMetaType::QString)));
        query.bindValue(2, write.state.newOnLastDay);
        ok = ok && run(query, "keeping the box's settings");
    }
    if (ok && !write.practice.isEmpty()) {
        ok = query.prepare(Engine().AddPracticeAnswer());
        for (int i = 0; ok && i < write.practice.size(); ++i) {
            query.bindValue(0, write.practice[i].day.toString(kDay));
            query.bindValue(1, write.practice[i].id);
            query.bindValue(2, write.practice[i].right ? 1 : 0);
            ok = run(query, "keeping a practice answer");
        }
    }
    query = QSqlQuery();
    if (ok && connection.commit())
        return true;
    connection.rollback();
    qCWarning(lcLeitner) << "the box was not written";
    return false;
}

QVector<KeptAnswer> ReadKeptAnswers(const QString& connectionString) {
    QVector<KeptAnswer> out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!read(query, Engine().AllAnswers(), "the kept answers"))
        return out;
    // Days come as numbers: parsing 300,000 date texts would cost more than the rest of the work.
    while (query.next()) {
        const QVariant day = query.value(1);
        out.append({query.value(0).toInt(), day.isNull() ? QDate() : QDate::fromJulianDay(day.toLongLong()),
                    query.value(2).toInt() == 1});
    }
    return out;
}

QHash<int, QString> ReadQuestionCategories(const QString& connectionString) {
    QHash<int, QString> out;
    Connection connection(connectionString);
    if (!connection.isOpen())
        return out;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!read(query, Engine().QuestionCategories(), "the categories"))
        return out;
    while (query.next())
        out.insert(query.value(0).toInt(), query.value(1).toString().trimmed());
    return out;
}
