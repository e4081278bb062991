// Grabs the program's windows to PNG files, offscreen, over a data folder: the pictures in the
// README are made with it. Usage: shoot [--screen WxH] [--resize WxH] DATADIR OUTDIR [shot ...]
// With --resize the main window is resized to that size after the shot's window opened, and
// back before the next one: the open windows refitted to a window the learner resized.
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "data/Recordset.h"
#include "data/SharedState.h"
#include "exam/frmAzmoon.h"
#include "platform/Clock.h"
#include "platform/SystemDir.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {
void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A clock for the history shots: one exam a day or two, each taking its own number of minutes.
class ShotClock : public Clock {
public:
    QTime timeOfDay() const override { return QTime(17, 0).addSecs(60 * (day_ * 7 % 180)); }
    quint64 ticks() const override { return ++ticks_; }
    qint64 monotonicMs() const override { return monotonic_; }
    QDate today() const override { return QDate(2026, 3, 14).addDays(day_); }
    void nextExam(int days, int minutes) {
        day_ += days;
        monotonic_ += 60'000LL * minutes;
    }

private:
    int day_ = 0;
    qint64 monotonic_ = 1'000'000;
    mutable quint64 ticks_ = 1;
};

// Grades one exam through the exam window, `right` answers correct and the wrong ones spread
// over the exam; the exam takes `minutes` on the shot clock.
void gradeExam(frmMain* main, int right, ShotClock& clock, int days, int minutes) {
    auto* exam = qobject_cast<frmAzmoon*>(main->Child(QStringLiteral("frmAzmoon")));
    if (auto* again = exam ? exam->findChild<QPushButton*>(QStringLiteral("cmdAzmooneMojadad")) : nullptr;
        again && again->isVisible()) {
        again->click();
        settle();
    } else if (!exam) {
        main->findChild<QPushButton*>(QStringLiteral("Command6"))->click();
        settle();
    }
    exam = qobject_cast<frmAzmoon*>(main->Child(QStringLiteral("frmAzmoon")));
    if (!exam)
        return;
    clock.nextExam(days, minutes);
    Recordset rows;
    rows.open(QStringLiteral("Select * from tblAzmoon"), ConnectionString());
    int i = 1;
    for (bool more = rows.moveFirst(); more && !rows.isEOF(); more = rows.moveNext(), ++i) {
        const int correct = rows.value(QStringLiteral("G_Sahih")).toInt();
        const bool wrong = (i * 7 + right * 11) % kExamSize < kExamSize - right;
        exam->session().choose(i, wrong ? correct % 4 + 1 : correct);
    }
    exam->findChild<QPushButton*>(QStringLiteral("cmdTashih"))->click();
    settle();
}

