#include "common/BankLocks.h"

#include <QAtomicInteger>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

HeldBank::HeldBank(const QString& bankPath, const char* how) {
    static QAtomicInteger<int> counter;
    name_ = QStringLiteral("another-program-%1").arg(++counter);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(bankPath);
    held_ = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN ") + QLatin1String(how));
}

HeldBank::~HeldBank() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

Immutable::Immutable(const QString& path) : path_(path) {
    held_ = set(true);
}

Immutable::~Immutable() {
    if (held_)
        set(false);
}

bool Immutable::set(bool on) {
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = false;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

static QString readOnlyFirst(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return path;
}

Unwritable::Unwritable(const QString& path) : path_(readOnlyFirst(path)), immutable_(path) {}

Unwritable::~Unwritable() {
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

bool Unwritable::holds() const {
    QFile f(path_);
    return !f.open(QIODevice::ReadWrite);
}
