#pragma once

#include <QString>
#include <QStringList>

// What is read aloud, made from what the windows show. Every text goes through SpokenText on its
// way out, so a voice never meets the bank's Arabic letters or a bare digit.

// A whole number in Persian words: 0 "صفر", 50 "پنجاه", 1405 "هزار و چهارصد و پنج",
// -3 "منفی سه". Beyond the billions (or below their negative) it reads digit by digit.
QString NumberInWords(qint64 n);

// The text as a Persian voice should meet it: the Arabic kaf and yeh (ك ي ى) become the Persian
// ک and ی, and every run of digits (Persian, Arabic-Indic or Latin, mixed too) becomes its Persian
// words. A run with a leading zero ("021") is read digit by digit, as a code is; a decimal point
// between digits reads "ممیز".
QString SpokenText(const QString& text);

// A question and its options as read: the question, then "گزینه یک: ..." to "گزینه چهار: ..."; an
// empty option is left out, its number with it.
QString QuestionUtterance(const QString& question, const QStringList& options);

// The time left as the exam shows it ("00:25", hours and minutes): "بیست و پنج دقیقه وقت باقی
// است"; "00:00" says the time is up. A text that is no time says nothing (empty).
QString TimeLeftUtterance(const QString& shownTime);

// A graded exam's result, read once: the verdict first, then right and wrong out of the questions.
QString ResultUtterance(int questions, int correct, int wrong, bool passed);
