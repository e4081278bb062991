#include "data/LeitnerStore.h"

#include "data/Connection.h"
#include "data/SchoolLink.h"
#include "data/Settings.h"
#include "data/Sql.h"
#include "data/UploadQueue.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcLeitner, "ravex.leitner", QtCriticalMsg)

namespace {
const QString kDay = QStringLiteral("yyyy-MM-dd");

bool hasTables(Connection& connection) {
    QSqlQuery query(connection.database());
    return query.exec(Engine(connection.database()).CountLeitnerTables()) && query.next() &&
           query.value(0).toInt() == 3;
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

AnswerSummary summaryOf(int id) {
    AnswerSummary s;
    s.id = id;
    return s;
}

QDate fromDayNumber(const QVariant& day) {
    return day.isNull() ? QDate() : QDate::fromJulianDay(day.toLongLong());
}

// Days come as numbers: parsing 300,000 date texts would cost more than the rest of the work.
void readAnswers(QSqlQuery& query, QVector<KeptAnswer>& out) {
    while (query.next())
        out.append({query.value(0).toInt(), fromDayNumber(query.value(1)), query.value(2).toInt() == 1});
}

// Every summary the bank keeps (or, given, those of these questions alone), by question; false
// when there is no summary table.
bool readSummaries(QSqlDatabase db, QHash<int, AnswerSummary>& out, const QSet<int>* only = nullptr) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QString text = Engine(db).AnswerSummaries();
    if (only) {
        QStringList ids;
        for (const int id : *only)
            ids << QString::number(id);
        text += QStringLiteral(" WHERE QuestionID IN (%1)")
                    .arg(ids.isEmpty() ? QStringLiteral("NULL") : ids.join(u','));
    }
    if (!query.exec(text))
        return false;
    while (query.next())
        out.insert(query.value(0).toInt(),
                   {query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt(),
                    fromDayNumber(query.value(3)), query.value(4).toDouble(), query.value(5).toDouble()});
    return true;
}

bool putSummaries(QSqlDatabase db, const QVector<AnswerSummary>& summaries) {
    // Up to a hundred rows a statement: a server's keeps take their turn on these rows, and each
    // statement is a round trip while the others wait.
    const QString one = QStringLiteral("(?, ?, ?, ?, ?, ?)");
    const QString text = Engine(db).PutAnswerSummary();
    constexpr qsizetype kRows = 100;
    bool ok = text.count(one) == 1;
    QSqlQuery query(db);
    qsizetype prepared = 0;
    for (qsizetype from = 0; ok && from < summaries.size(); from += kRows) {
        const qsizetype rows = std::min(kRows, summaries.size() - from);
        if (rows != prepared) {
            QString many = text;
            ok = query.prepare(many.replace(one, QStringList(rows, one).join(QStringLiteral(", "))));
            prepared = rows;
        }
        for (qsizetype r = 0; ok && r < rows; ++r) {
            const AnswerSummary& s = summaries[from + r];
            const int at = int(r) * 6;
            query.bindValue(at, s.id);
            query.bindValue(at + 1, s.answered);
            query.bindValue(at + 2, s.right);
            query.bindValue(at + 3, s.refDay.toJulianDay());
            query.bindValue(at + 4, s.weight);
            query.bindValue(at + 5, s.rightWeight);
        }
        ok = ok && run(query, "keeping the answer summaries");
    }
    return ok;
}

// Adds answers just kept to their questions' summaries, in the transaction open on db. A bank
// without the summary table has nothing to add to.
bool addToSummaries(QSqlDatabase db, const QVector<KeptAnswer>& added, const QDate& today) {
    // Only the questions answered: a server's keeps take their turn here, so it stays short.
    QSet<int> ids;
    for (const KeptAnswer& a : added)
        ids.insert(a.id);
    QHash<int, AnswerSummary> summaries;
    if (!readSummaries(db, summaries, &ids))
        return true;
    QHash<int, AnswerSummary> changed;
    for (const KeptAnswer& a : added) {
        AnswerSummary& s = changed[a.id];
        if (s.id == 0)
            s = summaries.value(a.id, summaryOf(a.id));
        AddToSummary(s, a, today);
    }
    return putSummaries(db, changed.values().toVector());
}
} // namespace

