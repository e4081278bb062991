#pragma once

#include "app/ChildWindows.h"

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>

class CentredStrip;
class MusicControl;
class QMdiSubWindow;
class QPushButton;
class QTimer;

// The MDI client: the windows' shared blue with the background picture centred on it.
class MdiClient : public QMdiArea {
    Q_OBJECT
public:
    using QMdiArea::QMdiArea;
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

signals:
    void viewportResized();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    QPixmap picture_;
};

// The frame of the whole program: the menu, the strip of eleven buttons along the bottom, and
// the MDI area in which every other window opens, one instance of each at most.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static frmMain* Open(); // creates the one main window and shows it maximized
    static frmMain* Instance();

    MdiClient* mdiArea() const { return mdi_; }
    // Opens the child window, or brings it to the front when it is open already. Returns the
    // window, or nullptr while the program is ending.
    QWidget* ShowChild(ChildWindow window);
    // The same by the window's objectName; nullptr for a name no window has.
    QWidget* ShowChild(const QString& name);
    // The open window, or nullptr.
    QWidget* Child(ChildWindow window) const;
    QWidget* Child(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The menu's Ctrl shortcuts come before a focused text box's own use of the key.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void MDIForm_Load();
    void MDIForm_Unload();
    void cmdMusic_Click();
    void Timer1_Timer();

private:
    explicit frmMain(QWidget* parent = nullptr);
    void buildButtonStrip();
    void buildMenu();
    // Every strip button and menu entry of the child window table opens its window.
    void connectChildWindows();
    void Reopen(ChildWindow window);
    // Every open window fitted again to the area's new size.
    void RefitChildren();
    QMdiSubWindow* openFrame(ChildWindow window) const;

    MdiClient* mdi_ = nullptr;
    QWidget* picture1_ = nullptr;
    CentredStrip* strip_ = nullptr; // picture1_, centring its buttons on a wide window
    QPushButton* cmdMusic_ = nullptr;
    QTimer* timer1_ = nullptr;
    QList<QKeySequence> menuShortcuts_;
    MusicControl* music_ = nullptr; // cmdMusic_ and timer1_ as the music's state has them
    bool closing_ = false;          // the program is ending: no window opens any more
};

inline const QString kMainCaption =
    QStringLiteral("نرم افزار Ravex      بهار 1388        نسخه 4       محصول Velkor");
