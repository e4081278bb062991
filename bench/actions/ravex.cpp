// One action of the program per run, timed from outside from process start to the action's
// result shown and the event loop idle; then it quits.
// Usage: actions_ravex review|signs|category|next|grade   (the data folder as the program finds it)
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "ui/ChildForm.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {
void click(QWidget* form, const char* name) {
    if (auto* button = form ? form->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr)
        button->click();
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
    } else if (action != QLatin1String("start")) {
        std::fprintf(stderr, "unknown action\n");
        return 2;
    }
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
