#include "app/frmMain.h"

#include "app/CentredStrip.h"
#include "app/ChildWindows.h"
#include "app/mdlRavex.h"
#include "data/Connection.h"
#include "platform/Picture.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "settings/mdlMusic.h"
#include "ui/ChildForm.h"
#include "ui/Look.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QLoggingCategory>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

Q_LOGGING_CATEGORY(lcApp, "ravex.app", QtCriticalMsg)

namespace {
QPointer<frmMain>& instance() {
    static QPointer<frmMain> main;
    return main;
}

const QColor kWindowBlue = look::kFormBlue;
constexpr int kDesignedClientWidth = 15240; // twips
// The background picture's edges melt into the blue over this many pixels, so a picture whose
// margin is a shade off (a lossy file) shows no seam.
constexpr int kFeather = 24;

struct StripButton {
    const char* name;
    const char* caption;
    int left;
    int width;
};

// Right to left, which is also the tab order.
const StripButton kStrip[] = {
    {"Command1", "علائم اخطار كننده", 13890, 1395},
    {"Command2", "علائم حكم كننده", 12525, 1365},
    {"Command3", "علائم اخباري", 11220, 1305},
    {"Command4", "حق تقدم در سه راه", 9735, 1485},
    {"Command5", "حق تقدم در چهارراه", 8250, 1485},
    {"Command10", "مرور سؤالات", 6720, 1530},
    {"Command9", "تنظيمات", 5175, 1530},
    {"Command6", "آزمون اصلي", 3750, 1430},
    {"Command7", "راهنما", 2535, 1215},
    {"cmdMusic", "قطع آهنگ", 1290, 1245},
    {"Command8", "خروج", 45, 1245},
};
} // namespace

void MdiClient::setPicture(const QPixmap& picture) {
    picture_ = picture;
    viewport()->update();
}

void MdiClient::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    if (picture_.isNull())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect r = FitCentred(picture_.size(), viewport()->size());
    painter.drawPixmap(r, picture_);
    // Blend each edge into the blue: a band fading from the blue outside to the picture inside.
    const int f = std::min({kFeather, r.width() / 4, r.height() / 4});
    QColor clear = kWindowBlue;
    clear.setAlpha(0);
    const auto band = [&](QRect area, QPointF from, QPointF to) {
        QLinearGradient g(from, to);
        g.setColorAt(0, kWindowBlue);
        g.setColorAt(1, clear);
        painter.fillRect(area, g);
    };
    band(QRect(r.left(), r.top(), r.width(), f), r.topLeft(), QPointF(r.left(), r.top() + f));
    band(QRect(r.left(), r.bottom() - f + 1, r.width(), f), QPointF(r.left(), r.bottom() + 1),
         QPointF(r.left(), r.bottom() + 1 - f));
    band(QRect(r.left(), r.top(), f, r.height()), r.topLeft(), QPointF(r.left() + f, r.top()));
    band(QRect(r.right() - f + 1, r.top(), f, r.height()), QPointF(r.right() + 1, r.top()),
         QPointF(r.right() + 1 - f, r.top()));
}

bool MdiClient::viewportEvent(QEvent* event) {
    const bool handled = QMdiArea::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        emit viewportResized();
    return handled;
}

namespace {
QString BackgroundPicture() {
    return gDataDir + QStringLiteral("0");
}
} // namespace

frmMain* frmMain::Open() {
    if (!instance()) {
        // The ground decodes, and the bank's driver loads, on a second core while the fonts are
        // found and the window is built.
        PrefetchPicture(BackgroundPicture());
        PreloadBankDriver();
        look::UseInstalledDefaultFont();
        instance() = new frmMain;
        instance()->MDIForm_Load();
    }
    instance()->showMaximized();
    return instance();
}

