#include "common/TestPlatform.h"

#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "platform/SystemDir.h"

#include <QtTest>

MessageRecorder::MessageRecorder() {
    SetMessageBoxHandler([this](QWidget*, const QString& prompt, MsgIcon icon, const QString& title) {
        messages.append({prompt, icon, title});
        if (onMessage)
            onMessage();
    });
}

MessageRecorder::~MessageRecorder() {
    SetMessageBoxHandler({});
}

FakePlatform::FakePlatform() {
    SetClock(&clock);
}
FakePlatform::~FakePlatform() {
    SetClock(nullptr);
}

RunningProgram::RunningProgram() {
    SetSystemDirectoryProvider([this] { return root_.path(); });
    if (!Main())
        return;
    main = frmMain::Instance();
    main->showNormal();
    main->resize(1100, 780);
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main))
        main = nullptr;
}

RunningProgram::~RunningProgram() {
    if (frmMain::Instance())
        frmMain::Instance()->close();
    QTest::qWait(0);
    SetSystemDirectoryProvider({});
}
