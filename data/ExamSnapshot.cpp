#include "data/ExamSnapshot.h"

#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/Sql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {
const QStringList kColumns = {
    QStringLiteral("ID"),      QStringLiteral("SoorateSoal"), QStringLiteral("G1"),
    QStringLiteral("G2"),      QStringLiteral("G3"),          QStringLiteral("G4"),
    QStringLiteral("G_Sahih"), QStringLiteral("Shekl"),       QStringLiteral("NoeSoal")};
} // namespace

QString MakeExamSnapshot(BoundSource* source, int rows) {
    static int made = 0;
    const QString path = QDir::temp().filePath(
        QStringLiteral("ravex-graded-%1-%2.sqlite").arg(QCoreApplication::applicationPid()).arg(++made));
    QFile::remove(path);
    const QVector<QVariantList> copied = source->firstRows(kColumns, rows);
    const QString name = QStringLiteral("graded-exam-copy");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        // The scratch exam bank's own table, filled through the catalogue's row insert.
        ok = ok && q.exec(Engine(db).CreateScratchExamTable());
        ok = ok && q.prepare(Engine(db).InsertRow(QStringLiteral("tblAzmoon"), kColumns));
        for (const QVariantList& row : copied) {
            for (int c = 0; ok && c < kColumns.size(); ++c)
                q.bindValue(c, row.value(c));
            ok = ok && q.exec();
        }
        ok = ok && !copied.isEmpty() && db.commit();
        if (!ok)
            qCWarning(lcData) << "a graded exam's copy was not made:" << q.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(path);
        return {};
    }
    return QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + path + u';';
}

void RemoveExamSnapshot(const QString& connectionString) {
    const QString path = DataSourceOf(connectionString);
    if (!path.isEmpty())
        QFile::remove(path);
}