frmMain* frmMain::Instance() {
    return instance();
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    look::EnsureResources();
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kMainCaption);
    setWindowIcon(look::Picture(QStringLiteral(":/icons/ravex")));
    setLayoutDirection(Qt::RightToLeft);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, kWindowBlue);
    setPalette(blue);
    setAutoFillBackground(true);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdi_ = new MdiClient(central);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(kWindowBlue);
    layout->addWidget(mdi_, 1);
    connect(mdi_, &MdiClient::viewportResized, this, &frmMain::RefitChildren);
    strip_ = new CentredStrip(Twips(kDesignedClientWidth), central);
    picture1_ = strip_;
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setFixedHeight(Twips(375));
    picture1_->setAutoFillBackground(true);
    picture1_->setPalette(blue);
    layout->addWidget(picture1_);
    setCentralWidget(central);

    buildButtonStrip();
    buildMenu();
    // A text box takes Ctrl+A for select-all before any shortcut is looked up: the menu's keys
    // are claimed back for the whole window, every child window's boxes included.
    qApp->installEventFilter(this);

    // Restored, the window has its designed client area under the menu bar, centred on the screen.
    // On a smaller screen it is never larger than the screen's free area.
    const QSize client(Twips(kDesignedClientWidth), Twips(10710));
    QSize restored(client.width(), client.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = this->screen())
        restored = restored.boundedTo(screen->availableGeometry().size());
    resize(restored);
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void frmMain::buildButtonStrip() {
    const QFont tahoma = look::Tahoma(8.25);
    QPushButton* previous = nullptr;
    for (const StripButton& b : kStrip) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), strip_->band());
        button->setObjectName(QString::fromLatin1(b.name));
        button->setFont(tahoma);
        // A click leaves the keyboard with the child window that had it (the exam's keys); Tab
        // still reaches the strip.
        button->setFocusPolicy(Qt::TabFocus);
        // Hand-set positions are not mirrored by right-to-left: they stand where the table says.
        strip_->place(button, TwipsRect(b.left, 30, b.width, 300));
        if (previous)
            setTabOrder(previous, button);
        previous = button;
        if (qstrcmp(b.name, "cmdMusic") == 0)
            cmdMusic_ = button;
    }
    cmdMusic_->setProperty("Tag", QStringLiteral("1"));

    const auto connectButton = [this](const char* name, void (frmMain::*slot)()) {
        connect(picture1_->findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this,
                slot);
    };
    connectButton("Command1", &frmMain::Command1_Click);
    connectButton("Command2", &frmMain::Command2_Click);
    connectButton("Command3", &frmMain::Command3_Click);
    connectButton("Command4", &frmMain::Command4_Click);
    connectButton("Command5", &frmMain::Command5_Click);
    connectButton("Command6", &frmMain::Command6_Click);
    connectButton("Command7", &frmMain::Command7_Click);
    connectButton("Command8", &frmMain::Command8_Click);
    connectButton("Command9", &frmMain::Command9_Click);
    connectButton("Command10", &frmMain::Command10_Click);
    connectButton("cmdMusic", &frmMain::cmdMusic_Click);

    timer1_ = new QTimer(picture1_);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    // Nothing is opened at start-up: the first tick starts the music.
    timer1_->start();
    connect(&mdlMusic::instance(), &mdlMusic::musicStateChanged, this, &frmMain::SetMusicState);
}

