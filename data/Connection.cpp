#include "data/Connection.h"

#include "data/BankSchema.h"
#include "data/SchoolLink.h"
#include "data/Sql.h"
#include "platform/PersianDigits.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>
#include <future>

Q_LOGGING_CATEGORY(lcData, "ravex.data", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSql, "ravex.sql", QtCriticalMsg)

QString DataSourceOf(const QString& connectionString) {
    // key=value pairs separated by ';'; a value may be wrapped in double quotes to hold a ';'.
    qsizetype i = 0;
    const qsizetype n = connectionString.size();
    while (i < n) {
        const qsizetype eq = connectionString.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = connectionString.mid(i, eq - i).trimmed();
        QString value;
        qsizetype j = eq + 1;
        while (j < n && connectionString[j] == u' ')
            ++j;
        if (j < n && connectionString[j] == u'"') {
            const qsizetype close = connectionString.indexOf(u'"', j + 1);
            value = connectionString.mid(j + 1, (close < 0 ? n : close) - j - 1);
            j = close < 0 ? n : connectionString.indexOf(u';', close);
            j = j < 0 ? n : j;
        } else {
            const qsizetype semi = connectionString.indexOf(u';', j);
            const qsizetype end = semi < 0 ? n : semi;
            value = connectionString.mid(j, end - j).trimmed();
            j = end;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return value;
        i = j + 1;
    }
    return {};
}

BankError ClassifyBankError(const QSqlError& error) {
    if (error.type() == QSqlError::NoError)
        return BankError::None;
    // The driver reports SQLite's result code; its low byte is the primary code.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (!ok)
        return BankError::Corrupt;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return BankError::Busy;
    case 8:  // SQLITE_READONLY
    case 23: // SQLITE_AUTH
        return BankError::ReadOnly;
    case 13: // SQLITE_FULL
        return BankError::Full;
    case 14: // SQLITE_CANTOPEN
        return BankError::Missing;
    case 10: // SQLITE_IOERR: a write the file system refused (over a size limit, a bad disk)
        return BankError::Full;
    default: // corrupt, not a database, no such table or column, a type the bank refuses
        return BankError::Corrupt;
    }
}

namespace {
const QString kAddressForm = QStringLiteral("postgresql://user@host:5432/ravex");

// libpq says why a connection failed only in words (in English unless its messages are
// translated, which this program does not ask for); the words that tell a refused user from a
// server out of reach are these.
BankError classifyConnectFailure(const QString& text) {
    const QString t = text.toLower();
    if (t.contains(QLatin1String("database")) && t.contains(QLatin1String("does not exist")))
        return BankError::Missing;
    if (t.contains(QLatin1String("authentication")) || t.contains(QLatin1String("password")) ||
        t.contains(QLatin1String("pg_hba.conf")) || t.contains(QLatin1String("role")) ||
        t.contains(QLatin1String("permission denied")))
        return BankError::Denied;
    return BankError::Unreachable;
}
} // namespace

BankError ClassifyBankError(const QSqlError& error, const QSqlDatabase& db) {
    if (db.driverName() != QLatin1String(kServerDriver))
        return ClassifyBankError(error);
    if (error.type() == QSqlError::NoError)
        return BankError::None;
    // The server gives an SQLSTATE: its class (the first two characters) is the kind.
    const QString state = error.nativeErrorCode();
    if (state.size() != 5)
        return classifyConnectFailure(error.text());
    const QStringView cls = QStringView(state).left(2);
    if (cls == u"08" || state == u"57P01" || state == u"57P02" || state == u"57P03")
        return BankError::Unreachable;
    if (cls == u"28")
        return BankError::Denied;
    if (state == u"42501") // the login's role has no right to the write
        return BankError::NotPermitted;
    if (state == u"25006") // a read-only transaction
        return BankError::ReadOnly;
    if (state == u"55P03" || state == u"40001" || state == u"40P01") // a lock, a conflict
        return BankError::Busy;
    if (cls == u"53")
        return BankError::Full;
    if (state == u"3D000")
        return BankError::Missing;
    return BankError::Corrupt;
}