double AgeWeight(qint64 days) {
    return std::exp2(-double(std::max<qint64>(days, 0)) / kHalfLifeDays);
}

void AddToSummary(AnswerSummary& s, const KeptAnswer& answer, const QDate& fallback) {
    const QDate given = answer.day.isValid() ? answer.day : (s.refDay.isValid() ? s.refDay : fallback);
    if (!s.refDay.isValid() || given > s.refDay) {
        // The later day becomes the reference: what was summed fades to it by one factor.
        const double fade = s.refDay.isValid() ? AgeWeight(s.refDay.daysTo(given)) : 1.0;
        s.weight *= fade;
        s.rightWeight *= fade;
        s.refDay = given;
    }
    const double w = AgeWeight(given.daysTo(s.refDay));
    s.weight += w;
    s.rightWeight += answer.right ? w : 0;
    s.answered += 1;
    s.right += answer.right ? 1 : 0;
}

QVector<AnswerSummary> SummariseAnswers(const QVector<KeptAnswer>& answers, const QDate& fallback) {
    QHash<int, int> at;
    QVector<AnswerSummary> out;
    for (const KeptAnswer& a : answers) {
        auto found = at.constFind(a.id);
        if (found == at.constEnd()) {
            found = at.insert(a.id, int(out.size()));
            out.append(summaryOf(a.id));
        }
        AddToSummary(out[*found], a, fallback);
    }
    return out;
}

QVector<AnswerSummary> ReadAnswerSummaries(const QString& connectionString, const QDate& today, bool* ok) {
    *ok = false;
    Connection connection(connectionString);
    if (!connection.isOpen())
        return {};
    QSqlQuery count(connection.database());
    if (!count.exec(Engine(connection.database()).CountSummarisedAnswers()) || !count.next())
        return {};
    const bool whole = count.value(0).toLongLong() == count.value(1).toLongLong();
    count = QSqlQuery();
    QHash<int, AnswerSummary> kept;
    if (whole && readSummaries(connection.database(), kept)) {
        *ok = true;
        return kept.values().toVector();
    }
    // Made afresh from the answers, once: kept if the bank takes it, used either way.
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!read(query, Engine(connection.database()).AllAnswers(), "the kept answers"))
        return {};
    QVector<KeptAnswer> answers;
    readAnswers(query, answers);
    query = QSqlQuery();
    const QVector<AnswerSummary> made = SummariseAnswers(answers, today);
    *ok = true;
    if (connection.begin()) {
        QSqlQuery clear(connection.database());
        const bool written = read(clear, Engine(connection.database()).ClearAnswerSummaries(),
                                  "clearing the answer summaries") &&
                             putSummaries(connection.database(), made);
        clear = QSqlQuery();
        if (written && connection.commit())
            return made;
        connection.rollback();
    }
    qCWarning(lcLeitner) << "the answer summaries were not kept";
    return made;
}

bool AddExamToAnswerSummaries(QSqlDatabase db, const QVariant& examId, const QDate& today) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(Engine(db).ExamAnswersOf()))
        return false;
    query.bindValue(0, examId);
    if (!run(query, "reading the exam's answers"))
        return false;
    QVector<KeptAnswer> answers;
    readAnswers(query, answers);
    query = QSqlQuery();
    return addToSummaries(db, answers, today);
}

