#pragma once

#include "data/BankSchema.h"
#include "tools/bank/BankSource.h"

#include <QSize>
#include <QString>

// Writes a complete bank file at path (which must not exist yet): the schema at the given
// version (the newest unless told), the categories in list order, the questions with their
// explanations, an empty current exam and the one settings row. All of it in one transaction: on
// failure nothing usable is left and the file is removed.
bool WriteBankDatabase(const QString& path, const BankSource& source, QString* error,
                       int version = NewestSchemaVersion());

// What loading the bank onto a school server came to.
enum class ServerLoad {
    Made,      // the schema was created and the bank loaded
    Unchanged, // the server already holds a bank of this version: nothing was changed
    Refused,   // nothing was changed: see the message (no server, another version, a write refused)
};

// Creates the bank's schema (bank/schema-postgres.sql, at the newest version) in the empty
// database a server address names and loads the bank from source, all in one transaction. A
// database that already has the bank at this version is left as it is; one that holds another
// version, or tables of the bank's names but no version, is refused untouched. *message says what
// happened, in a sentence.
ServerLoad WriteServerBank(const QString& address, const BankSource& source, QString* message);

// The data folder's own pictures and the sources they are drawn from.
struct ScreenPicture {
    const char* source; // under pictures/, without .svg
    const char* file;   // the numbered file in the data folder
    const char* format; // JPEG for soft, painted scenes (they decode fast); PNG for sharp drawings
};
const QVector<ScreenPicture>& ScreenPictures();

// Draws an SVG source to a PNG file; size scales the drawing to fit (an empty size keeps the
// drawing's own size).
bool RenderSvg(const QString& svgPath, const QString& pngPath, QSize fit, QString* error,
               const char* format = "PNG");

// Builds a whole data folder into outDir from the sources in bankDir. Files already in outDir
// are never overwritten: a user's bank keeps their edits and their last exam.
bool MakeDataDir(const QString& bankDir, const QString& outDir, QString* report);
