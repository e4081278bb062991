#pragma once

// What the floor programs share: the bank read and written through the raw SQLite C API, with
// no layer of the program's own between them and the engine.
#include <QString>
#include <QStringList>
#include <QVector>
#include <sqlite3.h>

struct RawBank {
    sqlite3* db = nullptr;

    explicit RawBank(const QString& path);
    ~RawBank();
    RawBank(const RawBank&) = delete;
    RawBank& operator=(const RawBank&) = delete;

    // Every row of sql as text, the one integer bound to its first parameter when given.
    QVector<QStringList> rows(const QString& sql, const QVector<qint64>& binds = {});
    void exec(const char* sql);
};

// The bank in the data folder the program itself finds: $XDG_DATA_HOME/vkimgdir/515.
QString RawBankPath();

// A new exam as the program assembles one, statement for statement, in one transaction: the
// numbers the 30 ranges cover, one drawn from each range, the 30 questions, and tblAzmoon
// emptied and written afresh. Returns how many questions were written.
int RawAssembleExam(RawBank& bank);
