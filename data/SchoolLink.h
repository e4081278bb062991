#pragma once

#include <QLoggingCategory>
#include <QString>
#include <functional>

// What the program does while a school server it was started on is out of reach.
Q_DECLARE_LOGGING_CATEGORY(lcLink)

// The server the program was started on; empty when it runs on a bank file alone.
QString LinkedServer();
void SetLinkedServer(const QString& address);

// The last local copy of the server's bank, a bank file in the data folder.
QString LocalCopyFile();
// The queue of exams and practice answers waiting for the server, a file in the data folder.
QString QueueFile();

// Whether a connection string names the local copy of the linked server: writes on it wait in
// the queue for the server, and edits of questions are refused.
bool IsLocalCopy(const QString& connectionString);
// Whether writes on the bank a connection string names go through the queue when the server is
// out of reach: a server's bank, or the local copy of the linked server.
bool LinkedBank(const QString& connectionString);
// The server the writes on a linked bank are for.
QString ServerOf(const QString& connectionString);
// The connection string of the linked server, with the provider of connectionString.
QString ServerConnectionOf(const QString& connectionString);

// What the learner is told, once an outage, when the server goes out of reach.
inline const QString kServerLostText =
    QStringLiteral("سرور آموزشگاه در دسترس نيست؛ برنامه با آخرين نسخه محلي بانك سؤالات كار مي كند. "
                   "آزمونها و پاسخهاي تمرين روي اين رايانه نگه داشته مي شوند و هر وقت سرور برگشت "
                   "به آن فرستاده مي شوند.");
// Added to why the server cannot be used, when the program goes on without it.
inline const QString kOnLocalCopyText = QStringLiteral(
    "برنامه فعلا با آخرين نسخه محلي بانك سؤالات كار مي كند و آزمونها روي اين رايانه نگه داشته مي شوند تا "
    "به سرور فرستاده شوند.");
inline const QString kOnOwnBankText = QStringLiteral("برنامه با بانك سؤالات خود اين رايانه كار مي كند.");
// What the editor says while the program runs on the local copy.
inline const QString kEditsWaitText =
    QStringLiteral("سرور آموزشگاه در دسترس نيست؛ ويرايش سؤالات تا برگشتن سرور ممكن نيست و "
                   "تغييري ذخيره نمي شود.");

// The server was found out of reach: the handler set by the program is called once until the
// server is back (on the thread that owns the application, after the current event).
void NoteServerLost();
// The server answered again: a later outage is said again.
void NoteServerBack();
// Whether the server is known to be out of reach now.
bool ServerLost();
// Marks the outage as told already (the start-up says it in its own message).
void MarkServerLostTold();
void SetServerLostHandler(std::function<void()> handler);
