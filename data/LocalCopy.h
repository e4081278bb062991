#pragma once

#include <QString>
#include <atomic>

// The last local copy of a school server's bank (LocalCopyFile()): a bank file of this program's
// schema holding the server's questions, categories, explanations, settings and Leitner box, which
// the program opens when the server is out of reach.

enum class CopyOutcome {
    Made,      // written afresh, or its box brought up to date
    Unchanged, // the server holds what the copy holds: nothing was written
    Failed,    // the server or the file could not be used: the copy there stays as it was
    Cancelled, // stopped on request: the copy there stays as it was
};

// Brings the copy at file up to the server's bank. The questions are copied only when they
// changed (a fingerprint of them is kept in the copy), into a new file that then replaces the old
// one at once, so a copy is never half written. cancel, when set, stops it between rows.
CopyOutcome RefreshLocalCopy(const QString& server, const QString& file,
                             const std::atomic<bool>* cancel = nullptr, QString* why = nullptr);

// RefreshLocalCopy(LinkedServer(), LocalCopyFile()) on a thread of its own; the program's end
// stops it and waits for it. WaitForLocalCopy waits for the one running, if any.
void StartLocalCopyRefresh();
CopyOutcome WaitForLocalCopy();
