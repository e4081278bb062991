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
    // One pass over the answers: each question's weighted record and each category's counts. The
    // weight depends on the day alone, so it is worked out once a day.
    struct Record {
        double weight = 0, rightWeight = 0;
    };
    QHash<int, Record> byQuestion;
    QHash<QString, std::pair<int, int>> byCategory; // right, answered
    QHash<qint64, double> weightOfDay;
    int allRight = 0;
    for (const AnswerRecord& a : input.answers) {
        allRight += a.right ? 1 : 0;
        const qint64 day = a.day.isValid() ? a.day.toJulianDay() : 0;
        auto w = weightOfDay.constFind(day);
        if (w == weightOfDay.constEnd())
            w = weightOfDay.insert(day, AnswerWeight(a.day, input.today));
        Record& record = byQuestion[a.id];
        record.weight += *w;
        record.rightWeight += a.right ? *w : 0;
        auto& category = byCategory[input.categoryOf.value(a.id)];
        category.first += a.right ? 1 : 0;
        category.second += 1;
    }
    const double overall = CategoryPrior(allRight, int(input.answers.size()));
    const auto chanceOf = [&](int id) {
        const auto category = byCategory.value(input.categoryOf.value(id));
        const double prior = CategoryPrior(category.first, category.second, overall);
        const Record record = byQuestion.value(id);
        return (kPriorWeight * prior + record.rightWeight) / (kPriorWeight + record.weight);
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
