#include "reliability/BankHealth.h"

#include "data/SharedState.h"
#include "rules/ExamDraw.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
QString freshName(const char* what) {
    static QAtomicInteger<int> counter;
    return QStringLiteral("%1-%2").arg(QLatin1String(what)).arg(++counter);
}

// Runs check on a connection of its own, removed afterwards.
template <typename Check> void withBank(const QString& bankPath, Check check) {
    const QString name = freshName("health");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(bankPath);
        // Read-write: a journal left by a killed writer is rolled back here, as the program would.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        check(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
// A main exam: 30 rows, one in each of the 30 ranges of IDs. A mistakes exam: as many of the
// learner's mistakes as there are, up to 30, every one a question once answered wrongly.
bool wholeExam(QSqlDatabase& db, QString* why) {
    InitExamRanges();
    QList<int> ids;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT ID FROM tblAzmoon ORDER BY ID"))) {
        while (q.next())
            ids << q.value(0).toInt();
    }
    QString problem;
    if (ids.size() != kExamSize)
        problem = QStringLiteral("%1 rows").arg(ids.size());
    for (int i = 1; problem.isEmpty() && i <= kExamSize; ++i) {
        if (ids[i - 1] < gExamRanges[i] || ids[i - 1] >= gExamRanges[i + 1])
            problem = QStringLiteral("row %1 holds ID %2 outside its range").arg(i).arg(ids[i - 1]);
    }
    const bool mistakes =
        !problem.isEmpty() && !ids.isEmpty() && ids.size() <= kExamSize &&
        q.exec(QStringLiteral("SELECT count(*) FROM tblAzmoon WHERE ID NOT IN (SELECT QuestionID FROM "
                              "tblExamAnswers WHERE Chosen IS NOT Correct)")) &&
        q.next() && q.value(0).toInt() == 0;
    if (mistakes)
        problem.clear();
    if (why)
        *why = problem;
    return problem.isEmpty();
}
} // namespace

BankHealth CheckBank(const QString& bankPath) {
    BankHealth health;
    withBank(bankPath, [&](QSqlDatabase& db) {
        if (!db.open()) {
            health.problems << QStringLiteral("does not open: ") + db.lastError().text();
            return;
        }
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next() ||
            q.value(0).toString() != QLatin1String("ok")) {
            health.problems << QStringLiteral("integrity_check: ") + q.value(0).toString() +
                                   q.lastError().text();
            return;
        }
        if (q.exec(QStringLiteral("SELECT count(*) FROM tblAzmoon")) && q.next())
            health.examRows = q.value(0).toInt();
        QString why;
        if (health.examRows != 0 && !wholeExam(db, &why))
            health.problems << QStringLiteral("tblAzmoon holds %1 rows that are not a whole exam: %2")
                                   .arg(health.examRows)
                                   .arg(why);
        if (health.examRows == kExamSize &&
            q.exec(QStringLiteral("SELECT count(*) FROM tblAzmoon WHERE G_Sahih NOT BETWEEN 1 AND 4")) &&
            q.next() && q.value(0).toInt() != 0)
            health.problems << QStringLiteral("the exam has a correct option outside 1..4");
        if (!q.exec(QStringLiteral("SELECT ID, G_Sahih FROM tblSoal WHERE typeof(G_Sahih) <> 'integer' "
                                   "OR G_Sahih NOT BETWEEN 1 AND 4")))
            health.problems << QStringLiteral("questions unreadable: ") + q.lastError().text();
        while (q.next())
            health.problems << QStringLiteral("question %1 has G_Sahih %2")
                                   .arg(q.value(0).toString(), q.value(1).toString());
    });
    return health;
}

QString DumpBank(const QString& bankPath) {
    QString out;
    withBank(bankPath, [&](QSqlDatabase& db) {
        if (!db.open())
            return;
        for (const char* table : {"tblSoal", "tblAzmoon", "tblTanzimat", "tblNoeSoal"}) {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(table))))
                continue;
            while (q.next()) {
                for (int i = 0; i < q.record().count(); ++i)
                    out += q.value(i).toString() + u'|';
                out += u'\n';
            }
        }
    });
    return out;
}

bool IsWholeExam(const QString& bankPath, QString* why) {
    bool whole = false;
    withBank(bankPath, [&](QSqlDatabase& db) { whole = db.open() && wholeExam(db, why); });
    return whole;
}
