#pragma once

#include "data/LeitnerStore.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class QSqlDatabase;
class QSqlError;

// Exams and practice answers waiting on this PC for a school server that was out of reach, in a
// bank file of their own (QueueFile()). Each carries a key made here (a UUID); the server keeps a
// row of a key once, so an upload retried after a lost acknowledgement adds nothing. An item
// leaves the queue only after the server has committed it, and items go up in the order queued.

// An exam as it is kept: its answers in the source's option numbering (null for none).
struct ExamRecord {
    QString clientKey;
    QString takenAt; // ISO date and time
    qint64 seconds = 0;
    int passMark = 0;
    int correct = 0;
    int wrong = 0;
    bool passed = false;
    bool mistakesExam = false;
    struct Answer {
        int id = 0;
        QVariant chosen;
        QVariant correct;
    };
    QVector<Answer> answers;
    QString learner; // who took it: the learner named when it was kept, whenever it goes up
};

// One step of the Leitner box, its practice answers each under its own key.
struct LeitnerRecord {
    LeitnerWrite write;
    QStringList practiceKeys; // one a practice answer, in order
    QString learner;          // whose box: the learner named when it was written
};

QString NewClientKey();
LeitnerRecord KeyedLeitner(const LeitnerWrite& write);

// The queue's texts: what a queued item holds. Decoding refuses (false) a text it cannot read.
QString EncodeExam(const ExamRecord& exam);
bool DecodeExam(const QString& text, ExamRecord* out);
QString EncodeLeitner(const LeitnerRecord& record);
bool DecodeLeitner(const QString& text, LeitnerRecord* out);

// How a write to the server went.
enum class Delivery {
    Done,    // committed (or found there already under its key)
    Later,   // the server is out of reach or held by others: try again later
    Refused, // the server refuses the item itself: it stays in the queue, set aside
};
// Keeps the item on a server's bank in one transaction, once under its key.
Delivery DeliverExam(QSqlDatabase& db, const ExamRecord& exam);
Delivery DeliverLeitner(QSqlDatabase& db, const LeitnerRecord& record);
// Delivery of a failure the server reported.
Delivery DeliveryOf(const QSqlDatabase& db, const QSqlError& error);

// Adds an item at the end of server's queue; false (logged) when the queue file refuses it.
bool EnqueueExam(const QString& server, const ExamRecord& exam);
bool EnqueueLeitner(const QString& server, const LeitnerRecord& record);

struct QueuedItem {
    qint64 seq = 0;
    QString kind; // "exam" or "leitner"
    QString clientKey;
    QString body;
    QString held; // why the server refused it; empty while it waits
};
// The items queued for server (every server when empty), oldest first.
QVector<QueuedItem> QueuedItems(const QString& server = {});
// How many items wait for server (set-aside ones not counted).
int WaitingCount(const QString& server);

struct UploadOutcome {
    bool reached = false; // the server answered
    int uploaded = 0;
    int waiting = 0; // left in the queue, set-aside items not counted
};
// Sends server's queue up in order, each item in its own transaction, until the server stops
// answering. One upload runs at a time in the program; a second call waits for the first.
UploadOutcome UploadQueue(const QString& server);
// The same for the linked server on a thread of its own, when items wait and none is running.
void StartUpload();

// A write of the Leitner box on a linked bank (LinkedBank): on the server, after whatever waits
// in its queue, or into the queue when the server is out of reach (the learner is told once); on
// the local copy, written there and queued for the server.
bool WriteLeitnerLinked(const QString& connectionString, const LeitnerWrite& write);
