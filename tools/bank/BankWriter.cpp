#include "tools/bank/BankWriter.h"

#include "data/Classroom.h"

#include "data/BankSchema.h"
#include "data/Sql.h"

#include <QtGlobal>

#include <QAtomicInteger>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>

namespace {
// Question pictures are drawn at twice the size of the picture area, so they stay sharp.
const QSize kQuestionPictureFit(750, 680);

QString collectionOf(const BankSource& source, const QString& code) {
    const BankCategory* c = source.category(code);
    return c ? c->collection : QString();
}
// The categories in list order, the questions, their explanations (where the version has their
// table) and the one settings row, through the engine's own texts.
bool fillBank(QSqlDatabase& db, QSqlQuery& q, const BankSource& source, int version, QString* error) {
    bool ok = true;
    // Categories go in in list order, so even a plan that walked the table by its rows
    // would meet them in that order.
    QVector<BankCategory> categories = source.categories;
    std::stable_sort(categories.begin(), categories.end(),
                     [](const BankCategory& a, const BankCategory& b) { return a.order < b.order; });
    ok = ok && q.prepare(Engine(db).AddCategory());
    for (const BankCategory& c : categories) {
        if (!ok)
            break;
        q.addBindValue(c.code);
        q.addBindValue(c.title);
        q.addBindValue(c.order);
        ok = q.exec();
    }
    ok = ok && q.prepare(Engine(db).AddQuestion());
    for (const BankQuestion& question : source.questions) {
        if (!ok)
            break;
        const QString collection = collectionOf(source, question.category);
        q.addBindValue(question.id);
        q.addBindValue(collection);
        q.addBindValue(collection == QLatin1String("old") ? 0 : 1);
        q.addBindValue(question.category);
        q.addBindValue(question.text);
        for (const QString& option : question.options)
            q.addBindValue(option);
        q.addBindValue(question.correct);
        q.addBindValue(question.picture.isEmpty() ? 0 : question.id);
        ok = q.exec();
        if (!ok && error)
            *error = question.where + QStringLiteral(": ") + q.lastError().text();
    }
    // The explanations, where the bank's version has their table.
    if (version >= 2) {
        ok = ok && q.prepare(Engine(db).InsertRow(QStringLiteral("tblSharh"),
                                                  {QStringLiteral("ID"), QStringLiteral("Sharh")}));
        for (const BankQuestion& question : source.questions) {
            if (!ok)
                break;
            if (question.explanation.isEmpty())
                continue;
            q.addBindValue(question.id);
            q.addBindValue(question.explanation);
            ok = q.exec();
            if (!ok && error)
                *error = question.where + QStringLiteral(": ") + q.lastError().text();
        }
    }
    ok = ok && q.exec(Engine(db).AddSettingsRow());
    if (!ok && error && error->isEmpty())
        *error = q.lastError().text().isEmpty() ? db.lastError().text() : q.lastError().text();
    return ok;
}
} // namespace

const QVector<ScreenPicture>& ScreenPictures() {
    static const QVector<ScreenPicture> pictures = {
        {"screens/background", "0", "JPEG"},     // the main window's background
        {"screens/tips", "01", "PNG"},           // the tips window
        {"screens/about-product", "516", "PNG"}, // the about window's three panels
        {"screens/about-features", "517", "PNG"},
        {"screens/about-team", "518", "PNG"},
        {"screens/help-1", "519", "PNG"}, // the help window's two pages
        {"screens/help-2", "520", "PNG"},
        {"screens/about-top", "521", "PNG"},    // the about window's top band
        {"screens/about-bottom", "522", "PNG"}, // and its bottom band
    };
    return pictures;
}

bool WriteBankDatabase(const QString& path, const BankSource& source, QString* error, int version) {
    if (QFileInfo::exists(path)) {
        if (error)
            *error = path + QStringLiteral(" exists already");
        return false;
    }
    const QString name = QStringLiteral("bank-writer-") + path;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        ok = ok && q.exec(Engine(db).OpenConnection()) && db.transaction();
        const QString base = BaseSchema();
        ok = ok && !base.isEmpty() && RunSqlScript(db, base, error);
        for (const SchemaStep& step : SchemaSteps()) {
            if (ok && step.version <= version)
                ok = RunSqlScript(db, step.script, error);
        }
        ok = ok && q.exec(Engine(db).SetSchemaVersion(std::min(version, NewestSchemaVersion())));

        ok = ok && fillBank(db, q, source, version, error);
        ok = ok && db.commit();
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok)
        QFile::remove(path);
    return ok;
}

