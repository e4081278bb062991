#include "ui/MessageBox.h"

#include <QMessageBox>

namespace {
MessageBoxHandler& handler() {
    static MessageBoxHandler current;
    return current;
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
    box.exec();
}
