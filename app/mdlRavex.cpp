#include "app/mdlRavex.h"

#include "app/frmMain.h"
#include "ui/MessageBox.h"

bool Main() {
    bool ok = false;
    const QString dataDir = SystemDataDir(&ok);
    if (!ok) {
        MsgBox(nullptr, QStringLiteral("Invalid procedure call or argument"), MsgIcon::Information,
               kStartupErrorTitle);
        return false;
    }
    gDataDir = dataDir;
    InitExamRanges();
    frmMain::Open();
    gExamTime = QTime(0, 26);
    gPassMark = 27;
    gConnProvider = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;");
    gConnSource = QStringLiteral("Data Source=") + gDataDir + QStringLiteral("515;");
    return true;
}
