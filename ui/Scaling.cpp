#include "ui/Scaling.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {
constexpr char kDesignedFont[] = "ravexDesignedFont";
constexpr char kDesignedIconSize[] = "ravexDesignedIconSize";
// Below this a text is a smudge whatever the factor; a font of no size is an error to Qt.
constexpr double kSmallestPoint = 1.0;

// A button's margins and a list box's arrow and frame keep their size when the control shrinks,
// leaving its text less than the factor's share of room: the text shrinks as far as its room does.
double TextFactor(const QWidget* widget, double factor) {
    if (factor >= 1.0)
        return factor;
    if (const auto* button = qobject_cast<const QPushButton*>(widget); button && !button->text().isEmpty()) {
        const QStyle* style = button->style();
        const int margins = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                                 style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
        const double designed = button->width() / factor - margins;
        return designed > 0 ? std::clamp((button->width() - margins) / designed, 0.0, factor) : factor;
    }
    const auto* combo = qobject_cast<const QComboBox*>(widget);
    if (!combo)
        return factor;
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const auto field = [&](QSize size) {
        option.rect = QRect(QPoint(), size);
        return combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    };
    const int designed = field((QSizeF(combo->size()) / factor).toSize());
    return designed > 0 ? std::min(factor, double(field(combo->size())) / designed) : factor;
}
} // namespace

double ScaleFactor(QSize designed, QSize available) {
    if (designed.width() <= 0 || designed.height() <= 0 || available.isEmpty())
        return 1.0;
    return std::min(
        {1.0, double(available.width()) / designed.width(), double(available.height()) / designed.height()});
}

QRect ScaledRect(const QRect& designed, double factor) {
    // By its edges, so controls that touch at the designed size still touch and never overlap.
    const auto scaled = [factor](int v) { return qRound(v * factor); };
    const int left = scaled(designed.x());
    const int top = scaled(designed.y());
    return QRect(left, top, scaled(designed.x() + designed.width()) - left,
                 scaled(designed.y() + designed.height()) - top);
}

void ScaleLook(QWidget* widget, double factor) {
    // Only a font set on the widget itself: the others follow their parent's.
    if (widget->testAttribute(Qt::WA_SetFont)) {
        if (!widget->property(kDesignedFont).isValid())
            widget->setProperty(kDesignedFont, widget->font());
        QFont font = widget->property(kDesignedFont).value<QFont>();
        const double fontFactor = TextFactor(widget, factor);
        // Down to a quarter point, so controls whose room differs by a pixel share one face size
        // instead of each loading a face of its own.
        if (font.pointSizeF() > 0)
            font.setPointSizeF(std::max(kSmallestPoint, std::floor(font.pointSizeF() * fontFactor * 4) / 4));
        else if (font.pixelSize() > 0)
            font.setPixelSize(std::max(1, qRound(font.pixelSize() * fontFactor)));
        widget->setFont(font);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->icon().isNull()) {
        if (!button->property(kDesignedIconSize).isValid())
            button->setProperty(kDesignedIconSize, button->iconSize());
        const QSize designed = button->property(kDesignedIconSize).toSize();
        button->setIconSize(ScaledRect(QRect(QPoint(), designed), factor).size());
    }
}
