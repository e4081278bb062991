#include "app/mdlRavex.h"

#include "app/frmMain.h"
#include "platform/DataSeed.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

#ifndef RAVEX_INSTALLED_DATA
#define RAVEX_INSTALLED_DATA "../share/ravex/vkimgdir"
#endif

QString InstalledDataDir() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" RAVEX_INSTALLED_DATA));
}

bool Main() {
    bool ok = false;
    const QString dataDir = SystemDataDir(&ok);
    if (!ok) {
        MsgBox(nullptr, QStringLiteral("Invalid procedure call or argument"), MsgIcon::Information,
               kStartupErrorTitle);
        return false;
    }
    gDataDir = dataDir;
    // Installed from a package, the first start makes the data folder from the installed copy.
    QString seedError;
    if (!SeedDataFolder(InstalledDataDir(), gDataDir, &seedError))
        qCWarning(lcApp) << "the data folder was not made from the installed copy:" << seedError;
    InitExamRanges();
    frmMain::Open();
    gExamTime = QTime(0, 26);
    gPassMark = 27;
    gConnProvider = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;");
    gConnSource = QStringLiteral("Data Source=") + gDataDir + QStringLiteral("515;");
    return true;
}
