#include "rules/ExamSession.h"

#include "platform/PersianDigits.h"

#include <QStringList>
#include <algorithm>

namespace {
// How far ahead of the clock the tick count may carry the time: enough for a timer that fires a
// little early, never enough to take time from the learner on a slow machine.
constexpr qint64 kTickLeadMs = 250;
} // namespace

QString ExamResult::verdictText() const {
    return passed ? QStringLiteral("قبول") : QStringLiteral("مردود");
}

QString ExamResult::elapsedText() const {
    return ElapsedText(elapsedMs);
}

ExamSession::ExamSession(QVector<ExamQuestion> questions, bool mistakesExam)
    : questions_(std::move(questions)), answers_(questions_.size(), 1), shown_(questions_.size(), false),
      flagged_(questions_.size(), false), mistakes_(mistakesExam) {
    if (!questions_.isEmpty()) {
        position_ = 1;
        shown_[0] = true;
    }
}

ExamQuestion ExamSession::question(int position) const {
    if (position < 1 || position > size())
        return {};
    return questions_[position - 1];
}

int ExamSession::positionOf(int id) const {
    for (int i = 0; i < size(); ++i) {
        if (questions_[i].id == id)
            return i + 1;
    }
    return 0;
}

bool ExamSession::moveTo(int position) {
    if (position < 1 || position > size() || position == position_)
        return false;
    position_ = position;
    shown_[position - 1] = true;
    return true;
}

void ExamSession::arrivedAt(int id) {
    if (const int p = positionOf(id))
        moveTo(p);
}

int ExamSession::answer(int position) const {
    if (position < 1 || position > size())
        return 0;
    return answers_[position - 1];
}

void ExamSession::choose(int option) {
    choose(position_, option);
}

void ExamSession::choose(int position, int option) {
    if (position < 1 || position > size() || option < 1 || option > 4)
        return;
    answers_[position - 1] = option;
}

void ExamSession::markerUp() {
    if (const int k = answer())
        choose((k + 2) % 4 + 1);
}

void ExamSession::markerDown() {
    if (const int k = answer())
        choose(k % 4 + 1);
}

bool ExamSession::shown(int position) const {
    return position >= 1 && position <= size() && shown_[position - 1];
}

bool ExamSession::flagged(int position) const {
    return position >= 1 && position <= size() && flagged_[position - 1];
}

void ExamSession::setFlagged(int position, bool on) {
    if (position >= 1 && position <= size())
        flagged_[position - 1] = on;
}

void ExamSession::start(qint64 nowMs) {
    startedMs_ = nowMs;
    ticks_ = 0;
    limitTaken_ = false;
    timeUp_ = false;
}

qint64 ExamSession::elapsedMs(qint64 nowMs) const {
    if (!started())
        return 0;
    const qint64 measured = std::max<qint64>(nowMs - startedMs_, 0);
    const qint64 counted = std::min<qint64>(qint64(ticks_) * 1000, measured + kTickLeadMs);
    return std::max(measured, counted);
}

ExamSession::Tick ExamSession::tick(qint64 nowMs, const QTime& examTime) {
    if (!limitTaken_) {
        limit_ = examTime;
        limitTaken_ = true;
    }
    ++ticks_;
    Tick t;
    t.text = RemainingText(limit_, elapsedMs(nowMs));
    if (t.text == QLatin1String("00:00") && !timeUp_) {
        timeUp_ = true;
        t.timeUp = true;
    }
    return t;
}

ExamResult ExamSession::grade(int passMark, qint64 nowMs) {
    graded_ = true;
    ++timesGraded_;
    ExamResult r;
    r.questions = size();
    r.passMark = passMark;
    r.elapsedMs = elapsedMs(nowMs);
    right_.fill(false, size());
    for (int i = 0; i < size(); ++i) {
        const ExamQuestion& q = questions_[i];
        // A row whose correct option is not 1..4 never matches an answer.
        const bool right = q.correct >= 1 && q.correct <= 4 && q.correct == answers_[i];
        r.outcomes.append({q.id, answers_[i], q.correct, right});
        right_[i] = right;
        r.correct += right;
    }
    r.wrong = r.questions - r.correct;
    r.passed = r.correct >= passMark;
    return r;
}

QVector<int> ExamSession::unseenPositions() const {
    QVector<int> out;
    for (int p = 1; p <= size(); ++p)
        if (!shown(p))
            out.append(p);
    return out;
}

QVector<int> ExamSession::flaggedPositions() const {
    QVector<int> out;
    for (int p = 1; p <= size(); ++p)
        if (flagged(p))
            out.append(p);
    return out;
}

namespace {
// "۴"، "۴ و ۹"، "۴، ۱۷ و ۲۲".
QString persianList(const QVector<int>& numbers) {
    QStringList words;
    for (const int n : numbers)
        words << PersianNumber(n);
    const QString last = words.takeLast();
    return words.isEmpty() ? last : words.join(QStringLiteral("، ")) + QStringLiteral(" و ") + last;
}
} // namespace

QString BeforeGradingQuestion(const QVector<int>& unseen, const QVector<int>& flagged) {
    QStringList parts;
    if (!unseen.isEmpty())
        parts << (unseen.size() == 1 ? QStringLiteral("سؤال ") : QStringLiteral("سؤالهاي ")) +
                     persianList(unseen) + QStringLiteral(" را هنوز نديده ايد");
    if (!flagged.isEmpty())
        parts << (flagged.size() == 1 ? QStringLiteral("سؤال ") : QStringLiteral("سؤالهاي ")) +
                     persianList(flagged) +
                     (flagged.size() == 1 ? QStringLiteral(" علامت دارد") : QStringLiteral(" علامت دارند"));
    if (parts.isEmpty())
        return {};
    return parts.join(QStringLiteral(" و ")) + QStringLiteral(". آزمون تصحيح شود؟");
}

QString BeforeGradingQuestion(const ExamSession& session) {
    return BeforeGradingQuestion(session.unseenPositions(), session.flaggedPositions());
}
