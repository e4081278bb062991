// Random use of the whole program over a fixture bank: clicks on whatever button or option is
// visible and enabled, keys and typed text to whatever has the focus, the main window's buttons,
// menus and shortcuts, timers and window changes; message boxes, the result dialog and the file
// dialog answered at random. After each seed the bank must be whole. A watchdog aborts a stall.
//
// RAVEX_SEED replays one seed; RAVEX_MONKEY_EVENTS and RAVEX_MONKEY_SEEDS set the budget.
#include "app/frmMain.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/SharedState.h"
#include "platform/Random.h"
#include "reliability/BankHealth.h"
#include "ui/FileDialog.h"
#include "ui/Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

namespace {
int envInt(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

// Aborts the whole test, saying where, when no event finished for ten seconds.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void beat(quint64 seed, int event) {
        seed_ = seed;
        event_ = event;
        last_ = now();
    }

private:
    static qint64 now() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void watch() {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (now() - last_ > 10'000) {
                std::fprintf(stderr, "HANG: no event finished in 10 s (seed %llu, event %d)\n",
                             static_cast<unsigned long long>(seed_.load()), event_.load());
                std::fflush(stderr);
                std::abort();
            }
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<qint64> last_{now()};
    std::atomic<quint64> seed_{0};
    std::atomic<int> event_{0};
    std::thread thread_;
};

// The program's own random numbers follow the seed too, so a seed replays exactly.
class EngineRandom : public RandomSource {
public:
    explicit EngineRandom(std::mt19937_64& engine) : engine_(engine) {}
    void reseed() override {}
    float next() override { return static_cast<float>(engine_() >> 40) / static_cast<float>(1 << 24); }

private:
    std::mt19937_64& engine_;
};

const Qt::Key kKeys[] = {
    Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,        Qt::Key_Down,      Qt::Key_PageUp, Qt::Key_PageDown,
    Qt::Key_Home,   Qt::Key_End,   Qt::Key_Tab,       Qt::Key_Backtab,   Qt::Key_Return, Qt::Key_Enter,
    Qt::Key_Escape, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Delete,    Qt::Key_0,      Qt::Key_1,
    Qt::Key_2,      Qt::Key_3,     Qt::Key_4,         Qt::Key_5,         Qt::Key_9,      Qt::Key_A,
    Qt::Key_F4,     Qt::Key_Minus, Qt::Key_Period,    Qt::Key_Apostrophe};
const Qt::KeyboardModifiers kModifiers[] = {Qt::NoModifier,    Qt::NoModifier,      Qt::NoModifier,
                                            Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier};

// Texts a user might type or paste: numbers in and out of range, Persian, quotes, long.
const QStringList kTexts = {QStringLiteral("1"),    QStringLiteral("4"),
                            QStringLiteral("0"),    QStringLiteral("5"),
                            QStringLiteral("-1"),   QStringLiteral("2.5"),
                            QStringLiteral("27"),   QStringLiteral("30"),
                            QStringLiteral("300"),  QStringLiteral("99999999999999999999"),
                            QStringLiteral("سلام"), QStringLiteral("متن تازه ي سؤال"),
                            QStringLiteral("'"),    QStringLiteral("\"; DROP TABLE tblSoal; --"),
                            QStringLiteral(" "),    QStringLiteral(""),
                            QString(5000, u'ك'),    QStringLiteral("<b>x</b>"),
                            QStringLiteral("\t\n"), QStringLiteral("١٢٣")};

class Monkey {
public:
    Monkey(quint64 seed, Watchdog& watchdog, const QString& oddDir)
        : seed_(seed), engine_(seed), random_(engine_), watchdog_(watchdog), oddDir_(oddDir) {}