ServerLoad WriteServerBank(const QString& address, const BankSource& source, QString* message) {
    static QAtomicInteger<quint64> counter;
    const QString name = QStringLiteral("server-bank-writer-%1").arg(++counter);
    ServerLoad outcome = ServerLoad::Refused;
    QString said;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kServerDriver), name);
        BankError why = BankError::None;
        if (OpenServer(db, address, &why, &said)) {
            const EngineSql& engine = Engine(db);
            const auto has = [&](const char* object) {
                QSqlQuery q(db);
                return q.prepare(engine.HasObject()) &&
                       (q.addBindValue(QString::fromLatin1(object)), q.exec()) && q.next() &&
                       q.value(0).toInt() == 1;
            };
            const int newest = NewestServerSchemaVersion();
            if (has("tblSchemaVersion")) {
                const int version = SchemaVersion(db);
                if (version == newest) {
                    outcome = ServerLoad::Unchanged;
                    said =
                        QStringLiteral("the server already holds the bank at version %1; nothing was changed")
                            .arg(version);
                } else {
                    said =
                        QStringLiteral("the server holds the bank at version %1, not %2; nothing was changed")
                            .arg(version)
                            .arg(newest);
                }
            } else if (has("tblNoeSoal") || has("tblSoal")) {
                said = QStringLiteral("the database has tables of the bank's names but no schema version; "
                                      "nothing was changed");
            } else {
                QSqlQuery q(db);
                QString error;
                QString note;
                // The roles belong to the whole server, so they are made (where missing) apart from
                // the bank's own transaction; its grants name them.
                bool ok = EnsureSchoolRoles(db, &error, &note);
                ok = ok && q.exec(engine.BeginWrite()) && RunSqlScript(db, ServerBaseSchema(), &error);
                for (const SchemaStep& step : ServerSchemaSteps()) {
                    if (ok && step.version <= newest)
                        ok = RunSqlScript(db, step.script, &error);
                }
                ok = ok && q.exec(engine.SetSchemaVersion(newest)) &&
                     fillBank(db, q, source, newest, &error) && q.exec(engine.Commit());
                if (ok) {
                    outcome = ServerLoad::Made;
                    said = QStringLiteral("the bank was made on the server: %1 questions, schema version %2")
                               .arg(source.questions.size())
                               .arg(newest);
                    if (!note.isEmpty())
                        said += QStringLiteral("; ") + note;
                } else {
                    if (error.isEmpty())
                        error = q.lastError().text();
                    QSqlQuery(db).exec(engine.Rollback());
                    said =
                        QStringLiteral("the bank was not made on the server (nothing was changed): ") + error;
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (message)
        *message = said;
    return outcome;
}

bool RenderSvg(const QString& svgPath, const QString& pngPath, QSize fit, QString* error,
               const char* format) {
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        if (error)
            *error = svgPath + QStringLiteral(": not a drawable SVG");
        return false;
    }
    QSize size = renderer.defaultSize();
    if (fit.isValid())
        size.scale(fit, Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
    painter.end();
    const bool jpeg = qstrcmp(format, "JPEG") == 0;
    if (!image.convertToFormat(jpeg ? QImage::Format_RGB32 : image.format())
             .save(pngPath, format, jpeg ? 92 : -1)) {
        if (error)
            *error = pngPath + QStringLiteral(": cannot be written");
        return false;
    }
    return true;
}

bool MakeDataDir(const QString& bankDir, const QString& outDir, QString* report) {
    const auto fail = [report](const QString& why) {
        if (report)
            *report = why;
        return false;
    };
    const BankSource source = ReadBankSource(bankDir);
    if (!source.errors.isEmpty())
        return fail(source.errors.join(u'\n'));
    if (!QDir().mkpath(outDir))
        return fail(outDir + QStringLiteral(": cannot be made"));

    // Everything is made in a scratch folder beside the target, then linked in file by file;
    // a link never replaces a file that is there, so a user's files survive any run.
    QTemporaryDir scratch(QDir(outDir).filePath(QStringLiteral(".make-XXXXXX")));
    if (!scratch.isValid())
        return fail(outDir + QStringLiteral(": no room for a scratch folder"));
    QString error;
    if (!WriteBankDatabase(scratch.filePath(QStringLiteral("515")), source, &error))
        return fail(error);
    const QDir pictures(QDir(bankDir).filePath(QStringLiteral("pictures")));
    QHash<QString, QString> rendered; // source -> first file drawn from it
    for (const BankQuestion& q : source.questions) {
        if (q.picture.isEmpty())
            continue;
        const QString target = scratch.filePath(QString::number(q.id));
        if (const QString done = rendered.value(q.picture); !done.isEmpty()) {
            if (!QFile::copy(done, target))
                return fail(target + QStringLiteral(": cannot be written"));
            continue;
        }
        if (!RenderSvg(pictures.filePath(q.picture + QStringLiteral(".svg")), target, kQuestionPictureFit,
                       &error))
            return fail(q.where + QStringLiteral(": ") + error);
        rendered.insert(q.picture, target);
    }
    for (const ScreenPicture& s : ScreenPictures()) {
        const QString svg = pictures.filePath(QString::fromLatin1(s.source) + QStringLiteral(".svg"));
        if (!RenderSvg(svg, scratch.filePath(QString::fromLatin1(s.file)), QSize(), &error, s.format))
            return fail(error);
    }
    int added = 0;
    int kept = 0;
    for (const QString& name : QDir(scratch.path()).entryList(QDir::Files)) {
        std::error_code ec;
        std::filesystem::create_hard_link(QDir(scratch.path()).filePath(name).toStdString(),
                                          QDir(outDir).filePath(name).toStdString(), ec);
        if (!ec)
            ++added;
        else if (QFileInfo::exists(QDir(outDir).filePath(name)))
            ++kept;
        else
            return fail(QDir(outDir).filePath(name) + QStringLiteral(": ") +
                        QString::fromStdString(ec.message()));
    }
    if (report)
        *report =
            QStringLiteral("%1: %2 files made, %3 already there and kept").arg(outDir).arg(added).arg(kept);
    return true;
}
