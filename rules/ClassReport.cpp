#include "rules/ClassReport.h"

#include "platform/PersianDigits.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {
// Fewer share, then more answers (a surer weakness), then the code, so the order never depends on
// the order the rows were read in.
bool weaker(const CategoryShare& a, const CategoryShare& b) {
    const qint64 left = qint64(a.right) * b.answered;
    const qint64 right = qint64(b.right) * a.answered;
    if (left != right)
        return left < right;
    if (a.answered != b.answered)
        return a.answered > b.answered;
    return a.code < b.code;
}
} // namespace

ClassReport BuildClassReport(const ClassRecords& records, int passMark, const QDate& today) {
    ClassReport report;
    QHash<QString, QVector<const ClassAnswer*>> answersOf;
    for (const ClassAnswer& a : records.answers)
        answersOf[a.learner].append(&a);
    QHash<QString, QVector<const ClassExam*>> examsOf;
    for (const ClassExam& e : records.exams)
        examsOf[e.learner].append(&e);

    for (const QString& name : records.learners) {
        LearnerReport learner;
        learner.name = name;
        const QVector<const ClassExam*> exams = examsOf.value(name);
        learner.exams = int(exams.size());
        for (const ClassExam* e : exams) {
            if (!learner.last || e->examId > learner.last->examId)
                learner.last = *e;
        }
        ReadinessInput input;
        input.categoryOf = records.categoryOf;
        input.available = records.examPool;
        input.passMark = passMark;
        input.today = today;
        QHash<QString, CategoryShare> shares;
        for (const ClassAnswer* a : answersOf.value(name)) {
            input.answers.append({a->id, a->day, a->right});
            const QString code = records.categoryOf.value(a->id);
            if (code.isEmpty())
                continue;
            CategoryShare& share = shares[code];
            share.code = code;
            share.title = records.titleOf.value(code, code);
            ++share.answered;
            share.right += a->right ? 1 : 0;
        }
        learner.readiness = ComputeReadiness(input);
        QVector<CategoryShare> all = shares.values().toVector();
        std::sort(all.begin(), all.end(), weaker);
        // A category answered all right is no weakness.
        for (const CategoryShare& share : all) {
            if (learner.weakest.size() < kWeakestCategories && share.right < share.answered)
                learner.weakest.append(share);
        }
        report.learners.append(learner);
    }

    QHash<int, MissedQuestion> missed;
    QHash<int, QSet<QString>> missedBy;
    for (const ClassAnswer& a : records.answers) {
        MissedQuestion& q = missed[a.id];
        q.id = a.id;
        ++q.answered;
        if (!a.right) {
            ++q.misses;
            missedBy[a.id].insert(a.learner);
        }
    }
    for (MissedQuestion q : missed) {
        if (q.misses == 0)
            continue;
        q.learners = int(missedBy.value(q.id).size());
        q.text = records.questionText.value(q.id);
        report.mostMissed.append(q);
    }
    std::sort(report.mostMissed.begin(), report.mostMissed.end(),
              [](const MissedQuestion& a, const MissedQuestion& b) {
                  if (a.misses != b.misses)
                      return a.misses > b.misses;
                  if (a.learners != b.learners)
                      return a.learners > b.learners;
                  return a.id < b.id;
              });
    if (report.mostMissed.size() > kMostMissedQuestions)
        report.mostMissed.resize(kMostMissedQuestions);
    return report;
}

QString LearnerLabel(const QString& name) {
    return name.isEmpty() ? QStringLiteral("(بي نام)") : name;
}

QString ShareText(int right, int answered) {
    if (answered <= 0)
        return QStringLiteral("-");
    return PersianNumber(std::lround(100.0 * right / answered)) + QStringLiteral("٪");
}

QString CategoryShareText(const CategoryShare& share) {
    return share.title + u' ' + ShareText(share.right, share.answered);
}

QStringList ClassReportLines(const ClassReport& report) {
    QStringList lines;
    lines << QStringLiteral("شاگردان: %1").arg(PersianNumber(report.learners.size()));
    for (const LearnerReport& l : report.learners) {
        QStringList weakest;
        for (const CategoryShare& share : l.weakest)
            weakest << CategoryShareText(share);
        const QString last = l.last ? PersianNumber(l.last->correct) + QStringLiteral(" از ") +
                                          PersianNumber(l.last->questions)
                                    : QStringLiteral("-");
        lines << QStringLiteral("%1 | آزمونها: %2 | آخرين نمره: %3 | شانس قبولي: %4 | ضعيف ترين مباحث: %5")
                     .arg(LearnerLabel(l.name), PersianNumber(l.exams), last, ReadinessText(l.readiness),
                          weakest.isEmpty() ? QStringLiteral("-") : weakest.join(QStringLiteral("، ")));
    }
    lines << QString();
    lines << QStringLiteral("سؤالهايي كه كلاس بيشتر از همه اشتباه كرده است:");
    if (report.mostMissed.isEmpty())
        lines << QStringLiteral("-");
    for (const MissedQuestion& q : report.mostMissed)
        lines << QStringLiteral("سؤال %1 | اشتباه: %2 از %3 پاسخ | شاگردان: %4 | %5")
                     .arg(PersianNumber(q.id), PersianNumber(q.misses), PersianNumber(q.answered),
                          PersianNumber(q.learners), q.text.simplified());
    return lines;
}