void frmMain::buildMenu() {
    QMenuBar* bar = menuBar();
    const auto entry = [this](QMenu* menu, const char* name, const char* caption, const char* shortcut,
                              void (frmMain::*slot)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        if (shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
            menuShortcuts_.append(action->shortcut());
        }
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* soalat = bar->addMenu(QStringLiteral("سوالات"));
    soalat->setObjectName(QStringLiteral("mnuSoalat"));
    entry(soalat, "mnuMorooreSoalat", "مرور سؤالات", "Ctrl+S", &frmMain::mnuMorooreSoalat_Click);
    entry(soalat, "mnuMorooreTabloha", "مرور تابلوها و تقاطعها", "Ctrl+M", &frmMain::mnuMorooreTabloha_Click);
    separator(soalat, "mnuDash4");
    entry(soalat, "mnuNokat", "نكات مهم در آزمون شهر", nullptr, &frmMain::mnuNokat_Click);
    separator(soalat, "mnuDash1");
    entry(soalat, "mnuSoalatOLD", "سؤالات سالهاي قبل", nullptr, &frmMain::mnuSoalatOLD_Click);

    QMenu* emkanat = bar->addMenu(QStringLiteral("امكانات"));
    emkanat->setObjectName(QStringLiteral("mnuEmkanat"));
    entry(emkanat, "mnu32", "آزمون اصلي", "Ctrl+A", &frmMain::mnu32_Click);
    entry(emkanat, "mnuTanzimat", "تنظيمات", "Ctrl+T", &frmMain::mnuTanzimat_Click);
    separator(emkanat, "mnuDash3");
    entry(emkanat, "mnuViraiesh", "ويرايش سؤالات", nullptr, &frmMain::mnuViraiesh_Click);
    separator(emkanat, "mnuDash5");
    entry(emkanat, "mnuPishraft", "پیشرفت من", nullptr, &frmMain::mnuPishraft_Click);
    entry(emkanat, "mnuEshtebahat", "مرور اشتباهات", nullptr, &frmMain::mnuEshtebahat_Click);

    QMenu* rahnama = bar->addMenu(QStringLiteral("راهنما"));
    rahnama->setObjectName(QStringLiteral("mnuRahnama"));
    entry(rahnama, "mnu41", "راهنماي استفاده از برنامه", nullptr, &frmMain::mnu41_Click);
    entry(rahnama, "mnu42", "درباره ما", nullptr, &frmMain::mnu42_Click);

    // A top-level entry that acts by itself.
    QAction* khorooj = bar->addAction(QStringLiteral("خروج"));
    khorooj->setObjectName(QStringLiteral("mnuKhorooj"));
    connect(khorooj, &QAction::triggered, this, &frmMain::mnuKhorooj_Click);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        if (menuShortcuts_.contains(pressed)) {
            // Left unclaimed, the key goes on to the menu's shortcut.
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::MDIForm_Load() {
    mdi_->setPicture(LoadPicture(BackgroundPicture()));
}

QMdiSubWindow* frmMain::openFrame(const QString& name) const {
    // A window that is closing (hidden, its deletion pending) no longer counts as open.
    const QPointer<QMdiSubWindow> sub = children_.value(name);
    return sub && !sub->isHidden() ? sub.data() : nullptr;
}

QWidget* frmMain::Child(const QString& name) const {
    QMdiSubWindow* sub = openFrame(name);
    return sub ? sub->widget() : nullptr;
}

QWidget* frmMain::ShowChild(const QString& name) {
    // A child that asks, as it closes, for another window to open must not reopen one while
    // the program is ending.
    if (closing_)
        return nullptr;
    if (QMdiSubWindow* sub = openFrame(name)) {
        if (sub->isMinimized())
            sub->showNormal(); // a maximized window stays maximized
        mdi_->setActiveSubWindow(sub);
        return sub->widget();
    }
    ChildForm* form = CreateChildWindow(name, nullptr);
    if (!form) {
        qCWarning(lcApp) << "no window named" << name;
        return nullptr;
    }
    form->setObjectName(name);
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    children_.insert(name, sub);
    connect(form, &ChildForm::reopenRequested, this, [this, name] { Reopen(name); });
    connect(form, &ChildForm::openRequested, this, [this](const QString& other) { ShowChild(other); });
    connect(form, &ChildForm::examKept, this, [this, form] {
        for (QMdiSubWindow* other : mdi_->subWindowList()) {
            if (auto* child = qobject_cast<ChildForm*>(other->widget());
                child && child != form && !other->isHidden())
                child->RefreshHistory();
        }
    });
    form->Form_Load();
    if (!form->Opened()) {
        children_.remove(name);
        delete sub; // never shown: nothing of it may linger in the area's list
        return nullptr;
    }
    sub->show();
    mdi_->setActiveSubWindow(sub);
    return form;
}

void frmMain::RefitChildren() {
    // A minimized or maximized frame is the area's to size; a hidden one is closing.
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (auto* form = qobject_cast<ChildForm*>(sub->widget());
            form && !sub->isHidden() && !sub->isMinimized() && !sub->isMaximized())
            form->Refit();
    }
}

void frmMain::Reopen(const QString& name) {
    if (QMdiSubWindow* sub = openFrame(name))
        sub->close();
    ShowChild(name);
}

void frmMain::ShowSignsCategory(int listIndex) {
    if (auto* form = qobject_cast<ChildForm*>(ShowChild(QStringLiteral("frmTabloha"))))
        form->SelectListIndex(listIndex);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Every child goes first, each through its own close; then the main window's own unload.
    closing_ = true;
    mdi_->closeAllSubWindows();
    if (!mdi_->subWindowList().isEmpty()) {
        closing_ = false;
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload() {
    timer1_->stop();
    mdlMusic::instance().StopMusic();
}

void frmMain::Command1_Click() {
    ShowSignsCategory(2);
}
void frmMain::Command2_Click() {
    ShowSignsCategory(3);
}
void frmMain::Command3_Click() {
    ShowSignsCategory(0);
}
void frmMain::Command4_Click() {
    ShowSignsCategory(4);
}
void frmMain::Command5_Click() {
    ShowSignsCategory(1);
}
void frmMain::Command6_Click() {
    ShowChild(QStringLiteral("frmAzmoon"));
}
void frmMain::Command7_Click() {
    ShowChild(QStringLiteral("frmRahnama"));
}
void frmMain::Command8_Click() {
    close();
}
void frmMain::Command9_Click() {
    ShowChild(QStringLiteral("frmTanzimat"));
}
void frmMain::Command10_Click() {
    mnuMorooreSoalat_Click();
}

int frmMain::musicState() const {
    return static_cast<int>(vb::Val(cmdMusic_->property("Tag").toString()));
}

void frmMain::SetMusicState(bool on) {
    cmdMusic_->setText(on ? QStringLiteral("قطع آهنگ") : QStringLiteral("پخش آهنگ"));
    cmdMusic_->setProperty("Tag", on ? QStringLiteral("1") : QStringLiteral("-1"));
    if (!on)
        timer1_->stop();
    else if (!timer1_->isActive())
        timer1_->start();
}

// The caption names what a click does: pause while on, resume while off.
void frmMain::cmdMusic_Click() {
    const bool on = musicState() == 1;
    if (on)
        mdlMusic::instance().PauseMusic();
    else
        mdlMusic::instance().ResumeMusic();
    SetMusicState(!on);
}

// While on, music that is not playing (not started yet, ended, or its file missing) is started.
void frmMain::Timer1_Timer() {
    if (musicState() == 1 && !mdlMusic::instance().IsMusicPlaying())
        mdlMusic::instance().StartMusic();
}

void frmMain::mnuMorooreSoalat_Click() {
    ShowChild(QStringLiteral("frmSoalat"));
}
void frmMain::mnuMorooreTabloha_Click() {
    ShowChild(QStringLiteral("frmTabloha"));
}
void frmMain::mnuNokat_Click() {
    ShowChild(QStringLiteral("frmNokat"));
}
void frmMain::mnuSoalatOLD_Click() {
    ShowChild(QStringLiteral("frmSoalatOLD"));
}
void frmMain::mnu32_Click() {
    ShowChild(QStringLiteral("frmAzmoon"));
}
void frmMain::mnuTanzimat_Click() {
    ShowChild(QStringLiteral("frmTanzimat"));
}
void frmMain::mnuViraiesh_Click() {
    ShowChild(QStringLiteral("frmViraiesh"));
}
void frmMain::mnuPishraft_Click() {
    ShowChild(QStringLiteral("frmPishraft"));
}
void frmMain::mnuEshtebahat_Click() {
    ShowChild(QStringLiteral("frmEshtebahat"));
}
void frmMain::mnu41_Click() {
    ShowChild(QStringLiteral("frmRahnama"));
}
void frmMain::mnu42_Click() {
    ShowChild(QStringLiteral("frmDarbareMa"));
}
void frmMain::mnuKhorooj_Click() {
    close();
}
