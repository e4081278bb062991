#pragma once

#include <QString>
#include <QTime>

// The small conversions the windows lean on: reading numbers back from label text, trimming
// codes, and time-of-day arithmetic shown in the short 24-hour form.
namespace vb {

// The leading number of a text, 0 when there is none: blanks are skipped (also between digits),
// then an optional sign, digits, a fraction and an exponent. "12abc" is 12, "abc" and "" are 0.
double Val(const QString& text);

// Blanks (spaces only) cut from both ends, as codes read from the bank are trimmed.
QString Trim(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint64 RoundHalfEven(double value);

// A time of day as "HH:mm", seconds cut, never rounded.
QString ShortTime(const QTime& time);

// "00:26" -> 26 minutes past midnight; an invalid text gives an invalid time.
QTime TimeFromShortText(const QString& text);

// later - earlier as a time of day, taken modulo one day: 23:50 to 00:05 is 00:15.
QTime Elapsed(const QTime& earlier, const QTime& later);

// limit - (now - start), modulo one day: what a countdown from limit shows at now.
QTime Remaining(const QTime& limit, const QTime& start, const QTime& now);

} // namespace vb
