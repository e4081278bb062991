#pragma once

#include <QString>

// The small conversions the windows lean on: reading numbers back from label text, trimming
// codes, rounding as the original rounded.
namespace vb {

// The leading number of a text, 0 when there is none: blanks are skipped (also between digits),
// then an optional sign, digits, a fraction and an exponent. "12abc" is 12, "abc" and "" are 0.
double Val(const QString& text);

// Blanks (spaces only) cut from both ends, as codes read from the bank are trimmed.
QString Trim(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint64 RoundHalfEven(double value);

} // namespace vb
