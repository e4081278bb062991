#include "app/ServerStart.h"

#include "data/Connection.h"
#include "data/LocalCopy.h"
#include "data/SchoolLink.h"
#include "data/SharedState.h"
#include "data/UploadQueue.h"
#include "ui/MessageBox.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <QWidget>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

namespace {
QString sourceOf(const QString& bank) {
    return QStringLiteral("Data Source=") + bank + u';';
}

bool haveLocalCopy() {
    return QFileInfo(LocalCopyFile()).isFile();
}

// A server that cannot be used and no copy of its bank: the program goes on with the data
// folder's own bank, as for a learner alone, rather than with windows that open empty.
void useOwnBank(QWidget* main, const QString& problem) {
    const QString own = gDataDir + QStringLiteral("515");
    if (!QFileInfo(own).isFile()) {
        MsgBox(main, problem, MsgIcon::Warning, kAppTitle);
        return;
    }
    gConnSource = sourceOf(own);
    MsgBox(main, problem + u' ' + kOnOwnBankText, MsgIcon::Warning, kAppTitle);
}
} // namespace

std::future<ServerReach> ReachServer(const QString& server) {
    const QString connection = gConnProvider + sourceOf(server);
    return std::async(std::launch::async, [connection] {
        const Connection probe(connection);
        return ServerReach{probe.isOpen(), probe.error(), probe.problem()};
    });
}

bool StartOnServer(const QString& server, ServerReach probe, QWidget* main) {
    gConnSource = sourceOf(server);
    ServerAddress address;
    if (!ParseServerAddress(server, &address, nullptr)) {
        SetLinkedServer(QString());
        useOwnBank(main, probe.problem);
        return false;
    }
    SetLinkedServer(server);
    SetServerLostHandler({});
    // The probe ran before the server was linked: an outage it met is said here, once.
    if (!probe.open && probe.error == BankError::Unreachable)
        MarkServerLostTold();
    // Set after the probe, which tells of an outage in the start-up's own message.
    const QPointer<QWidget> owner(main);
    // Lost mid-session: said once; the windows opened from then on read the local copy.
    SetServerLostHandler([owner] {
        if (IsServerAddress(DataSourceOf(gConnSource)) && haveLocalCopy())
            gConnSource = sourceOf(LocalCopyFile());
        MsgBox(owner, kServerLostText, MsgIcon::Warning, kAppTitle);
    });
    if (main) {
        auto* timer = new QTimer(main);
        timer->setObjectName(QStringLiteral("tmrUpload"));
        QObject::connect(timer, &QTimer::timeout, timer, [] { StartUpload(); });
        timer->start(kUploadIntervalMs);
    }
    if (probe.open) {
        StartUpload();
        QTimer::singleShot(kLocalCopyDelayMs, main, [] { StartLocalCopyRefresh(); });
        return true;
    }
    qCWarning(lcApp).noquote() << "the school server" << server << "is not usable:" << probe.problem;
    // Out of reach, refused, or of another version: the last copy of its bank serves meanwhile,
    // and what is kept waits in the queue for the server.
    if (haveLocalCopy()) {
        gConnSource = sourceOf(LocalCopyFile());
        MarkServerLostTold();
        MsgBox(main,
               probe.error == BankError::Unreachable ? kServerLostText
                                                     : probe.problem + u' ' + kOnLocalCopyText,
               MsgIcon::Warning, kAppTitle);
        return false;
    }
    useOwnBank(main, probe.problem);
    return false;
}
