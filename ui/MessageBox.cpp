#include "ui/MessageBox.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>

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
    // A box sizes itself to its text: a short Persian text would cut its title. A spacer as wide as
    // the title and the frame's buttons keeps the box wider than that, within the screen.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        int width = MessageBoxTitleWidth(title, box.fontMetrics());
        if (const QScreen* screen = box.screen())
            width = std::min(width, screen->availableGeometry().width() * 9 / 10);
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
    box.exec();
}

int MessageBoxTitleWidth(const QString& title, const QFontMetrics& metrics) {
    // Title bars draw in a bolder, larger font than the box; their buttons and icon take about 140
    // pixels.
    return metrics.horizontalAdvance(title) * 5 / 4 + 140;
}
