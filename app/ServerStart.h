#pragma once

#include "data/Connection.h"

#include <QString>
#include <future>

class QWidget;

// The program on a school server: the bank is read there while it answers; when it does not, from
// the last local copy of it, while exams and practice answers wait in a queue on this PC. The
// queue is sent up at start, whenever a window opens and every kUploadIntervalMs; the copy is
// refreshed in the background each time the program opens on a server that answers.
inline constexpr int kUploadIntervalMs = 60000;
inline constexpr int kLocalCopyDelayMs = 1000;

// What opening the server's bank came to.
struct ServerReach {
    bool open = false;
    BankError error = BankError::None;
    QString problem;
};
// Opens the server's bank on a thread of its own, so the start-up builds the main window meanwhile
// (the driver loads, the connection is made and the version read there).
std::future<ServerReach> ReachServer(const QString& server);

// Sets the bank's source (gConnSource) for server and says, once, why the program cannot use it.
// main is the main window, the parent of the messages and of the upload timer. True when the
// windows read the server itself.
bool StartOnServer(const QString& server, ServerReach reach, QWidget* main);
