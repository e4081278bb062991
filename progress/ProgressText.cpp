#include "progress/ProgressText.h"

#include <QCalendar>
#include <QLocale>

namespace {
const QLocale& persian() {
    static const QLocale locale(QLocale::Persian, QLocale::Iran);
    return locale;
}
} // namespace

QString JalaliDateText(const QDate& date) {
    if (!date.isValid())
        return {};
    return persian().toString(date, u"yyyy/MM/dd", QCalendar(QCalendar::System::Jalali));
}

QString DurationText(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    return PersianNumber(seconds / 60) + u':' + PersianNumber(seconds % 60).rightJustified(2, u'۰');
}
