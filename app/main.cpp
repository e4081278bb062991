#include "app/SingleInstance.h"
#include "app/frmMain.h"
#include "app/mdlRavex.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    InstallQtTranslations();

    // One program a user and bank: a second start brings the first to the front and ends.
    bool haveDataDir = false;
    SingleInstance single(SingleInstance::KeyFor(SystemDataDir(&haveDataDir)));
    if (haveDataDir && !single.claim())
        return 0;
    QObject::connect(&single, &SingleInstance::activationRequested,
                     [] { BringToFront(frmMain::Instance()); });

    if (!Main())
        return 1;
    // For a check of an installed program: start, show the main window, end.
    if (qEnvironmentVariableIsSet("RAVEX_QUIT_AFTER_START"))
        QTimer::singleShot(0, &app, [] { frmMain::Instance()->close(); });
    return QApplication::exec();
}
