#include "platform/Vb.h"

#include <cmath>

namespace vb {

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}
} // namespace

double Val(const QString& text) {
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            compact.append(c);
    }
    qsizetype i = 0;
    const qsizetype n = compact.size();
    QString number;
    if (i < n && (compact[i] == u'+' || compact[i] == u'-'))
        number.append(compact[i++]);
    bool digits = false;
    while (i < n && compact[i].isDigit() && compact[i].unicode() < 128) {
        number.append(compact[i++]);
        digits = true;
    }
    if (i < n && compact[i] == u'.') {
        number.append(compact[i++]);
        while (i < n && compact[i].unicode() < 128 && compact[i].isDigit()) {
            number.append(compact[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < n && (compact[i] == u'e' || compact[i] == u'E' || compact[i] == u'd' || compact[i] == u'D')) {
        QString exponent = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < n && (compact[j] == u'+' || compact[j] == u'-'))
            exponent.append(compact[j++]);
        bool expDigits = false;
        while (j < n && compact[j].unicode() < 128 && compact[j].isDigit()) {
            exponent.append(compact[j++]);
            expDigits = true;
        }
        if (expDigits)
            number.append(exponent);
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

QString Trim(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

qint64 RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<qint64>(std::nearbyint(value)); // the default rounding mode is half-to-even
}

} // namespace vb
