#include "common/FixtureBank.h"

#include "app/mdlRavex.h"
#include "tools/bank/BankWriter.h"

#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>

FixtureBank::FixtureBank() = default;

void FixtureBank::addCategory(const QString& code, int order, const QString& collection,
                              const QString& title) {
    source.categories.append({code, order, collection, title});
}

BankQuestion& FixtureBank::addQuestion(int id, const QString& category, int correct, bool picture) {
    BankQuestion q;
    q.id = id;
    q.category = category;
    q.correct = correct;
    q.picture = picture ? QStringLiteral("fixture") : QString();
    q.text = QStringLiteral("متن سؤال %1").arg(id);
    for (int k = 0; k < 4; ++k)
        q.options[k] = QStringLiteral("گزینه %1 از %2").arg(k + 1).arg(id);
    q.where = QStringLiteral("fixture:%1").arg(id);
    source.questions.append(q);
    return source.questions.last();
}

bool FixtureBank::write() {
    QFile::remove(bankPath());
    if (!WriteBankDatabase(bankPath(), source, &lastError))
        return false;
    for (const BankQuestion& q : source.questions) {
        if (!q.picture.isEmpty())
            writePicture(QString::number(q.id), QColor::fromHsv((q.id * 37) % 360, 200, 220));
    }
    return true;
}

bool FixtureBank::exec(const QString& sql) {
    const QString name = QStringLiteral("fixture-exec");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(bankPath());
        ok = db.open() && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void FixtureBank::writePicture(const QString& name, QColor colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(dataDir() + name, "PNG");
}

void FixtureBank::writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(dataDir() + name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QString FixtureBank::dataDir() const {
    return dir_.path() + u'/';
}

QString FixtureBank::connectionString() const {
    return QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + bankPath() + u';';
}

void FixtureBank::useAsGlobals() const {
    gDataDir = dataDir();
    gConnProvider = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;");
    gConnSource = QStringLiteral("Data Source=") + bankPath() + u';';
}

void FixtureBank::fillStandard(FixtureBank& bank) {
    // Listed out of order on purpose: the lists must follow the order column, not the rows.
    bank.addCategory(QStringLiteral("T_SEHRAH"), 4, QStringLiteral("signs"),
                     QStringLiteral("حق تقدم در سه راه"));
    bank.addCategory(QStringLiteral("T_AKHBARI"), 0, QStringLiteral("signs"), QStringLiteral("علائم اخباري"));
    bank.addCategory(QStringLiteral("T_HOKM"), 3, QStringLiteral("signs"), QStringLiteral("علائم حكم كننده"));
    bank.addCategory(QStringLiteral("T_CHAHARRAH"), 1, QStringLiteral("signs"),
                     QStringLiteral("حق تقدم در چهارراه"));
    bank.addCategory(QStringLiteral("T_EKHTAR"), 2, QStringLiteral("signs"),
                     QStringLiteral("علائم اخطار كننده"));
    bank.addCategory(QStringLiteral("R02"), 11, QStringLiteral("general"), QStringLiteral("سرعت"));
    bank.addCategory(QStringLiteral("R01"), 10, QStringLiteral("general"), QStringLiteral("تعاریف"));
    bank.addCategory(QStringLiteral("R03"), 12, QStringLiteral("general"), QStringLiteral("سبقت"));
    bank.addCategory(QStringLiteral("O85"), 40, QStringLiteral("old"), QStringLiteral("سال ۱۳۸۵"));
    bank.addCategory(QStringLiteral("O86"), 41, QStringLiteral("old"), QStringLiteral("سال ۱۳۸۶"));
    bank.addCategory(QStringLiteral("EMPTY"), 50, QStringLiteral("general"),
                     QStringLiteral("بی‌سؤال"));

    // R01: 25 questions with correct options cycling 1..4; R02 interleaves IDs with R01.
    for (int i = 0; i < 25; ++i)
        bank.addQuestion(1 + 2 * i, QStringLiteral("R01"), 1 + i % 4);
    for (int i = 0; i < 5; ++i)
        bank.addQuestion(2 + 2 * i, QStringLiteral("R02"), 4 - i % 4);
    bank.addQuestion(60, QStringLiteral("R03"), 2);
    const char* signs[] = {"T_AKHBARI", "T_CHAHARRAH", "T_EKHTAR", "T_HOKM", "T_SEHRAH"};
    for (int s = 0; s < 5; ++s) {
        for (int i = 0; i < 3 + s; ++i)
            bank.addQuestion(300 + 20 * s + i, QString::fromLatin1(signs[s]), 1 + (i + s) % 4, i != 1);
    }
    bank.addQuestion(200, QStringLiteral("O85"), 3, false);
    bank.addQuestion(201, QStringLiteral("O85"), 1, true);
    bank.addQuestion(202, QStringLiteral("O85"), 2, false);
    bank.addQuestion(268, QStringLiteral("O86"), 4, true);
}

void FixtureBank::fillExam(FixtureBank& bank, const std::function<bool(int)>& keep) {
    bank.addCategory(QStringLiteral("R01"), 10, QStringLiteral("general"), QStringLiteral("تعاریف"));
    bank.addCategory(QStringLiteral("T_HOKM"), 3, QStringLiteral("signs"), QStringLiteral("علائم حكم كننده"));
    bank.addCategory(QStringLiteral("O85"), 40, QStringLiteral("old"), QStringLiteral("سال ۱۳۸۵"));
    for (int id = 1; id <= 513; ++id) {
        if (IsExcludedFromExams(id))
            bank.addQuestion(id, QStringLiteral("O85"), 1 + id % 4);
        else if (!keep || keep(id))
            bank.addQuestion(id, id < 263 ? QStringLiteral("R01") : QStringLiteral("T_HOKM"), 1 + id % 4,
                             id % 7 == 0);
    }
}
