#include "rules/PassChance.h"

#include "data/SharedState.h"
#include "platform/PersianDigits.h"
#include "rules/ExamDraw.h"
#include "rules/Grading.h"

#include <algorithm>
#include <cmath>

double AnswerWeight(const QDate& day, const QDate& today) {
    return AgeWeight(day.isValid() ? day.daysTo(today) : 0);
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

namespace {
// Each question's weighted record and how many answers it has, right and all.
struct Record {
    double weight = 0, rightWeight = 0;
    int answered = 0, right = 0;
};

Readiness readinessOf(const ReadinessInput& input, const QHash<int, Record>& byQuestion) {
    QHash<QString, std::pair<int, int>> byCategory; // right, answered
    int allRight = 0, allAnswered = 0;
    for (auto it = byQuestion.cbegin(); it != byQuestion.cend(); ++it) {
        auto& category = byCategory[input.categoryOf.value(it.key())];
        category.first += it->right;
        category.second += it->answered;
        allRight += it->right;
        allAnswered += it->answered;
    }
    const double overall = CategoryPrior(allRight, allAnswered);
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
} // namespace

Readiness ComputeReadiness(const ReadinessInput& input) {
    // One pass over the answers. The weight depends on the day alone, so it is worked out once a day.
    QHash<int, Record> byQuestion;
    QHash<qint64, double> weightOfDay;
    for (const AnswerRecord& a : input.answers) {
        const qint64 day = a.day.isValid() ? a.day.toJulianDay() : 0;
        auto w = weightOfDay.constFind(day);
        if (w == weightOfDay.constEnd())
            w = weightOfDay.insert(day, AnswerWeight(a.day, input.today));
        Record& record = byQuestion[a.id];
        record.weight += *w;
        record.rightWeight += a.right ? *w : 0;
        record.answered += 1;
        record.right += a.right ? 1 : 0;
    }
    return readinessOf(input, byQuestion);
}

Readiness ComputeReadiness(const ReadinessInput& input, const QVector<AnswerSummary>& summaries) {
    QHash<int, Record> byQuestion;
    byQuestion.reserve(summaries.size());
    for (const AnswerSummary& s : summaries) {
        const double fade = AnswerWeight(s.refDay, input.today);
        Record& record = byQuestion[s.id];
        record.weight += s.weight * fade;
        record.rightWeight += s.rightWeight * fade;
        record.answered += s.answered;
        record.right += s.right;
    }
    return readinessOf(input, byQuestion);
}

QString ReadinessText(const Readiness& readiness) {
    if (readiness.rangeChance.isEmpty())
        return QStringLiteral("-");
    return PersianNumber(std::lround(readiness.pass * 100)) + QChar(0x066A);
}
