#pragma once

#include <QString>

class QWidget;

// The program on a school server: the bank is read there while it answers; when it does not, from
// the last local copy of it, while exams and practice answers wait in a queue on this PC. The
// queue is sent up at start, whenever a window opens and every kUploadIntervalMs; the copy is
// refreshed in the background each time the program opens on a server that answers.
inline constexpr int kUploadIntervalMs = 60000;
inline constexpr int kLocalCopyDelayMs = 1000;

// Sets the bank's source (gConnSource) for server and says, once, why the program cannot use it.
// main is the main window, the parent of the messages and of the upload timer.
void StartOnServer(const QString& server, QWidget* main);
