// The floor for start-up: a bare main window with an MDI area and one Persian label, shown, then
// quit as soon as the event loop is idle.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QMainWindow window;
    auto* mdi = new QMdiArea(&window);
    window.setCentralWidget(mdi);
    auto* label = new QLabel(QStringLiteral("مرور سؤالات"), &window);
    label->move(10, 10);
    label->adjustSize(); // a label that shows its text measures it, as every real window must
    window.showMaximized();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
