#include "rules/Utterance.h"

#include <QRegularExpression>
#include <array>

namespace {
const std::array<const char*, 10> kOnes = {"صفر", "یک", "دو", "سه", "چهار", "پنج", "شش", "هفت", "هشت", "نه"};
const std::array<const char*, 10> kTeens = {"ده",     "یازده",  "دوازده", "سیزده", "چهارده",
                                            "پانزده", "شانزده", "هفده",   "هجده",  "نوزده"};
const std::array<const char*, 10> kTens = {"",      "",    "بیست",  "سی",    "چهل",
                                           "پنجاه", "شصت", "هفتاد", "هشتاد", "نود"};
const std::array<const char*, 10> kHundreds = {"",      "صد",   "دویست", "سیصد",  "چهارصد",
                                               "پانصد", "ششصد", "هفتصد", "هشتصد", "نهصد"};
const QString kAnd = QStringLiteral(" و ");

// 1..999 in words.
QString BelowThousand(int n) {
    QStringList parts;
    if (n >= 100)
        parts << QString::fromUtf8(kHundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 20) {
        parts << QString::fromUtf8(kTens[rest / 10]);
        if (rest % 10)
            parts << QString::fromUtf8(kOnes[rest % 10]);
    } else if (rest >= 10) {
        parts << QString::fromUtf8(kTeens[rest - 10]);
    } else if (rest > 0) {
        parts << QString::fromUtf8(kOnes[rest]);
    }
    return parts.join(kAnd);
}

int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0x06F0 && u <= 0x06F9) // Persian
        return u - 0x06F0;
    if (u >= 0x0660 && u <= 0x0669) // Arabic-Indic
        return u - 0x0660;
    return -1;
}

QString DigitByDigit(const QString& digits) {
    QStringList words;
    for (QChar c : digits)
        words << QString::fromUtf8(kOnes[DigitValue(c)]);
    return words.join(QLatin1Char(' '));
}

// A run of digits as words: a number, or a code digit by digit.
QString RunInWords(const QString& run) {
    if ((run.size() > 1 && DigitValue(run.front()) == 0) || run.size() > 12)
        return DigitByDigit(run);
    qint64 n = 0;
    for (QChar c : run)
        n = n * 10 + DigitValue(c);
    return NumberInWords(n);
}

bool IsDecimalPoint(QChar c) {
    return c == QLatin1Char('.') || c == QChar(0x066B);
}
} // namespace

QString NumberInWords(qint64 n) {
    if (n == 0)
        return QString::fromUtf8(kOnes[0]);
    if (n < 0)
        return n < -999'999'999'999LL ? QStringLiteral("منفی ") + DigitByDigit(QString::number(n).mid(1))
                                      : QStringLiteral("منفی ") + NumberInWords(-n);
    if (n > 999'999'999'999LL)
        return DigitByDigit(QString::number(n));
    static const std::array<const char*, 4> scales = {"", "هزار", "میلیون", "میلیارد"};
    QStringList parts;
    for (int scale = 3; scale >= 0; --scale) {
        qint64 unit = 1;
        for (int i = 0; i < scale; ++i)
            unit *= 1000;
        const int group = int((n / unit) % 1000);
        if (group == 0)
            continue;
        if (scale == 0)
            parts << BelowThousand(group);
        else if (scale == 1 && group == 1)
            parts << QString::fromUtf8(scales[1]); // "هزار", not "یک هزار"
        else
            parts << BelowThousand(group) + QLatin1Char(' ') + QString::fromUtf8(scales[scale]);
    }
    return parts.join(kAnd);
}

QString SpokenText(const QString& text) {
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (DigitValue(c) < 0) {
            if (c == QChar(0x0643)) // ك
                out += QChar(0x06A9);
            else if (c == QChar(0x064A) || c == QChar(0x0649)) // ي ى
                out += QChar(0x06CC);
            else
                out += c;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && DigitValue(text.at(end)) >= 0)
            ++end;
        QString words = RunInWords(text.mid(i, end - i));
        // "2.5" or "۲٫۵": the point between two runs of digits is read, not the digits as a date.
        if (end + 1 < text.size() && IsDecimalPoint(text.at(end)) && DigitValue(text.at(end + 1)) >= 0) {
            qsizetype frac = end + 1;
            while (frac < text.size() && DigitValue(text.at(frac)) >= 0)
                ++frac;
            words += QStringLiteral(" ممیز ") + RunInWords(text.mid(end + 1, frac - end - 1));
            end = frac;
        }
        // Words glued to letters would be read as one word.
        if (!out.isEmpty() && out.back().isLetter())
            out += QLatin1Char(' ');
        out += words;
        if (end < text.size() && text.at(end).isLetter())
            out += QLatin1Char(' ');
        i = end;
    }
    return out;
}

QString QuestionUtterance(const QString& question, const QStringList& options) {
    static const std::array<const char*, 4> numbers = {"یک", "دو", "سه", "چهار"};
    QStringList parts;
    if (!question.trimmed().isEmpty())
        parts << question.trimmed();
    for (int k = 0; k < 4 && k < options.size(); ++k) {
        const QString option = options.at(k).trimmed();
        if (option.isEmpty())
            continue;
        parts << QStringLiteral("گزینه ") + QString::fromUtf8(numbers[k]) + QStringLiteral(": ") + option;
    }
    return SpokenText(parts.join(QLatin1Char('\n')));
}

QString TimeLeftUtterance(const QString& shownTime) {
    static const QRegularExpression time(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch m = time.match(shownTime);
    if (!m.hasMatch())
        return {};
    const int hours = m.captured(1).toInt();
    const int minutes = m.captured(2).toInt();
    if (hours == 0 && minutes == 0)
        return QStringLiteral("وقت آزمون تمام است");
    QStringList parts;
    if (hours > 0)
        parts << NumberInWords(hours) + QStringLiteral(" ساعت");
    if (minutes > 0)
        parts << NumberInWords(minutes) + QStringLiteral(" دقیقه");
    return parts.join(kAnd) + QStringLiteral(" وقت باقی است");
}

QString ResultUtterance(int questions, int correct, int wrong, bool passed) {
    return SpokenText(QStringLiteral("نتیجه آزمون: %1. %2 پاسخ درست و %3 پاسخ نادرست، از %4 سؤال.")
                          .arg(passed ? QStringLiteral("قبول") : QStringLiteral("مردود"))
                          .arg(correct)
                          .arg(wrong)
                          .arg(questions));
}
