// The program's own start-up, from process start to the main window shown with its background
// and the event loop idle; then it quits.
#include "app/mdlRavex.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    if (!Main())
        return 1;
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
