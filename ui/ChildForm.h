#pragma once

#include "ui/Layout.h"

#include <QVector>
#include <QWidget>
#include <optional>
#include <span>

class QMdiSubWindow;

// A window shown as a child of the main window. Form_Load runs once, after the window is placed
// in its MDI frame and before it is first shown.
class ChildForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void Form_Load() {}
    // False when Form_Load refused to open the window (having told the learner why): the main
    // window then removes it unshown.
    virtual bool Opened() const { return true; }
    // Windows with a category list let the main window pick an entry by its list position.
    virtual void SelectListIndex(int /*index*/) {}
    // How far the window is scaled down to fit the main window's area: 1 at its designed size.
    double scaleFactor() const { return factor_; }
    // The window's layout tables in the order they were placed: a later row for a control
    // overrides an earlier one.
    const QVector<std::span<const ControlPlace>>& layoutTables() const { return tables_; }
    // Fits the window again after the main window's area changed size, as opening it afresh at
    // that size would: scaled from its designed look and placed again. When its factor stays the
    // same nothing is scaled and the window is only kept inside the area.
    virtual void Refit();
    // Another window kept a graded exam: a window showing the kept exams reads them again.
    virtual void RefreshHistory() {}

signals:
    // Asks the main window to close this window and open it afresh (a new exam).
    void reopenRequested();
    // Asks the main window to open another of its windows by name.
    void openRequested(const QString& name);
    // A graded exam was kept; the main window passes it on to the other windows.
    void examKept();

protected:
    QMdiSubWindow* subWindow() const;
    // Gives the window its outer size and places it over the main window: left = (main width -
    // width) / 2, top = (main height - height) / divisor, all from outer sizes.
    // When the main window's area is smaller than the window, the window and all it holds are
    // scaled down together (ApplyScale) to fit, and it is kept inside the area.
    void PlaceOnMain(int widthTwips, int heightTwips, double divisor = 2.8);
    // Places the controls of a layout table at the window's factor and keeps the table, so a
    // later scaling places them again from their designed places.
    void PlaceLayout(std::span<const ControlPlace> table);
    // Scales the window's content from its designed look: every kept table's controls, every
    // font set on a control, every button's icon. The frame is the caller's.
    void ApplyScale(double factor);
    // A designed length in pixels at the window's factor.
    int Scaled(int pixels) const;
    // The factor at which a window whose inside is designed as client fits the main window's
    // area with its frame; 1 outside a main window.
    double FitFactor(const QSize& client) const;
    // The main window's outer size, as the windows place themselves by it.
    QSize mainOuterSize() const;
    // Where a frame of this size stands at `at` kept inside the MDI area, where it fits there.
    QPoint InsideArea(QPoint at, const QSize& frame) const;
    // Moves the window's frame back inside the area, unscaled.
    void KeepInArea();

private:
    struct Placement {
        int widthTwips;
        int heightTwips;
        double divisor;
    };
    std::optional<Placement> placement_; // the last PlaceOnMain, repeated by Refit
    double factor_ = 1.0;
    QVector<std::span<const ControlPlace>> tables_;
};
