#pragma once

#include "platform/PersianDigits.h"

#include <QDate>
#include <QString>
#include <QTime>

struct KeptExamRow;

// How the progress windows write numbers and dates: Persian digits through the fa_IR locale and
// dates in the Jalali calendar, both Qt's own, so no calendar arithmetic lives here.

// 2026-03-21 -> "۱۴۰۵/۰۱/۰۱"; an invalid date gives an empty text.
QString JalaliDateText(const QDate& date);
// A time of day as hours and minutes: 09:05 -> "۰۹:۰۵".
QString ClockText(const QTime& time);
// How long an exam took, in words, so it never reads as a time of day beside the clock column:
// 750 -> "۱۲ دقيقه و ۳۰ ثانيه", 58 -> "۵۸ ثانيه", 3725 -> "۱ ساعت و ۲ دقيقه و ۵ ثانيه".
QString DurationText(qint64 seconds);
// One kept exam in two lines: its kind, Jalali date and time; its correct answers of its
// questions and the pass mark it was graded against.
QString ExamSummaryText(const KeptExamRow& exam);
