#pragma once

#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <map>
#include <memory>

// Failures the data layer swallows (the windows go on with what they have) are logged here.
Q_DECLARE_LOGGING_CATEGORY(lcData)
// Every statement run on the bank to read rows, with how many it read, at debug level:
// QT_LOGGING_RULES="ravex.sql.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSql)

// Why the last operation on a bank failed; None when it went through.
enum class BankError {
    None,
    Missing,  // no file where the bank should be
    Busy,     // another program holds the bank locked
    Corrupt,  // not a database, damaged, or without the tables and columns asked for
    ReadOnly, // the file or its folder refuses writes
    Full,     // the disk (or the bank's size limit) has no room for the write
    // A bank on a school server (PostgreSQL):
    Unreachable,  // the server does not answer: down, wrong host or port, no network
    Denied,       // the server refuses the user: wrong password, unknown user, no right to connect
    BadAddress,   // the server's address is not one this program accepts (or carries a password)
    Version,      // the server holds no bank of this program's schema version; it is left alone
    NotPermitted, // the server refuses this login the write: its role may only read (a learner)
};

// What a window or the start-up says of a failure, in a sentence; empty for None.
QString BankErrorText(BankError error);

// What a window says when a read or a write found the bank held by another program.
inline const QString kBankBusyText =
    QStringLiteral("بانك سؤالات در دست برنامه ديگري است؛ لحظه اي بعد دوباره امتحان كنيد.");

// What a window says when a change it wrote could not be stored (read-only folder, full disk).
inline const QString kNotSavedText = QStringLiteral("تغييرات ذخيره نشد؛ بانك سؤالات قابل نوشتن نيست.");

// How long a statement waits for another program's lock before it gives up: short enough that
// a window never freezes noticeably, long enough to ride over a backup tool's brief read.
inline constexpr int kBusyTimeoutMs = 100;

// The kind of failure an engine error stands for (None for no error): SQLite's result codes.
BankError ClassifyBankError(const QSqlError& error);
// The same for an error of the connection db, whichever engine it reaches.
BankError ClassifyBankError(const QSqlError& error, const QSqlDatabase& db);

// The Qt driver of a school server's bank.
inline constexpr char kServerDriver[] = "QPSQL";

// Whether a Data Source names a server (postgresql://... or postgres://...) rather than a file.
bool IsServerAddress(const QString& source);

// A server's address taken apart: postgresql://user@host:port/database. A password never goes in
// the address (nor anywhere in the bank or on a command line): the server's own client library
// reads it from ~/.pgpass or PGPASSWORD, as PostgreSQL's own tools do.
struct ServerAddress {
    QString host;
    int port = 5432;
    QString database;
    QString user;
};
// False with a Persian sentence in *why when the text is not such an address.
bool ParseServerAddress(const QString& text, ServerAddress* out, QString* why);

// The key of this run of the program on a server: the exam being taken is kept under it, so PCs
// sharing the server never see each other's exam. Made once a run; tests set their own.
QString ServerSession();
void SetServerSession(const QString& key);
// Who is practising, for the server's per-learner records; empty when no one is named.
QString ServerLearner();
void SetServerLearner(const QString& learner);

// Opens db (a QPSQL connection, not yet open) on the server at address and readies the session:
// the session key and learner are set, statements wait for another's lock as long as on a file.
// On failure db is closed, *error holds the kind and *why a Persian sentence.
bool OpenServer(QSqlDatabase& db, const QString& address, BankError* error, QString* why);

// "Provider=...;Data Source=<file>;" -> <file>; empty when the string names no source.
QString DataSourceOf(const QString& connectionString);

// The SQLite driver is a plugin that the first connection loads. Started at start-up, it loads
// on another core while the main window is built, and the first window that reads the bank
// does not wait for it.
void PreloadBankDriver();

// One open connection to the bank named by a connection string, closed with the object. It never
// creates a file: a missing bank stays missing and the connection stays closed.
class Connection {
public:
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return db_.isOpen(); }
    QSqlDatabase& database() { return db_; }

    // Why the opening or the last failed statement failed; RowSet and the transaction calls
    // record it here, so a window can tell a locked bank from a missing or damaged one.
    BankError error() const { return error_; }
    // Why the opening or the last failed statement failed, as a sentence to show; empty when
    // nothing failed.
    QString problem() const { return problem_.isEmpty() ? BankErrorText(error_) : problem_; }
    void noteError(const QSqlError& error);

    // A write of several rows is one transaction: all of it lands, or none. It takes the write
    // lock at once, so a bank another program holds fails here, before anything is written.
    bool begin();
    bool commit();
    void rollback();

    // A statement prepared once and kept for the connection's life, for one run many times
    // (the rows of a write); null when it does not prepare.
    QSqlQuery* prepared(const QString& statement);

private:
    void openServer(const QString& address);

    QString name_;
    QSqlDatabase db_;
    std::map<QString, std::unique_ptr<QSqlQuery>> prepared_;
    BankError error_ = BankError::None;
    QString problem_;
};
