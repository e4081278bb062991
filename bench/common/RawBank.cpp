#include "RawBank.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSet>

RawBank::RawBank(const QString& path) {
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
}

RawBank::~RawBank() {
    sqlite3_close(db);
}

QVector<QStringList> RawBank::rows(const QString& sql, const QVector<qint64>& binds) {
    QVector<QStringList> out;
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
        return out;
    for (int i = 0; i < binds.size(); ++i)
        sqlite3_bind_int64(statement, i + 1, binds[i]);
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)));
        out.append(row);
    }
    sqlite3_finalize(statement);
    return out;
}

void RawBank::exec(const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

QString RawBankPath() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/vkimgdir/515");
}

int RawAssembleExam(RawBank& bank) {
    static const int ranges[] = {1,   15,  30,  45,  60,  75,  90,  105, 120, 135, 150,
                                 165, 170, 173, 183, 263, 278, 286, 294, 310, 323, 339,
                                 355, 371, 390, 413, 425, 448, 475, 496, 514};
    bank.exec("BEGIN");
    QSet<int> available;
    for (const QStringList& row :
         bank.rows(QStringLiteral("SELECT ID FROM qrySoalateAzmoon WHERE ID >= 1 AND ID < 514")))
        available.insert(row[0].toInt());
    QStringList filter;
    for (int i = 0; i < 30; ++i) {
        QVector<int> candidates;
        for (int id = ranges[i]; id < ranges[i + 1]; ++id) {
            if (available.contains(id))
                candidates.append(id);
        }
        if (!candidates.isEmpty())
            filter << QStringLiteral("ID=%1").arg(
                candidates[QRandomGenerator::global()->bounded(int(candidates.size()))]);
    }
    const QVector<QStringList> drawn =
        bank.rows(QStringLiteral("SELECT ID, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl, NoeSoal FROM "
                                 "qrySoalateAzmoon WHERE (") +
                  filter.join(QStringLiteral(" Or ")) + u')');
    bank.exec("DELETE FROM tblAzmoon");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(bank.db,
                       "INSERT INTO tblAzmoon (ID, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl, NoeSoal) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (const QStringList& row : drawn) {
        for (int c = 0; c < 9; ++c) {
            const QByteArray value = row[c].toUtf8();
            sqlite3_bind_text(insert, c + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    bank.exec("COMMIT");
    return int(drawn.size());
}
