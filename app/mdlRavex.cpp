#include "app/mdlRavex.h"

#include "app/ServerStart.h"
#include "app/frmMain.h"
#include "data/Connection.h"
#include "data/SchoolLink.h"
#include "data/Settings.h"
#include "platform/DataSeed.h"
#include "progress/frmShagerd.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

#ifndef RAVEX_INSTALLED_DATA
#define RAVEX_INSTALLED_DATA "../share/ravex/vkimgdir"
#endif

QString InstalledDataDir() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" RAVEX_INSTALLED_DATA));
}

bool InstallQtTranslations() {
    static QTranslator* qtPersian = nullptr;
    if (qtPersian)
        return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qCWarning(lcApp) << "no Persian translation of Qt's texts in"
                         << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    qtPersian = translator;
    return true;
}

QString ServerFromStart(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--server"));
    if (at >= 0 && at + 1 < arguments.size())
        return arguments[at + 1];
    return qEnvironmentVariable("RAVEX_SERVER");
}

QString ServerAtStart(const QStringList& arguments, const QString& localBank) {
    const QString given = ServerFromStart(arguments);
    return given.isEmpty() ? ReadSetting(localBank, kServerAddressSetting, QString()).trimmed() : given;
}

void ChooseLearner(bool onServer, QWidget* parent) {
    const QString local = LocalBankConnectionString();
    if (!onServer) {
        // Without the server there is no list of learners: the last one named goes on.
        SetServerLearner(ReadSetting(local, kLastLearnerSetting, QString()));
        return;
    }
    const QString learner = frmShagerd::Choose(ConnectionString(), parent);
    SetServerLearner(learner);
    if (!learner.isEmpty())
        WriteSetting(local, kLastLearnerSetting, learner);
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
    gConnProvider = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;");
    // A school server's bank replaces the data folder's file; the pictures stay in the folder. A
    // server named at start is reached on another core while the main window is built.
    QString server = ServerFromStart(QCoreApplication::arguments());
    SetLinkedServer(QString());
    SetServerLostHandler({});
    std::future<ServerReach> reach = server.isEmpty() ? std::future<ServerReach>() : ReachServer(server);
    frmMain::Open();
    gExamTime = QTime(0, 26);
    gPassMark = 27;
    gConnSource = QStringLiteral("Data Source=") + gDataDir + QStringLiteral("515;");
    // The address the settings window keeps is read once the window is built, as the other
    // settings are: a learner alone does not wait for the bank's driver before seeing it.
    if (server.isEmpty()) {
        server = ServerAtStart(QCoreApplication::arguments(), LocalBankConnectionString());
        if (!server.isEmpty())
            reach = ReachServer(server);
    }
    if (!server.isEmpty()) {
        const bool onServer = StartOnServer(server, reach.get(), frmMain::Instance());
        ChooseLearner(onServer, frmMain::Instance());
    }
    // One indexed read, after the main window is built: the bank's driver has loaded beside it.
    gCheckBeforeGrading = ReadFlag(ConnectionString(), kCheckBeforeGradingSetting, true);
    // Reading aloud's settings wait for the first question window: start-up reads no more.
    gSpeechRead = false;
    gSpeechRefusalShown = false;
    return true;
}
