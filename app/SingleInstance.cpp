#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

namespace {
constexpr int kClaimLockMs = 10'000; // two starts at one moment claim one after the other
const QByteArray kRaise = "raise\n";
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), key_(key), path_(QFile::encodeName(QDir::temp().filePath(key))) {}

SingleInstance::~SingleInstance() {
    if (listenFd_ < 0)
        return;
    ::close(listenFd_);
    ::unlink(path_.constData());
}

QString SingleInstance::KeyFor(const QString& dataDir) {
    const QString user = QString::number(::getuid());
    const QByteArray folder = QDir::cleanPath(QDir(dataDir).absolutePath()).toUtf8();
    // The socket's name stays short (a socket path has about a hundred bytes) and says whose it is.
    return QStringLiteral("ravex-%1-%2")
        .arg(user, QString::fromLatin1(
                       QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(12)));
}

namespace {
// Plain local sockets rather than Qt's network module: linking that module costs the program's
// start-up more than this whole class does.
bool addressOf(const QByteArray& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}
} // namespace

bool SingleInstance::askRunning() const {
    sockaddr_un address;
    if (!addressOf(path_, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A local connect is answered at once: accepted where a program listens, refused where a
    // killed one left only its file.
    const bool running = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (running)
        ::send(fd, kRaise.constData(), size_t(kRaise.size()), MSG_NOSIGNAL);
    ::close(fd);
    return running;
}

bool SingleInstance::listen() {
    sockaddr_un address;
    if (!addressOf(path_, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A socket file with nobody behind it: a program that was killed. Take its place.
    ::unlink(path_.constData());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(fd, 4) != 0) {
        qCWarning(lcApp) << "cannot listen for later starts on" << path_ << std::strerror(errno);
        ::close(fd);
        return false;
    }
    ::chmod(path_.constData(), 0600); // this user's starts only
    listenFd_ = fd;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::acceptOne);
    return true;
}

void SingleInstance::acceptOne() {
    const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0)
        return;
    auto* reader = new QSocketNotifier(client, QSocketNotifier::Read, this);
    connect(reader, &QSocketNotifier::activated, this, [this, reader, client] {
        char buffer[64];
        const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got > 0 && std::memchr(buffer, '\n', size_t(got)))
            emit activationRequested();
        if (got > 0 || (got < 0 && errno == EAGAIN))
            return;
        reader->setEnabled(false);
        ::close(client);
        reader->deleteLater();
    });
}

bool SingleInstance::claim() {
    if (listenFd_ >= 0)
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
