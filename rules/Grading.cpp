#include "rules/Grading.h"

#include "data/SharedState.h"

#include <algorithm>

int ScaledPassMark(int passMark, int questions) {
    if (passMark <= 0 || questions <= 0)
        return std::max(passMark, 0);
    return (passMark * questions + kExamSize - 1) / kExamSize;
}

namespace {
QString hoursMinutes(qint64 seconds) {
    seconds = std::clamp<qint64>(seconds, 0, 24 * 3600 - 1);
    return QTime(0, 0).addSecs(static_cast<int>(seconds)).toString(QStringLiteral("HH:mm"));
}
} // namespace

QString RemainingText(const QTime& limit, qint64 elapsedMs) {
    const qint64 limitSeconds = limit.isValid() ? QTime(0, 0).secsTo(limit) : 0;
    return hoursMinutes(limitSeconds - std::max<qint64>(elapsedMs, 0) / 1000);
}

QString ElapsedText(qint64 elapsedMs) {
    return hoursMinutes(std::max<qint64>(elapsedMs, 0) / 1000);
}
