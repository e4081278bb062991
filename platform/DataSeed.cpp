#include "platform/DataSeed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}
} // namespace

bool SeedDataFolder(const QString& installedDir, const QString& dataDir, QString* error) {
    const QDir from(installedDir);
    QDir to(dataDir);
    if (to.exists(kBankFileName) || !from.exists(kBankFileName))
        return true;
    if (!QDir().mkpath(to.absolutePath()))
        return fail(error, QStringLiteral("cannot make %1").arg(to.absolutePath()));

    // Beside the data folder, so each file moves in by a rename on the same file system.
    QTemporaryDir staging(to.absolutePath() + QStringLiteral(".seed-XXXXXX"));
    if (!staging.isValid())
        return fail(error, QStringLiteral("cannot make a folder beside %1: %2")
                               .arg(to.absolutePath(), staging.errorString()));
    QStringList names = from.entryList(QDir::Files, QDir::Name);
    // The bank goes last: a folder with a bank is a complete one.
    names.removeAll(kBankFileName);
    names.append(kBankFileName);
    for (const QString& name : names) {
        if (to.exists(name))
            continue;
        if (!QFile::copy(from.filePath(name), staging.filePath(name)))
            return fail(error, QStringLiteral("cannot copy %1").arg(from.filePath(name)));
        // Installed files are read-only; the learner's copy is written (the bank above all).
        QFile::setPermissions(staging.filePath(name), QFile::permissions(staging.filePath(name)) |
                                                          QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    for (const QString& name : names) {
        // rename never replaces a file that appeared meanwhile: that one is kept.
        if (!to.exists(name) && !QFile::rename(staging.filePath(name), to.filePath(name)) && !to.exists(name))
            return fail(error, QStringLiteral("cannot move %1 into %2").arg(name, to.absolutePath()));
    }
    return true;
}
