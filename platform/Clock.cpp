#include "platform/Clock.h"

#include <chrono>

namespace {
class SystemClock final : public Clock {
public:
    QTime timeOfDay() const override { return QTime::currentTime(); }
    quint64 ticks() const override {
        return static_cast<quint64>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    }
    qint64 monotonicMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

const Clock*& installed() {
    static const Clock* clock = nullptr;
    return clock;
}
} // namespace

const Clock& CurrentClock() {
    static const SystemClock system;
    return installed() ? *installed() : system;
}

void SetClock(const Clock* clock) {
    installed() = clock;
}

QTime Now() {
    return CurrentClock().timeOfDay();
}

qint64 MonotonicMs() {
    return CurrentClock().monotonicMs();
}

QDateTime NowDateTime() {
    return QDateTime(CurrentClock().today(), CurrentClock().timeOfDay());
}
