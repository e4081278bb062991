#pragma once

#include <QString>
#include <QTime>

// The pass mark of an exam of `questions` questions: the 30-question pass mark scaled and rounded
// up, ceil(passMark * questions / 30), so a shorter exam never asks for a smaller share.
int ScaledPassMark(int passMark, int questions);

// The exam's countdown, measured on a monotonic clock so that a wall clock set forward or back
// can neither stall the exam nor give it more time. limit is the exam's time plus one minute, as
// a time of day; the texts are hours and minutes with the seconds cut, never rounded.
QString RemainingText(const QTime& limit, qint64 elapsedMs);
QString ElapsedText(qint64 elapsedMs);
