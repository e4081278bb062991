#include "exam/ExamOverview.h"

#include "platform/PersianDigits.h"
#include "rules/ExamSession.h"
#include "ui/Look.h"

#include <QPainter>

namespace {
// The panel stands in the exam window's top-left corner, left of the title and above the picture,
// where no other control is; cells of 405 twips with 30 between them, ten to a row.
constexpr int kPanelLeft = 90, kPanelTop = 90, kPanelWidth = 4320, kPanelHeight = 1305;
constexpr int kCell = 405, kGap = 30, kPerRow = 10;

const QColor kNotShownGround(255, 255, 255);
const QColor kShownGround(198, 214, 236);
const QColor kFlagColour(230, 120, 0);
const QColor kRightGround(196, 232, 196);
const QColor kWrongGround(250, 200, 200);

std::vector<ControlPlace> makeLayout() {
    static std::array<QByteArray, ExamOverview::kCells> names;
    std::vector<ControlPlace> rows;
    rows.push_back({"pnlFehrest", kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight});
    for (int i = 0; i < ExamOverview::kCells; ++i) {
        names[i] = QByteArrayLiteral("cmdFehrest") + QByteArray::number(i + 1);
        const int column = i % kPerRow; // counted from the right: the first question is top right
        const int row = i / kPerRow;
        rows.push_back({names[i].constData(), kPanelWidth - (column + 1) * kCell - column * kGap,
                        row * (kCell + kGap), kCell, kCell});
    }
    return rows;
}
} // namespace

QString OverviewCellName(int position, OverviewCell::State state, bool current, bool flagged) {
    QStringList parts{QStringLiteral("سؤال ") + PersianNumber(position)};
    if (current)
        parts << QStringLiteral("سؤال جاري");
    switch (state) {
    case OverviewCell::State::NotShown:
        parts << QStringLiteral("ديده نشده");
        break;
    case OverviewCell::State::Shown:
        parts << QStringLiteral("ديده شده");
        break;
    case OverviewCell::State::Right:
        parts << QStringLiteral("درست");
        break;
    case OverviewCell::State::Wrong:
        parts << QStringLiteral("نادرست");
        break;
    }
    if (flagged)
        parts << QStringLiteral("علامت دار");
    return parts.join(QStringLiteral("، "));
}

OverviewCell::OverviewCell(int position, QWidget* parent) : QAbstractButton(parent), position_(position) {
    setObjectName(QStringLiteral("cmdFehrest%1").arg(position));
    setFocusPolicy(Qt::NoFocus); // the keys stay with the exam
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(OverviewCellName(position, state_, current_, flagged_));
}

void OverviewCell::setLook(State state, bool current, bool flagged) {
    if (state == state_ && current == current_ && flagged == flagged_)
        return;
    state_ = state;
    current_ = current;
    flagged_ = flagged;
    setAccessibleName(OverviewCellName(position_, state, current, flagged));
    update();
}

void OverviewCell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    QColor ground = kNotShownGround;
    switch (state_) {
    case State::NotShown:
        break;
    case State::Shown:
        ground = kShownGround;
        break;
    case State::Right:
        ground = kRightGround;
        break;
    case State::Wrong:
        ground = kWrongGround;
        break;
    }
    p.setBrush(ground);
    const qreal border = current_ ? std::max(2.0, height() / 10.0) : 1.0;
    p.setPen(QPen(current_ ? look::kMarkerGraded : QColor(90, 110, 140), border));
    p.drawRoundedRect(box.adjusted(border / 2, border / 2, -border / 2, -border / 2), 3, 3);
    if (flagged_) {
        // A small flag in the top-left corner, clear of the number.
        const qreal s = height() / 3.0;
        p.setPen(Qt::NoPen);
        p.setBrush(kFlagColour);
        p.drawPolygon(
            QPolygonF({QPointF(border, border), QPointF(border + s, border), QPointF(border, border + s)}));
    }
    QColor ink = state_ == State::Right   ? look::kCorrectGreen
                 : state_ == State::Wrong ? look::kRed
                                          : Qt::black;
    if (state_ == State::NotShown)
        ink = QColor(90, 90, 90);
    p.setPen(ink);
    QFont f = font();
    f.setPixelSize(std::max(6, height() * 9 / 20));
    f.setBold(current_);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, PersianNumber(position_));
}

ExamOverview::ExamOverview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlFehrest"));
    setAccessibleName(QStringLiteral("فهرست سؤالات آزمون"));
    for (int i = 0; i < kCells; ++i) {
        cells_[i] = new OverviewCell(i + 1, this);
        connect(cells_[i], &QAbstractButton::clicked, this, [this, i] { emit cellClicked(i + 1); });
    }
}

std::span<const ControlPlace> ExamOverview::Layout() {
    static const std::vector<ControlPlace> rows = makeLayout();
    return rows;
}

OverviewCell* ExamOverview::cell(int position) const {
    return position >= 1 && position <= kCells ? cells_[position - 1] : nullptr;
}

void ExamOverview::showSession(const ExamSession& session) {
    QVector<bool> right;
    if (session.graded())
        right = session.rightAnswers();
    for (int i = 0; i < kCells; ++i) {
        const int p = i + 1;
        cells_[i]->setVisible(p <= session.size());
        if (p > session.size())
            continue;
        OverviewCell::State state =
            session.shown(p) ? OverviewCell::State::Shown : OverviewCell::State::NotShown;
        if (session.graded())
            state = right[i] ? OverviewCell::State::Right : OverviewCell::State::Wrong;
        cells_[i]->setLook(state, p == session.position(), session.flagged(p));
    }
}
