#include "ui/MessageBox.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

namespace {
MessageBoxHandler& handler() {
    static MessageBoxHandler current;
    return current;
}

QuestionHandler& questionHandler() {
    static QuestionHandler current;
    return current;
}
QPointer<QMessageBox>& openQuestion() {
    static QPointer<QMessageBox> box;
    return box;
}
bool questionClosed = false;

// Keeps a box wide enough for its title: a box sizes itself to its text, and a short Persian text
// would cut its title. A spacer as wide as the title and the frame's buttons, within the screen.
void keepTitleWhole(QMessageBox& box, const QString& title) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        int width = MessageBoxTitleWidth(title, box.fontMetrics());
        if (const QScreen* screen = box.screen())
            width = std::min(width, screen->availableGeometry().width() * 9 / 10);
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
}

QMessageBox::Icon toQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void SetMessageBoxHandler(MessageBoxHandler next) {
    handler() = std::move(next);
}

void MsgBox(QWidget* parent, const QString& prompt, MsgIcon icon, const QString& title) {
    if (handler()) {
        handler()(parent, prompt, icon, title);
        return;
    }
    QMessageBox box(toQt(icon), title, prompt, QMessageBox::Ok, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    keepTitleWhole(box, title);
    box.exec();
}

void SetQuestionHandler(QuestionHandler next) {
    questionHandler() = std::move(next);
}

Answer AskYesNo(QWidget* parent, const QString& prompt, const QString& title) {
    questionClosed = false;
    if (questionHandler()) {
        const Answer answer = questionHandler()(parent, prompt, title);
        return questionClosed ? Answer::Closed : answer;
    }
    QMessageBox box(QMessageBox::Question, title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("بله"));
    box.button(QMessageBox::No)->setText(QStringLiteral("خير"));
    box.setDefaultButton(QMessageBox::No);
    keepTitleWhole(box, title);
    openQuestion() = &box;
    const int answer = box.exec();
    openQuestion() = nullptr;
    if (questionClosed)
        return Answer::Closed;
    return answer == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void CloseQuestion() {
    questionClosed = true;
    if (QMessageBox* box = openQuestion())
        box->reject();
}

int MessageBoxTitleWidth(const QString& title, const QFontMetrics& metrics) {
    // Title bars draw in a bolder, larger font than the box; their buttons and icon take about 140
    // pixels.
    return metrics.horizontalAdvance(title) * 5 / 4 + 140;
}
