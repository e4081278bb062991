#include "data/SchoolLink.h"

#include "data/Connection.h"
#include "data/SharedState.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <QThread>
#include <atomic>

Q_LOGGING_CATEGORY(lcLink, "ravex.link", QtWarningMsg)

namespace {
QMutex& guard() {
    static QMutex m;
    return m;
}
QString& server() {
    static QString s;
    return s;
}
std::function<void()>& handler() {
    static std::function<void()> h;
    return h;
}
std::atomic<bool> lost{false};
std::atomic<bool> told{false};
} // namespace

QString LinkedServer() {
    QMutexLocker lock(&guard());
    return server();
}

void SetLinkedServer(const QString& address) {
    QMutexLocker lock(&guard());
    server() = address;
    lost = false;
    told = false;
}

QString LocalCopyFile() {
    return gDataDir + QStringLiteral("515-school");
}

QString QueueFile() {
    return gDataDir + QStringLiteral("515-queue");
}

bool IsLocalCopy(const QString& connectionString) {
    return !LinkedServer().isEmpty() && DataSourceOf(connectionString) == LocalCopyFile();
}

bool LinkedBank(const QString& connectionString) {
    return IsServerAddress(DataSourceOf(connectionString)) || IsLocalCopy(connectionString);
}

QString ServerOf(const QString& connectionString) {
    const QString source = DataSourceOf(connectionString);
    return IsServerAddress(source) ? source : LinkedServer();
}

QString ServerConnectionOf(const QString& connectionString) {
    const QString source = DataSourceOf(connectionString);
    QString out = connectionString;
    const qsizetype at = out.indexOf(source);
    return at < 0 ? QStringLiteral("Data Source=") + LinkedServer() + u';'
                  : out.replace(at, source.size(), LinkedServer());
}

void NoteServerLost() {
    lost = true;
    if (told.exchange(true))
        return;
    qCWarning(lcLink) << "the school server" << LinkedServer() << "is out of reach";
    std::function<void()> h;
    {
        QMutexLocker lock(&guard());
        h = handler();
    }
    if (h && QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), h, Qt::QueuedConnection);
}

void NoteServerBack() {
    if (lost.exchange(false))
        qCInfo(lcLink) << "the school server" << LinkedServer() << "answers again";
    told = false;
}

bool ServerLost() {
    return lost;
}

void MarkServerLostTold() {
    lost = true;
    told = true;
}

void SetServerLostHandler(std::function<void()> h) {
    QMutexLocker lock(&guard());
    handler() = std::move(h);
}
