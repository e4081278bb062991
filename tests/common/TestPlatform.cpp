#include "common/TestPlatform.h"

#include <cstdio>

#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "data/SharedState.h"
#include "platform/SystemDir.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QMdiSubWindow>
#include <QPushButton>

#include <QtTest>

MessageRecorder::MessageRecorder() {
    SetMessageBoxHandler([this](QWidget*, const QString& prompt, MsgIcon icon, const QString& title) {
        messages.append({prompt, icon, title});
        if (onMessage)
            onMessage();
    });
    SetQuestionHandler([this](QWidget*, const QString& prompt, const QString& title) {
        questions.append({prompt, MsgIcon::None, title});
        if (onQuestion)
            onQuestion();
        return answer;
    });
}

MessageRecorder::~MessageRecorder() {
    SetMessageBoxHandler({});
    SetQuestionHandler({});
}

namespace {
// No test reaches the desktop's speech: a window that stands a second would start its engine. A
// test that looks at what is said installs its own (FakePlatform's).
RecordingSpeaker& silentSpeaker() {
    static RecordingSpeaker speaker;
    return speaker;
}
const bool silentInstalled = [] {
    SetSpeaker(&silentSpeaker());
    return true;
}();
} // namespace

FakePlatform::FakePlatform() {
    SetClock(&clock);
    SetSpeaker(&speaker);
}
FakePlatform::~FakePlatform() {
    SetClock(nullptr);
    SetSpeaker(&silentSpeaker());
}

RunningProgram::RunningProgram() : RunningProgram(std::function<void(const QString&)>()) {}

RunningProgram::RunningProgram(const std::function<void(const QString& dataDir)>& before) {
    SetSystemDirectoryProvider([this] { return root_.path(); });
    if (before) {
        bool ok = false;
        const QString dataDir = SystemDataDir(&ok);
        QDir().mkpath(dataDir);
        before(dataDir);
    }
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

QWidget* RunningProgram::Open(const char* control) {
    if (auto* button = main->findChild<QPushButton*>(QString::fromLatin1(control)))
        QTest::mouseClick(button, Qt::LeftButton);
    else if (auto* action = main->findChild<QAction*>(QString::fromLatin1(control)))
        action->trigger();
    QMdiSubWindow* active = main->mdiArea()->activeSubWindow();
    return active ? active->widget() : nullptr;
}

QString ShownText(QWidget* form, const char* name) {
    auto* label = form->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<none>");
}

void ClickButton(QWidget* form, const char* name) {
    QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

SeededRandom::SeededRandom(const char* test) {
    bool ok = false;
    seed_ = qEnvironmentVariable("RAVEX_SEED").toULongLong(&ok);
    if (!ok)
        seed_ = std::random_device{}() ^ (quint64(std::random_device{}()) << 32);
    engine_.seed(seed_);
    std::printf("%s: seed %llu (replay with RAVEX_SEED=%llu)\n", test, static_cast<unsigned long long>(seed_),
                static_cast<unsigned long long>(seed_));
    std::fflush(stdout);
}

float SeededRandom::next() {
    // 24 random bits: every float in [0, 1) with that step, never 1.
    return static_cast<float>(engine_() >> 40) / static_cast<float>(1 << 24);
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, int times) {
    for (int i = 0; i < times; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus, "no widget has the keyboard focus");
        QTest::keyClick(focus, key, modifiers);
    }
}

namespace {
LogCapture*& currentCapture() {
    static LogCapture* capture = nullptr;
    return capture;
}
QByteArray& capturedCategory() {
    static QByteArray category;
    return category;
}
} // namespace

LogCapture::LogCapture(const char* category, QtMsgType level) {
    currentCapture() = this;
    capturedCategory() = category;
    QLoggingCategory::setFilterRules(QString::fromLatin1(category) +
                                     (level == QtDebugMsg ? QStringLiteral(".debug=true\n") : QString()) +
                                     QString::fromLatin1(category) + QStringLiteral(".warning=true"));
    previous_ =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
            if (currentCapture() && capturedCategory() == context.category)
                currentCapture()->messages << message;
        });
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules(QString());
    currentCapture() = nullptr;
}
