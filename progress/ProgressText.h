#pragma once

#include "platform/PersianDigits.h"

#include <QDate>
#include <QString>

// How the progress windows write numbers and dates: Persian digits through the fa_IR locale and
// dates in the Jalali calendar, both Qt's own, so no calendar arithmetic lives here.

// 2026-03-21 -> "۱۴۰۵/۰۱/۰۱"; an invalid date gives an empty text.
QString JalaliDateText(const QDate& date);
// 754 seconds -> "۱۲:۳۴" (minutes and seconds)
QString DurationText(qint64 seconds);
