#include "rules/PassChance.h"

#include "data/SharedState.h"
#include "platform/PersianDigits.h"
#include "rules/ExamDraw.h"
#include "rules/Grading.h"

#include <algorithm>
#include <cmath>

double AnswerWeight(const QDate& day, const QDate& today) {
    const qint64 age = std::max<qint64>(day.isValid() ? day.daysTo(today) : 0, 0);
    return std::exp2(-double(age) / kHalfLifeDays);
}

double CategoryPrior(int right, int answered, double overall) {
    return (std::max(right, 0) + 2.0 * overall) / (std::max(answered, 0) + 2.0);
}

double QuestionChance(const QVector<AnswerRecord>& answers, double prior, const QDate& today) {
    double weight = kPriorWeight, rightWeight = kPriorWeight * prior;
    for (const AnswerRecord& a : answers) {
        const double w = AnswerWeight(a.day, today);
        weight += w;
        rightWeight += a.right ? w : 0;
    }
    return rightWeight / weight;
}

double PassProbability(const QVector<double>& chances, int passMark) {
    // dist[k]: the probability of k right among the trials so far.
    QVector<double> dist(chances.size() + 1, 0.0);
    dist[0] = 1;
    for (int i = 0; i < chances.size(); ++i) {
        const double p = std::clamp(chances[i], 0.0, 1.0);
        for (int k = i + 1; k >= 1; --k)
            dist[k] = dist[k] * (1 - p) + dist[k - 1] * p;
        dist[0] *= 1 - p;
    }
    double pass = 0;
    for (int k = std::max(passMark, 0); k < dist.size(); ++k)
        pass += dist[k];
    return std::clamp(pass, 0.0, 1.0);
}

Readiness ComputeReadiness(const ReadinessInput& input) {
    // The answers by question, and each category's record.
    QHash<int, QVector<AnswerRecord>> byQuestion;
    QHash<QString, std::pair<int, int>> byCategory; // right, answered
    int allRight = 0;
    for (const AnswerRecord& a : input.answers) {
        allRight += a.right ? 1 : 0;
        byQuestion[a.id].append(a);
        auto& record = byCategory[input.categoryOf.value(a.id)];
        record.first += a.right ? 1 : 0;
        record.second += 1;
    }
    const double overall = CategoryPrior(allRight, int(input.answers.size()));
    const auto chanceOf = [&](int id) {
        const auto record = byCategory.value(input.categoryOf.value(id));
        const double prior = CategoryPrior(record.first, record.second, overall);
        const auto it = byQuestion.constFind(id);
        return it == byQuestion.constEnd() ? prior : QuestionChance(*it, prior, input.today);
    };

    Readiness out;
    for (int range = 1; range <= kExamSize; ++range) {
        double sum = 0;
        int count = 0;
        for (int id = gExamRanges[range]; id < gExamRanges[range + 1]; ++id) {
            if (input.available.contains(id) && !IsExcludedFromExams(id)) {
                sum += chanceOf(id);
                ++count;
            }
        }
        if (count > 0)
            out.rangeChance.append(sum / count);
    }
    out.passMark = ScaledPassMark(input.passMark, int(out.rangeChance.size()));
    out.pass = out.rangeChance.isEmpty() ? 0 : PassProbability(out.rangeChance, out.passMark);
    return out;
}

QString ReadinessText(const Readiness& readiness) {
    if (readiness.rangeChance.isEmpty())
        return QStringLiteral("-");
    return PersianNumber(std::lround(readiness.pass * 100)) + QChar(0x066A);
}
