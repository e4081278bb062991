#include "common/SchoolServer.h"

#include "data/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
const QString kBin = QStringLiteral("/usr/lib/postgresql/15/bin");
}

SchoolServer::SchoolServer() {
    script_ =
        QDir(qEnvironmentVariable("RAVEX_BANK_DIR")).filePath(QStringLiteral("../scripts/school-server"));
    if (!QFileInfo(kBin + QStringLiteral("/pg_ctl")).isExecutable()) {
        missing_ = true;
        error_ = QStringLiteral("PostgreSQL 15 is not installed (postgresql-15)");
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kServerDriver))) {
        missing_ = true;
        error_ = QStringLiteral("Qt's PostgreSQL driver is not installed (libqt6sql6-psql)");
        return;
    }
    QString out;
    if (!run({QStringLiteral("start"), dir_.path(), QStringLiteral("--until-exit"),
              QString::number(QCoreApplication::applicationPid())},
             &out))
        return;
    url_ = out.trimmed().split(u'\n').last();
    port_ = QUrl(url_).port();
}

SchoolServer::~SchoolServer() {
    if (!url_.isEmpty())
        run({QStringLiteral("stop"), dir_.path()}, nullptr);
}

bool SchoolServer::stop(bool immediate) {
    QStringList arguments{QStringLiteral("stop"), dir_.path()};
    if (immediate)
        arguments << QStringLiteral("--immediate");
    return run(arguments, nullptr);
}

bool SchoolServer::start() {
    QString out;
    if (!run({QStringLiteral("start"), dir_.path()}, &out))
        return false;
    if (out.trimmed().split(u'\n').last() != url_) {
        error_ = QStringLiteral("the server came back at another address: ") + out.trimmed();
        return false;
    }
    return true;
}

bool SchoolServer::run(const QStringList& arguments, QString* out) {
    QProcess p;
    p.start(QStringLiteral("bash"), QStringList{script_} + arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error_ = QStringLiteral("school-server %1 failed: %2")
                     .arg(arguments.join(u' '), QString::fromUtf8(p.readAllStandardError()));
        return false;
    }
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    return true;
}

QString SchoolServer::urlOf(const QString& database, const QString& user) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user).arg(port_).arg(database);
}

bool SchoolServer::superuser(const QString& database, const QStringList& statements) {
    const QString name = QStringLiteral("school-server-superuser");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kServerDriver), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setDatabaseName(database);
        db.setUserName(QStringLiteral("postgres"));
        ok = db.open();
        if (!ok)
            error_ = db.lastError().text();
        for (const QString& statement : statements) {
            QSqlQuery q(db);
            if (ok && !q.exec(statement)) {
                error_ = statement + QStringLiteral(": ") + q.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool SchoolServer::addPasswordUser(const QString& user, const QString& password) {
    // The password line goes before the trust lines, which would let the user in without one.
    QFile hba(dir_.filePath(QStringLiteral("data/pg_hba.conf")));
    if (!hba.open(QIODevice::ReadOnly))
        return false;
    const QByteArray rest = hba.readAll();
    hba.close();
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    hba.write(QStringLiteral("host all %1 127.0.0.1/32 scram-sha-256\n").arg(user).toUtf8() + rest);
    hba.close();
    return superuser(QStringLiteral("postgres"),
                     {QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(user, password),
                      QStringLiteral("SELECT pg_reload_conf()")});
}
