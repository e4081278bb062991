#include "common/FixtureBank.h"

#include "app/mdlRavex.h"
#include "tools/bank/BankWriter.h"

#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

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

bool FixtureBank::write(int schemaVersion) {
    QFile::remove(bankPath());
    if (!WriteBankDatabase(bankPath(), source, &lastError, schemaVersion))
        return false;
    writePictures();
    return true;
}

namespace {
// The interface the windows read, and nothing more: the three collections as plain tables of the
// queries' names, the exam pool and the category queries as views over them, categories without
// an order column.
const char* const kForeignSchema = R"(
CREATE TABLE tblNoeSoal (NoeSoal TEXT, Farsi TEXT);
CREATE TABLE qrySoalat (ID INTEGER PRIMARY KEY, NoeSoal TEXT, SoorateSoal TEXT, G1 TEXT, G2 TEXT, G3 TEXT,
    G4 TEXT, G_Sahih INTEGER, Shekl INTEGER);
CREATE TABLE qryTabloha (ID INTEGER PRIMARY KEY, NoeSoal TEXT, SoorateSoal TEXT, G1 TEXT, G2 TEXT, G3 TEXT,
    G4 TEXT, G_Sahih INTEGER, Shekl INTEGER);
CREATE TABLE qrySoalatOLD (ID INTEGER PRIMARY KEY, NoeSoal TEXT, SoorateSoal TEXT, G1 TEXT, G2 TEXT,
    G3 TEXT, G4 TEXT, G_Sahih INTEGER, Shekl INTEGER);
CREATE VIEW qrySoalateAzmoon AS SELECT * FROM qrySoalat UNION ALL SELECT * FROM qryTabloha ORDER BY ID;
CREATE VIEW qryNoeSoal AS SELECT NoeSoal FROM tblNoeSoal WHERE NoeSoal IN (SELECT NoeSoal FROM qrySoalat);
CREATE VIEW qryNoeSoaleTabloha AS
    SELECT NoeSoal FROM tblNoeSoal WHERE NoeSoal IN (SELECT NoeSoal FROM qryTabloha);
CREATE VIEW qryNoeSoalatOLD AS
    SELECT NoeSoal FROM tblNoeSoal WHERE NoeSoal IN (SELECT NoeSoal FROM qrySoalatOLD);
CREATE VIEW qryNoeSoaleAzmoon AS
    SELECT NoeSoal FROM tblNoeSoal WHERE NoeSoal IN (SELECT NoeSoal FROM qrySoalateAzmoon);
CREATE TABLE tblAzmoon (ID INTEGER, SoorateSoal TEXT, G1 TEXT, G2 TEXT, G3 TEXT, G4 TEXT, G_Sahih INTEGER,
    Shekl INTEGER, NoeSoal TEXT);
CREATE TABLE tblTanzimat (Music TEXT);
INSERT INTO tblTanzimat (Music) VALUES ('');
)";
} // namespace

bool FixtureBank::writeForeign() {
    QFile::remove(bankPath());
    lastError.clear();
    const QString name = QStringLiteral("fixture-foreign");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(bankPath());
        ok = db.open() && db.transaction() && RunSqlScript(db, QString::fromUtf8(kForeignSchema), &lastError);
        QVector<BankCategory> categories = source.categories;
        std::stable_sort(categories.begin(), categories.end(),
                         [](const BankCategory& a, const BankCategory& b) { return a.order < b.order; });
        QSqlQuery q(db);
        for (const BankCategory& c : categories) {
            ok = ok && q.prepare(QStringLiteral("INSERT INTO tblNoeSoal (NoeSoal, Farsi) VALUES (?, ?)"));
            q.addBindValue(c.code);
            q.addBindValue(c.title);
            ok = ok && q.exec();
        }
        for (const BankQuestion& question : source.questions) {
            const BankCategory* c = source.category(question.category);
            const QString table = !c                                        ? QString()
                                  : c->collection == QLatin1String("signs") ? QStringLiteral("qryTabloha")
                                  : c->collection == QLatin1String("old")   ? QStringLiteral("qrySoalatOLD")
                                                                            : QStringLiteral("qrySoalat");
            ok =
                ok && !table.isEmpty() &&
                q.prepare(QStringLiteral("INSERT INTO %1 (ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, "
                                         "Shekl) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                              .arg(table));
            q.addBindValue(question.id);
            q.addBindValue(question.category);
            q.addBindValue(question.text);
            for (const QString& option : question.options)
                q.addBindValue(option);
            q.addBindValue(question.correct);
            q.addBindValue(question.picture.isEmpty() ? 0 : question.id);
            ok = ok && q.exec();
        }
        if (!ok && lastError.isEmpty())
            lastError = q.lastError().text();
        ok = ok && db.commit();
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (ok)
        writePictures();
    return ok;
}

void FixtureBank::writePictures() {
    for (const BankQuestion& q : source.questions) {
        if (!q.picture.isEmpty())
            writePicture(QString::number(q.id), QColor::fromHsv((q.id * 37) % 360, 200, 220));
    }
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
