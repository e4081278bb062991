#include "rules/LeitnerBox.h"

#include "rules/ExamDraw.h"
#include "rules/ExamSession.h"

#include <QSet>
#include <algorithm>

namespace {
constexpr int kMostNewPerDay = 500;

// The box holds what an exam may draw and the signs.
bool boxMayHold(const PoolQuestion& q) {
    return !q.examPool || !IsExcludedFromExams(q.id);
}
} // namespace

LeitnerBox LeitnerBox::Open(const QString& connectionString, const QDate& today) {
    LeitnerBox box;
    box.connection_ = connectionString;
    box.today_ = today;
    const LeitnerData data = ReadLeitner(connectionString);
    if (!data.ok)
        return box;
    box.ok_ = true;
    box.state_ = data.state;
    box.newPerDay_ = std::clamp(data.state.newPerDay, 0, kMostNewPerDay);
    for (const PoolQuestion& q : data.pool) {
        if (q.examPool)
            box.pool_.examPool.insert(q.id);
        if (boxMayHold(q)) {
            box.pool_.categoryOf.insert(q.id, q.category.trimmed());
            box.fingerprints_.insert(q.id, q.fingerprint);
            box.eligible_.append(q.id);
        }
    }
    LeitnerWrite write;
    QVector<LeitnerCard> kept;
    for (const LeitnerRow& row : data.cards) {
        const auto print = box.fingerprints_.constFind(row.id);
        if (print == box.fingerprints_.constEnd() || *print != row.fingerprint)
            write.remove.append(row.id); // removed or edited: it may join again as new
        else
            kept.append({row.id, std::clamp(row.box, 1, kLeitnerBoxes), row.due});
    }
    for (const LeitnerCard& c : kept)
        box.cards_.insert(c.id, c);
    for (const LeitnerCard& c : SettleDueDays(kept, today)) {
        box.cards_.insert(c.id, c);
        write.put.append({c.id, c.box, c.due, box.fingerprints_.value(c.id)});
    }
    if (!write.put.isEmpty() || !write.remove.isEmpty())
        WriteLeitner(connectionString, write);
    box.joinNew();
    return box;
}

void LeitnerBox::joinNew() {
    const int left = NewQuestionsLeft(newPerDay_, state_.lastNewDay, state_.newOnLastDay, today_);
    QSet<int> inBox;
    for (auto it = cards_.cbegin(); it != cards_.cend(); ++it)
        inBox.insert(it.key());
    const QVector<int> fresh = PickNewQuestions(eligible_, inBox, left);
    if (fresh.isEmpty())
        return;
    LeitnerWrite write;
    for (const int id : fresh)
        write.put.append({id, 1, today_, fingerprints_.value(id)});
    write.writeState = true;
    write.state = state_;
    write.state.newPerDay = newPerDay_;
    // A last day after today (the clock set back) stays the last day, so the count goes on from it.
    const bool sameDay = state_.lastNewDay.isValid() && state_.lastNewDay >= today_;
    write.state.lastNewDay = sameDay ? state_.lastNewDay : today_;
    write.state.newOnLastDay = (sameDay ? state_.newOnLastDay : 0) + int(fresh.size());
    if (!WriteLeitner(connection_, write))
        return;
    state_ = write.state;
    for (const int id : fresh)
        cards_.insert(id, {id, 1, today_});
}

std::array<int, kLeitnerBoxes> LeitnerBox::boxCounts() const {
    std::array<int, kLeitnerBoxes> counts{};
    for (const LeitnerCard& c : cards_)
        ++counts[std::clamp(c.box, 1, kLeitnerBoxes) - 1];
    return counts;
}

QVector<int> LeitnerBox::dueToday() const {
    QVector<int> ids;
    for (const LeitnerCard& c : DueCards(QVector<LeitnerCard>(cards_.cbegin(), cards_.cend()), today_))
        ids.append(c.id);
    return ids;
}

QDate LeitnerBox::nextDue() const {
    QDate next;
    for (const LeitnerCard& c : cards_) {
        // A card due today or before, answered wrong today, is due again tomorrow at the earliest.
        const QDate due = c.due > today_ ? c.due : today_.addDays(1);
        if (!next.isValid() || due < next)
            next = due;
    }
    return next;
}

