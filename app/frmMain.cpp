#include "app/frmMain.h"

#include "app/CentredStrip.h"
#include "app/mdlRavex.h"
#include "data/Connection.h"
#include "data/UploadQueue.h"
#include "platform/Picture.h"
#include "platform/Twips.h"
#include "settings/MusicControl.h"
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
#include <QPointer>
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
    connectChildWindows();
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

    connect(picture1_->findChild<QPushButton*>(QStringLiteral("Command8")), &QPushButton::clicked, this,
            &frmMain::close);
    connect(cmdMusic_, &QPushButton::clicked, this, &frmMain::cmdMusic_Click);

    timer1_ = new QTimer(picture1_);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    // On from the start, the timer running: nothing is opened at start-up, the first tick starts
    // the music.
    music_ = new MusicControl(cmdMusic_, timer1_, this);
}

void frmMain::buildMenu() {
    QMenuBar* bar = menuBar();
    const auto entry = [this](QMenu* menu, const char* name, const char* caption, const char* shortcut) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        if (shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
            menuShortcuts_.append(action->shortcut());
        }
    };
    const auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* soalat = bar->addMenu(QStringLiteral("سوالات"));
    soalat->setObjectName(QStringLiteral("mnuSoalat"));
    entry(soalat, "mnuMorooreSoalat", "مرور سؤالات", "Ctrl+S");
    entry(soalat, "mnuMorooreTabloha", "مرور تابلوها و تقاطعها", "Ctrl+M");
    separator(soalat, "mnuDash4");
    entry(soalat, "mnuNokat", "نكات مهم در آزمون شهر", nullptr);
    separator(soalat, "mnuDash1");
    entry(soalat, "mnuSoalatOLD", "سؤالات سالهاي قبل", nullptr);

    QMenu* emkanat = bar->addMenu(QStringLiteral("امكانات"));
    emkanat->setObjectName(QStringLiteral("mnuEmkanat"));
    entry(emkanat, "mnu32", "آزمون اصلي", "Ctrl+A");
    entry(emkanat, "mnuTanzimat", "تنظيمات", "Ctrl+T");
    separator(emkanat, "mnuDash3");
    entry(emkanat, "mnuViraiesh", "ويرايش سؤالات", nullptr);
    separator(emkanat, "mnuDash5");
    entry(emkanat, "mnuPishraft", "پیشرفت من", nullptr);
    entry(emkanat, "mnuEshtebahat", "مرور اشتباهات", nullptr);
    entry(emkanat, "mnuLeitner", "جعبه لايتنر", nullptr);
    entry(emkanat, "mnuAzmooneShafahi", "آزمون شفاهي", nullptr);
    entry(emkanat, "mnuGozareshMorabi", "گزارش مربي", nullptr);

    QMenu* rahnama = bar->addMenu(QStringLiteral("راهنما"));
    rahnama->setObjectName(QStringLiteral("mnuRahnama"));
    entry(rahnama, "mnu41", "راهنماي استفاده از برنامه", nullptr);
    entry(rahnama, "mnu42", "درباره ما", nullptr);

    // A top-level entry that acts by itself.
    QAction* khorooj = bar->addAction(QStringLiteral("خروج"));
    khorooj->setObjectName(QStringLiteral("mnuKhorooj"));
    connect(khorooj, &QAction::triggered, this, &frmMain::close);
}

void frmMain::connectChildWindows() {
    for (const ChildWindowEntry& entry : ChildWindows()) {
        const ChildWindow window = entry.window;
        if (entry.button) {
            connect(picture1_->findChild<QPushButton*>(QString::fromLatin1(entry.button)),
                    &QPushButton::clicked, this, [this, window] { ShowChild(window); });
        }
        if (entry.menuEntry) {
            connect(menuBar()->findChild<QAction*>(QString::fromLatin1(entry.menuEntry)), &QAction::triggered,
                    this, [this, window] { ShowChild(window); });
        }
        // Opened, or brought to the front, and switched to the category at that list position.
        for (const CategoryButton& category : entry.categoryButtons) {
            connect(picture1_->findChild<QPushButton*>(QString::fromLatin1(category.button)),
                    &QPushButton::clicked, this, [this, window, index = category.listIndex] {
                        if (auto* form = qobject_cast<ChildForm*>(ShowChild(window)))
                            form->SelectListIndex(index);
                    });
        }
    }
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

QMdiSubWindow* frmMain::openFrame(ChildWindow window) const {
    // A window that is closing (hidden, its deletion pending) no longer counts as open.
    const QLatin1String name(ChildWindowEntryOf(window).name);
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (!sub->isHidden() && sub->widget() && sub->widget()->objectName() == name)
            return sub;
    }
    return nullptr;
}

QWidget* frmMain::Child(ChildWindow window) const {
    QMdiSubWindow* sub = openFrame(window);
    return sub ? sub->widget() : nullptr;
}

QWidget* frmMain::Child(const QString& name) const {
    const std::optional<ChildWindow> window = ChildWindowNamed(name);
    return window ? Child(*window) : nullptr;
}

QWidget* frmMain::ShowChild(const QString& name) {
    if (const std::optional<ChildWindow> window = ChildWindowNamed(name))
        return ShowChild(*window);
    qCWarning(lcApp) << "no window named" << name;
    return nullptr;
}

QWidget* frmMain::ShowChild(ChildWindow window) {
    // A child that asks, as it closes, for another window to open must not reopen one while
    // the program is ending.
    if (closing_)
        return nullptr;
    // Whatever waits for the school server is sent up, off this thread, as a window opens.
    StartUpload();
    if (QMdiSubWindow* sub = openFrame(window)) {
        if (sub->isMinimized())
            sub->showNormal(); // a maximized window stays maximized
        mdi_->setActiveSubWindow(sub);
        return sub->widget();
    }
    const ChildWindowEntry& entry = ChildWindowEntryOf(window);
    ChildForm* form = entry.create(nullptr);
    form->setObjectName(QString::fromLatin1(entry.name));
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    connect(form, &ChildForm::reopenRequested, this, [this, window] { Reopen(window); });
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

void frmMain::Reopen(ChildWindow window) {
    if (QMdiSubWindow* sub = openFrame(window))
        sub->close();
    ShowChild(window);
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

void frmMain::cmdMusic_Click() {
    music_->Click();
}

// While on, music that is not playing (not started yet, ended, or its file missing) is started.
void frmMain::Timer1_Timer() {
    music_->Tick();
}
