#pragma once

#include "ui/Layout.h"

#include <QAbstractButton>
#include <QWidget>
#include <array>
#include <vector>

class ExamSession;

// One cell of the exam's overview: a question's number and, by its colours, its state.
class OverviewCell : public QAbstractButton {
    Q_OBJECT
public:
    enum class State { NotShown, Shown, Right, Wrong };
    OverviewCell(int position, QWidget* parent);
    int position() const { return position_; }
    State state() const { return state_; }
    bool isCurrent() const { return current_; }
    bool isFlagged() const { return flagged_; }
    // Sets what the cell shows; repaints only when something changed.
    void setLook(State state, bool current, bool flagged);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int position_;
    State state_ = State::NotShown;
    bool current_ = false;
    bool flagged_ = false;
};

// The whole exam at a glance: 30 numbered cells, right to left in three rows, each showing
// whether its question is the current one, not yet shown, shown, flagged, and once graded right
// or wrong. A click on a cell asks for its question.
class ExamOverview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCells = 30;
    explicit ExamOverview(QWidget* parent);
    // The layout rows of the panel and its cells, in twips, for the exam window's table.
    static std::span<const ControlPlace> Layout();
    // Shows the session's state; cells past the exam's size are hidden.
    void showSession(const ExamSession& session);
    OverviewCell* cell(int position) const;

signals:
    void cellClicked(int position);

private:
    std::array<OverviewCell*, kCells> cells_{};
};

// The cell's name for a screen reader: its number and state in Persian ("سؤال ۷، علامت دار").
QString OverviewCellName(int position, OverviewCell::State state, bool current, bool flagged);