bool save(QWidget* w, const QString& path) {
    settle();
    const bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QStringList args = QApplication::arguments();
    // --screen WxH: the main window at that size, as on a small or scaled screen.
    QSize mainSize(1100, 780);
    if (const qsizetype at = args.indexOf(QStringLiteral("--screen")); at > 0 && at + 1 < args.size()) {
        const QStringList wh = args[at + 1].split(QLatin1Char('x'));
        if (wh.size() == 2)
            mainSize = QSize(wh[0].toInt(), wh[1].toInt());
        args.remove(at, 2);
    }
    QSize resizedTo;
    if (const qsizetype at = args.indexOf(QStringLiteral("--resize")); at > 0 && at + 1 < args.size()) {
        const QStringList wh = args[at + 1].split(QLatin1Char('x'));
        if (wh.size() == 2)
            resizedTo = QSize(wh[0].toInt(), wh[1].toInt());
        args.remove(at, 2);
    }
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: shoot [--screen WxH] [--resize WxH] DATADIR OUTDIR [shot ...]\n");
        return 2;
    }
    // DATADIR is the folder that holds vkimgdir/.
    const QString root = args[1];
    SetSystemDirectoryProvider([root] { return root; });
    const QDir out(args[2]);
    QDir().mkpath(out.path());
    if (!Main())
        return 1;
    frmMain* main = frmMain::Instance();
    // The grade button's question about unseen questions is answered yes: the shots grade at once.
    SetQuestionHandler([](QWidget*, const QString&, const QString&) { return Answer::Yes; });
    main->showNormal();
    main->resize(mainSize);
    settle();

    // Opens a child through the main window's own button or menu entry, then grabs the frame.
    const auto through = [main](const char* control) {
        return [main, control]() -> QWidget* {
            if (auto* button = main->findChild<QPushButton*>(QString::fromLatin1(control)))
                button->click();
            else if (auto* action = main->findChild<QAction*>(QString::fromLatin1(control)))
                action->trigger();
            settle();
            return main;
        };
    };
    // The same, but the shot is the child window alone in its frame.
    const auto framed = [main, through](const char* control, const char* window) {
        return [main, through, control, window]() -> QWidget* {
            through(control)();
            QWidget* child = main->Child(QString::fromLatin1(window));
            return child ? child->parentWidget() : nullptr;
        };
    };
    QMap<QString, std::function<QWidget*()>> shots = {
        {"main", [main] { return main; }},
        {"soalat", through("Command10")},
        {"tabloha", through("Command1")},
        {"soalat-old", through("mnuSoalatOLD")},
        {"azmoon",
         [main, through] {
             through("Command6")();
             // a learner a few questions in, the marker on option 3
             QWidget* exam = main->Child(QStringLiteral("frmAzmoon"));
             // two questions on, option 3 chosen, a flag on the third, the fifth looked at
             for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_F3, Qt::Key_Right, Qt::Key_Right,
                               Qt::Key_Left, Qt::Key_Left, Qt::Key_Down, Qt::Key_Down}) {
                 QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
                 QApplication::sendEvent(exam, &press);
             }
             return main;
         }},
        {"natije",
         [main, &out]() -> QWidget* {
             // the result window, grabbed while it is up
             SetModalHandler([&out](QDialog* dialog) {
                 dialog->show();
                 save(dialog, out.filePath(QStringLiteral("natije.png")));
                 dialog->accept();
                 return 1;
             });
             QWidget* exam = main->Child(QStringLiteral("frmAzmoon"));
             if (!exam)
                 return nullptr;
             if (auto* grade = exam->findChild<QPushButton*>(QStringLiteral("cmdTashih")))
                 grade->click();
             SetModalHandler({});
             return nullptr;
         }},
        {"azmoon-graded",
         [main] {
             // graded, with the first question's explanation open
             if (QWidget* exam = main->Child(QStringLiteral("frmAzmoon"))) {
                 QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
                 QApplication::sendEvent(exam, &press);
                 if (auto* sharh = exam->findChild<QPushButton*>(QStringLiteral("cmdSharh")))
                     sharh->click();
             }
             return main;
         }},
        {"viraiesh",
         [main, through] {
             through("mnuViraiesh")();
             // option 3 named correct and a replacement typed for option 2
             QWidget* editor = main->Child(QStringLiteral("frmViraiesh"));
             if (auto* correct =
                     editor ? editor->findChild<QLineEdit*>(QStringLiteral("lblG_Sahih")) : nullptr)
                 correct->setText(QStringLiteral("3"));
             if (auto* g2 = editor ? editor->findChild<QLineEdit*>(QStringLiteral("txtG2")) : nullptr)
                 g2->setText(QStringLiteral("گزینه دوم، بازنویسی شده"));
             return main;
         }},
        {"tanzimat",
         [through] {
             // opened after the music timer's first tick, which reads the music path
             QElapsedTimer since;
             since.start();
             while (since.elapsed() < 700)
                 QApplication::processEvents(QEventLoop::AllEvents, 50);
             return through("Command9")();
         }},
        {"nokat", framed("mnuNokat", "frmNokat")},
        {"leitner", framed("mnuLeitner", "frmLeitner")},
        {"rahnama", framed("Command7", "frmRahnama")},
        {"rahnama-2",
         [main, framed] {
             QWidget* frame = framed("Command7", "frmRahnama")();
             if (QWidget* help = main->Child(QStringLiteral("frmRahnama")))
                 help->findChild<QPushButton*>(QStringLiteral("Command1"))->click(); // the second page
             return frame;
         }},
        {"darbarema", framed("mnu42", "frmDarbareMa")},
        {"darbarema2",
         [main, framed] {
             framed("mnu42", "frmDarbareMa")();
             // a click on the middle panel enlarges it
             QWidget* about = main->Child(QStringLiteral("frmDarbareMa"));
             QWidget* panel = about ? about->findChild<QWidget*>(QStringLiteral("Image4")) : nullptr;
             if (panel) {
                 const QPointF at(10, 10);
                 QMouseEvent press(QEvent::MouseButtonPress, at, panel->mapToGlobal(at), Qt::LeftButton,
                                   Qt::LeftButton, Qt::NoModifier);
                 QMouseEvent release(QEvent::MouseButtonRelease, at, panel->mapToGlobal(at), Qt::LeftButton,
                                     Qt::NoButton, Qt::NoModifier);
                 QApplication::sendEvent(panel, &press);
                 QApplication::sendEvent(panel, &release);
             }
             QWidget* enlarged = main->Child(QStringLiteral("frmDarbareMa2"));
             return enlarged ? enlarged->parentWidget() : nullptr;
         }},
    };
    // A dozen exams graded on the way to the progress window, then the mistakes they left.
    static ShotClock shotClock;
    shots.insert(QStringLiteral("pishraft"), [main, framed] {
        SetClock(&shotClock);
        SetModalHandler([](QDialog* dialog) {
            dialog->accept();
            return 1;
        });
        const int scores[] = {17, 19, 18, 22, 21, 24, 23, 26, 25, 27, 26, 29};
        int n = 0;
        for (const int right : scores) {
            gradeExam(main, right, shotClock, 1 + n % 2, 9 + (n * 5) % 9);
            ++n;
        }
        SetModalHandler({});
        if (QWidget* exam = main->Child(QStringLiteral("frmAzmoon")))
            exam->parentWidget()->close();
        settle();
        return framed("mnuPishraft", "frmPishraft")();
    });
    shots.insert(QStringLiteral("eshtebahat"), [main, framed] {
        QWidget* frame = framed("mnuEshtebahat", "frmEshtebahat")();
        if (QWidget* review = main->Child(QStringLiteral("frmEshtebahat"))) {
            // a question with its picture, a few into the list
            for (int i = 0; i < 2; ++i)
                review->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
        }
        return frame;
    });
    const QStringList wanted = args.size() > 3 ? args.mid(3) : shots.keys();
    int failures = 0;
    for (const QString& name : wanted) {
        if (!shots.contains(name)) {
            std::fprintf(stderr, "no shot named %s\n", qPrintable(name));
            ++failures;
            continue;
        }
        if (resizedTo.isValid()) {
            main->resize(mainSize);
            settle();
        }
        QWidget* w = shots[name]();
        if (resizedTo.isValid()) {
            main->resize(resizedTo);
            settle();
        }
        if (w && !save(w, out.filePath(name + QStringLiteral(".png"))))
            ++failures;
    }
    main->close();
    return failures == 0 ? 0 : 1;
}
