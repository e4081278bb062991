#include "data/Sql.h"

#include "data/Connection.h"

#include <QSqlDatabase>

namespace {
struct Queries {
    const char* questions;  // the collection's question query
    const char* categories; // its category query
};

Queries queriesOf(Collection collection) {
    switch (collection) {
    case Collection::General:
        return {"qrySoalat", "qryNoeSoal"};
    case Collection::Signs:
        return {"qryTabloha", "qryNoeSoaleTabloha"};
    case Collection::Old:
        return {"qrySoalatOLD", "qryNoeSoalatOLD"};
    case Collection::ExamPool:
        break;
    }
    return {"qrySoalateAzmoon", "qryNoeSoaleAzmoon"};
}
} // namespace

namespace sql {

QString CategoryList(Collection collection) {
    const QString q = QLatin1String(queriesOf(collection).categories);
    return QStringLiteral("Select %1.NoeSoal,tblNoeSoal.Farsi from %1,tblNoeSoal Where tblNoeSoal.NoeSoal = "
                          "%1.NoeSoal")
        .arg(q);
}

QString Questions(Collection collection) {
    if (collection == Collection::ExamPool)
        return {};
    return QStringLiteral("Select * from ") + QLatin1String(queriesOf(collection).questions);
}

QString CategoryFilterPrefix(Collection collection) {
    return QStringLiteral("Select * from ") + QLatin1String(queriesOf(collection).questions) +
           QStringLiteral(" Where NoeSoal ='");
}

QString ExamPoolNumbers(int low, int high) {
    return QStringLiteral("Select ID from qrySoalateAzmoon Where ID >= %1 And ID < %2").arg(low).arg(high);
}

QString ExamPoolWhere(const QString& condition) {
    return QStringLiteral("Select * from qrySoalateAzmoon Where (") + condition + u')';
}

QString ClearExam() {
    return QStringLiteral("Delete * from tblAzmoon");
}

QString ExamTable() {
    return QStringLiteral("tblAzmoon");
}

QString ExamQuestions() {
    return QStringLiteral("Select * from tblAzmoon");
}

QStringList SaveLookups(const QString& number) {
    return {QStringLiteral("Select * from qrySoalat Where ID =") + number,
            QStringLiteral("Select * from qryTabloha Where ID =") + number};
}

QString MusicSetting() {
    return QStringLiteral("Select Music from tblTanzimat");
}

} // namespace sql

const EngineSql& Engine(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String(kServerDriver) ? PostgresEngine() : SqliteEngine();
}

const EngineSql& EngineOf(const QString& connectionString) {
    return IsServerAddress(DataSourceOf(connectionString)) ? PostgresEngine() : SqliteEngine();
}