LeitnerData ReadLeitner(const QString& connectionString, const QVector<int>* only) {
    LeitnerData out;
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection))
        return out;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true); // rows are not kept by the driver: the pool is read once, in order
    if (!read(query,
              only ? Engine(connection.database()).LeitnerPoolOf(*only)
                   : Engine(connection.database()).LeitnerPool(),
              "the box's questions"))
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
    if (!read(query,
              only ? Engine(connection.database()).LeitnerCardsOf(*only)
                   : Engine(connection.database()).LeitnerCards(),
              "the box"))
        return out;
    while (query.next())
        out.cards.append({query.value(0).toInt(), query.value(1).toInt(),
                          QDate::fromString(query.value(2).toString(), kDay), query.value(3).toString()});
    if (!read(query, Engine(connection.database()).LeitnerState(), "the box's settings"))
        return out;
    const bool stateRow = query.next();
    if (stateRow) {
        out.state.newPerDay = query.value(0).toInt();
        out.state.lastNewDay = QDate::fromString(query.value(1).toString(), kDay);
        out.state.newOnLastDay = query.value(2).toInt();
    }
    bool number = false;
    const int perDay = ReadSetting(connection, kLeitnerNewPerDaySetting, QString()).toInt(&number);
    if (number) {
        out.state.newPerDay = perDay;
    } else if (stateRow && query.prepare(Engine(connection.database()).WriteSetting())) {
        query.bindValue(0, kLeitnerNewPerDaySetting);
        query.bindValue(1, QString::number(out.state.newPerDay));
        run(query, "moving the new questions a day to the settings");
    }
    out.ok = true;
    return out;
}

bool WriteLeitnerBox(QSqlDatabase db, const LeitnerWrite& write) {
    bool ok = true;
    QSqlQuery query(db);
    if (!write.put.isEmpty()) {
        ok = query.prepare(Engine(db).PutLeitnerCard());
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
        ok = query.prepare(Engine(db).RemoveLeitnerCard());
        for (int i = 0; ok && i < write.remove.size(); ++i) {
            query.bindValue(0, write.remove[i]);
            ok = run(query, "taking a card out of the box");
        }
    }
    if (ok && write.writeState) {
        ok = query.prepare(Engine(db).PutLeitnerState());
        query.bindValue(0, write.state.newPerDay);
        query.bindValue(1, write.state.lastNewDay.isValid() ? QVariant(write.state.lastNewDay.toString(kDay))
                                                            : QVariant(QMetaType(QMetaType::QString)));
        query.bindValue(2, write.state.newOnLastDay);
        ok = ok && run(query, "keeping the box's settings");
        ok = ok && query.prepare(Engine(db).WriteSetting());
        query.bindValue(0, kLeitnerNewPerDaySetting);
        query.bindValue(1, QString::number(write.state.newPerDay));
        ok = ok && run(query, "keeping the new questions a day");
    }
    return ok;
}

bool AddAnswersToSummaries(QSqlDatabase db, const QVector<KeptAnswer>& added, const QDate& today) {
    return added.isEmpty() || addToSummaries(db, added, today);
}

bool WriteLeitner(const QString& connectionString, const LeitnerWrite& write) {
    if (LinkedBank(connectionString))
        return WriteLeitnerLinked(connectionString, write);
    return WriteLeitnerHere(connectionString, write);
}

bool WriteLeitnerHere(const QString& connectionString, const LeitnerWrite& write) {
    Connection connection(connectionString);
    if (!connection.isOpen() || !hasTables(connection) || !connection.begin())
        return false;
    bool ok = WriteLeitnerBox(connection.database(), write);
    QSqlQuery query(connection.database());
    if (ok && !write.practice.isEmpty()) {
        ok = query.prepare(Engine(connection.database()).AddPracticeAnswer());
        for (int i = 0; ok && i < write.practice.size(); ++i) {
            query.bindValue(0, write.practice[i].day.toString(kDay));
            query.bindValue(1, write.practice[i].id);
            query.bindValue(2, write.practice[i].right ? 1 : 0);
            ok = run(query, "keeping a practice answer");
        }
        QVector<KeptAnswer> added;
        for (const LeitnerWrite::Practice& p : write.practice)
            added.append({p.id, p.day, p.right});
        ok = ok && addToSummaries(connection.database(), added, write.practice.first().day);
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
    if (!read(query, Engine(connection.database()).AllAnswers(), "the kept answers"))
        return out;
    readAnswers(query, out);
    return out;
}

QHash<int, QString> ReadQuestionCategories(const QString& connectionString) {
    QHash<int, QString> out;
    Connection connection(connectionString);
    if (!connection.isOpen())
        return out;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!read(query, Engine(connection.database()).QuestionCategories(), "the categories"))
        return out;
    while (query.next())
        out.insert(query.value(0).toInt(), query.value(1).toString().trimmed());
    return out;
}
