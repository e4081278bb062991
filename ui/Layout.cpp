#include "ui/Layout.h"

#include "ui/Scaling.h"

#include <QWidget>

Q_LOGGING_CATEGORY(lcUi, "ravex.ui", QtCriticalMsg)

QRect PlaceRect(const ControlPlace& place, double factor) {
    // The designed pixels scaled: at a factor of 1 exactly TwipsRect.
    return ScaledRect(TwipsRect(place.left, place.top, place.width, place.height), factor);
}

void PlaceControls(QWidget* form, std::span<const ControlPlace> table, double factor) {
    for (const ControlPlace& place : table) {
        if (auto* control = form->findChild<QWidget*>(QString::fromLatin1(place.name)))
            control->setGeometry(PlaceRect(place, factor));
        else
            qCWarning(lcUi) << form->metaObject()->className() << "has no control" << place.name
                            << "to place";
    }
}