QString BankErrorText(BankError error) {
    switch (error) {
    case BankError::None:
        return {};
    case BankError::Missing:
        return QStringLiteral("بانك سؤالات پيدا نشد.");
    case BankError::Busy:
        return kBankBusyText;
    case BankError::Corrupt:
        return QStringLiteral("بانك سؤالات خراب است يا جدولهاي لازم را ندارد.");
    case BankError::ReadOnly:
    case BankError::Full:
        return kNotSavedText;
    case BankError::Unreachable:
        return QStringLiteral("سرور آموزشگاه در دسترس نيست؛ شبكه و نشاني سرور را بررسي كنيد.");
    case BankError::Denied:
        return QStringLiteral("سرور آموزشگاه اين كاربر را نپذيرفت؛ نام كاربر و رمز عبور او را "
                              "(در فايل pgpass. يا PGPASSWORD) بررسي كنيد.");
    case BankError::BadAddress:
        return QStringLiteral("نشاني سرور آموزشگاه درست نيست؛ نمونه درست: ") + kAddressForm;
    case BankError::Version:
        return QStringLiteral("بانك سؤالات سرور آموزشگاه با اين نسخه برنامه نمي خواند؛ چيزي در آن "
                              "تغيير داده نشد.");
    case BankError::NotPermitted:
        return QStringLiteral("سرور آموزشگاه اين تغيير را به اين كاربر اجازه نمي دهد؛ فقط مربي مي تواند.");
    }
    return {};
}

bool IsServerAddress(const QString& source) {
    return source.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           source.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

bool ParseServerAddress(const QString& text, ServerAddress* out, QString* why) {
    const auto refuse = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QString bad = BankErrorText(BankError::BadAddress);
    if (!IsServerAddress(text.trimmed()))
        return refuse(bad);
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return refuse(bad);
    // user:password@ (even with the password empty) is refused before QUrl reads it.
    const QString authority = text.trimmed().section(QLatin1String("//"), 1).section(u'/', 0, 0);
    const qsizetype at = authority.lastIndexOf(u'@');
    if (!url.password().isEmpty() || (at >= 0 && authority.left(at).contains(u':')))
        return refuse(QStringLiteral("رمز عبور نبايد در نشاني سرور نوشته شود؛ آن را در فايل pgpass. "
                                     "يا PGPASSWORD بگذاريد. نمونه نشاني: ") +
                      kAddressForm);
    const QString database = url.path().mid(1);
    if (url.host().isEmpty() || url.userName().isEmpty() || database.isEmpty() || database.contains(u'/') ||
        url.port(5432) < 1 || url.hasQuery() || url.hasFragment())
        return refuse(bad);
    if (out) {
        out->host = url.host();
        out->port = url.port(5432);
        out->database = database;
        out->user = url.userName();
    }
    return true;
}

namespace {
QString& sessionKey() {
    static QString key = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return key;
}
QString& learnerName() {
    static QString learner;
    return learner;
}
} // namespace

QString ServerSession() {
    return sessionKey();
}
void SetServerSession(const QString& key) {
    sessionKey() = key;
}
QString ServerLearner() {
    return learnerName();
}
void SetServerLearner(const QString& learner) {
    learnerName() = learner;
}

bool OpenServer(QSqlDatabase& db, const QString& address, BankError* error, QString* why) {
    const auto fail = [&](BankError kind, const QString& reason, const QString& detail) {
        qCWarning(lcData).noquote() << "the server bank" << address << "does not open:" << detail;
        db.close();
        if (error)
            *error = kind;
        if (why)
            *why = reason;
        return false;
    };
    ServerAddress a;
    QString reason;
    if (!ParseServerAddress(address, &a, &reason))
        return fail(BankError::BadAddress, reason, QStringLiteral("not a server address"));
    db.setHostName(a.host);
    db.setPort(a.port);
    db.setDatabaseName(a.database);
    db.setUserName(a.user);
    // No password is set: libpq then takes it from PGPASSWORD or ~/.pgpass.
    db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=ravex"));
    if (!db.open()) {
        const BankError kind = ClassifyBankError(db.lastError(), db);
        return fail(kind, BankErrorText(kind), db.lastError().text());
    }
    QSqlQuery setup(db);
    if (!setup.exec(Engine(db).OpenConnection()) || !setup.exec(Engine(db).ProbeBank())) {
        const BankError kind = ClassifyBankError(setup.lastError(), db);
        return fail(kind, BankErrorText(kind), setup.lastError().text());
    }
    return true;
}

void Connection::noteError(const QSqlError& error) {
    error_ = ClassifyBankError(error, db_);
}

namespace {
std::future<void>& driverLoad() {
    static std::future<void> loading;
    return loading;
}
} // namespace

void PreloadBankDriver() {
    if (driverLoad().valid())
        return;
    // A program that ends at once still lets the load finish before Qt unloads its plugins.
    qAddPostRoutine([] { driverLoad().wait(); });
    // A connection made and dropped on its own thread, only for the plugin to be loaded.
    driverLoad() = std::async(std::launch::async, [] {
        const QString name = QStringLiteral("bank-driver-preload");
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QSqlDatabase::removeDatabase(name);
    });
}

Connection::Connection(const QString& connectionString) {
    if (driverLoad().valid())
        driverLoad().wait();
    static QAtomicInteger<quint64> counter;
    name_ = QStringLiteral("bank-%1").arg(++counter);
    const QString file = DataSourceOf(connectionString);
    if (IsServerAddress(file)) {
        openServer(file);
        return;
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        qCWarning(lcData) << "no bank at" << file;
        error_ = BankError::Missing;
        return;
    }
    db_.setDatabaseName(file);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open()) {
        qCWarning(lcData) << "the bank" << file << "does not open:" << db_.lastError().text();
        noteError(db_.lastError());
        if (error_ == BankError::None)
            error_ = BankError::Missing;
        return;
    }
    QSqlQuery pragma(db_);
    // A file that is not a database opens without complaint; the first statement tells.
    if (!pragma.exec(Engine(db_).OpenConnection()) || !pragma.exec(Engine(db_).ProbeBank())) {
        qCWarning(lcData) << "the bank" << file << "cannot be read:" << pragma.lastError().text();
        noteError(pragma.lastError());
        pragma = QSqlQuery();
        db_.close();
        return;
    }
    pragma = QSqlQuery();
    // An older bank gets the tables of this program's later versions before anything reads it.
    UpgradeOnOpen(db_, file);
}

