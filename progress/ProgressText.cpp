#include "progress/ProgressText.h"

#include "data/ExamHistory.h"

#include <QCalendar>
#include <QLocale>
#include <QStringList>

namespace {
const QLocale& persian() {
    static const QLocale locale(QLocale::Persian, QLocale::Iran);
    return locale;
}

QString twoDigits(int n) {
    return PersianNumber(n).rightJustified(2, u'۰');
}
} // namespace

QString JalaliDateText(const QDate& date) {
    if (!date.isValid())
        return {};
    return persian().toString(date, u"yyyy/MM/dd", QCalendar(QCalendar::System::Jalali));
}

QString ClockText(const QTime& time) {
    if (!time.isValid())
        return {};
    return twoDigits(time.hour()) + u':' + twoDigits(time.minute());
}

QString DurationText(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const qint64 rest = seconds % 60;
    QStringList parts;
    if (hours > 0)
        parts << PersianNumber(hours) + QStringLiteral(" ساعت");
    if (minutes > 0)
        parts << PersianNumber(minutes) + QStringLiteral(" دقيقه");
    // Whole minutes stand alone; a duration of nothing still says what it counts.
    if (rest > 0 || parts.isEmpty())
        parts << PersianNumber(rest) + QStringLiteral(" ثانيه");
    return parts.join(QStringLiteral(" و "));
}

QString ExamSummaryText(const KeptExamRow& exam) {
    // Each line opens with a word: a line opening with digits would be laid out left to right.
    const QString kind = exam.mistakesExam ? QStringLiteral("آزمون اشتباهات") : QStringLiteral("آزمون اصلي");
    return QStringLiteral("%1، %2 ساعت %3\nدرست: %4 از %5، حد قبولي: %6")
        .arg(kind, JalaliDateText(exam.takenAt.date()), ClockText(exam.takenAt.time()),
             PersianNumber(exam.correct), PersianNumber(exam.questions), PersianNumber(exam.passMark));
}
