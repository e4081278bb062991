#pragma once

#include <QString>

// A number the program adds to what it shows, in Persian digits: 1405 -> "۱۴۰۵", -3 -> "-۳". No
// group separators, so an ID or a year reads as one word.
QString PersianNumber(qint64 n);