int LeitnerBox::boxOf(int id) const {
    return cards_.contains(id) ? cards_.value(id).box : 0;
}

bool LeitnerBox::answer(int id, bool right) {
    if (!ok_ || !fingerprints_.contains(id))
        return false;
    const LeitnerCard card = LeitnerAnswer(cards_.value(id, {id, 1, today_}), right, today_);
    LeitnerWrite write;
    write.put.append({id, card.box, card.due, fingerprints_.value(id)});
    write.practice.append({id, today_, right});
    if (!WriteLeitner(connection_, write))
        return false;
    cards_.insert(id, card);
    return true;
}

bool LeitnerBox::setNewPerDay(int perDay) {
    if (!ok_)
        return false;
    LeitnerWrite write;
    write.writeState = true;
    write.state = state_;
    write.state.newPerDay = std::clamp(perDay, 0, kMostNewPerDay);
    if (!WriteLeitner(connection_, write))
        return false;
    state_ = write.state;
    newPerDay_ = state_.newPerDay;
    joinNew();
    return true;
}

bool FeedExamToLeitner(const QString& connectionString, const QVector<QuestionOutcome>& outcomes,
                       const QDate& today) {
    // Only the exam's own questions are read: grading costs the same on a bank of any size.
    QVector<int> ids;
    for (const QuestionOutcome& o : outcomes)
        ids.append(o.id);
    const LeitnerData data = ReadLeitner(connectionString, &ids);
    if (!data.ok)
        return false;
    QHash<int, QString> prints;
    for (const PoolQuestion& q : data.pool) {
        if (boxMayHold(q))
            prints.insert(q.id, q.fingerprint);
    }
    QHash<int, LeitnerRow> rows;
    for (const LeitnerRow& row : data.cards)
        rows.insert(row.id, row);
    LeitnerWrite write;
    for (const QuestionOutcome& o : outcomes) {
        if (!prints.contains(o.id))
            continue;
        const LeitnerRow row = rows.value(o.id, {o.id, 1, today, prints.value(o.id)});
        // An edited question starts afresh.
        const int box = row.fingerprint == prints.value(o.id) ? row.box : 1;
        const LeitnerCard card = LeitnerAnswer({o.id, box, row.due}, o.right, today);
        write.put.append({o.id, card.box, card.due, prints.value(o.id)});
        rows.insert(o.id, write.put.last());
    }
    return write.put.isEmpty() || WriteLeitner(connectionString, write);
}

namespace {
ReadinessPool readinessPool(const QVector<PoolQuestion>& questions) {
    ReadinessPool pool;
    for (const PoolQuestion& q : questions) {
        if (q.examPool)
            pool.examPool.insert(q.id);
        if (boxMayHold(q))
            pool.categoryOf.insert(q.id, q.category.trimmed());
    }
    return pool;
}
} // namespace

Readiness ReadReadiness(const QString& connectionString, int passMark, const QDate& today) {
    return ReadReadiness(connectionString, passMark, today,
                         readinessPool(ReadLeitner(connectionString).pool));
}

Readiness ReadReadiness(const QString& connectionString, int passMark, const QDate& today,
                        const ReadinessPool& pool) {
    ReadinessInput input;
    input.today = today;
    input.passMark = passMark;
    input.available = pool.examPool;
    bool summarised = false;
    const QVector<AnswerSummary> summaries = ReadAnswerSummaries(connectionString, today, &summarised);
    const bool inPool =
        summarised && std::all_of(summaries.cbegin(), summaries.cend(),
                                  [&](const AnswerSummary& s) { return pool.categoryOf.contains(s.id); });
    input.categoryOf = inPool ? pool.categoryOf : ReadQuestionCategories(connectionString);
    if (summarised)
        return ComputeReadiness(input, summaries);
    for (const KeptAnswer& a : ReadKeptAnswers(connectionString))
        input.answers.append({a.id, a.day, a.right});
    return ComputeReadiness(input);
}
