#pragma once

#include <QString>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <array>

// Grading an exam: each position's stored correct option against the option chosen there.
struct ExamGrade {
    int correct = 0;
    int wrong = 0; // counted against the exam's size, not against the answers given
    bool passed = false;
    QString correctText;
    QString wrongText;
    QString verdictText; // "قبول" or "مردود"
};

// correctOptions holds G_Sahih of the exam's rows in position order; a row that is missing or
// holds anything but a whole number never matches. answers is indexed 1..30; examSize is how many
// questions the exam has (30, or fewer in a mistakes exam).
ExamGrade GradeAnswers(const QVector<QVariant>& correctOptions, const std::array<quint8, 31>& answers,
                       int passMark, int examSize = 30);

// The pass mark of an exam of `questions` questions: the 30-question pass mark scaled and rounded
// up, ceil(passMark * questions / 30), so a shorter exam never asks for a smaller share.
int ScaledPassMark(int passMark, int questions);

// The exam's countdown, measured on a monotonic clock so that a wall clock set forward or back
// can neither stall the exam nor give it more time. limit is the exam's time plus one minute, as
// a time of day; the texts are hours and minutes with the seconds cut.
QString RemainingText(const QTime& limit, qint64 elapsedMs);
QString ElapsedText(qint64 elapsedMs);
