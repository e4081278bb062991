#pragma once

#include <QWidget>

class QMdiSubWindow;

// A window shown as a child of the main window. Form_Load runs once, after the window is placed
// in its MDI frame and before it is first shown.
class ChildForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void Form_Load() {}
    // Windows with a category list let the main window pick an entry by its list position.
    virtual void SelectListIndex(int /*index*/) {}

signals:
    // Asks the main window to close this window and open it afresh (a new exam).
    void reopenRequested();
    // Asks the main window to open another of its windows by name.
    void openRequested(const QString& name);

protected:
    QMdiSubWindow* subWindow() const;
    // Gives the window its outer size and places it over the main window: left = (main width -
    // width) / 2, top = (main height - height) / divisor, all from outer sizes.
    void PlaceOnMain(int widthTwips, int heightTwips, double divisor = 2.8);
    // The main window's outer size, as the windows place themselves by it.
    QSize mainOuterSize() const;
};
