#include "platform/PersianDigits.h"

QString PersianNumber(qint64 n) {
    QString text = QString::number(n);
    for (QChar& c : text) {
        if (c >= u'0' && c <= u'9')
            c = QChar(u'۰' + (c.unicode() - u'0'));
    }
    return text;
}
