#include "platform/Random.h"

#include "platform/Clock.h"

#include <random>

namespace {
class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom() { reseed(); }
    void reseed() override {
        // The tick count alone could repeat between two reseeds inside one coarse clock tick; the
        // running count of reseeds keeps every seed distinct.
        ++reseeds_;
        std::seed_seq seq{static_cast<quint32>(CurrentClock().ticks()),
                          static_cast<quint32>(CurrentClock().ticks() >> 32), static_cast<quint32>(reseeds_)};
        engine_.seed(seq);
    }
    float next() override {
        // 24 random bits make every float in [0, 1) on an even grid; never 1.0.
        return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::mt19937 engine_;
    quint64 reseeds_ = 0;
};

RandomSource*& installed() {
    static RandomSource* source = nullptr;
    return source;
}
} // namespace

RandomSource& CurrentRandom() {
    static ClockSeededRandom clockSeeded;
    return installed() ? *installed() : clockSeeded;
}

void SetRandom(RandomSource* source) {
    installed() = source;
}
void Randomize() {
    CurrentRandom().reseed();
}
float Rnd() {
    return CurrentRandom().next();
}