    // Runs events over a fresh bank; returns the problems found in the bank afterwards.
    QStringList run(int events, int* ran) {
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        if (!bank.write())
            return {QStringLiteral("fixture: ") + bank.lastError};
        SetRandom(&random_);
        installHandlers();
        start(bank);
        for (int i = 0; i < events; ++i) {
            if (!frmMain::Instance() || !program_->main)
                start(bank); // the main window was closed: the user starts the program again
            step();
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            watchdog_.beat(seed_, i);
            ++*ran;
        }
        program_.reset();
        SetModalHandler({});
        SetFileDialogHandler({});
        SetRandom(nullptr);
        const BankHealth health = CheckBank(bank.bankPath());
        return health.problems;
    }

private:
    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(engine_() % static_cast<quint64>(n)); }
    template <typename T> T* any(const QList<T*>& list) {
        return list.isEmpty() ? nullptr : list[pick(list.size())];
    }

    void start(const FixtureBank& bank) {
        program_.reset();
        program_ = std::make_unique<RunningProgram>();
        bank.useAsGlobals();
    }

    void installHandlers() {
        SetModalHandler([this](QDialog* dialog) {
            const QList<QAbstractButton*> buttons = dialog->findChildren<QAbstractButton*>();
            if (!buttons.isEmpty() && pick(2) == 0)
                QTest::mouseClick(any(buttons), Qt::LeftButton);
            if (dialog->isVisible())
                QTest::keyClick(dialog, Qt::Key_Escape);
            if (dialog->isVisible())
                dialog->reject();
            return dialog->result();
        });
        // Chosen files: an existing one, a missing one, and odd ones (text, empty, a folder,
        // a very long name, blanks and Persian letters).
        SetFileDialogHandler([this](QWidget*, const QString&) {
            const QStringList paths = {QString(),
                                       oddDir_ + QStringLiteral("/text.mp3"),
                                       oddDir_ + QStringLiteral("/empty.mp3"),
                                       oddDir_ + QStringLiteral("/missing.mp3"),
                                       oddDir_ + QStringLiteral("/a folder.mp3"),
                                       oddDir_ + QStringLiteral("/آهنگ من.mp3"),
                                       oddDir_ + u'/' + QString(300, u'x') + QStringLiteral(".mp3"),
                                       QStringLiteral("/"),
                                       QStringLiteral("relative.mp3")};
            return paths[pick(paths.size())];
        });
    }

    QWidget* activeWindow() const {
        QMdiSubWindow* sub = program_->main->mdiArea()->activeSubWindow();
        return sub ? sub->widget() : nullptr;
    }

    template <typename T> QList<T*> usable(QWidget* root) const {
        QList<T*> out;
        if (!root)
            return out;
        for (T* w : root->findChildren<T*>()) {
            if (w->isVisible() && w->isEnabled())
                out << w;
        }
        return out;
    }

    QWidget* focus() const {
        QWidget* f = QApplication::focusWidget();
        return f ? f : program_->main;
    }

