// Simulated learners with known true chances per question practise, sit exams drawn by the
// program's rules, and are given the chance of passing the program would show; the table compares,
// per decile of that chance, the predicted and the observed pass rates, with the Brier score.
// Usage: readiness-sim [--learners N] [--exams E] [--seed S] [--check]
// --check: exit 1 when a decile of at least 50 learners is more than 5 points off.
#include "data/SharedState.h"
#include "rules/ExamDraw.h"
#include "rules/PassChance.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kCategories = 8;
constexpr int kPassMark = 26;
constexpr double kTolerance = 0.05;
constexpr int kDecileFloor = 50;

struct Pool {
    QVector<QVector<int>> ranges; // the numbers each range may draw
    QVector<int> all;
    QSet<int> available;
    QHash<int, QString> categoryOf;
};

Pool makePool() {
    Pool pool;
    for (int r = 1; r <= kExamSize; ++r) {
        QVector<int> ids;
        for (int id = gExamRanges[r]; id < gExamRanges[r + 1]; ++id) {
            if (IsExcludedFromExams(id))
                continue;
            ids.append(id);
            pool.all.append(id);
            pool.available.insert(id);
            pool.categoryOf.insert(id, QString::number(r % kCategories));
        }
        pool.ranges.append(ids);
    }
    return pool;
}

double logistic(double x) {
    return 1 / (1 + std::exp(-x));
}

double normal(QRandomGenerator& random) {
    const double u = std::max(random.generateDouble(), 1e-12), v = random.generateDouble();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * M_PI * v);
}

// One exam by the rules: one number from each range, uniformly.
int sitExam(const Pool& pool, const QHash<int, double>& truth, QRandomGenerator& random,
            QVector<AnswerRecord>* record, const QDate& day) {
    int right = 0;
    for (const QVector<int>& range : pool.ranges) {
        const int id = range[random.bounded(int(range.size()))];
        const bool ok = random.generateDouble() < truth.value(id);
        right += ok;
        if (record)
            record->append({id, day, ok});
    }
    return right;
}

struct Learner {
    double predicted = 0;
    double observed = 0;
};

Learner simulate(const Pool& pool, int exams, QRandomGenerator& random) {
    const QDate today(2026, 6, 1);
    // The learner's true chances: an ability, a strength per category and a spread per question.
    const double ability = -0.5 + 4.5 * random.generateDouble();
    double categoryShift[kCategories];
    for (double& shift : categoryShift)
        shift = 0.7 * normal(random);
    QHash<int, double> truth;
    for (const int id : pool.all)
        truth.insert(
            id, logistic(ability + categoryShift[pool.categoryOf.value(id).toInt()] + 0.9 * normal(random)));

    // The past: a few exams and some practice over the last two months.
    ReadinessInput input;
    input.available = pool.available;
    input.categoryOf = pool.categoryOf;
    input.passMark = kPassMark;
    input.today = today;
    const int pastExams = random.bounded(0, 12);
    for (int e = 0; e < pastExams; ++e)
        sitExam(pool, truth, random, &input.answers, today.addDays(-random.bounded(0, 60)));
    const int practice = random.bounded(0, 800);
    for (int i = 0; i < practice; ++i) {
        const int id = pool.all[random.bounded(int(pool.all.size()))];
        input.answers.append(
            {id, today.addDays(-random.bounded(0, 60)), random.generateDouble() < truth.value(id)});
    }

    Learner learner;
    learner.predicted = ComputeReadiness(input).pass;
    int passed = 0;
    for (int e = 0; e < exams; ++e)
        passed += sitExam(pool, truth, random, nullptr, today) >= kPassMark;
    learner.observed = double(passed) / exams;
    return learner;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const char* name, qint64 fallback) {
        const int at = int(args.indexOf(QLatin1String(name)));
        return at >= 0 && at + 1 < args.size() ? args[at + 1].toLongLong() : fallback;
    };
    const int learners = int(option("--learners", 2000));
    const int exams = int(option("--exams", 20));
    const quint64 seed =
        quint64(option("--seed", qint64(QRandomGenerator::global()->generate() & 0x7fffffff)));
    const bool check = args.contains(QStringLiteral("--check"));
    std::printf("readiness-sim: %d learners, %d exams each, pass mark %d of %d; seed %llu (replay with "
                "--seed %llu)\n",
                learners, exams, kPassMark, kExamSize, (unsigned long long)seed, (unsigned long long)seed);

    InitExamRanges();
    const Pool pool = makePool();
    QRandomGenerator random(seed);
    QVector<Learner> all;
    double brier = 0;
    for (int i = 0; i < learners; ++i) {
        all.append(simulate(pool, exams, random));
        brier += std::pow(all.last().predicted - all.last().observed, 2);
    }

    std::printf(
        "\n| predicted chance | learners | predicted pass rate | observed pass rate | difference |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    bool ok = true;
    for (int d = 0; d < 10; ++d) {
        double sumPredicted = 0, sumObserved = 0;
        int n = 0;
        for (const Learner& l : all) {
            if (std::min(int(l.predicted * 10), 9) == d) {
                sumPredicted += l.predicted;
                sumObserved += l.observed;
                ++n;
            }
        }
        if (n == 0) {
            std::printf("| %d–%d %% | 0 | | | |\n", d * 10, d * 10 + 10);
            continue;
        }
        const double predicted = sumPredicted / n, observed = sumObserved / n;
        const bool counted = n >= kDecileFloor;
        const bool within = std::abs(predicted - observed) <= kTolerance;
        ok = ok && (!counted || within);
        std::printf("| %d–%d %% | %d | %.1f %% | %.1f %% | %+.1f%s |\n", d * 10, d * 10 + 10, n,
                    predicted * 100, observed * 100, (observed - predicted) * 100,
                    counted ? (within ? "" : " (off)") : " (few)");
    }
    std::printf("\nBrier score: %.4f (of the predicted chance against each learner's observed pass rate)\n",
                brier / std::max(learners, 1));
    if (check && !ok) {
        std::printf("a decile of at least %d learners is more than %.0f points off\n", kDecileFloor,
                    kTolerance * 100);
        return 1;
    }
    return 0;
}
