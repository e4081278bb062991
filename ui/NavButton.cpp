#include "ui/NavButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

NavButton::NavButton(const QString& caption, const QIcon& icon, bool iconOnLeft, QWidget* parent)
    : QPushButton(caption, parent), iconOnLeft_(iconOnLeft) {
    setIcon(icon);
    setIconSize(QSize(16, 16));
}

void NavButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const int gap = text().isEmpty() ? 0 : 6;
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int group = iconSize().width() + gap + textWidth;
    int x = (width() - group) / 2;
    if (option.state & QStyle::State_Sunken)
        x += 1;
    const QRect iconRect(iconOnLeft_ ? x : x + textWidth + gap, (height() - iconSize().height()) / 2,
                         iconSize().width(), iconSize().height());
    const QRect textRect(iconOnLeft_ ? x + iconSize().width() + gap : x, 0, textWidth, height());
    icon().paint(&painter, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::AlignAbsolute, text());
}
