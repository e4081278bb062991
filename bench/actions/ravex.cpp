// One action of the program per run, timed from outside from process start to the action's
// result shown and the event loop idle; then it quits. The exam's keys, a few milliseconds each,
// are timed inside instead.
// Usage: actions_ravex review|signs|category|next|grade|keys|keys-bare|open-review|open-leitner
// (the data folder as the program finds it)
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "exam/ExamOverview.h"
#include "ui/ChildForm.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {
void click(QWidget* form, const char* name) {
    if (auto* button = form ? form->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr)
        button->click();
}

// A learner's run through an open exam: to the last question and back, the marker down, a flag.
// Each key goes where a user's would and is painted before the next, so a key's cost includes
// its repaint. Prints the number of keys and the run's own time in nanoseconds, the start-up left
// out. Not inlined, so a profiler can count the run alone:
// valgrind --tool=callgrind --toggle-collect='*examKeys*' build/bench/actions_ravex keys
[[gnu::noinline]] bool examKeys(QWidget* exam, bool bare) {
    auto* overview = exam ? exam->findChild<ExamOverview*>(QStringLiteral("pnlFehrest")) : nullptr;
    OverviewCell* first = overview ? overview->cell(1) : nullptr;
    OverviewCell* last = overview ? overview->cell(ExamOverview::kCells) : nullptr;
    if (!first || !last || !last->isVisible()) {
        std::fprintf(stderr, "no exam of %d questions with its overview\n", ExamOverview::kCells);
        return false;
    }
    if (bare) // the floor: the same keys with the overview hidden, so nothing of it is painted
        overview->hide();
    exam->activateWindow();
    exam->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    QList<Qt::Key> keys;
    for (int i = 1; i < ExamOverview::kCells; ++i)
        keys << Qt::Key_Right;
    for (int i = 1; i < ExamOverview::kCells; ++i)
        keys << Qt::Key_Left;
    keys << Qt::Key_Down << Qt::Key_F3;
    bool reachedLast = false;
    QElapsedTimer clock;
    clock.start();
    for (const Qt::Key key : keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : exam;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        // The repaint the key asked for, now rather than when the loop would get to it.
        QApplication::processEvents();
        reachedLast = reachedLast || last->isCurrent();
    }
    const qint64 elapsed = clock.nsecsElapsed();
    // A run whose keys went nowhere would time nothing: it must have been to the last question
    // and back, and flagged the first.
    if (!reachedLast || !first->isCurrent() || !first->isFlagged()) {
        std::fprintf(stderr, "the keys did not move through the exam\n");
        return false;
    }
    std::printf("keys %lld %lld\n", static_cast<long long>(keys.size()), static_cast<long long>(elapsed));
    return true;
}

// Opening one window on the idle main window, timed inside until it is painted and the event loop
// is idle, the start-up left out; prints "open 1 <ns>".
bool openTimed(frmMain* main, const QString& window) {
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    QWidget* form = main->ShowChild(window);
    if (!form)
        return false;
    form->repaint();
    QApplication::processEvents();
    std::printf("open 1 %lld\n", static_cast<long long>(clock.nsecsElapsed()));
    return true;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const QString action = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (!Main())
        return 1;
    frmMain* main = frmMain::Instance();
    // The result window is shown and painted, then closed, instead of waiting for a user.
    // The grade button's question about unseen questions is answered at once, as OK is.
    SetQuestionHandler([](QWidget*, const QString&, const QString&) { return Answer::Yes; });
    SetModalHandler([](QDialog* dialog) {
        dialog->show();
        QApplication::processEvents();
        dialog->accept();
        return dialog->result();
    });
    if (action == QLatin1String("review")) {
        main->ShowChild(QStringLiteral("frmSoalat"));
    } else if (action == QLatin1String("signs")) {
        main->ShowChild(QStringLiteral("frmTabloha"));
    } else if (action == QLatin1String("category")) {
        if (auto* form = qobject_cast<ChildForm*>(main->ShowChild(QStringLiteral("frmSoalat"))))
            form->SelectListIndex(0);
    } else if (action == QLatin1String("next")) {
        click(main->ShowChild(QStringLiteral("frmTabloha")), "cmdNext");
    } else if (action == QLatin1String("grade")) {
        click(main->ShowChild(QStringLiteral("frmAzmoon")), "cmdTashih");
    } else if (action == QLatin1String("keys") || action == QLatin1String("keys-bare")) {
        if (!examKeys(main->ShowChild(QStringLiteral("frmAzmoon")), action == QLatin1String("keys-bare")))
            return 3;
    } else if (action == QLatin1String("open-review") || action == QLatin1String("open-leitner")) {
        if (!openTimed(main, action == QLatin1String("open-review") ? QStringLiteral("frmSoalat")
                                                                    : QStringLiteral("frmLeitner")))
            return 3;
    } else if (action != QLatin1String("start")) {
        std::fprintf(stderr, "unknown action\n");
        return 2;
    }
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
