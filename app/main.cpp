#include "app/mdlRavex.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    if (!Main())
        return 1;
    return QApplication::exec();
}
