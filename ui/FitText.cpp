#include "ui/FitText.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kSmallestPoint = 1.0;

bool Fits(const QFont& font, const QString& text, double width) {
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(text) <= width && metrics.tightBoundingRect(text).width() <= width;
}
} // namespace

QFont FontToFit(const QFont& font, const QString& text, double width) {
    if (text.isEmpty() || Fits(font, text, width))
        return font;
    if ((font.pointSizeF() > 0 && font.pointSizeF() <= kSmallestPoint) || font.pixelSize() == 1)
        return font;
    QFont fitted = font;
    const double wide = std::max(QFontMetricsF(font).horizontalAdvance(text),
                                 QFontMetricsF(font).tightBoundingRect(text).width());
    if (font.pointSizeF() > 0) {
        // Unhinted text grows in step with its size: the first guess fits or nearly does, and the
        // steps below it are few (each size is a face of its own to load).
        double points = std::floor(font.pointSizeF() * std::max(0.0, width) / wide * 4) / 4;
        points = std::clamp(points, kSmallestPoint, font.pointSizeF() - 0.25);
        for (fitted.setPointSizeF(points); points > kSmallestPoint && !Fits(fitted, text, width);
             fitted.setPointSizeF(points))
            points = std::max(kSmallestPoint, points - 0.25);
    } else if (font.pixelSize() > 0) {
        int pixels = std::clamp(int(font.pixelSize() * std::max(0.0, width) / wide), 1, font.pixelSize() - 1);
        for (fitted.setPixelSize(pixels); pixels > 1 && !Fits(fitted, text, width);
             fitted.setPixelSize(pixels))
            --pixels;
    }
    return fitted;
}

int ButtonTextRoom(const QAbstractButton* button) {
    const QStyle* style = button->style();
    int room = button->width() - 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                                      style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    if (!button->icon().isNull())
        room -= button->iconSize().width() + 4;
    return room;
}

void FitButtonText(QAbstractButton* button) {
    const int room = ButtonTextRoom(button);
    if (room <= 0 || button->text().isEmpty())
        return;
    const QFont fitted = FontToFit(button->font(), button->text(), room);
    if (fitted != button->font())
        button->setFont(fitted);
}

FitLabel::FitLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                   Qt::Alignment alignment)
    : QLabel(parent) {
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    setAlignment(alignment);
}

QFont FitLabel::drawnFont() const {
    return FontToFit(font(), text(), contentsRect().width());
}

// Where the text's baseline starts: placed as the alignment asks, then moved as little as needed
// to bring all of its ink inside the box.
QPointF FitLabel::baselineOrigin(const QFont& font) const {
    const QRectF box = contentsRect();
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text());
    const double advance = metrics.horizontalAdvance(text());
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    double x = box.left() + (box.width() - advance) / 2;
    if (align & Qt::AlignLeft)
        x = box.left();
    else if (align & Qt::AlignRight)
        x = box.right() + 1 - advance;
    double y = box.top() + (box.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
    if (align & Qt::AlignTop)
        y = box.top() + metrics.ascent();
    else if (align & Qt::AlignBottom)
        y = box.bottom() + 1 - metrics.descent();
    const auto keepInside = [](double at, double inkFrom, double inkTo, double from, double to) {
        at = std::min(at, to - inkTo);
        return std::max(at, from - inkFrom);
    };
    x = keepInside(x, ink.left(), ink.right(), box.left(), box.right() + 1);
    y = keepInside(y, ink.top(), ink.bottom(), box.top(), box.bottom() + 1);
    return {x, y};
}

QRectF FitLabel::inkRect() const {
    const QFont font = drawnFont();
    return QFontMetricsF(font).tightBoundingRect(text()).translated(baselineOrigin(font));
}

void FitLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    if (text().isEmpty())
        return;
    const QFont font = drawnFont();
    painter.setFont(font);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(baselineOrigin(font), text());
}

int FitComboBox::textRoom() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The style draws the entry a pixel in from each side of the field, after its icon.
    int room = field.width() - 2;
    if (!option.currentIcon.isNull())
        room -= option.iconSize.width() + 4;
    return room;
}

QFont FitComboBox::shownFont() const {
    return FontToFit(font(), currentText(), textRoom());
}

void FitComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.setFont(shownFont());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void FitComboBox::showPopup() {
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (!popup || popup == window() || !popup->isVisible())
        return;
    // The list's frame and scroll bar around the entries, as the style made them.
    const int around = popup->width() - view()->viewport()->width();
    const QRect bounds(window()->mapToGlobal(QPoint(0, 0)), window()->size());
    QRect list = popup->geometry();
    const int width = std::min(bounds.width(), std::max(list.width(), view()->sizeHintForColumn(0) + around));
    // The list hangs from the box's reading edge: under right to left it grows to the left.
    if (layoutDirection() == Qt::RightToLeft)
        list.setLeft(list.right() + 1 - width);
    else
        list.setWidth(width);
    if (list.left() < bounds.left())
        list.moveLeft(bounds.left());
    if (list.right() > bounds.right())
        list.moveRight(bounds.right());
    // Below the box where it fits the window, else above it, else as much as the window holds.
    if (list.bottom() > bounds.bottom()) {
        const int boxTop = mapToGlobal(QPoint(0, 0)).y();
        if (boxTop - list.height() >= bounds.top())
            list.moveBottom(boxTop - 1);
        else
            list = list.intersected(bounds);
    }
    if (list.top() < bounds.top())
        list.setTop(bounds.top());
    popup->setGeometry(list);
}
