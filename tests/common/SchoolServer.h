#pragma once

#include <QString>
#include <QTemporaryDir>

// A real PostgreSQL 15 server for one test program, started by scripts/school-server in a
// temporary folder on a free port and stopped with this object (and, should the program crash, by
// the script's watch on it). As root the server runs as the unprivileged user the script makes.
class SchoolServer {
public:
    SchoolServer();
    ~SchoolServer();
    SchoolServer(const SchoolServer&) = delete;
    SchoolServer& operator=(const SchoolServer&) = delete;

    // Why there is no server (no PostgreSQL installed, no driver); empty when started. A failure
    // to start with everything installed is in error() too, but is a test failure, not a skip.
    bool missing() const { return missing_; }
    QString error() const { return error_; }

    // The address of the database "ravex", for the login "ravex" (not a superuser, so row level
    // security holds for it).
    QString url() const { return url_; }
    int port() const { return port_; }
    // The same server's database of another name, for the same login.
    QString urlOf(const QString& database, const QString& user = QStringLiteral("ravex")) const;
    // Runs statements as the server's superuser over its socket, in database; false and error()
    // on a failure.
    bool superuser(const QString& database, const QStringList& statements);
    // Stops the server (at once, as a crash would, when immediate) and starts it again on the same
    // port; false and error() on a failure.
    bool stop(bool immediate);
    bool start();
    // Lets the login user in by password alone (scram), with the given password.
    bool addPasswordUser(const QString& user, const QString& password);

private:
    bool run(const QStringList& arguments, QString* out);
    QTemporaryDir dir_;
    QString script_;
    QString url_;
    int port_ = 0;
    bool missing_ = false;
    QString error_;
};
