#include "common/TestPlatform.h"

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
