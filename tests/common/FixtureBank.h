#pragma once

#include "data/BankSchema.h"
#include "tools/bank/BankSource.h"

#include <QColor>
#include <QSize>
#include <QTemporaryDir>
#include <functional>

// A small bank in a temporary data folder, built by the same code that builds the shipped one.
class FixtureBank {
public:
    FixtureBank();

    void addCategory(const QString& code, int order, const QString& collection, const QString& title);
    // A question with made-up texts "<text> <id>" and options "<k> از <id>"; picture: whether the
    // data folder gets a picture file for it (named by the ID, as in the shipped bank).
    BankQuestion& addQuestion(int id, const QString& category, int correct, bool picture = false);

    // Writes 515 and the pictures. False (with the reason in lastError) when the bank refused.
    // An older schema version makes the bank as an earlier release left it.
    bool write(int schemaVersion = NewestSchemaVersion());
    // Writes 515 and the pictures as another program's bank might hold them: only the tables and
    // columns the saved queries' users rely on, with plain tables named as the three collections'
    // queries and views for the rest; none of this program's own tables or columns, no version.
    bool writeForeign();
    // Runs raw SQL on the written bank, to damage or tweak it.
    bool exec(const QString& sql);
    // A picture file in the data folder, named as given.
    void writePicture(const QString& name, QColor colour = Qt::red, QSize size = QSize(60, 40));
    void writeFile(const QString& name, const QByteArray& bytes);

    QString dataDir() const; // ends with '/'
    QString bankPath() const { return dataDir() + QStringLiteral("515"); }
    QString connectionString() const;
    void useAsGlobals() const; // points gDataDir and the connection string here

    BankSource source;
    QString lastError;

    // Three general categories, the five sign categories in list order and two archive
    // categories, with a few questions in each; some sign questions have pictures.
    static void fillStandard(FixtureBank& bank);
    // One question for every number 1..513: the numbers exams never use go to the archive, the
    // rest to a general or a sign category unless keep() refuses them; every seventh has a picture.
    static void fillExam(FixtureBank& bank, const std::function<bool(int)>& keep = {});

private:
    void writePictures();
    QTemporaryDir dir_;
};