    void step() {
        frmMain* main = program_->main;
        switch (pick(14)) {
        case 0: { // the main window's strip, its exit button aside
            QList<QAbstractButton*> strip;
            for (QAbstractButton* b : usable<QAbstractButton>(main)) {
                if (b->objectName().startsWith(QLatin1String("Command")) &&
                    b->objectName() != QLatin1String("Command8"))
                    strip << b;
            }
            if (QAbstractButton* b = any(strip))
                QTest::mouseClick(b, Qt::LeftButton);
            break;
        }
        case 1: { // a menu entry, the exit aside
            QList<QAction*> entries;
            for (QAction* a : main->findChildren<QAction*>()) {
                if (a->objectName().startsWith(QLatin1String("mnu")) && !a->isSeparator() && !a->menu() &&
                    a->objectName() != QLatin1String("mnuKhorooj"))
                    entries << a;
            }
            if (QAction* a = any(entries))
                a->trigger();
            break;
        }
        case 2: { // a menu shortcut, typed wherever the focus is
            static const char* shortcuts[] = {"Ctrl+S", "Ctrl+M", "Ctrl+A", "Ctrl+T"};
            QTest::keySequence(focus(), QKeySequence(QString::fromLatin1(shortcuts[pick(4)])));
            break;
        }
        case 3:
        case 4:
        case 5: // a button or option of the window in front
            if (QAbstractButton* b = any(usable<QAbstractButton>(activeWindow())))
                QTest::mouseClick(b, Qt::LeftButton);
            break;
        case 6: // into one of its text boxes
            if (QLineEdit* box = any(usable<QLineEdit>(activeWindow())))
                QTest::mouseClick(box, Qt::LeftButton);
            break;
        case 7:
        case 8: // a key to whatever has the focus
            QTest::keyClick(focus(), kKeys[pick(std::size(kKeys))], kModifiers[pick(std::size(kModifiers))]);
            break;
        case 9: { // text typed or pasted into the focus
            const QString text = kTexts[pick(kTexts.size())];
            bool ascii = text.size() < 50;
            for (QChar c : text)
                ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7f; // what keyClicks can type
            if (pick(2) == 0 && ascii) {
                QTest::keyClicks(focus(), text);
            } else {
                QInputMethodEvent event;
                event.setCommitString(text);
                QApplication::sendEvent(focus(), &event);
            }
            break;
        }
        case 10: // a category picked from a list
            if (QComboBox* combo = any(usable<QComboBox>(activeWindow()))) {
                if (combo->count() > 0) {
                    const int index = pick(combo->count());
                    combo->setCurrentIndex(index);
                    emit combo->activated(index);
                }
            }
            break;
        case 11: // a click anywhere in the window in front (labels, pictures, the exam's options)
            if (QWidget* w = activeWindow()) {
                if (w->width() > 0 && w->height() > 0)
                    QTest::mouseClick(w->childAt(pick(w->width()), pick(w->height())) ?: w, Qt::LeftButton);
            }
            break;
        case 12: { // time passes: the clock moves and the timers tick
            program_->platform.clock.advance(pick(4) == 0 ? pick(2000) : pick(5));
            QMetaObject::invokeMethod(main, "Timer1_Timer");
            if (QWidget* exam = main->Child(QStringLiteral("frmAzmoon")))
                QMetaObject::invokeMethod(exam, "tmrAzmoon_Timer");
            break;
        }
        case 13: { // another window to the front, or the one in front closed
            const QList<QMdiSubWindow*> subs = main->mdiArea()->subWindowList();
            if (subs.isEmpty())
                break;
            QMdiSubWindow* front = main->mdiArea()->activeSubWindow();
            if (front && pick(3) == 0)
                front->close();
            else
                main->mdiArea()->setActiveSubWindow(any(subs));
            break;
        }
        }
    }

    quint64 seed_;
    std::mt19937_64 engine_;
    EngineRandom random_;
    Watchdog& watchdog_;
    QString oddDir_;
    std::unique_ptr<RunningProgram> program_;
};
} // namespace

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void randomUseNeverBreaksTheBank() {
        const int events = envInt("RAVEX_MONKEY_EVENTS", 300);
        bool replay = false;
        const quint64 fixed = qEnvironmentVariable("RAVEX_SEED").toULongLong(&replay);
        const int seeds = replay ? 1 : envInt("RAVEX_MONKEY_SEEDS", 2);
        const quint64 first = replay ? fixed : std::random_device{}();

        QTemporaryDir odd;
        {
            QFile text(odd.filePath(QStringLiteral("text.mp3")));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("not music at all\n");
            QFile empty(odd.filePath(QStringLiteral("empty.mp3")));
            QVERIFY(empty.open(QIODevice::WriteOnly));
            QFile persian(odd.filePath(QStringLiteral("آهنگ من.mp3")));
            QVERIFY(persian.open(QIODevice::WriteOnly));
            persian.write("ID3");
        }
        QVERIFY(QDir(odd.path()).mkdir(QStringLiteral("a folder.mp3")));

        Watchdog watchdog;
        int ran = 0;
        int seedsRun = 0;
        QStringList failures;
        for (int s = 0; s < seeds; ++s) {
            const quint64 seed = first + static_cast<quint64>(s);
            std::printf("monkey: seed %llu (replay with RAVEX_SEED=%llu)\n",
                        static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
            std::fflush(stdout);
            Monkey monkey(seed, watchdog, odd.path());
            const QStringList problems = monkey.run(events, &ran);
            ++seedsRun;
            for (const QString& p : problems)
                failures << QStringLiteral("seed %1: %2").arg(seed).arg(p);
        }
        std::printf("%d events, %d seeds\n", ran, seedsRun);
        std::fflush(stdout);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
    }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
