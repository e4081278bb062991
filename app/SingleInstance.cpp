#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

Q_DECLARE_LOGGING_CATEGORY(lcApp)

namespace {
constexpr int kAnswerMs = 1000;      // a running program answers at once; a stale socket refuses
constexpr int kClaimLockMs = 10'000; // two starts at one moment claim one after the other
const QByteArray kRaise = "raise\n";
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {}

SingleInstance::~SingleInstance() = default; // the server closes and removes its socket with us

QString SingleInstance::KeyFor(const QString& dataDir) {
    QString user;
#ifdef Q_OS_UNIX
    user = QString::number(::getuid());
#else
    user = qEnvironmentVariable("USERNAME");
#endif
    const QByteArray folder = QDir::cleanPath(QDir(dataDir).absolutePath()).toUtf8();
    // The socket's name stays short (a socket path has about a hundred bytes) and says whose it is.
    return QStringLiteral("ravex-%1-%2")
        .arg(user, QString::fromLatin1(
                       QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(12)));
}

bool SingleInstance::askRunning() const {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(kAnswerMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(key_)) {
        // A socket file with nobody behind it: a program that was killed. Take its place.
        QLocalServer::removeServer(key_);
        if (!server->listen(key_)) {
            qCWarning(lcApp) << "cannot listen for later starts on" << key_ << server->errorString();
            delete server;
            return false;
        }
    }
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains('\n'))
                    emit activationRequested();
            });
        }
    });
    server_ = server;
    return true;
}

bool SingleInstance::claim() {
    if (server_)
        return true;
    // Checking and listening are one step: two starts at one moment must not both listen. A lock
    // left by a killed program is stale (its process is gone) and QLockFile takes it over.
    QLockFile lock(QDir::temp().filePath(key_ + QStringLiteral(".lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(kClaimLockMs))
        qCWarning(lcApp) << "the start lock" << lock.fileName() << "is held; starting anyway";
    if (askRunning())
        return false;
    // Not being able to listen must not keep the learner from the program: it runs unguarded.
    listen();
    return true;
}

void BringToFront(QWidget* window) {
    if (!window)
        return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
