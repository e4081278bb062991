#include "rules/Leitner.h"

#include <algorithm>

int LeitnerWait(int box) {
    return 1 << (std::clamp(box, 1, kLeitnerBoxes) - 1);
}

LeitnerCard LeitnerAnswer(LeitnerCard card, bool right, const QDate& today) {
    card.box = right ? std::min(std::clamp(card.box, 1, kLeitnerBoxes) + 1, kLeitnerBoxes) : 1;
    card.due = today.addDays(LeitnerWait(card.box));
    return card;
}

QDate LeitnerDueDay(const LeitnerCard& card, const QDate& today) {
    const QDate latest = today.addDays(LeitnerWait(card.box));
    if (!card.due.isValid())
        return today; // a lost date: due now rather than never
    return std::min(card.due, latest);
}

bool LeitnerIsDue(const LeitnerCard& card, const QDate& today) {
    return LeitnerDueDay(card, today) <= today;
}

QVector<LeitnerCard> SettleDueDays(const QVector<LeitnerCard>& cards, const QDate& today) {
    QVector<LeitnerCard> out;
    for (LeitnerCard c : cards) {
        const QDate day = LeitnerDueDay(c, today);
        if (day != c.due) {
            c.due = day;
            out.append(c);
        }
    }
    return out;
}

int NewQuestionsLeft(int perDay, const QDate& lastDay, int joinedOnLastDay, const QDate& today) {
    perDay = std::max(perDay, 0);
    if (!lastDay.isValid() || lastDay < today)
        return perDay;
    return std::max(perDay - std::max(joinedOnLastDay, 0), 0);
}

QVector<int> PickNewQuestions(const QVector<int>& pool, const QSet<int>& inBox, int count) {
    QVector<int> out;
    for (const int id : pool) {
        if (int(out.size()) >= count)
            break;
        if (!inBox.contains(id) && !out.contains(id))
            out.append(id);
    }
    return out;
}

QVector<LeitnerCard> DueCards(const QVector<LeitnerCard>& cards, const QDate& today) {
    QVector<LeitnerCard> due;
    for (const LeitnerCard& c : cards) {
        if (LeitnerIsDue(c, today))
            due.append(c);
    }
    std::stable_sort(due.begin(), due.end(), [&](const LeitnerCard& a, const LeitnerCard& b) {
        const QDate da = LeitnerDueDay(a, today), db = LeitnerDueDay(b, today);
        if (da != db)
            return da < db;
        if (a.box != b.box)
            return a.box < b.box;
        return a.id < b.id;
    });
    return due;
}