void Connection::openServer(const QString& address) {
    db_ = QSqlDatabase::addDatabase(QString::fromLatin1(kServerDriver), name_);
    if (!OpenServer(db_, address, &error_, &problem_)) {
        if (error_ == BankError::Unreachable && address == LinkedServer())
            NoteServerLost();
        return;
    }
    // A server's bank is made by make-datadir --postgres alone and never upgraded on opening: every PC shares
    // it, so a program of another version leaves it as it is and says so.
    const int version = SchemaVersion(db_);
    if (version != NewestServerSchemaVersion()) {
        qCWarning(lcData) << "the server bank" << address << "is at version" << version << "not"
                          << NewestServerSchemaVersion();
        error_ = BankError::Version;
        problem_ =
            BankErrorText(BankError::Version) +
            (version < 0 ? QString()
                         : QStringLiteral(" (نسخه بانك %1، نسخه برنامه %2)")
                               .arg(PersianNumber(version), PersianNumber(NewestServerSchemaVersion())));
        db_.close();
    }
}

Connection::~Connection() {
    prepared_.clear(); // the statements go before the database they belong to
    db_.close();       // an unfinished transaction is rolled back by the engine
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

QSqlQuery* Connection::prepared(const QString& statement) {
    if (const auto found = prepared_.find(statement); found != prepared_.end())
        return found->second.get();
    if (!isOpen())
        return nullptr;
    auto query = std::make_unique<QSqlQuery>(db_);
    if (!query->prepare(statement)) {
        noteError(query->lastError());
        return nullptr;
    }
    return prepared_.emplace(statement, std::move(query)).first->second.get();
}

namespace {
bool run(Connection& connection, const QString& statement) {
    if (!connection.isOpen())
        return false;
    QSqlQuery query(connection.database());
    if (query.exec(statement)) {
        connection.noteError(QSqlError());
        return true;
    }
    qCWarning(lcData) << statement << "failed:" << query.lastError().text();
    connection.noteError(query.lastError());
    return false;
}
} // namespace

bool Connection::begin() {
    return run(*this, Engine(db_).BeginWrite());
}
bool Connection::commit() {
    return run(*this, Engine(db_).Commit());
}
void Connection::rollback() {
    // The engine may have rolled back already (a full disk does); the error that caused it stays.
    const BankError cause = error_;
    if (db_.isOpen() && !QSqlQuery(db_).exec(Engine(db_).Rollback()))
        qCWarning(lcData) << "rollback found no transaction";
    error_ = cause;
}
