// The floor of the read-aloud key: a bare program with the same engine says a sentence of the same
// kind, timed to the engine saying it is speaking. "cold" makes the engine inside the timing (as
// the key does before the engine is ready), "warm" has it made first. Prints "speak 1 <ns>".
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextToSpeech>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool cold = argc > 1 && qstrcmp(argv[1], "cold") == 0;
    std::unique_ptr<QTextToSpeech> engine;
    const auto make = [&] {
        engine = std::make_unique<QTextToSpeech>(QStringLiteral("speechd"));
        for (const QLocale& locale : engine->availableLocales()) {
            if (locale.language() == QLocale::Persian)
                engine->setLocale(locale);
        }
    };
    if (!cold)
        make();
    QElapsedTimer clock;
    clock.start();
    if (cold)
        make();
    engine->say(QStringLiteral("سواره‌رو به کدام بخش راه گفته می‌شود؟"));
    while (engine->state() != QTextToSpeech::Speaking && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 elapsed = clock.nsecsElapsed();
    if (engine->state() != QTextToSpeech::Speaking) {
        std::fprintf(stderr, "the engine never spoke\n");
        return 3;
    }
    engine->stop();
    std::printf("speak 1 %lld\n", static_cast<long long>(elapsed));
    return 0;
}
