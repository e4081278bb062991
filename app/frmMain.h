#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QMdiArea>
#include <QPixmap>
#include <QPointer>

class CentredStrip;
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
    // Opens the named child window, or brings it to the front when it is open already. Returns
    // the window, or nullptr when this build has no window of that name or the program is ending.
    QWidget* ShowChild(const QString& name);
    QWidget* Child(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The menu's Ctrl shortcuts come before a focused text box's own use of the key.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void MDIForm_Load();
    void MDIForm_Unload();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void cmdMusic_Click();
    void Timer1_Timer();
    void mnuMorooreSoalat_Click();
    void mnuMorooreTabloha_Click();
    void mnuNokat_Click();
    void mnuSoalatOLD_Click();
    void mnu32_Click();
    void mnuTanzimat_Click();
    void mnuViraiesh_Click();
    void mnuPishraft_Click();
    void mnuEshtebahat_Click();
    void mnu41_Click();
    void mnu42_Click();
    void mnuKhorooj_Click();

private:
    explicit frmMain(QWidget* parent = nullptr);
    void buildButtonStrip();
    void buildMenu();
    void ShowSignsCategory(int listIndex);
    void Reopen(const QString& name);
    // Every open window fitted again to the area's new size.
    void RefitChildren();
    QMdiSubWindow* openFrame(const QString& name) const;
    // On: "قطع آهنگ", tag "1", the timer running; off: "پخش آهنگ", tag "-1", the timer stopped.
    void SetMusicState(bool on);
    int musicState() const;

    MdiClient* mdi_ = nullptr;
    QWidget* picture1_ = nullptr;
    CentredStrip* strip_ = nullptr; // picture1_, centring its buttons on a wide window
    QPushButton* cmdMusic_ = nullptr;
    QTimer* timer1_ = nullptr;
    QMap<QString, QPointer<QMdiSubWindow>> children_;
    QList<QKeySequence> menuShortcuts_;
    bool closing_ = false; // the program is ending: no window opens any more
};

inline const QString kMainCaption =
    QStringLiteral("نرم افزار Ravex      بهار 1388        نسخه 4       محصول Velkor");
