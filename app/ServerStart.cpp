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
        MsgBox(main, probe.problem, MsgIcon::Warning, kAppTitle);
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
    if (probe.error == BankError::Unreachable && haveLocalCopy()) {
        gConnSource = sourceOf(LocalCopyFile());
        MarkServerLostTold();
        MsgBox(main, kServerLostText, MsgIcon::Warning, kAppTitle);
        return false;
    }
    MsgBox(main, probe.problem, MsgIcon::Warning, kAppTitle);
    return false;
}
